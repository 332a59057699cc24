#pragma once
// The material checker's own judgements, one source file per kind of material. The files are
// read by the engine's own parsers (story/MaterialFiles.h, story/Episodes.h); what is checked
// here is what the program would do with them.
#include <iosfwd>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "cli/lint/Lint.h"
#include "story/DataError.h"
#include "story/TextFile.h"

namespace quorbel::phrases {
struct PhraseFile;
}

namespace quorbel::cli::check {

struct Finding {
  std::string file;
  int line;
  bool error;
  std::string message;
};

inline std::string U8(TextView t) { return ToUtf8(t); }
inline bool StartsWith(TextView t, TextView prefix) { return t.substr(0, prefix.size()) == prefix; }

// A number field as the material should write it: optional blanks, optional sign, digits,
// optional blanks. The program reads anything leniently; the checker wants the plain form.
std::optional<long long> WholeNumber(TextView t);
bool AllDigits(TextView t);

// A shade group's title and level, for the "_call" tokens of the phrase texts.
struct ShadeTitle {
  Text title;
  long long level;
  int line;  // the title line
  int levelLine;
};

struct FactUse {
  std::string file;
  int line;
  Text fact;
};

// Where an episode file may drop the step that plays a phrase file.
struct DropSite {
  std::string file;
  int line;  // the chance line
  long long chance;
  bool redrawn;  // a main file draws a dropped record again in a later turn
};

struct Style {
  std::string folder;  // as written in styles.qrb (UTF-8)
  int number = 0;
  int line = 0;  // line of the pair in styles.qrb
  std::optional<std::vector<ShadeTitle>> shades;
  std::optional<std::vector<Text>> words;
  std::set<Text> recordedFacts;
  std::vector<FactUse> factUses;
  std::vector<FactUse> factRecords;           // where each record records its fact
  std::map<std::string, DropSite> dropSites;  // by phrase file
  std::vector<std::string> phraseFiles;       // in order of first mention
  std::set<std::string> phraseSeen;
  lint::Uses uses;                    // the themes and variants that play each phrase file
  std::pair<int, int> playing{0, 0};  // theme and variant of the episode file being read
  int themeCount = 0;
};

struct Plan {
  int line = 0;
  Text initial;
  std::vector<Text> words;
  std::vector<Text> keys;
  long long level = 0;
  std::vector<int> groups;  // groups found for each word
};

class Checker {
 public:
  explicit Checker(const DataDir& dir) : dir_(dir) {}

  void Run();
  int Print(std::ostream& out) const;

 private:
  // Checker.cpp: the findings and the walk over the styles.
  void Add(const std::string& file, int line, bool error, std::string message);
  void Error(const std::string& file, int line, std::string message);
  void Warning(const std::string& file, int line, std::string message);

  // A fault the checks below did not foresee still becomes a finding, not a crash.
  template <class F>
  void Guard(const std::string& file, F&& f) {
    try {
      f();
    } catch (const DataError& e) {
      Error(e.file().empty() ? file : e.file(), e.line(), e.problem());
    }
  }

  // True when every line from line on is empty: a file closed by an extra line end.
  static bool OnlyEmptyLinesFrom(const InputFile& f, int line);
  bool TrailingEmptyLines(const InputFile& f, const std::string& rel);
  bool TrailingEmptyLines(const InputFile& f, int line, const std::string& rel);
  bool Exists(const std::string& rel) const { return dir_.Exists(FromUtf8(rel)); }
  std::string StyleFile(const Style& s, const char16_t* stem) const;
  void CheckStyle(Style& s);

  // FileCheck.cpp: encodings, line ends, names and pictures.
  // Reads a text file's bytes, reports encoding and line-end faults, and returns it ready for
  // the program's own reads; nothing when the file is missing (the caller reports that).
  std::optional<InputFile> Load(const std::string& rel);
  // Two names that differ only in case are two files here but one on a Windows disk.
  void CheckNameCase();
  void CheckLetters();

  // CatalogueCheck.cpp: styles, settings, themes, title words, questions.
  void CheckStyles();
  void CheckSettings();
  // The themes of the style; themeHasZ tells for each theme whether its title has "_Z_",
  // firstZ is the line of the first that has. False when the file is missing.
  bool CheckThemes(Style& s, std::vector<bool>& themeHasZ, int& firstZ);
  void CheckWords(Style& s, const std::string& rel);
  void CheckQuestions(const std::string& rel, bool themeHasZ, int theme);

  // PersonCheck.cpp, VariantCheck.cpp, ShadeCheck.cpp.
  void CheckPersons(const std::string& rel);
  // Returns the number of plot variants.
  int CheckVariants(const std::string& rel);
  void CheckShades(Style& s, const std::string& rel);

  // EpisodeCheck.cpp: the opening, main and final episode files.
  // Returns the phrase file's path when it exists.
  std::optional<std::string> ReferPhraseFile(Style& s, TextView name, const std::string& from, int line);
  void CheckRange(const std::string& rel, int line, TextView range, const char* what);
  void CheckEpisodes(Style& s, const std::string& rel, bool main);
  void CheckFinals(Style& s, const std::string& rel);

  // PhraseCheck.cpp: plans, records, conditions, preconditions and texts.
  std::vector<Plan> JudgePlans(const std::string& rel, const phrases::PhraseFile& file);
  void CheckPhraseFile(Style& s, const std::string& rel);
  void CheckConditions(const std::string& rel, int line, TextView c);
  // Returns the level of an "_absd_" precondition.
  std::optional<long long> CheckPrecondition(Style& s, const std::string& rel, int line, TextView pre);
  void CheckText(Style& s, const std::string& rel, int line, TextView text, const std::vector<int>& levels);

  // BreakCheck.cpp: the break marks of a phrase text, person entry or shade line, where lines
  // may end and how words are split. Each rule is reported once per line.
  void CheckBreaks(const std::string& rel, int line, TextView text);

  const DataDir& dir_;
  std::vector<Style> styles_;
  std::vector<Finding> findings_;
  std::map<std::string, int> fileOrder_;
};

}  // namespace quorbel::cli::check
