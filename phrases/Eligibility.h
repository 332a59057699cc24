#pragma once
// Whether a phrase record may be chosen under the current story: date, light, weather,
// temperature, absurdity level, recorded facts, title word, story start and quiz state.
// Internal to the phrase engine; exposed for its tests.
#include "story/StoryState.h"
#include "story/Text.h"

namespace quorbel::phrases {

// The date window as days of the year. A record whose month columns are not a month keeps the
// bound of the record tested before it, so the window lives for one walk of a phrase file.
struct DateWindow {
  double first = 0;
  double last = 0;
};

// A record tested for the group it was read for compares the "_vrm2_" window strictly; the record
// that ends a group and is carried into the next one compares it inclusively.
enum class TimeWindow { Strict, Inclusive };

// Day of the year of the day in columns (day) and the two-character month; false when the month
// is not "01".."12".
bool DayOfYearOf(TextView day, TextView month, double& dayOfYear);

// The precondition line alone (empty, a fact name or a condition token).
bool PreconditionHolds(const StoryState& s, TextView precondition, TimeWindow mode);

// A record's condition line, its columns read as numbers once (the material is read many times
// over, the columns never change).
struct RecordConditions {
  bool hasFirst = false, hasLast = false;  // the date columns name a month
  double first = 0, last = 0;              // days of the year of the window's bounds
  double phase1 = 0, phase2 = 0;           // the two day-phase columns
  double clouds = 0, precipitation = 0, wind = 0;
  double lowest = 0, highest = 0;          // the temperature range

  static RecordConditions Of(TextView conditions);
};

// The whole test. The carried window is updated from the record's date columns whatever the
// outcome of the other conditions.
bool IsEligible(const StoryState& s, const RecordConditions& conditions, TextView precondition, double planLevel,
                TimeWindow mode, DateWindow& window);
bool IsEligible(const StoryState& s, TextView conditions, TextView precondition, TextView planLevel,
                TimeWindow mode, DateWindow& window);

}  // namespace quorbel::phrases
