#include "phrases/Eligibility.h"

#include <algorithm>
#include <array>

#include "phrases/TextPieces.h"
#include "story/Numbers.h"

namespace quorbel::phrases {
namespace {


double Number(TextView text) { return LenientDecimal(text); }

// The value of a "_name_" x v x token: from position 8 up to, not including, the last character.
TextView TokenValue(TextView precondition, std::size_t valueStart) {
  if (precondition.size() <= valueStart) return {};
  return Mid(precondition, valueStart, precondition.size() - valueStart);
}

// Quiz texts of the last attempt; nothing before the first or outside the arrays.
TextView LastAttempt(const StoryState& s, const Arr<Text, 10>& values) {
  Long last = s.attemptNo - 1;
  if (last < 0 || last > 10) return {};
  return values[static_cast<std::size_t>(last)];
}

bool IsFact(const StoryState& s, TextView name) {
  Long count = std::min<Long>(s.factCount, kMaxFacts);
  for (Long i = 1; i <= count; ++i)
    if (s.facts[i] == name) return true;
  return false;
}

double Minutes(TextView hhmm) { return Number(Mid(hhmm, 1, 2)) * 60 + Number(Mid(hhmm, 3, 2)); }

bool TokenHolds(const StoryState& s, TextView pre, TimeWindow mode) {
  if (!StartsWith(pre, u"_")) return false;  // what every token begins with; most preconditions name a fact
  if (StartsWith(pre, u"_word_")) {
    Long index = s.titleWord;
    if (index < 0 || index > kMaxTitleWords) return false;
    return TokenValue(pre, 8) == s.titleWords[index];
  }
  if (StartsWith(pre, u"_den1_")) {
    double d = s.dayOfYear + Number(TokenValue(pre, 8));
    if (d < 1) d = 365;
    if (d > 365) d = -365;
    return d == s.startDayOfYear;
  }
  if (StartsWith(pre, u"_vrm2_")) {
    TextView v = TokenValue(pre, 8);
    double a = Minutes(Mid(v, 1, 4));
    double b = Minutes(Mid(v, 6, 4));
    TextView start = s.startTime;
    double t = Number(Mid(start, 1, 2)) * 60 +
               Number(start.size() >= 2 ? start.substr(start.size() - 2) : start);
    return mode == TimeWindow::Strict ? (a < t && t < b) : (a <= t && t <= b);
  }
  if (StartsWith(pre, u"_absd_")) return Number(TokenValue(pre, 8)) == s.settings[setting::Absurdity];
  if (StartsWith(pre, u"_zug")) return Number(Mid(pre, 5, 1)) == s.attemptNo - 1;
  if (StartsWith(pre, u"_osh")) return Number(Mid(pre, 5, 1)) == s.verdict;
  if (StartsWith(pre, u"_sus2")) return TokenValue(pre, 7) == LastAttempt(s, s.results);
  return false;
}

// Columns that hold 0 for "any" or the one value the story must have.
bool ColumnAdmits(double column, double storyValue) { return column == 0 || column == storyValue; }

}  // namespace

bool DayOfYearOf(TextView day, TextView month, double& dayOfYear) {
  for (std::size_t m = 0; m < kMonthOffset.size(); ++m) {
    const char16_t name[2] = {static_cast<char16_t>(u'0' + (m + 1) / 10), static_cast<char16_t>(u'0' + (m + 1) % 10)};
    if (month == TextView(name, 2)) {
      dayOfYear = Number(day) + kMonthOffset[m];
      return true;
    }
  }
  return false;
}

bool PreconditionHolds(const StoryState& s, TextView precondition, TimeWindow mode) {
  if (precondition.empty()) return true;
  // Before any fact is recorded no condition holds, the special tokens included.
  if (s.factCount < 1) return false;
  return IsFact(s, precondition) || TokenHolds(s, precondition, mode);
}

RecordConditions RecordConditions::Of(TextView conditions) {
  RecordConditions c;
  for (const DateColumns& d : kDateColumns) {
    double day = 0;
    c.*d.has = DayOfYearOf(Mid(conditions, d.day, 2), Mid(conditions, d.day + 2, 2), day);
    c.*d.dayOfYear = static_cast<float>(day);
  }
  for (const ConditionColumn& k : kConditionColumns)
    c.*k.value = static_cast<float>(Number(Mid(conditions, k.column, k.width)));
  return c;
}

bool IsEligible(const StoryState& s, const RecordConditions& c, TextView precondition, double planLevel,
                TimeWindow mode, DateWindow& window) {
  // The window is carried to the next record even when this one fails on something else.
  if (c.hasFirst) window.first = c.first;
  if (c.hasLast) window.last = c.last;

  // The tests have no effects, so the cheap comparisons go before the precondition, which may
  // look through every fact.
  if (planLevel != 0 && planLevel != s.settings[setting::Absurdity]) return false;
  if (s.dayOfYear < window.first || s.dayOfYear > window.last) return false;
  if (!ColumnAdmits(c.phase1, s.dayPhase[1])) return false;
  if (!ColumnAdmits(c.phase2, s.dayPhase[2])) return false;
  if (!ColumnAdmits(c.clouds, s.settings[setting::Clouds])) return false;
  if (!ColumnAdmits(c.precipitation, s.settings[setting::Precipitation])) return false;
  if (!ColumnAdmits(c.wind, s.settings[setting::Wind])) return false;
  const double temperature = s.temperature;
  if (!(c.lowest <= temperature && temperature <= c.highest)) return false;
  return PreconditionHolds(s, precondition, mode);
}

bool IsEligible(const StoryState& s, TextView conditions, TextView precondition, TextView planLevel,
                TimeWindow mode, DateWindow& window) {
  return IsEligible(s, RecordConditions::Of(conditions), precondition, Number(planLevel), mode, window);
}

}  // namespace quorbel::phrases
