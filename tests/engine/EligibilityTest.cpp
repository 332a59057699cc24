// Record eligibility: the fixed condition columns, the carried date window and the precondition
// tokens.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "phrases/Eligibility.h"

namespace quorbel::phrases {
namespace {

// Columns: dates 1-8, phase 10-11, band 13-14, clouds 16-17, precipitation 19-20, wind 22-23,
// lowest temperature 25-27, highest 28-30.
const char* const kAnyTime = "01013112 00 00 00 00 00 -50 50";

class Eligibility : public ::testing::Test {
 protected:
  Eligibility() {
    s->settings[setting::Absurdity] = 2;
    s->settings[setting::Clouds] = 3;
    s->settings[setting::Wind] = 4;
    s->settings[setting::Precipitation] = 5;
    s->dayPhase[1] = 7;
    s->dayPhase[2] = 11;
    s->temperature = 0;
    s->dayOfYear = 100;
    s->startDayOfYear = 99;
    s->startTime = u"09:00";
    s->attemptNo = 1;
  }
  void Record(const char* fact) { s->facts[++s->factCount] = T(fact); }
  bool Test(const char* conditions, const char* pre = "", const char* level = "0",
            TimeWindow mode = TimeWindow::Strict) {
    return IsEligible(*s, T(conditions), T(pre), T(level), mode, window);
  }
  bool Pre(const char* pre, TimeWindow mode = TimeWindow::Strict) { return PreconditionHolds(*s, T(pre), mode); }

