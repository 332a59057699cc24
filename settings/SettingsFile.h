#pragma once
// "quorbel.cfg": ten numbers, one per line, as a print statement writes them (" 3 ").
#include <array>
#include <filesystem>

#include "story/Random.h"
#include "story/TextFile.h"

namespace quorbel {

constexpr const char* kSettingsFileName = "quorbel.cfg";

// The settings file of a material folder: beside it, or in the reader's config folder.
inline std::filesystem::path SettingsPath(const DataDir& dir) { return dir.configFolder() / kSettingsFileName; }

// Values 1..10 (element 0 unused).
using SettingsValues = std::array<Long, 11>;

// Reads ten number fields. A missing file means ten zeros (everything at random), so a first
// run works; a short or unreadable file is a DataError.
SettingsValues ReadSettingsFile(const std::filesystem::path& path);
// Writes the ten values through a temporary file and a rename, making the folder when it is
// missing (a first save into the config folder).
void WriteSettingsFile(const std::filesystem::path& path, const SettingsValues& values);

}  // namespace quorbel
