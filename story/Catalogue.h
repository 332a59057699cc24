#pragma once
// The style and theme catalogues and the story title.
#include "story/Random.h"
#include "story/StoryState.h"
#include "story/TextFile.h"

namespace quorbel {

// Resolves settings(1) and (2), sets styleFolder, wordsFile, titleWords and title.
void ChooseStyleAndTitle(StoryState& s, Random& rng, const DataDir& dir);

}  // namespace quorbel
