// The opening conditions of a story: the draws, the start and the status line.
#include <gtest/gtest.h>

#include <memory>

#include "ScriptedRandom.h"
#include "story/Conditions.h"
#include "story/DataError.h"

namespace quorbel {
namespace {

using quorbel::testing::ScriptedRandom;

// Settings 3..9: absurdity, month, block, clouds, wind, temperature class, precipitation.
std::unique_ptr<StoryState> WithSettings(std::array<Long, 7> values) {
  auto s = std::make_unique<StoryState>();
  for (std::size_t i = 0; i < values.size(); ++i) s->settings[i + 3] = values[i];
  return s;
}

void Repeat(ScriptedRandom& rng, int n, double v) {
  for (int i = 0; i < n; ++i) rng.Add(v);
}

TEST(ResolveConditions, FixedSettingsStillDrawDayTimeAndTheStatusLineReadsExactly) {
  auto s = WithSettings({1, 1, 8, 2, 2, 2, 1});
  ScriptedRandom rng{0.14,         // day Int(4.34) + 1 = 5
                     0.2, 0.51,    // hour 14 + Int(0.4), minute Int(30.6)
                     0.3};         // temperature draw: 0
  Repeat(rng, 6, 0.9);             // clock band
  Repeat(rng, 23, 0.0);            // special weather: nothing applies in January
  ResolveConditions(*s, rng);
  EXPECT_TRUE(rng.AllUsed());
  EXPECT_EQ(ToUtf8(s->statusLine),
            "январь 5-e 14:30 немного облаков никаких осадков слабый ветер средняя температура (-15 )");
  EXPECT_EQ(s->dayOfMonth, 5);
  EXPECT_EQ(s->dayOfYear, 5);
  EXPECT_EQ(s->startDayOfYear, 5);
  EXPECT_EQ(s->startTime, u"14:30");
  EXPECT_EQ(s->temperature, -15);
  EXPECT_EQ(s->dayPhase[1], 9);
  EXPECT_EQ(s->dayPhase[2], 4);
}

TEST(ResolveConditions, EveryRandomSettingIsDrawnInOrder) {
  auto s = WithSettings({0, 0, 0, 0, 0, 0, 0});
  ScriptedRandom rng{0.7,             // absurdity 3
                     0.5,             // month 7
                     0.99,            // day 31
                     0.1, 0.3, 0.95,  // block 2 is a night block; 30 < 50 redraws: 12
                     0.6, 0.25,       // 23:15
                     0.8,             // clouds 4
                     0.6, 0.9,        // wind 3, not made calm
                     0.9, 0.8,        // temperature class 3, not made medium
                     0.99,            // k = 1: 30 - 40 + 43 - 2 - Int(-0.5) = 32
                     0.9, 0.9, 0.9, 0.9, 0.2};  // the fifth rain test: heavy
  Repeat(rng, 6, 0.9);
  Repeat(rng, 17, 0.0);
  rng.Add(0.1);  // the July hail test
  Repeat(rng, 5, 0.0);
  ResolveConditions(*s, rng);
  EXPECT_TRUE(rng.AllUsed());
  EXPECT_EQ(s->settings[setting::Absurdity], 3);
  EXPECT_EQ(s->settings[setting::TimeBlock], 12);
  EXPECT_EQ(s->dayOfYear, 212);
  EXPECT_EQ(s->dayPhase[1], 1);
  EXPECT_EQ(s->dayPhase[2], 1);
  EXPECT_EQ(ToUtf8(s->statusLine),
            "июль 31-e 23:15 сплошные облака (тучи) град средний ветер высокая температура ( 32 )");
}

TEST(ResolveConditions, DrawnBlockOutsideTheNightIsNotRedrawnAndCalmWindCanFollow) {
  auto s = WithSettings({2, 2, 0, 1, 0, 0, 1});
  ScriptedRandom rng{0.9999999,   // February: day 28, never 29
                     0.4, 0.1,    // block 5; the extra draw is made but changes nothing
                     0.5, 0.0,    // 09:00
                     0.1, 0.2,    // wind 1, then calm anyway
                     0.1, 0.5,    // class 1, made medium
                     0.0};
  Repeat(rng, 6, 0.9);
  Repeat(rng, 23, 0.9);
  ResolveConditions(*s, rng);
  EXPECT_TRUE(rng.AllUsed());
  EXPECT_EQ(s->dayOfYear, 59);
  EXPECT_EQ(s->settings[setting::TimeBlock], 5);
  EXPECT_EQ(s->settings[setting::Wind], 1);
  EXPECT_EQ(s->settings[setting::TemperatureClass], 2);
  EXPECT_EQ(ToUtf8(s->statusLine.substr(0, 18)), "февраль 28-e 09:00");
}

TEST(ResolveConditions, SpecialWeatherOverridesAFixedPrecipitation) {
  auto s = WithSettings({1, 7, 3, 1, 1, 1, 1});  // a calm, cold, dry July morning
  ScriptedRandom rng{0.3, 0.5, 0.125, 0.0};      // 10 July 05:07, k = 0
  Repeat(rng, 6, 0.9);
  Repeat(rng, 23, 0.0);  // the first fog test applies
  ResolveConditions(*s, rng);
  EXPECT_TRUE(rng.AllUsed());
  EXPECT_EQ(s->settings[setting::Precipitation], 8);
  EXPECT_EQ(s->dayPhase[1], 4);
  EXPECT_EQ(ToUtf8(s->statusLine),
            "июль 10-e 05:07 отсутствие облаков туман отсутствие ветра низкая температура ( 18 )");
}

TEST(ResolveConditions, TheLightRulesSeeThePhaseOfThePreviousStory) {
  for (Long previous : {7, 0}) {
    auto s = WithSettings({1, 6, 8, 1, 1, 2, 1});
    s->dayPhase[1] = previous;
    ScriptedRandom rng{0.14, 0.0, 0.0, 0.0};  // 5 June 14:00
    Repeat(rng, 6, 0.9);
    Repeat(rng, 23, 0.0);
    ResolveConditions(*s, rng);
    EXPECT_TRUE(rng.AllUsed());
    EXPECT_EQ(s->clockTime, u"14:00");
    EXPECT_EQ(s->dayPhase[1], previous == 7 ? 7 : 8);
  }
}

TEST(ResolveConditions, ASettingOutsideItsListIsReportedAgainstItsLine) {
  auto s = WithSettings({1, 13, 1, 1, 1, 1, 1});
  ScriptedRandom rng;
  try {
    ResolveConditions(*s, rng);
    FAIL() << "no error";
  } catch (const DataError& e) {
    EXPECT_STREQ(e.what(), "quorbel.cfg: line 4: month 13 is outside 0..12");
  }
  EXPECT_TRUE(rng.AllUsed());
}

}  // namespace
}  // namespace quorbel
