#pragma once
// Text tokens of phrase texts: "_sus" (a suspect of the last guess), "_npc" (a cast member) and
// "_call" (a line drawn from a shade group, used up). Internal to the phrase engine; exposed for
// its tests.
#include <cstddef>
#include <stdexcept>

#include "story/Problems.h"
#include "story/Random.h"
#include "story/StoryState.h"
#include "story/Text.h"

namespace quorbel::phrases {

// A "_call" with no ")" after it: the phrase cannot say which shade group it means.
class TokenError : public std::runtime_error {
 public:
  TokenError() : std::runtime_error(Reported().English()) {}
  static Problem Reported() { return Problem::Of(ProblemId::UnclosedCall); }
};

// The tokens text holds, one bit each: 1 "_sus", 2 "_npc", 4 "_call".
unsigned TokensIn(TextView text);

// True when text holds a "_call" that no ")" follows within text.
bool HasUnclosedCall(TextView text);

// For each token, the first position of the paragraph buffer its leftmost occurrence may start
// at: the text before it was searched and has not changed since. A paragraph grows phrase by
// phrase and is searched after each; without this it would be searched from its start each time.
struct TokenScan {
  std::size_t suspect = 0;
  std::size_t castMember = 0;
  std::size_t call = 0;
  // The buffer's text changed from position at on (an append at its old end, a replacement).
  void ChangedFrom(std::size_t at);
  // In buffer, the removed characters at at were replaced by the inserted ones; the text after
  // them is as it was, so of it only what a search had not passed yet is searched again.
  void Replaced(TextView buffer, std::size_t at, std::size_t removed, std::size_t inserted);
  // Text was appended to buffer at its old end at; tokenFree: the text holds no "_", with which
  // every token begins, so only the last characters before it can start a token it completes.
  void Appended(TextView buffer, std::size_t at, bool tokenFree);
  // The same where held tells which tokens the appended text holds (TokensIn): for the others
  // too only the last characters before it are searched again.
  void Appended(TextView buffer, std::size_t at, unsigned held);
};

// Replaces the leftmost "_sus", then the leftmost "_npc", then the leftmost "_call" of the
// paragraph buffer. Draws: for a "_call", the line pick when the flag is "1", the 50 % roll
// always, the line pick when the flag is "0" and the roll is below 50. Throws TokenError.
// scan tells how much of the buffer is known to hold no token, and is kept up to date.
void SubstituteTokens(StoryState& s, Random& rng, Text& buffer, TokenScan& scan);
// The same for a buffer not searched before.
void SubstituteTokens(StoryState& s, Random& rng, Text& buffer);

}  // namespace quorbel::phrases
