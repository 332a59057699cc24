#include "settings/SettingsModel.h"

#include <algorithm>
#include <optional>

#include "story/MaterialFiles.h"

namespace quorbel {

namespace {
const Text kRandom = T("Произвольно");

std::vector<Text> List(std::initializer_list<const char*> entries) {
  std::vector<Text> out;
  for (const char* e : entries) out.push_back(T(e));
  return out;
}

int Clamp(long long value, int first, int last) {
  return static_cast<int>(std::clamp<long long>(value, first, std::max(first, last)));
}
// A 1-based list position from a file value (0 = the first entry).
long long Pos(Long value) { return static_cast<long long>(value) + 1; }
}  // namespace

const std::vector<Text>& ConditionEntries(int combo) {
  static const std::vector<Text> kMonths =
      List({"произвольно", "январь", "февраль", "март", "апрель", "май", "июнь", "июль", "август", "сентябрь",
            "октябрь", "ноябрь", "декабрь"});
  static const std::vector<Text> kTimes = [] {
    std::vector<Text> v{T("произвольно")};
    auto two = [](int h) { return T(h < 10 ? "0" : "") + T(std::to_string(h)); };
    for (int k = 0; k < 12; ++k) v.push_back(two(2 * k) + u".00-" + two(2 * k + 2) + u".00");
    return v;
  }();
  static const std::vector<Text> kClouds =
      List({"произвольно", "отсутствие облаков", "немного облаков", "облака с просветами", "сплошные облака (тучи)"});
  static const std::vector<Text> kWind =
      List({"произвольно", "отсутствие ветра", "слабый ветер", "средний ветер", "сильный ветер"});
  static const std::vector<Text> kTemperature = List({"произвольно", "низкая", "средняя", "высокая"});
  static const std::vector<Text> kPrecipitation =
      List({"произвольно", "никаких осадков", "легкие осадки", "средние осадки", "сильные осадки"});
  static const std::vector<Text> kNone;
  switch (combo) {
    case 4: return kMonths;
    case 5: return kTimes;
    case 6: return kClouds;
    case 7: return kWind;
    case 8: return kTemperature;
    case 9: return kPrecipitation;
    default: return kNone;
  }
}

Text ThemeDisplayName(TextView line) {
  Text out(line);
  const std::size_t at = out.find(u"_Z_");
  if (at != Text::npos) out.replace(at, 3, u"...");
  return out;
}

SettingsModel::SettingsModel()
    : styleFolders_{Text(), Text()},
      styleNames_{Text(), kRandom},
      themeNames_{Text(), kRandom},
      realismNames_{Text(), kRandom, T("Отсутствие абсурда"), T("Небольшой абсурд"), T("Полный абсурд")},
      styleCaption_(kRandom),
      themeCaption_(kRandom),
      realismCaption_(kRandom) {}

void SettingsModel::Load(const DataDir& dir) {
  *this = SettingsModel();
  // Without a readable style catalogue the other settings are still shown as the file holds them,
  // so that "ОК" does not throw them away.
  std::optional<DataError> catalogueFault;
  try {
    const auto styles = OpenStyleCatalogue(dir);
    // The styles before a faulty entry are still offered.
    for (const StyleEntry& e : styles->styles) {
      if (auto fault = NameFault(e.folder)) throw DataError(styles->name, e.line, *fault);
      styleFolders_.push_back(e.folder);
      styleNames_.push_back(e.displayName);
    }
    if (styles->oddLine) throw MissingStyleName(*styles);
  } catch (const DataError& e) {
    catalogueFault = e;
  }
  Apply(dir, ReadSettingsFile(SettingsPath(dir)));
  if (catalogueFault) throw *catalogueFault;
}

void SettingsModel::Apply(const DataDir& dir, const SettingsValues& v) {
  stylePos_ = Clamp(Pos(v[1]), 1, styleCount());
  styleCaption_ = StyleName(stylePos_);
  realismPos_ = Clamp(Pos(v[3]), 1, 4);
  realismCaption_ = realismNames_[static_cast<std::size_t>(realismPos_)];
  for (int c = 4; c <= 9; ++c)
    combos_[static_cast<std::size_t>(c)] = Clamp(v[static_cast<std::size_t>(c)], 0,
                                                 static_cast<int>(ConditionEntries(c).size()) - 1);
  freeze_ = v[10] >= 1;

  themePos_ = 1;
  themeCaption_ = ThemeName(1);
  if (stylePos_ > 1) ReadThemes(dir, stylePos_);  // a missing catalogue leaves the theme at random
  themePos_ = Clamp(Pos(v[2]), 1, std::max(themeCount_, 1));
  themeCaption_ = ThemeName(themePos_);
}

void SettingsModel::ReadThemes(const DataDir& dir, int stylePos) {
  const auto themes = OpenThemeCatalogue(dir, styleFolders_[static_cast<std::size_t>(stylePos)]);
  std::vector<Text> names{Text(), kRandom};
  for (const Item& theme : themes->lines) names.push_back(ThemeDisplayName(theme.text));
  themeNames_ = std::move(names);
  themeCount_ = static_cast<int>(themeNames_.size()) - 1;
}

void SettingsModel::PreviousStyle() {
  if (styleCaption_ == StyleName(1))
    stylePos_ = styleCount();
  else
    stylePos_ = std::max(1, stylePos_ - 1);
  styleCaption_ = StyleName(stylePos_);
  if (stylePos_ == 1) {
    themePos_ = 1;
    themeCaption_ = ThemeName(1);
  }
}

void SettingsModel::NextStyle() {
  if (styleCaption_ == StyleName(styleCount()))
    stylePos_ = 1;
  else
    stylePos_ = std::min(styleCount(), stylePos_ + 1);
  styleCaption_ = StyleName(stylePos_);
  if (stylePos_ == 1) {
    themePos_ = 1;
    themeCaption_ = ThemeName(1);
  }
}

void SettingsModel::PreviousTheme(const DataDir& dir) {
  if (styleCaption_ != StyleName(1)) ReadThemes(dir, stylePos_);
  if (themeCount_ == 0) return;
  // The position may lie beyond a catalogue read for another style: step from its end then.
  if (themeCaption_ == ThemeName(1))
    themePos_ = themeCount_;
  else
    themePos_ = std::min(themePos_, themeCount_ + 1) - 1;
  if (themePos_ < 1) themePos_ = themeCount_;
  themeCaption_ = ThemeName(themePos_);
}

void SettingsModel::NextTheme(const DataDir& dir) {
  if (styleCaption_ != StyleName(1)) ReadThemes(dir, stylePos_);
  if (themeCount_ == 0) return;
  if (themeCaption_ == ThemeName(themeCount_))
    themePos_ = 1;
  else
    themePos_ = themePos_ + 1;
  if (themePos_ > themeCount_) themePos_ = 1;
  themeCaption_ = ThemeName(themePos_);
}

void SettingsModel::NextRealism() {
  realismPos_ = realismCaption_ == realismNames_[4] ? 1 : std::min(4, realismPos_ + 1);
  realismCaption_ = realismNames_[static_cast<std::size_t>(realismPos_)];
}

void SettingsModel::PreviousRealism() {
  realismPos_ = realismCaption_ == realismNames_[1] ? 4 : std::max(1, realismPos_ - 1);
  realismCaption_ = realismNames_[static_cast<std::size_t>(realismPos_)];
}

void SettingsModel::setComboIndex(int combo, int index) {
  if (combo < 4 || combo > 9) return;
  combos_[static_cast<std::size_t>(combo)] =
      Clamp(index, 0, static_cast<int>(ConditionEntries(combo).size()) - 1);
}

SettingsValues SettingsModel::Values() const {
  SettingsValues v{};
  v[1] = stylePos_ - 1;
  v[2] = themePos_ - 1;
  v[3] = realismPos_ - 1;
  for (int c = 4; c <= 9; ++c) v[static_cast<std::size_t>(c)] = combos_[static_cast<std::size_t>(c)];
  v[10] = freeze_ ? 1 : 0;
  return v;
}

void SettingsModel::Save(const DataDir& dir) const {
  WriteSettingsFile(SettingsPath(dir), Values());
}

}  // namespace quorbel
