#pragma once
// Building a new story up to the end of its opening.
#include "story/Random.h"
#include "story/StoryState.h"
#include "story/TextFile.h"

namespace quorbel {

// Reads the settings file from the data folder, resolves the conditions, chooses style, theme,
// title, cast, plot variant, shades and questions, and plays the opening episodes.
void BuildStory(StoryState& s, Random& rng, const DataDir& dir);

void ChooseCast(StoryState& s, Random& rng, const DataDir& dir);
void ChoosePlotVariant(StoryState& s, Random& rng, const DataDir& dir);
void LoadShades(StoryState& s, Random& rng, const DataDir& dir);
void LoadQuestions(StoryState& s, const DataDir& dir);
void PlayOpening(StoryState& s, Random& rng, const DataDir& dir);

// The file names of the style (style number) and of the theme and plot variant.
Text StyleFileName(const StoryState& s, const char16_t* prefix);
Text ThemeFileName(const StoryState& s, const char16_t* prefix);

}  // namespace quorbel
