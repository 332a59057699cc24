#pragma once
// "quorbel.cfg": ten numbers, one per line, as a print statement writes them (" 3 ").
#include <array>
#include <filesystem>
#include <optional>
#include <vector>

#include "story/MaterialFiles.h"
#include "story/Random.h"
#include "story/TextFile.h"

namespace quorbel {

constexpr const char* kSettingsFileName = "quorbel.cfg";

// The settings file of a material folder: beside it, or in the reader's config folder.
inline std::filesystem::path SettingsPath(const DataDir& dir) { return dir.configFolder() / kSettingsFileName; }

// Values 1..10 (element 0 unused).
using SettingsValues = std::array<Long, 11>;

// The ten fields as written, each with its line, up to what stopped the reading; more tells
// whether anything follows the tenth, from line moreLine on. The program reads each field
// leniently as a number; the checker judges the text.
struct SettingsField {
  int line = 0;
  Text text;
};
struct SettingsText {
  std::vector<SettingsField> fields;
  std::optional<ReadFault> fault;
  bool more = false;
  int moreLine = 0;
};
SettingsText ParseSettingsFile(InputFile& f);

// Reads ten number fields. A missing file means ten zeros (everything at random), so a first
// run works; a short or unreadable file is a DataError.
SettingsValues ReadSettingsFile(const std::filesystem::path& path);
// The same for the settings file of dir, kept by dir and read again only when it changed.
SettingsValues ReadSettingsFile(const DataDir& dir);
// Writes the ten values through a temporary file and a rename, making the folder when it is
// missing (a first save into the config folder).
void WriteSettingsFile(const std::filesystem::path& path, const SettingsValues& values);

}  // namespace quorbel
