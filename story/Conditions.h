#pragma once
// The opening conditions of a new story: settings resolved, start date, time, weather,
// temperature, light phase and the status line.
#include "story/Random.h"
#include "story/StoryState.h"

namespace quorbel {

void ResolveConditions(StoryState& s, Random& rng);

}  // namespace quorbel
