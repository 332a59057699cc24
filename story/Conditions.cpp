#include "story/Conditions.h"

#include <array>
#include <string>

#include "clock/Daylight.h"
#include "clock/StoryClock.h"
#include "settings/SettingsFile.h"
#include "story/DataError.h"
#include "story/Numbers.h"

namespace quorbel {
namespace {

constexpr std::array<const char*, 13> kMonthNames = {
    "",     "январь", "февраль", "март",     "апрель",  "май",    "июнь",
    "июль", "август", "сентябрь", "октябрь", "ноябрь", "декабрь"};
constexpr std::array<const char*, 5> kCloudPhrases = {
    "", " отсутствие облаков", " немного облаков", " облака с просветами", " сплошные облака (тучи)"};
constexpr std::array<const char*, 9> kPrecipitationPhrases = {
    "",       " никаких осадков", " слабые осадки", " средние осадки", " сильные осадки",
    " град", " гроза",           " иней",          " туман"};
constexpr std::array<const char*, 5> kWindPhrases = {
    "", " отсутствие ветра", " слабый ветер", " средний ветер", " сильный ветер"};
constexpr std::array<const char*, 4> kTemperaturePhrases = {
    "", " низкая температура", " средняя температура", " высокая температура"};

template <std::size_t N>
Text Phrase(const std::array<const char*, N>& phrases, Long value) {
  if (value < 0 || static_cast<std::size_t>(value) >= N) return {};
  return T(phrases[static_cast<std::size_t>(value)]);
}

// The settings come from "quorbel.cfg", one value per line; a value the lists cannot hold would
// index past the month tables, so it is reported against its line instead.
void CheckSettings(const StoryState& s) {
  for (int element = setting::Absurdity; element <= setting::Precipitation; ++element) {
    const setting::Rule& rule = setting::kRules[element];
    const Long v = s.settings[element];
    if (v < 0 || v > rule.last)
      throw DataError(kSettingsFileName, element, ProblemId::ConditionOutOfRange, rule.name, v, rule.last);
  }
}

Text TwoDigits(Long n) {
  Text t = NumText(n);
  return n < 10 ? u"0" + t : t;
}

}  // namespace

void ResolveConditions(StoryState& s, Random& rng) {
  CheckSettings(s);
  auto& set = s.settings;

  // 1, 2. Absurdity and month.
  if (set[3] == 0) set[3] = Int(rng.Rnd() * 3) + 1;
  if (set[4] == 0) set[4] = Int(rng.Rnd() * 12) + 1;
  const auto month = static_cast<std::size_t>(set[4]);

  // 3. Day, always drawn.
  const Long monthLength = kMonthLastDay[month] - kMonthLastDay[month - 1];
  s.dayOfMonth = Int(rng.Rnd() * monthLength) + 1;

  // 4. Time-of-day block; one redraw makes the night blocks 1 to 3 less likely.
  if (set[5] == 0) {
    Long b = Int(rng.Rnd() * 12) + 1;
    if (rng.Rnd() * 100 < 50 && b < 4) b = Int(rng.Rnd() * 12) + 1;
    set[5] = b;
  }

  // 5. Start time within the block.
  const Long hour = 2 * (set[5] - 1) + Int(rng.Rnd() * 2);
  const Long minute = Int(rng.Rnd() * 60);
  s.clockTime = TwoDigits(hour) + u":" + TwoDigits(minute);

  // 6 to 8. Clouds, wind (calm a quarter of the time), temperature class (mostly medium).
  if (set[6] == 0) set[6] = Int(rng.Rnd() * 4) + 1;
  if (set[7] == 0) {
    set[7] = Int(rng.Rnd() * 4) + 1;
    if (Int(rng.Rnd() * 100) < 25) set[7] = 1;
  }
  if (set[8] == 0) {
    set[8] = Int(rng.Rnd() * 3) + 1;
    if (Int(rng.Rnd() * 100) < 75) set[8] = 2;
  }

  // 9, 10. Temperature and precipitation, as the clock computes them.
  ComputeTemperature(s, rng);
  ChoosePrecipitation(s, rng);

  // 11. Date.
  s.dayOfYear = kMonthLastDay[month - 1] + s.dayOfMonth;
  Text status = T(kMonthNames[month]) + Str(s.dayOfMonth) + u"-e " + s.clockTime;

  // 12. Light phase and clock band; the light rules may read the phase of the previous story.
  ClassifyLight(s, rng);
  ClassifyClock(s, rng);

  // 13. The start, from which the days passed are counted.
  s.startDayOfYear = s.dayOfYear;
  s.startTime = s.clockTime;

  // 14. Special weather, once, whatever the settings said.
  ApplySpecialWeather(s, rng);

  // 15. Status line.
  status += Phrase(kCloudPhrases, set[6]) + Phrase(kPrecipitationPhrases, set[9]) +
            Phrase(kWindPhrases, set[7]) + Phrase(kTemperaturePhrases, set[8]) + u" (" +
            Str(s.temperature) + u" )";
  s.statusLine = std::move(status);
}

}  // namespace quorbel
