#pragma once
// The daylight table and the two classifications of a moment: light phase and clock band.
#include "story/Random.h"
#include "story/StoryState.h"

namespace quorbel {

// Minutes after midnight of dawn, sunrise, noon, sunset and dusk.
struct DaylightTimes {
  int dawn = 0, sunrise = 0, noon = 0, sunset = 0, dusk = 0;
};

// Row of the month (1..12) and the third of the month the day falls in. A month outside 1..12 or
// a day below 1 selects no row: all zeros.
DaylightTimes LookUpDaylight(Long month, Long dayOfMonth);
// Minutes after midnight of an "HH:MM" clock text (24:00 gives 1440).
int ClockMinutes(TextView clockTime);
// Sets dayPhase(1) from clockTime, settings(4) and dayOfMonth.
void ClassifyLight(StoryState& s, Random& rng);
// Sets dayPhase(2) from clockTime.
void ClassifyClock(StoryState& s, Random& rng);

}  // namespace quorbel
