#pragma once
// Turning the UTF-8 story sources under material/ into the Windows-1251 data folder, with the
// break marks the text finishing needs: "| |" for every blank at which a line may end and "|" at
// the hyphenation points of Russian words.
#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "story/Text.h"

namespace quorbel::material {

// Russian hyphenation points from libhyphen's patterns.
class Hyphenator {
 public:
  // Throws std::runtime_error when the pattern file cannot be loaded.
  explicit Hyphenator(const std::string& patternFile = DefaultPatternFile());
  ~Hyphenator();
  Hyphenator(const Hyphenator&) = delete;
  Hyphenator& operator=(const Hyphenator&) = delete;

  // The Russian patterns found when the tool was configured.
  static std::string DefaultPatternFile();

  // Positions k (1 <= k < size) before which the word of Russian letters may be broken, as the
  // patterns give them, ascending; no rule of ours is applied here.
  std::vector<std::size_t> Points(TextView word) const;

 private:
  void* dict_;
};

// A fault in a source line; the converter reports it as "FILE:LINE: message".
struct ConvertError {
  std::string file;
  int line = 0;
  std::string message;
  std::string Format() const { return file + ":" + std::to_string(line) + ": " + message; }
};

// Places the break marks in one line of text: every blank becomes "| |" (a blank before an em
// dash stays a plain blank), and Russian words get "|" where they may be hyphenated. Problems
// (a hand-written "|", doubled or edge blanks, an unfinished token) are appended to problems.
// The last word keeps no point that would leave fewer than shortestTail letters after it.
Text MarkText(const Hyphenator& hyph, TextView line, std::vector<std::string>& problems, std::size_t shortestTail = 2);

// A phrase text may end its paragraph, whose last line should not be a scrap of a word («ка.»).
inline constexpr std::size_t kParagraphEndTail = 4;

// Places the marks in the name part of every person entry of a person file line, keeping the
// field separators and the final code character as they are.
Text MarkPersonLine(const Hyphenator& hyph, TextView line, std::vector<std::string>& problems);

enum class SourceKind { Plain, Phrases, Persons, Shades, Binary };

// What a source file is, from its path relative to the material root.
SourceKind KindOf(const std::filesystem::path& relPath);

// Converts the lines of one text source of the given kind; problems are appended to errors
// under displayName.
std::vector<Text> ConvertLines(const Hyphenator& hyph, SourceKind kind, std::vector<Text> lines,
                               const std::string& displayName, std::vector<ConvertError>& errors);

// Decodes UTF-8 source bytes (LF or CR LF line ends, an optional byte order mark) into lines,
// reporting malformed UTF-8 and characters that Windows-1251 cannot hold.
std::vector<Text> SourceLines(std::string_view utf8, const std::string& displayName,
                              std::vector<ConvertError>& errors);

struct TreeStats {
  int converted = 0;  // text files written in Windows-1251
  int copied = 0;     // other files copied as they are
  int unchanged = 0;  // of those, files whose output was already up to date
};

// Converts every file under srcRoot into outRoot at the same relative path. Files with an error
// are not written; the errors are appended.
TreeStats ConvertTree(const Hyphenator& hyph, const std::filesystem::path& srcRoot,
                      const std::filesystem::path& outRoot, std::vector<ConvertError>& errors);

}  // namespace quorbel::material
