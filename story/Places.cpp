#include "story/Places.h"

#include <cstdlib>
#include <fstream>
#include <system_error>

#ifndef _WIN32
#include <pwd.h>
#include <unistd.h>
#endif

#include "story/MaterialFiles.h"

#ifndef QUORBEL_INSTALL_BINDIR
#define QUORBEL_INSTALL_BINDIR "bin"
#endif
#ifndef QUORBEL_INSTALL_DATADIR
#define QUORBEL_INSTALL_DATADIR "share"
#endif

namespace quorbel {

namespace fs = std::filesystem;

namespace {

bool HoldsMaterial(const fs::path& folder) {
  std::error_code ec;
  return fs::is_regular_file(folder / PathFromUtf8(ToUtf8(kStyleCatalogue)), ec);
}

bool IsFolder(const fs::path& folder) {
  std::error_code ec;
  return !folder.empty() && fs::is_directory(folder, ec);
}

std::string Env(const char* name) {
  const char* v = std::getenv(name);
  return v ? v : "";
}

fs::path ConfigHome(const Surroundings& around) {
  // Relative values are to be ignored, so a stray setting cannot scatter files.
  const fs::path xdg = around.xdgConfigHome;
  if (!xdg.empty() && xdg.is_absolute()) return xdg;
  return around.home / ".config";
}

// The material installed with the program: the data folder of the prefix the executable lies in,
// so that a moved install still finds its own.
fs::path InstalledMaterial(const fs::path& executable) {
  if (executable.empty()) return {};
  const fs::path data = fs::path(QUORBEL_INSTALL_DATADIR) / "quorbel";
  if (data.is_absolute()) return data;
  const fs::path bin = QUORBEL_INSTALL_BINDIR;
  fs::path prefix = executable.parent_path();
  for (auto it = bin.begin(); it != bin.end(); ++it) prefix = prefix.parent_path();
  return (prefix / data).lexically_normal();
}

// XDG_DOCUMENTS_DIR="$HOME/Documents" from user-dirs.dirs, or empty.
fs::path DocumentsSetting(const Surroundings& around) {
  std::ifstream in(ConfigHome(around) / "user-dirs.dirs");
  std::string line;
  const std::string key = "XDG_DOCUMENTS_DIR=";
  while (std::getline(in, line)) {
    if (line.rfind(key, 0) != 0) continue;
    std::string value = line.substr(key.size());
    if (!value.empty() && value.back() == '\r') value.pop_back();
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"') value = value.substr(1, value.size() - 2);
    if (value.rfind("$HOME", 0) == 0) return around.home.string() + value.substr(5);
    if (fs::path(value).is_absolute()) return value;
    return {};
  }
  return {};
}

}  // namespace

Surroundings CurrentSurroundings() {
  Surroundings around;
  std::error_code ec;
  around.currentFolder = fs::current_path(ec);
#ifdef __linux__
  around.executable = fs::read_symlink("/proc/self/exe", ec);
  if (ec) around.executable.clear();
#endif
  std::string home = Env("HOME");
#ifdef _WIN32
  if (home.empty()) home = Env("USERPROFILE");
#else
  if (home.empty()) {
    if (const passwd* pw = getpwuid(getuid()); pw && pw->pw_dir) home = pw->pw_dir;
  }
#endif
  around.home = home;
  around.xdgConfigHome = Env("XDG_CONFIG_HOME");
  return around;
}

fs::path ConfigFolder(const Surroundings& around) { return ConfigHome(around) / "quorbel"; }

fs::path DocumentsFolder(const Surroundings& around) {
  const fs::path chosen = DocumentsSetting(around);
  if (IsFolder(chosen)) return chosen;
  if (IsFolder(around.home / "Documents")) return around.home / "Documents";
  return around.home;
}

PlacesChoice ChoosePlaces(const fs::path& dataOption, const Surroundings& around) {
  PlacesChoice choice;
  auto here = [](const fs::path& folder) {
    Places p;
    p.material = p.config = p.save = folder;
    return p;
  };
  if (!dataOption.empty()) {
    choice.places = here(dataOption);
    return choice;
  }
  if (HoldsMaterial(around.currentFolder)) {
    choice.places = here(around.currentFolder);
    return choice;
  }
  choice.looked.push_back(around.currentFolder);
  const fs::path installed = InstalledMaterial(around.executable);
  if (!installed.empty()) {
    if (HoldsMaterial(installed)) {
      Places p;
      p.material = installed;
      p.config = ConfigFolder(around);
      p.save = DocumentsFolder(around);
      p.installed = true;
      choice.places = p;
      return choice;
    }
    choice.looked.push_back(installed);
  }
  return choice;
}

std::string NoMaterialMessage(const std::vector<fs::path>& looked) {
  std::string folders;
  for (const fs::path& f : looked) folders += (folders.empty() ? "" : ", ") + PathToUtf8(f);
  return "no story material (styles.qrb) in " + folders + "; give its folder with --data DIR";
}

}  // namespace quorbel
