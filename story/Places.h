#pragma once
// Where the program works: the folder of the story material, and the folders it writes the
// settings file and the saved stories to.
//
// Started in a material folder (one that holds styles.qrb), or given one with --data, the program
// reads and writes there as it always has. Otherwise it falls back on the material installed
// beside the executable (PREFIX/share/quorbel for PREFIX/bin/quorbel), which is read-only, and
// writes to the reader's own folders: the XDG config folder and the documents folder.
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "story/TextFile.h"

namespace quorbel {

// What the choice depends on, gathered once so the choice itself is a plain function.
struct Surroundings {
  std::filesystem::path currentFolder;
  std::filesystem::path executable;  // empty when unknown
  std::filesystem::path home;
  std::string xdgConfigHome;          // $XDG_CONFIG_HOME, empty when unset
};

// The surroundings of this process.
Surroundings CurrentSurroundings();

struct Places {
  std::filesystem::path material;
  std::filesystem::path config;  // quorbel.cfg goes here
  std::filesystem::path save;    // qrb.txt goes here
  bool installed = false;        // the material is the installed, read-only one
};

struct PlacesChoice {
  std::optional<Places> places;
  std::vector<std::filesystem::path> looked;  // the folders tried, in order, when none held material
};

// dataOption: the folder given with --data (empty when none); it is taken as it is, since its own
// reader reports what is missing in it.
PlacesChoice ChoosePlaces(const std::filesystem::path& dataOption, const Surroundings& around);

// "$XDG_CONFIG_HOME/quorbel", or "~/.config/quorbel" when it is unset or not absolute.
std::filesystem::path ConfigFolder(const Surroundings& around);
// XDG_DOCUMENTS_DIR from user-dirs.dirs when that folder exists, else ~/Documents when it exists,
// else home.
std::filesystem::path DocumentsFolder(const Surroundings& around);

// One line for the command line: where the material was looked for.
std::string NoMaterialMessage(const std::vector<std::filesystem::path>& looked);

inline DataDir OpenPlaces(const Places& p) { return DataDir(p.material, p.config, p.save); }

}  // namespace quorbel