  std::unique_ptr<StoryState> s = std::make_unique<StoryState>();
  DateWindow window;
};

TEST_F(Eligibility, DateWindowDoesNotWrapAcrossTheNewYear) {
  for (Long day : {1, 100, 365}) {
    s->dayOfYear = day;
    EXPECT_TRUE(Test(kAnyTime)) << day;
    EXPECT_FALSE(Test("01123101 00 00 00 00 00 -50 50")) << day;  // 1 December to 31 January
  }
  s->dayOfYear = 152;  // 1 June
  EXPECT_TRUE(Test("01063006 00 00 00 00 00 -50 50"));
  s->dayOfYear = 151;
  EXPECT_FALSE(Test("01063006 00 00 00 00 00 -50 50"));
}

TEST_F(Eligibility, MonthColumnsThatAreNoMonthCarryTheWindowOfTheRecordBefore) {
  EXPECT_FALSE(Test("xx  xx   00 00 00 00 00 -50 50"));  // nothing carried yet: 0..0
  s->dayOfYear = 160;
  // The window is taken from a record that fails on its precondition all the same.
  EXPECT_FALSE(Test("01063006 00 00 00 00 00 -50 50", "никто"));
  EXPECT_TRUE(Test("         00 00 00 00 00 -50 50"));
  EXPECT_TRUE(Test("15  30 6 00 00 00 00 00 -50 50"));  // "6 " is no month: both bounds carried
  EXPECT_FALSE(Test("0107  ab 00 00 00 00 00 -50 50"));  // first bound 182 now, last still 181
  EXPECT_EQ(window.first, 182);
  EXPECT_EQ(window.last, 181);
}

TEST_F(Eligibility, ZeroColumnsAdmitAnythingOtherValuesMustMatch) {
  EXPECT_TRUE(Test("01013112x07x11x03x05x04 -50 50"));
  EXPECT_FALSE(Test("01013112 06 00 00 00 00 -50 50"));
  EXPECT_FALSE(Test("01013112 00 10 00 00 00 -50 50"));
  EXPECT_FALSE(Test("01013112 00 00 04 00 00 -50 50"));
  EXPECT_FALSE(Test("01013112 00 00 00 04 00 -50 50"));
  EXPECT_FALSE(Test("01013112 00 00 00 00 03 -50 50"));
}

TEST_F(Eligibility, TemperatureRangeIsInclusive) {
  const char* minusFiveToTen = "01013112 00 00 00 00 00 -5 10";
  for (Long t : {-5, 0, 10}) {
    s->temperature = t;
    EXPECT_TRUE(Test(minusFiveToTen)) << t;
  }
  for (Long t : {-6, 11}) {
    s->temperature = t;
    EXPECT_FALSE(Test(minusFiveToTen)) << t;
  }
}

TEST_F(Eligibility, PlanLevelZeroOrTheAbsurdityLevel) {
  EXPECT_TRUE(Test(kAnyTime, "", "0"));
  EXPECT_TRUE(Test(kAnyTime, "", "2"));
  EXPECT_FALSE(Test(kAnyTime, "", "1"));
  EXPECT_FALSE(Test(kAnyTime, "", "3"));
}

TEST_F(Eligibility, NoPreconditionHoldsBeforeTheFirstFact) {
  EXPECT_TRUE(Pre(""));
  EXPECT_FALSE(Pre("_zug0"));
  EXPECT_FALSE(Pre("_osh0"));
  Record("Дверь");
  EXPECT_TRUE(Pre("_zug0"));
  EXPECT_TRUE(Pre("Дверь"));
  EXPECT_FALSE(Pre("дверь"));  // facts are case-sensitive
  EXPECT_FALSE(Pre("Окно"));
  s->attemptNo = 2;
  EXPECT_FALSE(Pre("_zug0"));
  EXPECT_TRUE(Pre("_zug1"));
}

TEST_F(Eligibility, DayOffsetFromTheStartDay) {
  Record("x");
  EXPECT_TRUE(Pre("_den1_(-1)"));  // the day after the start day
  EXPECT_FALSE(Pre("_den1_(0)"));
  s->dayOfYear = 1;
  s->startDayOfYear = 365;
  EXPECT_TRUE(Pre("_den1_(-1)"));  // 0 becomes 365
  s->dayOfYear = 365;
  s->startDayOfYear = 1;
  EXPECT_FALSE(Pre("_den1_(1)"));  // 366 becomes -365, never a start day
}

TEST_F(Eligibility, StartTimeWindowIsStrictForOwnGroupInclusiveWhenCarried) {
  Record("x");
  EXPECT_FALSE(Pre("_vrm2_(0900-1200)", TimeWindow::Strict));
  EXPECT_TRUE(Pre("_vrm2_(0900-1200)", TimeWindow::Inclusive));
  s->startTime = u"12:00";
  EXPECT_TRUE(Pre("_vrm2_(0900-1200)", TimeWindow::Inclusive));
  s->startTime = u"10:30";
  EXPECT_TRUE(Pre("_vrm2_(0900-1200)", TimeWindow::Strict));
  s->startTime = u"12:01";
  EXPECT_FALSE(Pre("_vrm2_(0900-1200)", TimeWindow::Inclusive));
  // The carried mode reaches the whole test.
  s->startTime = u"09:00";
  EXPECT_FALSE(Test(kAnyTime, "_vrm2_(0900-1200)"));
  EXPECT_TRUE(Test(kAnyTime, "_vrm2_(0900-1200)", "0", TimeWindow::Inclusive));
}

TEST_F(Eligibility, TitleWordAbsurdityVerdictAndLastScore) {
  Record("x");
  s->titleWords[2] = T("кинжал");
  s->titleWord = 2;
  EXPECT_TRUE(Pre("_word_(кинжал)"));
  EXPECT_FALSE(Pre("_word_(Кинжал)"));
  EXPECT_TRUE(Pre("_absd_(2)"));
  EXPECT_FALSE(Pre("_absd_(3)"));
  s->verdict = 2;
  EXPECT_TRUE(Pre("_osh2"));
  EXPECT_FALSE(Pre("_osh0"));
  s->attemptNo = 3;
  s->results[2] = u" 1 2";
  EXPECT_TRUE(Pre("_sus2( 1 2)"));
  EXPECT_FALSE(Pre("_sus2( 1 3)"));
  // Degenerate shapes read what is there and never reach outside the line.
  EXPECT_FALSE(Pre("_word_"));
  EXPECT_FALSE(Pre("_sus2"));
  EXPECT_FALSE(Pre("_vrm2_("));
}

}  // namespace
}  // namespace quorbel::phrases
