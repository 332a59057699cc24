#include "clock/StoryClock.h"

#include <cmath>
#include <cstdint>

#include "clock/Daylight.h"
#include "story/Numbers.h"

namespace quorbel {
namespace {

constexpr std::int64_t kDayMinutes = 1440;
constexpr std::int64_t kYearDays = 365;

// Month base temperatures; the day-of-month terms follow in DayTerm.
constexpr std::array<Long, 13> kMonthBase = {0, 0, 2, 12, 22, 32, 45, 43, 40, 35, 25, 8, 0};

Long DayTerm(Long month, Long day) {
  switch (month) {
    case 2: return Int(5.0 * day / 28);
    case 3: return Int(8.0 * day / 31);
    case 4: return Int(8.0 * day / 30);
    case 5: return Int(5.0 * day / 31);
    case 7:
    case 8: return -Int(2.0 * day / 31);
    case 9: return -Int(5.0 * day / 30);
    case 10: return -Int(8.0 * day / 31);
    case 11: return -Int(5.0 * day / 30);
    default: return 0;
  }
}

// lo + Int((hi - lo) * Rnd), in 64 bits: the ranges come from data files and may be large.
std::int64_t DrawFromRange(Long lo, Long hi, Random& rng) {
  double span = static_cast<double>(hi) - static_cast<double>(lo);
  return static_cast<std::int64_t>(lo) + static_cast<std::int64_t>(std::floor(span * rng.Rnd()));
}

// Any day number into 1..365, wrapping as often as needed (a day range above a year still gives
// a real date).
Long WrapDay(std::int64_t day) {
  std::int64_t r = (day - 1) % kYearDays;
  if (r < 0) r += kYearDays;
  return static_cast<Long>(r + 1);
}

Text TwoDigits(Long n) {
  Text t = NumText(n);
  return n < 10 ? u"0" + t : t;
}

}  // namespace

bool ParseRange(TextView range, Long& lo, Long& hi) {
  std::size_t dash = range.find(u'-');
  if (dash == TextView::npos) {
    // No range, just a number: take it as a fixed advance rather than guess at a span.
    lo = hi = LenientNumber(range);
    return false;
  }
  lo = LenientNumber(range.substr(0, dash));
  hi = LenientNumber(range.substr(dash + 1));
  return true;
}

void ComputeTemperature(StoryState& s, Random& rng) {
  const Long t = s.settings[setting::TemperatureClass];
  const Long m = s.settings[setting::Month];
  const Long d = s.dayOfMonth;
  const Long b = s.settings[setting::TimeBlock] == 1 ? 13 : s.settings[setting::TimeBlock];  // 00:00-02:00 is as cold as 02:00-04:00
  const Long g = Int(rng.Rnd() * 1.9);
  const bool known = m >= 1 && m <= 12;
  const Long base = known ? kMonthBase[static_cast<std::size_t>(m)] : 0;
  const Long dayTerm = known ? DayTerm(m, d) : 0;
  s.temperature = 10 * t - 40 + base + dayTerm - Int(g * std::fabs(b - 7.5) - 5);
}

void ChoosePrecipitation(StoryState& s, Random& rng) {
  if (s.settings[setting::Precipitation] != 0) return;
  Long& p = s.settings[setting::Precipitation];
  const Long clouds = s.settings[setting::Clouds];
  p = 1;
  if (Int(rng.Rnd() * 100) < 25 && clouds > 2) p = 2;
  if (Int(rng.Rnd() * 100) < 25 && p == 1 && clouds > 2) p = 3;
  if (Int(rng.Rnd() * 100) < 25 && p == 1 && clouds > 3) p = 2;
  if (Int(rng.Rnd() * 100) < 25 && p == 1 && clouds > 3) p = 3;
  if (Int(rng.Rnd() * 100) < 25 && p == 1 && clouds > 3) p = 4;
}

void ApplySpecialWeather(StoryState& s, Random& rng) {
  Long& p = s.settings[setting::Precipitation];
  const Long month = s.settings[setting::Month];
  const Long block = s.settings[setting::TimeBlock];
  const Long wind = s.settings[setting::Wind];
  const Long tempClass = s.settings[setting::TemperatureClass];
  // Every test draws, whether or not its conditions hold, so the draws do not depend on them.
  struct FogCase {
    Long month, fromBlock, toBlock;
  };
  static constexpr FogCase kFog[] = {{7, 3, 5},  {7, 9, 11},  {8, 3, 5},  {8, 9, 11},
                                     {9, 3, 5},  {9, 9, 11},  {10, 3, 5}, {10, 9, 11}};
  for (int pass = 0; pass < 2; ++pass) {
    for (const FogCase& f : kFog) {
      bool draw = Int(rng.Rnd() * 3) == 0;
      if (draw && p == 1 && tempClass == 1 && wind == 1 && month == f.month && block >= f.fromBlock &&
          block <= f.toBlock)
        p = 8;
    }
  }
  for (Long m : {6, 7}) {
    bool draw = Int(rng.Rnd() * 5) == 0;
    if (draw && p == 4 && wind > 1 && month == m) p = 5;
  }
  for (Long m : {6, 7}) {
    bool draw = Int(rng.Rnd() * 20) == 0;
    if (draw && p == 4 && wind > 1 && month == m) p = 6;
  }
  // Hoarfrost in the late-autumn and winter months 10 to 12 only.
  for (Long m : {10, 11, 12}) {
    bool draw = Int(2 * rng.Rnd()) == 0;
    if (draw && p == 1 && wind == 1 && block >= 3 && block <= 5 && s.temperature < -4 && month == m)
      p = 7;
  }
}

void StepClock(StoryState& s, Random& rng) {
  const bool frozen = s.settings[setting::Freeze] == 1;

  // 1. Day advance. A range without a hyphen counts as a fixed advance (see ParseRange); the
  // plot builder checks the ranges of its files before a story starts.
  Long lo = 0, hi = 0;
  ParseRange(s.recDays, lo, hi);
  if (frozen) lo = hi = 0;
  std::int64_t day = static_cast<std::int64_t>(s.dayOfYear) + DrawFromRange(lo, hi, rng);

  // 2. Time advance, at most three hours while changes are forbidden.
  ParseRange(s.recMinutes, lo, hi);
  std::int64_t advance = DrawFromRange(lo, hi, rng);
  if (frozen && advance > 180) advance = 180;

  // 3. New time. 24:00 stays 24:00; every full day beyond it moves the date on, so an advance
  // of several days never leaves an hour above 24.
  std::int64_t t = ClockMinutes(s.clockTime) + advance;
  if (t > kDayMinutes) {
    std::int64_t days = (t - 1) / kDayMinutes;
    t -= days * kDayMinutes;
    day += days;
  } else if (t < 0) {  // only from a range whose hi is below its lo
    std::int64_t days = (-t + kDayMinutes - 1) / kDayMinutes;
    t += days * kDayMinutes;
    day -= days;
  }
  s.dayOfYear = WrapDay(day);

  // 4. Date.
  Long month = 1;
  while (month < 12 && kMonthLastDay[static_cast<std::size_t>(month)] < s.dayOfYear) ++month;
  s.settings[setting::Month] = month;
  s.dayOfMonth = s.dayOfYear - kMonthLastDay[static_cast<std::size_t>(month - 1)];

  // 5. Hours and minutes.
  Long hours = static_cast<Long>(t / 60);
  const Long minutes = static_cast<Long>(t - 60 * hours);

  // 6. Night skip: the story rarely goes on in the small hours.
  const Long skip = Int(rng.Rnd() * 100);
  if (hours < 7 && skip > 10 && s.settings[setting::Freeze] == 0) hours = 7 + Int(rng.Rnd() * 3);

  // 7. Clock text.
  s.clockTime = TwoDigits(hours) + u":" + TwoDigits(minutes);

  // 8. Light phase and clock band.
  ClassifyLight(s, rng);
  ClassifyClock(s, rng);

  // 9. Weather gate: with changes forbidden, or in half of the steps, the weather stays.
  const Long gate = Int(rng.Rnd() * 100);
  if (!(s.settings[setting::Freeze] == 0 && gate < 50)) return;

  // 10. Unset weather values. CLng can give 0 again, which leaves the value for a later step.
  if (s.settings[setting::Clouds] == 0) s.settings[setting::Clouds] = CLng(rng.Rnd() * 4);
  if (s.settings[setting::Wind] == 0) {
    s.settings[setting::Wind] = CLng(rng.Rnd() * 4);
    if (Int(rng.Rnd() * 100) < 25) s.settings[setting::Wind] = 1;
  }
  if (s.settings[setting::TemperatureClass] == 0) {
    s.settings[setting::TemperatureClass] = CLng(rng.Rnd() * 3);
    if (Int(rng.Rnd() * 100) < 75) s.settings[setting::TemperatureClass] = 2;
  }

  // 11 to 13.
  ComputeTemperature(s, rng);
  ChoosePrecipitation(s, rng);
  ApplySpecialWeather(s, rng);
}

}  // namespace quorbel
