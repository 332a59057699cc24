#pragma once
// Building a new story up to the end of its opening.
#include "story/MaterialFiles.h"
#include "story/Random.h"
#include "story/StoryState.h"
#include "story/TextFile.h"

namespace quorbel {

// Reads the settings file from the data folder, resolves the conditions, chooses style, theme,
// title, cast, plot variant, shades and questions, and plays the opening episodes.
void BuildStory(StoryState& s, Random& rng, const DataDir& dir);

void ChooseCast(StoryState& s, Random& rng, const DataDir& dir);
// The largest weight of one plot variant.
constexpr Long kMaxVariantWeight = 1000000;
// The sum of the weights of a variant file; a weight out of range, a sum of 0 or a sum a Long
// cannot hold is a data fault.
Long VariantTotal(const VariantFile& file);
void ChoosePlotVariant(StoryState& s, Random& rng, const DataDir& dir);
void LoadShades(StoryState& s, Random& rng, const DataDir& dir);
void LoadQuestions(StoryState& s, const DataDir& dir);
void PlayOpening(StoryState& s, Random& rng, const DataDir& dir);

// The file names of the style (style number) and of the theme and plot variant.
Text StyleFileName(const StoryState& s, const char16_t* prefix);
Text ThemeFileName(const StoryState& s, const char16_t* prefix);

}  // namespace quorbel
