#include "story/TextFile.h"

#ifndef _WIN32
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>
#endif
#ifdef __linux__
#include <linux/magic.h>
#include <sys/inotify.h>
#include <sys/vfs.h>
#endif

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <limits>
#include <fstream>
#include <string_view>
#include <system_error>

#include "story/Numbers.h"

namespace quorbel {

std::vector<Text> SplitLines(TextView content) {
  std::vector<Text> lines;
  std::size_t start = 0;
  while (start < content.size()) {
    std::size_t nl = content.find(u'\n', start);
    if (nl == TextView::npos) {
      lines.emplace_back(content.substr(start));
      break;
    }
    std::size_t end = nl;
    if (end > start && content[end - 1] == u'\r') --end;
    lines.emplace_back(content.substr(start, end - start));
    start = nl + 1;
  }
  return lines;
}

std::string ReadFileBytes(const std::filesystem::path& path, const std::string& displayName) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(path, ec)) throw DataError(displayName, 0, ProblemId::FileNotFound);
  std::ifstream in(path, std::ios::binary);
  if (!in) throw DataError(displayName, 0, ProblemId::CannotBeOpened);
  // Read in pieces up to one past the bound: a file that grows while read is still bounded.
  // A failed read sets badbit (the stream catches the buffer's own error).
  std::string bytes;
  char piece[65536];
  while (bytes.size() <= kMaxFileBytes && in.read(piece, sizeof piece).gcount() > 0)
    bytes.append(piece, static_cast<std::size_t>(in.gcount()));
  if (in.bad()) throw DataError(displayName, 0, ProblemId::CannotBeRead);
  if (bytes.size() > kMaxFileBytes)
    throw DataError(displayName, 0, ProblemId::FileTooLarge, kMaxFileBytes / 1000000);
  if (std::count(bytes.begin(), bytes.end(), '\n') > kMaxFileLines)
    throw DataError(displayName, 0, ProblemId::TooManyFileLines, kMaxFileLines);
  return bytes;
}

std::shared_ptr<const std::vector<Text>> ReadTextLines(const std::filesystem::path& path,
                                                       const std::string& displayName) {
  std::string bytes = ReadFileBytes(path, displayName);
  std::size_t bad = 0;
  auto text = DecodeCp1251(bytes, &bad);
  if (!text) {
    int line = 1;
    for (std::size_t i = 0; i < bad; ++i)
      if (bytes[i] == '\n') ++line;
    throw DataError(displayName, line, ProblemId::NotWindows1251);
  }
  bytes = std::string();
  return std::make_shared<const std::vector<Text>>(SplitLines(*text));
}

InputFile InputFile::Open(const std::filesystem::path& path, std::string displayName) {
  auto lines = ReadTextLines(path, displayName);
  return FromLines(std::move(lines), std::move(displayName));
}

InputFile InputFile::FromText(TextView content, std::string displayName) {
  return FromLines(std::make_shared<const std::vector<Text>>(SplitLines(content)), std::move(displayName));
}

InputFile InputFile::FromLines(std::shared_ptr<const std::vector<Text>> lines, std::string displayName) {
  InputFile f;
  f.lines_ = std::move(lines);
  f.name_ = std::move(displayName);
  return f;
}

Text InputFile::ReadLine() {
  if (Eof()) Fail(ProblemId::LineExpected);
  Text value = Line().substr(col_);
  ++line_;
  col_ = 0;
  return value;
}

Text InputFile::ReadTextField() {
  if (Eof()) Fail(ProblemId::FieldExpected);
  const Text& line = Line();
  std::size_t i = col_;
  while (i < line.size() && line[i] == u' ') ++i;
  Text value;
  if (i < line.size() && line[i] == u'"') {
    std::size_t close = line.find(u'"', i + 1);
    if (close == Text::npos) Fail(ProblemId::UnclosedQuote);
    value = line.substr(i + 1, close - i - 1);
    i = close + 1;
    // What follows the closing quote up to the separator is not part of the value.
    std::size_t comma = line.find(u',', i);
    i = comma == Text::npos ? line.size() : comma;
  } else {
    std::size_t comma = line.find(u',', i);
    std::size_t end = comma == Text::npos ? line.size() : comma;
    value = line.substr(i, end - i);
    i = end;
  }
  if (i < line.size()) {  // ended at a comma: the rest of the line is left for the next read
    col_ = i + 1;
  } else {
    ++line_;
    col_ = 0;
  }
  return value;
}

