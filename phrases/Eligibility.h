#pragma once
// Whether a phrase record may be chosen under the current story: date, light, weather,
// temperature, absurdity level, recorded facts, title word, story start and quiz state.
// Internal to the phrase engine; exposed for its tests.
#include <array>
#include <cstddef>

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
// over, the columns never change). Kept as float, so that a story's walk past thousands of records
// reads little memory: a column of at most three characters reads as a whole number or as one at
// least a hundredth away from every whole number, and the story values it is compared with are
// whole numbers, so every comparison comes out as it would in double.
struct RecordConditions {
  bool hasFirst = false, hasLast = false;  // the date columns name a month
  float first = 0, last = 0;               // days of the year of the window's bounds
  float phase1 = 0, phase2 = 0;            // the two day-phase columns
  float clouds = 0, precipitation = 0, wind = 0;
  float lowest = 0, highest = 0;           // the temperature range

  static RecordConditions Of(TextView conditions);
};

// Where a condition line holds its columns (numbered from 1) and what each may hold: the first
// and last day of the date window as day and month, five columns of 0 (any) or the one value the
// story must have, and the temperature range.
constexpr std::size_t kConditionLineLength = 30;
struct DateColumns {
  std::size_t day;  // the month follows the day's two characters
  bool RecordConditions::*has;
  float RecordConditions::*dayOfYear;
  const char* name;
};
constexpr std::array<DateColumns, 2> kDateColumns = {
    {{1, &RecordConditions::hasFirst, &RecordConditions::first, "first"},
     {5, &RecordConditions::hasLast, &RecordConditions::last, "last"}}};
struct ConditionColumn {
  std::size_t column, width;
  float RecordConditions::*value;
  const char* name;
  int last;  // the highest value; 0 for the temperatures, which may be any whole number
};
constexpr std::array<ConditionColumn, 7> kConditionColumns = {{
    {10, 2, &RecordConditions::phase1, "light phase", 12},
    {13, 2, &RecordConditions::phase2, "clock band", 12},
    {16, 2, &RecordConditions::clouds, "clouds", setting::kRules[setting::Clouds].last},
    {19, 2, &RecordConditions::precipitation, "precipitation", setting::kRules[setting::Precipitation].last},
    {22, 2, &RecordConditions::wind, "wind", setting::kRules[setting::Wind].last},
    {25, 3, &RecordConditions::lowest, "lowest temperature", 0},
    {28, 3, &RecordConditions::highest, "highest temperature", 0},
}};

// The whole test. The carried window is updated from the record's date columns whatever the
// outcome of the other conditions.
bool IsEligible(const StoryState& s, const RecordConditions& conditions, TextView precondition, double planLevel,
                TimeWindow mode, DateWindow& window);
bool IsEligible(const StoryState& s, TextView conditions, TextView precondition, TextView planLevel,
                TimeWindow mode, DateWindow& window);

}  // namespace quorbel::phrases
