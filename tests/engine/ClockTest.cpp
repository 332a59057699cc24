// The daylight table, the light and clock classifications, the temperature and the clock step.
#include <gtest/gtest.h>

#include <memory>

#include "ScriptedRandom.h"
#include "clock/Daylight.h"
#include "clock/StoryClock.h"

namespace quorbel {
namespace {

using quorbel::testing::ScriptedRandom;

std::unique_ptr<StoryState> At(Long month, Long day, const char16_t* time, Long previousPhase = 0) {
  auto s = std::make_unique<StoryState>();
  s->settings[setting::Month] = month;
  s->dayOfMonth = day;
  s->clockTime = time;
  s->dayPhase[1] = previousPhase;
  return s;
}

void Repeat(ScriptedRandom& rng, int n, double v) {
  for (int i = 0; i < n; ++i) rng.Add(v);
}

// ---- Daylight table and classifications ----

TEST(Daylight, RowsByMonthAndThirdOfTheMonth) {
  DaylightTimes jan15 = LookUpDaylight(1, 15);
  EXPECT_EQ(jan15.dawn, 506);
  EXPECT_EQ(jan15.sunrise, 548);
  EXPECT_EQ(jan15.noon, 782);
  EXPECT_EQ(jan15.sunset, 1017);
  EXPECT_EQ(jan15.dusk, 1059);
  EXPECT_EQ(LookUpDaylight(1, 10).dawn, 509);  // 08:29, first third
  EXPECT_EQ(LookUpDaylight(1, 11).dawn, 506);
  EXPECT_EQ(LookUpDaylight(1, 20).dawn, 506);
  EXPECT_EQ(LookUpDaylight(1, 21).dawn, 497);
  EXPECT_EQ(LookUpDaylight(1, 31).dawn, 497);  // day 31 is in the third row
  EXPECT_EQ(LookUpDaylight(12, 31).dusk, 1038);
  EXPECT_EQ(LookUpDaylight(6, 5).sunset, 1274);
  EXPECT_EQ(LookUpDaylight(0, 5).dusk, 0);  // no row: all zeros
  EXPECT_EQ(LookUpDaylight(13, 5).noon, 0);
  EXPECT_EQ(LookUpDaylight(5, 0).dawn, 0);
  EXPECT_EQ(ClockMinutes(u"07:05"), 425);
  EXPECT_EQ(ClockMinutes(u"24:00"), 1440);
}

Long Light(Long month, Long day, const char16_t* time, Long previous, std::initializer_list<double> draws) {
  auto s = At(month, day, time, previous);
  ScriptedRandom rng(draws);
  ClassifyLight(*s, rng);
  EXPECT_TRUE(rng.AllUsed()) << ToUtf8(time);
  return s->dayPhase[1];
}

TEST(ClassifyLight, AroundSunriseAndNoonTheDrawDecides) {
  // 15 January 09:00 is within a quarter hour of sunrise (09:08): 2, 3 or 4.
  EXPECT_EQ(Light(1, 15, u"09:00", 0, {0.0}), 2);
  EXPECT_EQ(Light(1, 15, u"09:00", 0, {0.34}), 3);
  EXPECT_EQ(Light(1, 15, u"09:00", 0, {0.67}), 4);
  // 5 June 13:00 is past noon (12:52): a drawn 6 becomes 8, a drawn 7 stays.
  EXPECT_EQ(Light(6, 5, u"13:00", 0, {0.0}), 8);
  EXPECT_EQ(Light(6, 5, u"13:00", 0, {0.34}), 7);
  EXPECT_EQ(Light(6, 5, u"13:00", 0, {0.67}), 8);
}

TEST(ClassifyLight, WithoutDrawsThePreviousPhaseCanStay) {
  EXPECT_EQ(Light(6, 5, u"14:00", 7, {}), 7);  // a 7 lasts until S - 0.3 L
  EXPECT_EQ(Light(6, 5, u"14:00", 6, {}), 8);
  // R + 0.15 L = 421.45 on 5 June: not rounded.
  EXPECT_EQ(Light(6, 5, u"07:01", 0, {}), 4);
  EXPECT_EQ(Light(6, 5, u"07:02", 0, {}), 5);
  EXPECT_EQ(Light(6, 5, u"24:00", 12, {}), 1);
  EXPECT_EQ(Light(1, 15, u"03:00", 12, {}), 1);
}

Long Band(const char16_t* time, std::initializer_list<double> draws) {
  auto s = At(1, 1, time);
  ScriptedRandom rng(draws);
  ClassifyClock(*s, rng);
  EXPECT_TRUE(rng.AllUsed()) << ToUtf8(time);
  return s->dayPhase[2];
}

TEST(ClassifyClock, SixDrawsAlwaysAndTheyCountOnlyAtTheirMinutes) {
  EXPECT_EQ(Band(u"23:00", {0, 0, 0, 0, 0, 0}), 1);
  EXPECT_EQ(Band(u"22:59", {0, 0, 0, 0, 0, 0}), 9);
  EXPECT_EQ(Band(u"04:59", {0.9, 0.9, 0.9, 0.9, 0.9, 0.9}), 1);
  EXPECT_EQ(Band(u"05:00", {0.9, 0.9, 0.9, 0.9, 0.9, 0.9}), 2);
  EXPECT_EQ(Band(u"17:00", {0.9, 0.9, 0.9, 0.9, 0.9, 0.9}), 8);
  EXPECT_EQ(Band(u"11:57", {0.0, 0.9, 0.9, 0.9, 0.9, 0.9}), 5);
  EXPECT_EQ(Band(u"12:00", {0.9, 0.0, 0.9, 0.9, 0.9, 0.9}), 6);
  EXPECT_EQ(Band(u"12:00", {0.0, 0.5, 0.0, 0.0, 0.0, 0.0}), 4);
  EXPECT_EQ(Band(u"12:05", {0.9, 0.9, 0.0, 0.9, 0.9, 0.9}), 7);
  EXPECT_EQ(Band(u"23:55", {0.9, 0.9, 0.9, 0.0, 0.9, 0.9}), 10);
  EXPECT_EQ(Band(u"24:00", {0.9, 0.9, 0.9, 0.9, 0.0, 0.9}), 11);
  EXPECT_EQ(Band(u"24:00", {0.0, 0.0, 0.0, 0.0, 0.4, 0.0}), 1);
  EXPECT_EQ(Band(u"00:03", {0.9, 0.9, 0.9, 0.9, 0.9, 0.0}), 12);
  EXPECT_EQ(Band(u"00:03", {0.0, 0.0, 0.0, 0.0, 0.0, 0.4}), 1);
}

// ---- Temperature ----

Long Temperature(Long month, Long day, Long tempClass, Long block, double g) {
  auto s = At(month, day, u"12:00");
  s->settings[setting::TemperatureClass] = tempClass;
  s->settings[setting::TimeBlock] = block;
  ScriptedRandom rng{g};
  ComputeTemperature(*s, rng);
  EXPECT_TRUE(rng.AllUsed());
  return s->temperature;
}

TEST(ComputeTemperature, MonthClassBlockAndTheDraw) {
  EXPECT_EQ(Temperature(6, 5, 2, 7, 0.0), 30);  // June midday: 30 whatever the draw
  EXPECT_EQ(Temperature(6, 5, 2, 7, 0.99), 30);
  EXPECT_EQ(Temperature(1, 5, 1, 2, 0.0), -25);
  EXPECT_EQ(Temperature(1, 5, 1, 2, 0.99), -30);
  EXPECT_EQ(Temperature(1, 5, 1, 1, 0.99), -30);   // block 1 counts as 13
  EXPECT_EQ(Temperature(1, 5, 1, 12, 0.99), -29);  // Int(-0.5) is -1
  EXPECT_EQ(Temperature(1, 5, 1, 8, 0.99), -25);
  EXPECT_EQ(Temperature(10, 31, 2, 7, 0.0), 2);  // 20 - 40 + 25 - 8 + 5
  EXPECT_EQ(Temperature(3, 31, 2, 7, 0.0), 5);   // 20 - 40 + 12 + 8 + 5
}

// ---- The clock step ----

std::unique_ptr<StoryState> Stepping(Long dayOfYear, const char16_t* time, const char16_t* days,
                                     const char16_t* minutes) {
  auto s = std::make_unique<StoryState>();
  s->dayOfYear = dayOfYear;
  s->clockTime = time;
  s->recDays = days;
  s->recMinutes = minutes;
  for (int i = 5; i <= 9; ++i) s->settings[i] = 1;
  s->temperature = 99;
  return s;
}

// Day draw, minute draw, night-skip draw (and its extra draw), then the six clock-band draws
// and a weather gate that stays closed; the light phase draws nothing at these times.
void Step(StoryState& s, std::initializer_list<double> head) {
  ScriptedRandom rng(head);
  Repeat(rng, 6, 0.9);
  rng.Add(0.99);
  StepClock(s, rng);
  EXPECT_TRUE(rng.AllUsed()) << ToUtf8(s.clockTime);
}

TEST(StepClock, MidnightWrapsTheYearAndTheNightSkipJumpsToMorning) {
  auto s = Stepping(365, u"23:50", u"0-0", u"30-30");
  Step(*s, {0.5, 0.5, 0.5, 0.4});  // skip draw 50 > 10, then 7 + Int(1.2)
  EXPECT_EQ(s->clockTime, u"08:20");
  EXPECT_EQ(s->dayOfYear, 1);
  EXPECT_EQ(s->settings[setting::Month], 1);
  EXPECT_EQ(s->dayOfMonth, 1);
  EXPECT_EQ(s->dayPhase[1], 1);
  EXPECT_EQ(s->dayPhase[2], 3);
  EXPECT_EQ(s->temperature, 99);  // gate closed

  s = Stepping(365, u"23:50", u"0-0", u"30-30");
  Step(*s, {0.5, 0.5, 0.10});  // a skip draw of 10 is not above 10
  EXPECT_EQ(s->clockTime, u"00:20");
  EXPECT_EQ(s->dayOfYear, 1);
}

TEST(StepClock, HalfPastElevenPlusHalfAnHourIs2400OnTheSameDay) {
  auto s = Stepping(100, u"23:30", u"0-0", u"30-30");
  ScriptedRandom rng{0.5, 0.5, 0.5, 0.9, 0.9, 0.9, 0.9, 0.0, 0.9, 0.99};
  StepClock(*s, rng);
  EXPECT_TRUE(rng.AllUsed());
  EXPECT_EQ(s->clockTime, u"24:00");
  EXPECT_EQ(s->dayOfYear, 100);
  EXPECT_EQ(s->dayPhase[1], 1);
  EXPECT_EQ(s->dayPhase[2], 11);
}

TEST(StepClock, AdvancesOfSeveralDaysWrapAsOftenAsNeeded) {
  auto s = Stepping(364, u"10:00", u"0-0", u"4000-4000");
  Step(*s, {0.5, 0.5, 0.05});
  EXPECT_EQ(s->clockTime, u"04:40");  // 600 + 4000 = 3 days and 280 minutes
  EXPECT_EQ(s->dayOfYear, 2);

  s = Stepping(1, u"10:00", u"800-800", u"0-0");
  Step(*s, {0.5, 0.5, 0.5});
  EXPECT_EQ(s->dayOfYear, 71);  // 801 - 2 * 365
  EXPECT_EQ(s->settings[setting::Month], 3);
  EXPECT_EQ(s->dayOfMonth, 12);
  EXPECT_EQ(s->clockTime, u"10:00");
}

TEST(StepClock, MonthTableAndRanges) {
  struct Case {
    Long before, after, month, day;
  };
  for (Case c : {Case{58, 59, 2, 28}, {59, 60, 3, 1}, {364, 365, 12, 31}}) {
    auto s = Stepping(c.before, u"10:00", u"1-1", u"0-0");
    Step(*s, {0.5, 0.5, 0.5});
    EXPECT_EQ(s->dayOfYear, c.after);
    EXPECT_EQ(s->settings[setting::Month], c.month);
    EXPECT_EQ(s->dayOfMonth, c.day);
  }
  auto s = Stepping(100, u"10:00", u"0-0", u"10-40");
  Step(*s, {0.5, 0.9999999, 0.5});
  EXPECT_EQ(s->clockTime, u"10:39");  // never 40
  s = Stepping(100, u"10:00", u"0-0", u"10-40");
  Step(*s, {0.5, 0.0, 0.5});
  EXPECT_EQ(s->clockTime, u"10:10");
  s = Stepping(100, u"10:00", u"0-0", u"30");  // no hyphen: a fixed advance
  Step(*s, {0.5, 0.7, 0.5});
  EXPECT_EQ(s->clockTime, u"10:30");

  Long lo = -1, hi = -1;
  EXPECT_TRUE(ParseRange(u"10-40", lo, hi));
  EXPECT_EQ(lo, 10);
  EXPECT_EQ(hi, 40);
  EXPECT_FALSE(ParseRange(u"7", lo, hi));
  EXPECT_EQ(lo, 7);
  EXPECT_EQ(hi, 7);
}

TEST(StepClock, FreezeKeepsTheDateCapsTheAdvanceAndClosesTheGate) {
  auto s = Stepping(100, u"09:00", u"3-7", u"200-300");
  s->settings[setting::Freeze] = 1;
  for (int i = 6; i <= 9; ++i) s->settings[i] = 0;
  ScriptedRandom rng{0.9, 0.0, 0.5};
  Repeat(rng, 6, 0.9);
  rng.Add(0.0);  // would open the gate if changes were allowed
  StepClock(*s, rng);
  EXPECT_TRUE(rng.AllUsed());
  EXPECT_EQ(s->dayOfYear, 100);
  EXPECT_EQ(s->clockTime, u"12:00");  // exactly 180 minutes
  for (int i = 6; i <= 9; ++i) EXPECT_EQ(s->settings[i], 0);
  EXPECT_EQ(s->temperature, 99);

  // Midnight still adds a day, and there is no night skip.
  s = Stepping(365, u"23:00", u"3-7", u"200-300");
  s->settings[setting::Freeze] = 1;
  Step(*s, {0.9, 0.0, 0.5});
  EXPECT_EQ(s->clockTime, u"02:00");
  EXPECT_EQ(s->dayOfYear, 1);
}

TEST(StepClock, OpenGateDrawsUnsetWeatherTemperaturePrecipitationAndSpecials) {
  auto s = Stepping(170, u"12:00", u"0-0", u"0-0");  // 19 June, block 7
  s->settings[setting::TimeBlock] = 7;
  for (int i = 6; i <= 9; ++i) s->settings[i] = 0;
  ScriptedRandom rng{0.0, 0.0, 0.5};
  Repeat(rng, 6, 0.9);
  rng.Add({0.1,            // gate: 10 < 50
           0.875,          // clouds CLng(3.5) = 4
           0.125, 0.3,     // wind CLng(0.5) = 0, not made calm
           0.85, 0.9,      // class CLng(2.55) = 3, not made medium
           0.0,            // temperature: 30 - 40 + 45 + 5
           0.5, 0.5, 0.5, 0.1, 0.1});  // the fourth rain test gives 3
  Repeat(rng, 23, 0.0);  // fog, hail, thunderstorm, hoarfrost: none applies
  StepClock(*s, rng);
  EXPECT_TRUE(rng.AllUsed());
  EXPECT_EQ(s->settings[setting::Clouds], 4);
  EXPECT_EQ(s->settings[setting::Wind], 0);
  EXPECT_EQ(s->settings[setting::TemperatureClass], 3);
  EXPECT_EQ(s->settings[setting::Precipitation], 3);
  EXPECT_EQ(s->temperature, 40);
  EXPECT_EQ(s->dayPhase[1], 6);
  EXPECT_EQ(s->dayPhase[2], 4);
}

// ---- Special weather ----

Long Special(Long month, Long block, Long precipitation, Long wind, Long tempClass, Long temperature,
             std::initializer_list<double> draws) {
  auto s = At(month, 10, u"08:00");
  s->settings[setting::TimeBlock] = block;
  s->settings[setting::Wind] = wind;
  s->settings[setting::TemperatureClass] = tempClass;
  s->settings[setting::Precipitation] = precipitation;
  s->temperature = temperature;
  ScriptedRandom rng(draws);
  rng.Add(0.0);  // pad so the 23 draws are always scripted...
  ApplySpecialWeather(*s, rng);
  EXPECT_EQ(rng.left(), 1u);  // ...and exactly 23 of them are made
  return s->settings[setting::Precipitation];
}

TEST(SpecialWeather, FogHasTwoChancesOfAThird) {
  int fog = 0;
  for (double first : {0.0, 0.4, 0.8}) {
    for (double second : {0.0, 0.4, 0.8}) {
      // A calm, cold, dry July morning: only the first test of each pass can apply.
      Long p = Special(7, 3, 1, 1, 1, 10,
                       {first, 0, 0, 0, 0, 0, 0, 0, second, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0});
      if (p == 8) ++fog;
    }
  }
  EXPECT_EQ(fog, 5);  // 5 of 9
  EXPECT_EQ(Special(7, 3, 1, 2, 1, 10, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                                       0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}),
            1);  // not calm
}

TEST(SpecialWeather, HailBeforeThunderstormAndHoarfrostOnlyInOctoberToDecember) {
  const std::initializer_list<double> zeros = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                                               0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
  EXPECT_EQ(Special(6, 7, 4, 2, 2, 20, zeros), 5);
  EXPECT_EQ(Special(7, 7, 4, 2, 2, 20, zeros), 5);
  EXPECT_EQ(Special(6, 7, 4, 1, 2, 20, zeros), 4);  // calm: neither
  EXPECT_EQ(Special(6, 7, 4, 2, 2, 20,
                    {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0.5, 0.5, 0.0, 0, 0, 0, 0}),
            6);
  EXPECT_EQ(Special(1, 4, 1, 1, 2, -5, zeros), 1);
  EXPECT_EQ(Special(9, 4, 1, 1, 2, -5, zeros), 1);
  for (Long month : {10, 11, 12}) EXPECT_EQ(Special(month, 4, 1, 1, 2, -5, zeros), 7) << month;
  EXPECT_EQ(Special(11, 4, 1, 1, 2, -4, zeros), 1);  // not below -4
  EXPECT_EQ(Special(11, 6, 1, 1, 2, -5, zeros), 1);  // block 6 is past the morning
}

}  // namespace
}  // namespace quorbel
