// The turn: scoring, judging a guess, the main episode pass, the final episode, the episode step.
#include <gtest/gtest.h>

#include <memory>

#include "ScriptedRandom.h"
#include "TempMaterial.h"
#include "app/StoryFlow.h"
#include "story/Episodes.h"

namespace quorbel {
namespace {

using testing::ScriptedRandom;
using testing::TempMaterial;

class ConstRandom final : public Random {
 public:
  explicit ConstRandom(double v) : v_(v) {}
  double Rnd() override {
    ++draws;
    return v_;
  }
  int draws = 0;

 private:
  double v_;
};

const char* kAny = "01013112 00 00 00 00 00 -50 50";

// A phrase file of one plan whose one word has two alternatives with the same text.
std::string Phrase(const std::string& text, const std::string& fact = "") {
  std::string rec = std::string("#\naa\n") + kAny + "\n" + text + "\n\n" + fact + "\n";
  return "0 aa1|1|0\n\n" + rec + rec;
}

std::unique_ptr<StoryState> ReadyState() {
  auto s = std::make_unique<StoryState>();
  s->styleFolder = u"st/";
  s->settings = {0, 1, 1, 1, 6, 7, 1, 1, 2, 1, 0};
  s->plotVariant = 1;
  s->dayOfMonth = 5;
  s->dayOfYear = 156;
  s->startDayOfYear = 156;
  s->clockTime = u"12:00";
  s->startTime = u"12:00";
  s->temperature = 20;
  s->lineCount = 1;
  return s;
}

TEST(Scoring, BullsAndCowsAgainstTheCode3071) {
  auto s = std::make_unique<StoryState>();
  s->codeDigits = {0, 3, 0, 7, 1};
  ScoreGuess(*s, 1, u"3701");
  EXPECT_EQ(s->bulls[1], 2);
  EXPECT_EQ(s->cows[1], 2);
  EXPECT_EQ(s->results[1], u" 2 2");
  EXPECT_EQ(s->guesses[1], u"3701");
  ScoreGuess(*s, 2, u"5648");
  EXPECT_EQ(s->results[2], u" 0 0");
  ScoreGuess(*s, 3, u"3071");
  EXPECT_EQ(s->results[3], u" 4 0");
}

TEST(Verdict, FirstGuessRepeatedScoreAndContradiction) {
  auto s = std::make_unique<StoryState>();
  s->guesses[1] = u"1234";
  s->results[1] = u" 2 0";
  JudgeGuess(*s, 1);
  EXPECT_EQ(s->verdict, 0);  // nothing earlier to compare with

  s->guesses[2] = u"5678";
  s->results[2] = u" 0 1";
  JudgeGuess(*s, 2);
  EXPECT_EQ(s->verdict, 1);  // shares no digit with 1234, which had two bulls

  s->guesses[2] = u"1256";
  JudgeGuess(*s, 2);
  EXPECT_EQ(s->verdict, 0);  // keeps the two places that could be the bulls

  s->results[2] = u" 2 0";
  s->guesses[2] = u"5678";
  JudgeGuess(*s, 2);
  EXPECT_EQ(s->verdict, 2);  // the same score wins over the contradiction
}

TEST(Verdict, CountersRunOverAllEarlierGuesses) {
  auto s = std::make_unique<StoryState>();
  // Each earlier guess alone would contradict the third; the running totals carry the first
  // guess's matches into the test of the second.
  s->guesses[1] = u"1234";
  s->results[1] = u" 1 0";
  s->guesses[2] = u"5678";
  s->results[2] = u" 2 0";
  s->guesses[3] = u"1298";
  s->results[3] = u" 0 0";
  JudgeGuess(*s, 3);
  // k=1: same 2 (1, 2), shared 0 -> fine; k=2: same 2 + 0, shared 2 (8 and 9? no: 7 and 8 of
  // 5678 against 1298: 8 sits at another place) -> same 2 >= 2 bulls: fine.
  EXPECT_EQ(s->verdict, 0);
  s->guesses[3] = u"9012";
  JudgeGuess(*s, 3);
  // k=1: same 0 < 1 bull -> 1.
  EXPECT_EQ(s->verdict, 1);
}

TEST(EpisodeStep, KeptTextStaysAndADroppedStepGivesItsFirstLineBack) {
  TempMaterial m;
  m.Write("st/p.qrb", Phrase("Тишина."));
  auto s = ReadyState();
  s->recPhraseFile = u"p";
  s->recDays = u"0-0";
  s->recMinutes = u"10-20";
  s->recBreak = 0;
  s->lineCount = 3;
  s->textLines[1] = u"first";
  s->textLines[2] = u"second";
  s->textLines[3] = u"   ";

  s->recChance = 100;
  ConstRandom keep(0.5);
  PlayEpisodeStep(*s, keep, m.dir(), u"st/ncl_1_1.qrb", false);
  EXPECT_EQ(s->stepKept, 1);
  EXPECT_EQ(s->textLines[3], T("   Тишина."));
  EXPECT_EQ(s->textLines[4], u"   ");  // the next paragraph's indent
  EXPECT_EQ(s->textLines[5], u"   ");  // the record's paragraph line
  EXPECT_EQ(s->lineCount, 5);
  EXPECT_EQ(s->usedRecords[0][0], 0);

  const Text clockBefore = s->clockTime;
  s->recChance = 0;
  ConstRandom drop(0.5);
  PlayEpisodeStep(*s, drop, m.dir(), u"st/ncl_1_1.qrb", true);
  EXPECT_EQ(s->stepKept, 0);
  EXPECT_EQ(s->lineCount, 5);
  EXPECT_EQ(s->textLines[5], u"   ");  // the indent it held before the step, not an empty line
  EXPECT_EQ(s->textLines[6], u"");
  EXPECT_EQ(s->textLines[7], u"");
  EXPECT_NE(s->clockTime, clockBefore);  // the clock step stands
}

TEST(EpisodeStep, NoParagraphLineWhileTheStoryIsStillEmpty) {
  TempMaterial m;
  m.Write("st/p.qrb", "0 aa1|1|0\n\n#\naa\n" + std::string(kAny) + "\nнет\n_zug3\n\n#\naa\n" + kAny + "\nнет\n_zug3\n\n");
  auto s = ReadyState();
  s->recPhraseFile = u"p";
  s->recDays = u"0-0";
  s->recMinutes = u"0-0";
  s->recChance = 100;
  s->recBreak = 1;
  ConstRandom rng(0.5);
  PlayEpisodeStep(*s, rng, m.dir(), u"st/ncl_1_1.qrb", false);
  EXPECT_EQ(s->lineCount, 1);
  EXPECT_EQ(s->textLines[1], u"");
  EXPECT_EQ(s->textLines[2], u"");
}

std::string Record(int key, int chance, const std::string& phrase, const std::string& minutes = "10-20") {
  return std::to_string(key) + "\nзаметка\n" + std::to_string(chance) + "\n2\n" + phrase + "\n0-0\n" + minutes + "\n";
}

TEST(MainEpisodes, KeptRecordsAreUsedOnceAndAnExhaustedGroupIsSkipped) {
  TempMaterial m;
  m.Write("st/a.qrb", Phrase("А."));
  m.Write("st/b.qrb", Phrase("Б."));
  m.Write("st/c.qrb", Phrase("В."));
  m.Write("st/osn_1_1.qrb", Record(1, 100, "a") + Record(1, 100, "b") + Record(2, 0, "c"));
  auto s = ReadyState();

  // Pass 1: group 1 picks record 2 (kept, used), group 2 picks its only record (dropped).
  ConstRandom first(0.75);
  PlayMainEpisodes(*s, first, m.dir());
  EXPECT_EQ(s->usedRecords[1][2], 1);
  EXPECT_EQ(s->usedRecords[1][1], 0);
  EXPECT_EQ(s->usedRecords[2][1], 0);  // never kept, never used
  EXPECT_EQ(s->textLines[1], T("Б."));

  // Pass 2: the draw lands on the used record 2 and is made again until it finds record 1.
  ScriptedRandom again;
  again.Add(0.75);  // record 2: used, drawn again
  again.Add(0.25);  // record 1
  ConstRandom rest(0.25);
  struct Chain final : Random {
    ScriptedRandom& a;
    ConstRandom& b;
    Chain(ScriptedRandom& x, ConstRandom& y) : a(x), b(y) {}
    double Rnd() override { return a.left() ? a.Rnd() : b.Rnd(); }
  } chain(again, rest);
  PlayMainEpisodes(*s, chain, m.dir());
  EXPECT_EQ(s->usedRecords[1][1], 1);
  EXPECT_EQ(s->textLines[1], T("Б."));
  EXPECT_EQ(s->textLines[2], T("   А."));

  // Pass 3: group 1 is exhausted and skipped without a draw; group 2 still plays.
  const Long lines = s->lineCount;
  ConstRandom third(0.5);
  PlayMainEpisodes(*s, third, m.dir());
  EXPECT_EQ(s->lineCount, lines);
  EXPECT_EQ(s->textLines[3], u"   ");
}

TEST(FinalEpisode, PlaysOneRecordOfTheKindAndNothingWithoutOne) {
  TempMaterial m;
  m.Write("st/f1.qrb", Phrase("Победа."));
  m.Write("st/f3a.qrb", Phrase("Поражение."));
  m.Write("st/f3b.qrb", Phrase("Туман."));
  m.Write("st/fin_1_1.qrb", "1\nбыстро\nf1\n3\nплохо\nf3a\n3\nсовсем плохо\nf3b\n");
  auto s = ReadyState();
  s->recChance = 42;
  ConstRandom rng(0.75);  // the second record of kind 3
  PlayFinalEpisode(*s, rng, m.dir(), 3);
  EXPECT_EQ(s->textLines[1], T("Туман."));
  EXPECT_EQ(s->groupNo, 2);
  EXPECT_EQ(s->recChance, 42);  // the final records have no chance field

  auto t = ReadyState();
  ConstRandom none(0.5);
  PlayFinalEpisode(*t, none, m.dir(), 2);
  EXPECT_EQ(t->lineCount, 1);
  EXPECT_EQ(t->textLines[1], u"");
}

TEST(SecretCode, FourDifferentDigitsRedrawingRepeats) {
  auto s = std::make_unique<StoryState>();
  ScriptedRandom rng{0.05, 0.0, 0.01, 0.99, 0.02, 0.55, 0.35};
  DrawSecretCode(*s, rng);
  EXPECT_TRUE(rng.AllUsed());
  EXPECT_EQ(s->codeDigits[1], 0);
  EXPECT_EQ(s->codeDigits[2], 9);
  EXPECT_EQ(s->codeDigits[3], 5);  // 0.02 repeats the 0 and is drawn again
  EXPECT_EQ(s->codeDigits[4], 3);
}

}  // namespace
}  // namespace quorbel