Long InputFile::ReadNumberField() { return LenientNumber(ReadTextField()); }

std::optional<Problem> NameFault(TextView name) {
  for (char16_t c : name)
    if (c < 0x20 || c == 0x7F) return Problem::Of(ProblemId::NameHasControl, Quoted(name));
  const bool rooted = !name.empty() && (name[0] == u'/' || name[0] == u'\\');
  const bool drive = name.size() >= 2 && name[1] == u':';
  bool parent = false;
  std::size_t start = 0;
  while (start <= name.size() && !parent) {
    std::size_t end = name.find_first_of(u"/\\", start);
    if (end == TextView::npos) end = name.size();
    parent = name.substr(start, end - start) == u"..";
    start = end + 1;
  }
  if (rooted || drive || parent) return Problem::Of(ProblemId::NameLeavesFolder, Quoted(name));
  return std::nullopt;
}

Text ReadName(InputFile& f, bool asLine) {
  const int line = f.LineNumber();
  Text name = asLine ? f.ReadLine() : f.ReadTextField();
  if (auto fault = NameFault(name)) throw DataError(f.name(), line, *fault);
  return name;
}

#ifndef _WIN32
namespace {

// The save on POSIX systems. The new content goes to a temporary file of our own beside the
// target (created exclusively, never through a link, readable by nobody else until done), is
// flushed to the disk and only then renamed over the target, so the target is always either the
// old file or the new one, whole. A temporary file left by a killed save carries the process
// number in its name; a later save of the same file removes it once that process is gone.
namespace posix {

[[noreturn]] void Fail(const std::string& displayName, ProblemId problem) { throw DataError(displayName, 0, problem); }

// The failure the system reported as errno error.
[[noreturn]] void Fail(const std::string& displayName, int error) {
  if (error == ENOSPC || error == EDQUOT) Fail(displayName, ProblemId::DiskFull);
  throw DataError(displayName, 0, ProblemId::CannotBeWritten, std::error_code(error, std::generic_category()).message());
}

std::string TemporaryPrefix(const std::filesystem::path& target) {
  return "." + target.filename().string() + ".quorbel-";
}

void RemoveStaleTemporaries(const std::filesystem::path& target) {
  const std::string prefix = TemporaryPrefix(target);
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(target.parent_path(), ec)) {
    const std::string name = entry.path().filename().string();
    if (name.compare(0, prefix.size(), prefix) != 0) continue;
    const std::string rest = name.substr(prefix.size());  // PID-XXXXXX
    const std::size_t dash = rest.find('-');
    if (dash == 0 || dash == std::string::npos || dash + 7 != rest.size()) continue;
    if (!std::all_of(rest.begin(), rest.begin() + static_cast<long>(dash), [](char c) { return c >= '0' && c <= '9'; }))
      continue;
    const long pid = std::strtol(rest.c_str(), nullptr, 10);
    if (pid <= 0 || pid > std::numeric_limits<pid_t>::max()) continue;
    if (::kill(static_cast<pid_t>(pid), 0) == 0 || errno != ESRCH) continue;  // its save may still run
    ::unlink(entry.path().c_str());
  }
}

// What the save will replace: the file a link points to, its permissions and owner.
struct Target {
  std::filesystem::path path;
  bool exists = false;
  struct stat info {};
};

Target Resolve(const std::filesystem::path& given, const std::string& displayName) {
  Target t;
  t.path = given;
  // Through every link to the file it names, even one that does not exist yet.
  std::error_code ec;
  for (int hops = 0; std::filesystem::is_symlink(t.path, ec); ++hops) {
    if (hops == 40) Fail(displayName, ELOOP);
    const std::filesystem::path to = std::filesystem::read_symlink(t.path, ec);
    if (ec) Fail(displayName, ec.value());
    t.path = to.is_absolute() ? to : t.path.parent_path() / to;
  }
  if (t.path.parent_path().empty()) t.path = std::filesystem::path(".") / t.path;
  if (::stat(t.path.c_str(), &t.info) == 0) {
    if (!S_ISREG(t.info.st_mode)) Fail(displayName, ProblemId::NotRegularFile);
    t.exists = true;
  } else if (errno != ENOENT) {
    Fail(displayName, errno);
  }
  struct stat folder {};
  if (::stat(t.path.parent_path().c_str(), &folder) != 0 || !S_ISDIR(folder.st_mode))
    Fail(displayName, ProblemId::NoSuchFolder);
  return t;
}

// Writes, sets the mode and flushes the temporary file, then closes it: 0, or the errno of the
// step that failed. A failed close counts: the data may not have reached the disk.
int FillTemporary(int fd, std::string_view bytes, mode_t mode) {
  int error = 0;
  while (!bytes.empty() && error == 0) {
    const ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n >= 0)
      bytes.remove_prefix(static_cast<std::size_t>(n));
    else if (errno != EINTR)
      error = errno;
  }
  if (error == 0 && (::fchmod(fd, mode) != 0 || ::fsync(fd) != 0)) error = errno;
  if (::close(fd) != 0 && error == 0) error = errno;
  return error;
}

