#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "app/Strategy.h"

namespace quorbel::strategy {
namespace {

// Plays code to the end with the hint, after the reader's own opening guesses.
int GuessesFor(const std::string& code, std::vector<std::string> opening = {}) {
  std::vector<Clue> clues;
  for (int n = 1; n <= 12; ++n) {
    std::string guess;
    if (n <= static_cast<int>(opening.size())) {
      guess = opening[static_cast<std::size_t>(n - 1)];
    } else {
      guess = NextGuess(clues);
    }
    Clue c{guess, 0, 0};
    Score(code, guess, c.bulls, c.cows);
    if (c.bulls == 4) return n;
    clues.push_back(c);
  }
  return 99;
}

TEST(Strategy, EveryCodeIsFoundInSevenGuessesAndFiveThirtyOnAverage) {
  long total = 0;
  int worst = 0;
  for (int i = 0; i < kCodeCount; ++i) {
    const int n = GuessesFor(CodeText(i));
    total += n;
    worst = std::max(worst, n);
  }
  const double mean = static_cast<double>(total) / kCodeCount;
  std::printf("all %d codes: %ld guesses, mean %.4f, worst %d\n", kCodeCount, total, mean, worst);
  EXPECT_LE(worst, 7);
  EXPECT_LE(mean, 5.30);
}

TEST(Strategy, AnyFirstGuessAndGuessesOffTheTreeStillEndInSeven) {
  // Other openings reach the tree through a renaming of digits, or leave it for the fallback.
  int worst = 0;
  for (int i = 0; i < kCodeCount; i += 37) {
    worst = std::max(worst, GuessesFor(CodeText(i), {"9876"}));
    worst = std::max(worst, GuessesFor(CodeText(i), {"0123", "3210"}));
  }
  std::printf("other openings: worst %d\n", worst);
  EXPECT_LE(worst, 8);
}

TEST(Strategy, InterchangeableDigitsAreTriedOnceWithTheSameAnswer) {
  const std::vector<std::vector<Clue>> cases = {{{"0123", 0, 1}, {"3210", 0, 1}},
                                                {{"0123", 1, 1}, {"0456", 0, 1}},
                                                {{"0123", 0, 2}, {"4567", 1, 1}, {"1032", 0, 2}}};
  for (const auto& clues : cases) {
    std::uint16_t touched = 0;
    for (const Clue& c : clues)
      for (char ch : c.guess) touched = static_cast<std::uint16_t>(touched | 1u << (ch - '0'));
    const std::vector<int> fits = Consistent(clues);
    EXPECT_EQ(PartitionGuess(fits, touched), PartitionGuess(fits)) << clues[1].guess;
  }
}

TEST(Strategy, NoHintWhenTheScoresContradictEachOther) {
  const std::vector<Clue> solved = {{"0123", 4, 0}};
  EXPECT_EQ(NextGuess(solved), "0123");
  const std::vector<Clue> tooFew = {{"0123", 0, 0}, {"4567", 0, 0}};  // only two digits left
  EXPECT_EQ(NextGuess(tooFew), "");
  const std::vector<Clue> twoScores = {{"0123", 0, 0}, {"0123", 1, 0}};
  EXPECT_EQ(NextGuess(twoScores), "");
}

TEST(Strategy, CodesAndScores) {
  EXPECT_EQ(CodeText(0), "0123");
  EXPECT_EQ(CodeText(kCodeCount - 1), "9876");
  EXPECT_EQ(CodeIndex("9876"), kCodeCount - 1);
  EXPECT_EQ(CodeIndex("1123"), -1);
  EXPECT_EQ(CodeIndex("12a4"), -1);
  EXPECT_EQ(ScoreKey(CodeIndex("3701"), CodeIndex("3071")), 2 * 5 + 2);
  EXPECT_EQ(ScoreKey(CodeIndex("5648"), CodeIndex("3071")), 0);
}

}  // namespace
}  // namespace quorbel::strategy
