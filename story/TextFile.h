#pragma once
// Reading and writing the program's text files: Windows-1251, lines ended by CR LF
// (a bare LF is accepted too, for files edited on Linux).
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <typeinfo>
#include <unordered_map>
#include <vector>

#include "story/DataError.h"
#include "story/Platform.h"
#include "story/Random.h"
#include "story/Text.h"

namespace quorbel {

// Tells whether any file it watches may have changed; defined where the system offers it.
class FileWatch;
std::shared_ptr<FileWatch> NewFileWatch();

// A whole data file in memory, read sequentially by the two ways the material is read:
// a line read and a comma-separated field read.
class InputFile {
 public:
  // Throws DataError naming displayName when the file cannot be opened or is not Windows-1251.
  static InputFile Open(const std::filesystem::path& path, std::string displayName);
  // A file given as its decoded content (tests, and material already in memory).
  static InputFile FromText(TextView content, std::string displayName);
  // A file over lines already split and decoded.
  static InputFile FromLines(std::shared_ptr<const std::vector<Text>> lines, std::string displayName);

  // True when nothing is left to read.
  bool Eof() const { return line_ >= lines_->size(); }
  // The characters up to the next line end; the line end is consumed.
  Text ReadLine();
  // Leading blanks skipped; a quoted value runs to the next quote, otherwise to the next comma
  // or line end, which is consumed.
  Text ReadTextField();
  // A field read converted by the lenient decimal parse.
  Long ReadNumberField();

  // 1-based number of the line the next read starts on (one past the last line at the end).
  int LineNumber() const { return static_cast<int>(line_) + 1; }
  int LineCount() const { return static_cast<int>(lines_->size()); }
  const std::string& name() const { return name_; }
  const std::vector<Text>& lines() const { return *lines_; }

  [[noreturn]] void Fail(ProblemId problem) const { throw DataError(name_, LineNumber(), problem); }

 private:
  const Text& Line() const { return (*lines_)[line_]; }
  std::shared_ptr<const std::vector<Text>> lines_ = std::make_shared<const std::vector<Text>>();
  std::size_t line_ = 0;
  std::size_t col_ = 0;
  std::string name_;
};

// Splits decoded file content into lines at CR LF or LF; a final line end adds no empty line.
std::vector<Text> SplitLines(TextView content);

// What one file may cost: far beyond any table of the data model, yet a bound on the memory a
// stray or hostile file can take.
constexpr std::size_t kMaxFileBytes = 10000000;
constexpr std::ptrdiff_t kMaxFileLines = 200000;

// Reads a file's bytes; throws DataError(displayName, 0, FileNotFound) when it cannot, and
// a DataError as well when it cannot be read or is beyond the bounds above.
std::string ReadFileBytes(const std::filesystem::path& path, const std::string& displayName);
// Reads and decodes a file into its lines.
std::shared_ptr<const std::vector<Text>> ReadTextLines(const std::filesystem::path& path,
                                                       const std::string& displayName);

// A file or folder name read from the material must name something inside the material folder:
// no ".." part, no separator or drive at its start, no control character. Returns the fault.
std::optional<Problem> NameFault(TextView name);
// Reads a text field or line (asLine) that names a file or folder; a name that fails NameFault is a
// data fault on the line it was read from.
Text ReadName(InputFile& f, bool asLine);

// Writes lines as Windows-1251, each ended by CR LF, through a temporary file beside the target
// and a rename, so a failed write never leaves a half-written file in place of the old one.
void WriteTextFile(const std::filesystem::path& path, const std::vector<Text>& lines,
                   const std::string& displayName);
// The same for bytes as they are.
void WriteFileBytes(const std::filesystem::path& path, std::string_view bytes, const std::string& displayName);

// The folder that holds the story material; every data file name is relative to it.
// A story opens the same phrase files again and again, so decoded files, and what was parsed
// from them, are kept and read again only when their size or modification time changes.
// Copies share the kept files.
class DataDir {
  struct Passes;

 public:
  DataDir() = default;
  // The settings file and saved stories go beside the material.
  explicit DataDir(std::filesystem::path root) : root_(std::move(root)), config_(root_), save_(root_) {}
  // Material read from root; the settings file kept in config, saved stories written to save.
  DataDir(std::filesystem::path root, std::filesystem::path config, std::filesystem::path save)
      : root_(std::move(root)), config_(std::move(config)), save_(std::move(save)) {}
  const std::filesystem::path& root() const { return root_; }
  const std::filesystem::path& configFolder() const { return config_; }
  const std::filesystem::path& saveFolder() const { return save_; }
  std::filesystem::path PathOf(TextView relName) const { return root_ / PathFromUtf8(ToUtf8(relName)); }
  InputFile Open(TextView relName) const;
  bool Exists(TextView relName) const;