void ReplaceFile(const std::filesystem::path& given, std::string_view bytes, const std::string& displayName) {
  const Target target = Resolve(given, displayName);
  RemoveStaleTemporaries(target.path);
  std::string temp = (target.path.parent_path() /
                      (TemporaryPrefix(target.path) + std::to_string(::getpid()) + "-XXXXXX")).string();
  // mkstemp: a fresh name, O_CREAT | O_EXCL, mode 0600.
  const int fd = ::mkstemp(temp.data());
  if (fd < 0) {
    if (errno == EACCES || errno == EROFS || errno == EPERM) Fail(displayName, ProblemId::FolderNotWritable);
    Fail(displayName, errno);
  }
  mode_t mode = 0;
  if (target.exists) {
    mode = target.info.st_mode & 07777;
    // The owner stays where the saver may keep it (the owner saving, or root); otherwise the
    // saver owns the new file and no set-id bit is carried over.
    if (::fchown(fd, target.info.st_uid, target.info.st_gid) != 0) mode &= 0777;
  } else {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    mode = 0666 & ~mask;
  }
  int error = FillTemporary(fd, bytes, mode);
  if (error == 0 && ::rename(temp.c_str(), target.path.c_str()) != 0) error = errno;
  if (error != 0) {
    ::unlink(temp.c_str());
    Fail(displayName, error);
  }
  // The rename itself reaches the disk with the folder.
  const int folder = ::open(target.path.parent_path().c_str(), O_RDONLY | O_DIRECTORY);
  if (folder >= 0) {
    ::fsync(folder);
    ::close(folder);
  }
}

}  // namespace posix
}  // namespace
#endif

void WriteTextFile(const std::filesystem::path& path, const std::vector<Text>& lines,
                   const std::string& displayName) {
  std::string bytes;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    auto encoded = EncodeCp1251(lines[i]);
    if (!encoded)
      throw DataError(displayName, static_cast<int>(i) + 1, ProblemId::NotEncodable);
    bytes += *encoded;
    bytes += "\r\n";
  }
  WriteFileBytes(path, bytes, displayName);
}

void WriteFileBytes(const std::filesystem::path& path, std::string_view bytes, const std::string& displayName) {
#ifdef _WIN32
  WindowsWriteReplacing(path, bytes, displayName);
#else
  posix::ReplaceFile(path, bytes, displayName);
#endif
}

