#pragma once
// The story clock: one step of calendar, time and weather per episode.
#include "story/Random.h"
#include "story/StoryState.h"

namespace quorbel {

// Moves date and time by recDays and recMinutes, reclassifies light and clock band, and in half
// of the steps lets temperature and precipitation change. Throws DataError-free: a malformed
// range is the caller's to check (see ParseRange).
void StepClock(StoryState& s, Random& rng);
// Sets temperature from month, day, temperature class and time-of-day block.
void ComputeTemperature(StoryState& s, Random& rng);
// The "lo-hi" range of an episode record: lo and hi split at the first hyphen. False when the
// text has no hyphen.
bool ParseRange(TextView range, Long& lo, Long& hi);

}  // namespace quorbel
