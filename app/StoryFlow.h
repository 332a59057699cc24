#pragma once
// The turn of the story: scoring a guess, judging it against the earlier ones, the pass through
// the main episodes and the final episode.
#include "story/Random.h"
#include "story/StoryState.h"
#include "story/TextFile.h"

namespace quorbel {

// Draws four pairwise different digits into codeDigits(1..4).
void DrawSecretCode(StoryState& s, Random& rng);
// Scores guess n (four digit characters) into bulls(n), cows(n), guesses(n), results(n).
void ScoreGuess(StoryState& s, Long n, TextView guess);
// Sets verdict for guess n: 0 nothing, 1 at odds with an earlier score, 2 an earlier score again.
void JudgeGuess(StoryState& s, Long n);
// One pass through the main episode file; a group whose records are all used is skipped.
void PlayMainEpisodes(StoryState& s, Random& rng, const DataDir& dir);
// One final episode of ending kind 1, 2 or 3.
void PlayFinalEpisode(StoryState& s, Random& rng, const DataDir& dir, Long kind);

}  // namespace quorbel