namespace {

// The modification time and size of a regular file, read in one call where the system allows;
// false when they cannot be read. Where the system numbers files, node is the file's number: a
// file saved through a temporary one and a rename is a new file even within one tick of the clock.
bool ReadStamp(const std::filesystem::path& path, std::int64_t& time, std::uintmax_t& size, std::uint64_t& node) {
#ifndef _WIN32
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return false;
  time = static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec;
  size = static_cast<std::uintmax_t>(info.st_size);
  node = static_cast<std::uint64_t>(info.st_ino);
  return true;
#else
  node = 0;
  std::error_code timeError, sizeError;
  const auto t = std::filesystem::last_write_time(path, timeError);
  size = std::filesystem::file_size(path, sizeError);
  time = static_cast<std::int64_t>(t.time_since_epoch().count());
  return !timeError && !sizeError;
#endif
}

}  // namespace

#ifdef __linux__
// The kernel queues an event as a watched file or folder changes, before the call that changed it
// returns; a pass that finds the queue empty knows that nothing watched changed since the last.
// A file is watched itself (a change through any of its names), with every folder on its way from
// the root of the file system (a file or folder put in the place of another). Only where changes
// are told of reliably: on local file systems, and not for a file that is a link.
class FileWatch {
 public:
  ~FileWatch() {
    if (fd_ >= 0) ::close(fd_);
  }

  // 0 while nothing is watched; otherwise it moves on whenever something watched may have changed.
  std::uint64_t Epoch() const { return fd_ >= 0 ? epoch_ : 0; }

  // At the start of a pass: whatever the kernel told of since the last one ends the epoch.
  void Drain() {
    if (fd_ < 0) return;
    alignas(inotify_event) char events[4096];
    bool told = false;
    while (true) {
      const ssize_t n = ::read(fd_, events, sizeof events);
      if (n > 0) {
        told = true;
        continue;
      }
      if (n < 0 && errno == EINTR) continue;
      if (n < 0 && errno == EAGAIN) break;
      // The watch itself failed: every file is compared with the disk from now on.
      ::close(fd_);
      fd_ = -1;
      return;
    }
    if (told) ++epoch_;
  }

  // Watches path and its folders; true when a change to what path names will be told of. Called
  // before the file's stamps are read, so that a change after the reading is told of.
  bool Cover(const std::filesystem::path& path) {
    if (fd_ == -2) fd_ = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (fd_ < 0) return false;
    std::error_code ec;
    const std::filesystem::path whole = std::filesystem::absolute(path, ec);
    if (ec || !whole.has_parent_path()) return false;
    // Folders are watched once per epoch: one replaced since needs its new watch.
    if (foldersEpoch_ != epoch_) {
      folders_.clear();
      ways_.clear();
      foldersEpoch_ = epoch_;
    }
    const std::filesystem::path parent = whole.parent_path();
    auto way = ways_.find(parent.native());
    if (way == ways_.end()) {
      bool covered = true;
      for (std::filesystem::path folder = parent; covered; folder = folder.parent_path()) {
        covered = CoverFolder(folder);
        if (folder == folder.root_path() || !folder.has_parent_path()) break;
      }
      way = ways_.emplace(parent.native(), covered).first;
    }
    if (!way->second) return false;
    struct stat link {};
    if (::lstat(whole.c_str(), &link) != 0 || !S_ISREG(link.st_mode)) return false;
    constexpr std::uint32_t kFileEvents = IN_MODIFY | IN_ATTRIB | IN_CLOSE_WRITE | IN_MOVE_SELF | IN_DELETE_SELF;
    return ::inotify_add_watch(fd_, whole.c_str(), kFileEvents) >= 0;
  }

 private:
  bool CoverFolder(const std::filesystem::path& folder) {
    if (auto it = folders_.find(folder.native()); it != folders_.end()) return it->second;
    constexpr std::uint32_t kFolderEvents =
        IN_ATTRIB | IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO | IN_MOVE_SELF | IN_DELETE_SELF;
    struct statfs where {};
    const bool covered = ::statfs(folder.c_str(), &where) == 0 && Local(where.f_type) &&
                         ::inotify_add_watch(fd_, folder.c_str(), kFolderEvents) >= 0;
    folders_.emplace(folder.native(), covered);
    return covered;
  }

