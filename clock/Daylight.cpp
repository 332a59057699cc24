#include "clock/Daylight.h"

#include <array>

#include "story/Numbers.h"

namespace quorbel {
namespace {

// Dawn, sunrise, noon, sunset and dusk as HHMM, one row per third of each month.
constexpr std::array<std::array<int, 5>, 36> kDaylight = {{
    {829, 912, 1258, 1644, 1727},  {826, 908, 1302, 1657, 1739},  {817, 858, 1306, 1714, 1754},
    {803, 842, 1308, 1735, 1813},  {746, 823, 1309, 1755, 1832},  {726, 802, 1308, 1815, 1851},
    {709, 744, 1307, 1830, 1906},  {646, 721, 1305, 1850, 1925},  {621, 656, 1302, 1908, 1944},
    {554, 629, 1258, 1929, 2005},  {528, 605, 1256, 1947, 2024},  {503, 542, 1253, 2006, 2044},
    {440, 520, 1252, 2024, 2105},  {417, 501, 1251, 2042, 2126},  {358, 445, 1251, 2058, 2145},
    {341, 431, 1252, 2114, 2204},  {332, 424, 1254, 2124, 2217},  {329, 423, 1256, 2129, 2223},
    {335, 428, 1258, 2128, 2221},  {346, 437, 1300, 2122, 2212},  {403, 450, 1301, 2110, 2158},
    {423, 508, 1301, 2053, 2137},  {443, 525, 1300, 2033, 2115},  {503, 542, 1258, 2012, 2051},
    {525, 602, 1255, 1946, 2023},  {543, 619, 1251, 1922, 1958},  {602, 637, 1248, 1857, 1932},
    {620, 655, 1244, 1833, 1908},  {638, 713, 1241, 1809, 1844},  {656, 732, 1239, 1746, 1822},
    {716, 753, 1238, 1722, 1759},  {734, 812, 1238, 1704, 1742},  {751, 831, 1240, 1649, 1729},
    {806, 848, 1243, 1638, 1720},  {818, 901, 1247, 1634, 1717},  {826, 910, 1252, 1635, 1718},
}};

constexpr int Minutes(int hhmm) { return 60 * (hhmm / 100) + hhmm % 100; }

// A random one of three consecutive values.
Long OneOfThree(Long lowest, Random& rng) { return lowest + Int(rng.Rnd() * 3); }

}  // namespace

DaylightTimes LookUpDaylight(Long month, Long dayOfMonth) {
  if (month < 1 || month > 12 || dayOfMonth < 1) return {};
  int third = dayOfMonth < 11 ? 0 : dayOfMonth < 21 ? 1 : 2;
  const auto& row = kDaylight[static_cast<std::size_t>((month - 1) * 3 + third)];
  return {Minutes(row[0]), Minutes(row[1]), Minutes(row[2]), Minutes(row[3]), Minutes(row[4])};
}

int ClockMinutes(TextView clockTime) {
  // The hour is the first two characters and the minute the last two, read as numbers.
  TextView hours = clockTime.substr(0, 2);
  TextView minutes = clockTime.size() >= 2 ? clockTime.substr(clockTime.size() - 2) : clockTime;
  return 60 * LenientNumber(hours) + LenientNumber(minutes);
}

void ClassifyLight(StoryState& s, Random& rng) {
  const DaylightTimes d = LookUpDaylight(s.settings[setting::Month], s.dayOfMonth);
  const double t = ClockMinutes(s.clockTime);
  const double r = d.sunrise, n = d.noon, ss = d.sunset;
  const double len = ss - r;
  Long& phase = s.dayPhase[1];
  // Later rules overwrite earlier ones; the "not 3/7/11" rules keep a phase drawn around
  // sunrise, noon or sunset until the next band begins.
  if (t < d.dawn) phase = 1;
  if (d.dawn <= t && t < r - 15) phase = 2;
  if (r - 15 <= t && t < r + 15) phase = OneOfThree(2, rng);
  if (r <= t && t < r + 0.15 * len && phase != 3) phase = 4;
  if (r + 0.15 * len <= t && t < r + 0.3 * len) phase = 5;
  if (r + 0.3 * len <= t && t < n) phase = 6;
  if (n - 15 <= t && t < n + 15) phase = OneOfThree(6, rng);
  if (n <= t && t < ss - 0.3 * len && phase != 7) phase = 8;
  if (ss - 0.3 * len <= t && t < ss - 0.15 * len) phase = 9;
  if (ss - 0.15 * len <= t && t < ss) phase = 10;
  if (ss - 15 <= t && t < ss + 15) phase = OneOfThree(10, rng);
  if (ss <= t && t < d.dusk && phase != 11) phase = 12;
  if (t >= d.dusk) phase = 1;
}

void ClassifyClock(StoryState& s, Random& rng) {
  const int t = ClockMinutes(s.clockTime);
  Long& band = s.dayPhase[2];
  // The bands around noon and midnight each draw their chance whether or not the time is
  // theirs, so the number of draws does not depend on the time.
  auto chance = [&rng] { return Int(rng.Rnd() * 3) == 0; };
  if (t < 300) band = 1;
  if (300 <= t && t < 480) band = 2;
  if (480 <= t && t < 660) band = 3;
  if (660 <= t && t < 1020) band = 4;
  if (chance() && 715 <= t && t < 720) band = 5;
  if (chance() && t == 720) band = 6;
  if (chance() && 720 < t && t < 726) band = 7;
  if (1020 <= t && t < 1200) band = 8;
  if (1200 <= t && t < 1380) band = 9;
  if (t >= 1380) band = 1;
  if (chance() && 1435 <= t && t < 1440) band = 10;
  if (chance() && t == 1440) band = 11;
  if (chance() && 0 < t && t < 6) band = 12;
}

}  // namespace quorbel
