#pragma once
// The detective's best next guess in bulls and cows over four different digits. Its own
// computation only: it never draws from the story's generator, so asking for a hint changes
// nothing in the story.
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace quorbel::strategy {

// Every code of four different digits, numbered in increasing order: 0 is "0123", 5039 "9876".
constexpr int kCodeCount = 5040;
// Scores as bulls * 5 + cows; kSolved is four bulls.
constexpr int kScoreKeys = 21;
constexpr int kSolved = 20;

// Four digit characters of code i.
std::string CodeText(int i);
// The number of a code, or -1 when text is not four different digits.
int CodeIndex(std::string_view text);
// Score key of guess g against code c.
int ScoreKey(int g, int c);
// Bulls and cows of guess against code, both four different digit characters.
void Score(std::string_view code, std::string_view guess, int& bulls, int& cows);

struct Clue {
  std::string guess;
  int bulls = 0;
  int cows = 0;
};

// Codes that would have given every clue its score.
std::vector<int> Consistent(std::span<const Clue> clues);

// The guess that leaves the smallest expected number of codes (sum of squared part sizes),
// over all codes; ties go to a guess that may itself be the code, then to the lower number.
// candidates must not be empty. Digits outside touched (bit d for digit d) appeared in no
// earlier guess, so they are interchangeable: of the guesses that differ only in them, just the
// lowest is tried, which gives the same answer in a fraction of the time.
int PartitionGuess(std::span<const int> candidates, std::uint16_t touched = 0x3FF);

// The next guess after clues: from the stored decision tree while the guesses follow it (any
// first guess does, up to a renaming of the digits), else PartitionGuess over the codes that
// fit. Empty when no code fits the clues.
std::string NextGuess(std::span<const Clue> clues);

// The stored tree: for each node with two codes or more, in pre-order (children by score key),
// the code it guesses. Written by tools/make_strategy.
extern const std::uint16_t kTreeGuesses[];
extern const std::size_t kTreeGuessCount;

}  // namespace quorbel::strategy
