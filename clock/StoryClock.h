#pragma once
// The story clock: one step of calendar, time and weather per episode.
#include <array>

#include "story/Random.h"
#include "story/StoryState.h"

namespace quorbel {

// Last day of the year of each month 1..12 (element 0 is 0); the story year has no 29 February.
inline constexpr std::array<Long, 13> kMonthLastDay = {0,   31,  59,  90,  120, 151, 181,
                                                       212, 243, 273, 304, 334, 365};

// Moves date and time by recDays and recMinutes, reclassifies light and clock band, and in half
// of the steps lets temperature and precipitation change. Throws DataError-free: a malformed
// range is the caller's to check (see ParseRange).
void StepClock(StoryState& s, Random& rng);
// Sets temperature from month, day, temperature class and time-of-day block.
void ComputeTemperature(StoryState& s, Random& rng);
// The "lo-hi" range of an episode record: lo and hi split at the first hyphen. False when the
// text has no hyphen; lo and hi are then both the number the text holds.
bool ParseRange(TextView range, Long& lo, Long& hi);
// Precipitation not chosen yet (0): becomes 1, then five chances of rain by the clouds.
void ChoosePrecipitation(StoryState& s, Random& rng);
// Fog, hail, thunderstorm and hoarfrost tests, in that order, each with its own draw.
void ApplySpecialWeather(StoryState& s, Random& rng);

}  // namespace quorbel
