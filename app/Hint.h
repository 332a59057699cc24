#pragma once
// The window's hint: the four suspects the strategy would name next, given the guesses so far,
// and which turns of the story were prepared with a hint. Reads the story, never changes it.
#include <array>
#include <vector>

#include "app/StorySession.h"
#include "app/Strategy.h"

namespace quorbel {

// The scored guesses of the story so far.
std::vector<strategy::Clue> CluesSoFar(const StoryState& s);

class HintBoard {
 public:
  // A hint for the guess being prepared; false (and nothing shown) while no guess can be made.
  bool Ask(const StorySession& session);
  // After every change of the session: a hint whose turn is over is taken down.
  void Follow(const StorySession& session);
  // A new story: no hint, no turn noted.
  void Reset();

  // Below the digit boxes; empty when no hint is shown.
  const Text& caption() const { return caption_; }
  // The step cell of row n (1..8): its number, marked when the turn was prepared with a hint.
  Text StepCaption(int n) const;
  bool anyUsed() const;

 private:
  Text caption_;
  Long turn_ = 0;  // the attempt the caption was computed for
  std::array<bool, 9> used_{};
};

// The mark of a turn prepared with a hint, and its legend under the results.
inline constexpr const char16_t* kHintMark = u"*";
inline constexpr const char16_t* kHintLegend = u"* — ход с подсказкой";

}  // namespace quorbel
