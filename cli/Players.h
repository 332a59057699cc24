#pragma once
// The reader's side of the game for the command line: guesses given, random, or a solver.
#include <memory>
#include <string>
#include <vector>

#include "app/Strategy.h"
#include "story/Random.h"

namespace quorbel::cli {

class Player {
 public:
  virtual ~Player() = default;
  // The next guess, or empty when the player has no more guesses.
  virtual std::string Next() = 0;
  // The score the story gave the last guess.
  virtual void Told(const std::string& /*guess*/, int /*bulls*/, int /*cows*/) {}
};

class GivenPlayer final : public Player {
 public:
  explicit GivenPlayer(std::vector<std::string> guesses) : guesses_(std::move(guesses)) {}
  std::string Next() override { return next_ < guesses_.size() ? guesses_[next_++] : std::string(); }

 private:
  std::vector<std::string> guesses_;
  std::size_t next_ = 0;
};

// Four different random digits a turn, from its own generator so the story's draws stay those
// of the window.
class RandomPlayer final : public Player {
 public:
  explicit RandomPlayer(Random& rng) : rng_(rng) {}
  std::string Next() override;

 private:
  Random& rng_;
};

// Guesses only codes consistent with every score so far, chosen at random among them.
class SolverPlayer final : public Player {
 public:
  explicit SolverPlayer(Random& rng);
  std::string Next() override;
  void Told(const std::string& guess, int bulls, int cows) override;
  std::size_t candidates() const { return candidates_.size(); }

 private:
  Random& rng_;
  std::vector<std::string> candidates_;
};

// The strategy of the window's hint: never more than seven guesses.
class BestPlayer final : public Player {
 public:
  std::string Next() override { return strategy::NextGuess(clues_); }
  void Told(const std::string& guess, int bulls, int cows) override { clues_.push_back({guess, bulls, cows}); }

 private:
  std::vector<strategy::Clue> clues_;
};

}  // namespace quorbel::cli
