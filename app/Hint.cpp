#include "app/Hint.h"

#include <string>

namespace quorbel {

std::vector<strategy::Clue> CluesSoFar(const StoryState& s) {
  std::vector<strategy::Clue> clues;
  for (Long n = 1; n < s.attemptNo && n <= 8; ++n) {
    const auto i = static_cast<std::size_t>(n);
    clues.push_back({ToUtf8(s.guesses[i]), static_cast<int>(s.bulls[i]), static_cast<int>(s.cows[i])});
  }
  return clues;
}

bool HintBoard::Ask(const StorySession& session) {
  const StoryState& s = session.state();
  const WindowState& w = session.window();
  if (!w.okVisible || session.finished() || s.attemptNo < 1 || s.attemptNo > 8) return false;
  const std::string guess = strategy::NextGuess(CluesSoFar(s));
  if (guess.empty()) return false;
  caption_ = u"Подсказка:";
  for (std::size_t p = 0; p < guess.size(); ++p) {
    const int digit = guess[p] - '0';
    const auto suspect = static_cast<std::size_t>(digit == 0 ? 10 : digit);
    caption_ += (p ? u", " : u" ") + w.suspectCaptions[suspect];
  }
  turn_ = s.attemptNo;
  used_[static_cast<std::size_t>(turn_)] = true;
  return true;
}

void HintBoard::Follow(const StorySession& session) {
  if (!caption_.empty() && (session.state().attemptNo != turn_ || session.finished())) caption_.clear();
}

void HintBoard::Reset() {
  caption_.clear();
  turn_ = 0;
  used_.fill(false);
}

Text HintBoard::StepCaption(int n) const {
  Text step = FromUtf8(std::to_string(n));
  if (used_[static_cast<std::size_t>(n)]) step += kHintMark;
  return step;
}

bool HintBoard::anyUsed() const {
  for (bool u : used_)
    if (u) return true;
  return false;
}

}  // namespace quorbel