  // While one lives, each kept file is compared with the disk once: the build of a story or one
  // OK press opens the same few dozen files again and again within a millisecond, and asking
  // the system for their stamps each time cost more than the rest of the reading. Passes may
  // nest; the outermost one counts. A file changed during a pass is read at the next.
  // Where the system tells of changes (a watch on the kept files and their folders), a pass that
  // begins with no change told of since a file was last compared takes the file as it is kept:
  // one question to the system per pass instead of one per file.
  class Pass {
   public:
    explicit Pass(const DataDir& dir);
    ~Pass();
    Pass(const Pass&) = delete;
    Pass& operator=(const Pass&) = delete;

   private:
    std::shared_ptr<Passes> passes_;
  };

  // The model parse(InputFile&) makes of the file, parsed on first use and kept with the file.
  // parse must not throw for a malformed file (it keeps the fault in the model, so a story meets
  // it where the reading reaches it); a file that cannot be read throws as Open does.
  template <typename Model, typename Parse>
  std::shared_ptr<const Model> Parsed(TextView relName, Parse parse) const {
    std::shared_ptr<const std::vector<Text>> unkept;
    Kept* kept = Fresh(relName, unkept);
    return ModelOf<Model>(kept, unkept, kept ? std::string() : ToUtf8(relName), parse);
  }

  // The same for a file of the config folder, named fileName there and in messages; null when
  // no such file exists.
  template <typename Model, typename Parse>
  std::shared_ptr<const Model> ParsedConfig(const std::string& fileName, Parse parse) const {
    std::shared_ptr<const std::vector<Text>> unkept;
    const std::filesystem::path path = config_ / fileName;
    Kept* kept = Fresh(Text(kConfigKey) + FromUtf8(fileName), unkept, &path);
    if (!kept && !unkept) return nullptr;
    return ModelOf<Model>(kept, unkept, fileName, parse);
  }

 private:
  // Config files are kept by a name no material file has: names read from the material hold no
  // control character.
  static constexpr TextView kConfigKey = u"\x01";

  struct Kept {
    std::filesystem::path path;  // the file's path and its name in messages, made once
    std::string name;
    std::int64_t time = 0;  // modification time, in the units the system gives it
    std::uintmax_t size = 0;
    std::uint64_t node = 0;  // the file's number, where the system numbers files
    std::shared_ptr<const std::vector<Text>> lines;
    std::shared_ptr<const void> model;  // what was parsed from lines, of type modelType
    const std::type_info* modelType = nullptr;
    std::uint64_t checkedInPass = 0;  // the pass that last compared the stamps
    std::uint64_t watchedSince = 0;   // the watch's epoch when the stamps were compared; 0: unwatched
  };
  template <typename Model, typename Parse>
  static std::shared_ptr<const Model> ModelOf(Kept* kept, std::shared_ptr<const std::vector<Text>>& unkept,
                                              const std::string& name, Parse parse);
  struct Passes {
    std::uint64_t current = 0;  // numbered from 1
    int depth = 0;
    std::shared_ptr<FileWatch> watch;  // null where the system tells of no changes
  };
  struct NameHash {
    using is_transparent = void;
    std::size_t operator()(TextView name) const { return std::hash<TextView>{}(name); }
  };
  using KeptFiles = std::unordered_map<Text, Kept, NameHash, std::equal_to<>>;
  // The entry that holds the file as it is on the disk, read again if it changed; null when the
  // file cannot be kept (its stamps cannot be read), and then unkept holds its lines. A config
  // file is given by its path; it may be missing, and then both are null.
  Kept* Fresh(TextView relName, std::shared_ptr<const std::vector<Text>>& unkept,
              const std::filesystem::path* config = nullptr) const;
  std::filesystem::path root_;
  std::filesystem::path config_;
  std::filesystem::path save_;
  std::shared_ptr<KeptFiles> kept_ = std::make_shared<KeptFiles>();
  std::shared_ptr<Passes> passes_ = std::make_shared<Passes>(Passes{0, 0, NewFileWatch()});
};

// The model kept with the file, else made from its lines (name: for a file that is not kept).
template <typename Model, typename Parse>
std::shared_ptr<const Model> DataDir::ModelOf(Kept* kept, std::shared_ptr<const std::vector<Text>>& unkept,
                                              const std::string& name, Parse parse) {
  if (kept && kept->model && *kept->modelType == typeid(Model))
    return std::static_pointer_cast<const Model>(kept->model);
  InputFile f = kept ? InputFile::FromLines(kept->lines, kept->name) : InputFile::FromLines(std::move(unkept), name);
  auto model = std::make_shared<const Model>(parse(f));
  if (kept) {
    kept->model = model;
    kept->modelType = &typeid(Model);
  }
  return model;
}

}  // namespace quorbel
