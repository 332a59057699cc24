#include "settings/SettingsFile.h"

#include <system_error>
#include <vector>

#include "story/Numbers.h"
#include "story/TextFile.h"

namespace quorbel {

SettingsText ParseSettingsFile(InputFile& f) {
  SettingsText t;
  for (int i = 1; i <= setting::Freeze; ++i) {
    const int line = f.LineNumber();
    try {
      t.fields.push_back({line, f.ReadTextField()});
    } catch (const DataError& e) {
      t.fault = ReadFault{e, line, f.Eof()};
      return t;
    }
  }
  t.more = !f.Eof();
  t.moreLine = f.LineNumber();
  return t;
}

namespace {

SettingsValues ValuesOf(const SettingsText& t) {
  if (t.fault) throw t.fault->error;
  SettingsValues v{};
  for (std::size_t i = 1; i < v.size(); ++i) v[i] = LenientNumber(t.fields[i - 1].text);
  return v;
}

}  // namespace

SettingsValues ReadSettingsFile(const std::filesystem::path& path) {
  std::error_code ec;
  if (!std::filesystem::exists(path, ec)) return SettingsValues{};
  InputFile f = InputFile::Open(path, kSettingsFileName);
  return ValuesOf(ParseSettingsFile(f));
}

SettingsValues ReadSettingsFile(const DataDir& dir) {
#ifdef _WIN32
  // Here a file's stamp has no file number, so a rewrite of the same size within one tick of the
  // file clock would look unchanged; the reader changes this small file between stories.
  return ReadSettingsFile(SettingsPath(dir));
#else
  const auto parsed = dir.ParsedConfig<SettingsText>(kSettingsFileName, ParseSettingsFile);
  return parsed ? ValuesOf(*parsed) : SettingsValues{};
#endif
}

void WriteSettingsFile(const std::filesystem::path& path, const SettingsValues& values) {
  std::vector<Text> lines;
  for (int i = 1; i <= setting::Freeze; ++i) lines.push_back(Str(values[static_cast<std::size_t>(i)]) + u" ");
  std::error_code ec;
  if (path.has_parent_path()) std::filesystem::create_directories(path.parent_path(), ec);
  if (ec) throw DataError(kSettingsFileName, 0, ProblemId::FolderNotMade, path.parent_path().string(), ec.message());
  WriteTextFile(path, lines, kSettingsFileName);
}

}  // namespace quorbel