  // File systems whose changes all pass through this kernel, which then tells of them.
  static bool Local(decltype(statfs::f_type) type) {
    switch (static_cast<unsigned long>(type)) {
      case EXT4_SUPER_MAGIC:  // also ext2 and ext3
      case TMPFS_MAGIC:
      case BTRFS_SUPER_MAGIC:
      case XFS_SUPER_MAGIC:
      case F2FS_SUPER_MAGIC:
        return true;
      default:
        return false;
    }
  }

  int fd_ = -2;  // -2: not opened yet (nothing asked to be watched); -1: no watch
  std::uint64_t epoch_ = 1;
  std::uint64_t foldersEpoch_ = 0;
  std::unordered_map<std::string, bool> folders_;  // folder watched: covered or not
  std::unordered_map<std::string, bool> ways_;     // a file's folder: it and all above it covered
};
#else
// No watch: every file is compared with the disk in each pass.
class FileWatch {
 public:
  std::uint64_t Epoch() const { return 0; }
  void Drain() {}
  bool Cover(const std::filesystem::path&) { return false; }
};
#endif

std::shared_ptr<FileWatch> NewFileWatch() { return std::make_shared<FileWatch>(); }

InputFile DataDir::Open(TextView relName) const {
  std::shared_ptr<const std::vector<Text>> unkept;
  if (const Kept* kept = Fresh(relName, unkept)) return InputFile::FromLines(kept->lines, kept->name);
  return InputFile::FromLines(std::move(unkept), ToUtf8(relName));
}

DataDir::Kept* DataDir::Fresh(TextView relName, std::shared_ptr<const std::vector<Text>>& unkept,
                              const std::filesystem::path* config) const {
  // A kept file is looked up before its path is made: a story opens the same files many times.
  auto it = kept_->find(relName);
  const std::uint64_t pass = passes_->depth > 0 ? passes_->current : 0;
  FileWatch* watch = passes_->watch.get();
  if (pass != 0 && it != kept_->end()) {
    Kept& k = it->second;
    if (k.checkedInPass == pass) return &k;
    if (watch && k.watchedSince != 0 && k.watchedSince == watch->Epoch()) {
      k.checkedInPass = pass;
      return &k;
    }
  }
  std::filesystem::path made;
  const std::filesystem::path& path =
      it != kept_->end() ? it->second.path : config ? *config : (made = PathOf(relName));
  // Watched before the stamps are read: a change after the reading is told of.
  const std::uint64_t watchedSince = pass != 0 && watch && watch->Cover(path) ? watch->Epoch() : 0;
  std::int64_t time = 0;
  std::uintmax_t size = 0;
  std::uint64_t node = 0;
  const bool stamped = ReadStamp(path, time, size, node);
  if (stamped && it != kept_->end() && it->second.time == time && it->second.size == size &&
      it->second.node == node) {
    it->second.checkedInPass = pass;
    it->second.watchedSince = watchedSince;
    return &it->second;
  }
  if (!stamped && config) {
    std::error_code ec;
    if (!std::filesystem::exists(path, ec)) return nullptr;  // unkept stays null: no such file
  }
  std::string name = config ? config->filename().string() : ToUtf8(relName);
  auto lines = ReadTextLines(path, name);
  if (!stamped) {
    unkept = std::move(lines);
    return nullptr;
  }
  Kept& kept = (*kept_)[Text(relName)];
  kept = Kept{path, std::move(name), time, size, node, std::move(lines), nullptr, nullptr, pass, watchedSince};
  return &kept;
}

DataDir::Pass::Pass(const DataDir& dir) : passes_(dir.passes_) {
  if (passes_->depth++ == 0) {
    ++passes_->current;
    if (passes_->watch) passes_->watch->Drain();
  }
}

DataDir::Pass::~Pass() { --passes_->depth; }

bool DataDir::Exists(TextView relName) const {
  std::error_code ec;
  return std::filesystem::is_regular_file(PathOf(relName), ec);
}

}  // namespace quorbel
