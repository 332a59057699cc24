#pragma once
// Text tokens of phrase texts: "_sus" (a suspect of the last guess), "_npc" (a cast member) and
// "_call" (a line drawn from a shade group, used up). Internal to the phrase engine; exposed for
// its tests.
#include <stdexcept>

#include "story/Random.h"
#include "story/StoryState.h"
#include "story/Text.h"

namespace quorbel::phrases {

// A "_call" with no ")" after it: the phrase cannot say which shade group it means.
class TokenError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// True when text holds a "_call" that no ")" follows within text.
bool HasUnclosedCall(TextView text);

// Replaces the leftmost "_sus", then the leftmost "_npc", then the leftmost "_call" of the
// paragraph buffer. Draws: for a "_call", the line pick when the flag is "1", the 50 % roll
// always, the line pick when the flag is "0" and the roll is below 50. Throws TokenError.
void SubstituteTokens(StoryState& s, Random& rng, Text& buffer);

}  // namespace quorbel::phrases
