#include "settings/SettingsFile.h"

#include <system_error>
#include <vector>

#include "story/Numbers.h"
#include "story/TextFile.h"

namespace quorbel {

SettingsValues ReadSettingsFile(const std::filesystem::path& path) {
  SettingsValues v{};
  std::error_code ec;
  if (!std::filesystem::exists(path, ec)) return v;
  InputFile f = InputFile::Open(path, kSettingsFileName);
  for (int i = 1; i <= 10; ++i) v[static_cast<std::size_t>(i)] = f.ReadNumberField();
  return v;
}

void WriteSettingsFile(const std::filesystem::path& path, const SettingsValues& values) {
  std::vector<Text> lines;
  for (int i = 1; i <= 10; ++i) lines.push_back(Str(values[static_cast<std::size_t>(i)]) + u" ");
  std::error_code ec;
  if (path.has_parent_path()) std::filesystem::create_directories(path.parent_path(), ec);
  if (ec) throw DataError(kSettingsFileName, 0, "the folder " + path.parent_path().string() + " cannot be made: " + ec.message());
  WriteTextFile(path, lines, kSettingsFileName);
}

}  // namespace quorbel
