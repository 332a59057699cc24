// Token substitution: suspects of the last guess, cast members and shade lines, leftmost
// occurrence each, with the draws of "_call" scripted.
#include <gtest/gtest.h>

#include <memory>

#include "phrases/Tokens.h"
#include "tests/engine/ScriptedRandom.h"

namespace quorbel::phrases {
namespace {

using quorbel::testing::ScriptedRandom;

class Tokens : public ::testing::Test {
 protected:
  Tokens() {
    const char* cast[] = {"", "Ива|нов1", "Пет|ров2", "Си|до|ров3", "Гусь4", "Ко|тов5",
                          "Ли|син6", "Ежов7", "Вол|ков8", "Мед|ве|дев9", "Бо|бров0"};
    for (int i = 1; i <= 10; ++i) s->castForms[i] = T(cast[i]);
    s->shadeTitles[1] = T("погода");
    s->shadeCounts[1] = 1;
    s->shadeLines[1][1] = T("шёл| |дождь");
    s->shadeTitles[2] = T("запах");
    s->shadeCounts[2] = 3;
    s->shadeLines[2][1] = T("дым");
    s->shadeLines[2][2] = T("мята");
    s->shadeLines[2][3] = T("сырость");
  }
  std::string Run(const char* buffer) {
    Text b = T(buffer);
    SubstituteTokens(*s, rng, b);
    return ToUtf8(b);
  }

  std::unique_ptr<StoryState> s = std::make_unique<StoryState>();
  ScriptedRandom rng;
};

TEST_F(Tokens, SuspectOfTheLastGuessAndMemberTenByDefault) {
  EXPECT_EQ(Run("Это _sus1.| |"), "Это Бо|бров.| |");  // no guess yet: empty string
  s->attemptNo = 2;
  s->guesses[1] = u"3710";
  EXPECT_EQ(Run("_sus2 и _sus1| |"), "Ежов и _sus1| |");
  EXPECT_EQ(Run("_sus4| |"), "Бо|бров| |");  // the digit 0 names member 10
  EXPECT_EQ(Run("_sus0| |"), "Бо|бров| |");  // no position 0 in a guess
  EXPECT_EQ(Run("_sus7| |"), "Бо|бров| |");  // beyond the guess
  EXPECT_EQ(Run("конец _sus"), "конец Бо|бров");
  EXPECT_TRUE(rng.AllUsed());
}

TEST_F(Tokens, CastMemberLeftmostOnlyOnePerPass) {
  EXPECT_EQ(Run("_npc3 и _npc0| |"), "Си|до|ров и _npc0| |");
  EXPECT_EQ(Run("Си|до|ров и _npc0| |"), "Си|до|ров и Бо|бров| |");
  EXPECT_EQ(Run("_sus1 _npc1 _npc2"), "Бо|бров Ива|нов _npc2");
  EXPECT_EQ(Run("x_npc"), "xБо|бров");
  EXPECT_TRUE(rng.AllUsed());
}

TEST_F(Tokens, CallFlagOneDrawsTheLineThenTheRoll) {
  rng.Add({0.5, 0.9});  // line 2 of 3, then the roll
  EXPECT_EQ(Run("Пахло: _call(запах)1.| |"), "Пахло: мята.| |");
  EXPECT_EQ(s->shadeCounts[2], 2);
  EXPECT_EQ(s->shadeLines[2][1], u"дым");
  EXPECT_EQ(s->shadeLines[2][2], T("сырость"));
  EXPECT_TRUE(rng.AllUsed());
}

TEST_F(Tokens, CallFlagZeroRollsFirstAndDrawsOnlyBelowFifty) {
  rng.Add({0.49, 0.0});
  EXPECT_EQ(Run("_call(погода)0| |"), "шёл| |дождь| |");
  EXPECT_EQ(s->shadeCounts[1], 0);
  rng.Add({0.5});
  EXPECT_EQ(Run("Было _call(запах)0тихо.| |"), "Было тихо.| |");
  EXPECT_EQ(s->shadeCounts[2], 3);
  EXPECT_TRUE(rng.AllUsed());
}

TEST_F(Tokens, CallIsDeletedWithoutAPickWhenNothingCanBeDrawn) {
  rng.Add({0.9, 0.9, 0.9});  // only the rolls
  EXPECT_EQ(Run("a_call(звук)1b"), "ab");        // no such group
  EXPECT_EQ(Run("a_call(запах)2b"), "ab");       // a flag that never draws
  s->shadeCounts[1] = 0;                         // used up: no stale line, no pick
  s->shadeLines[1][1] = T("старое");
  EXPECT_EQ(Run("a_call(погода)1b"), "ab");
  EXPECT_TRUE(rng.AllUsed());

  // The walk stops at the first empty title.
  s->shadeTitles[3] = T("цвет");
  s->shadeCounts[3] = 1;
  s->shadeLines[3][1] = T("синий");
  s->shadeTitles[2].clear();
  rng.Add({0.0});
  EXPECT_EQ(Run("_call(цвет)1"), "");
  EXPECT_TRUE(rng.AllUsed());
}

TEST_F(Tokens, ThreeDrawsFromThreeLinesUseEachOnce) {
  std::string got;
  for (double pick : {0.99, 0.0, 0.0}) {
    rng.Add({pick, 0.9});
    got += Run("_call(запах)1") + ",";
  }
  EXPECT_EQ(got, "сырость,дым,мята,");
  EXPECT_EQ(s->shadeCounts[2], 0);
  rng.Add({0.9});
  EXPECT_EQ(Run("_call(запах)1"), "");
  EXPECT_TRUE(rng.AllUsed());
}

TEST_F(Tokens, CallWithoutClosingParenthesisIsAnError) {
  EXPECT_THROW(Run("_call(запах1| |"), TokenError);
  EXPECT_THROW(Run("_call"), TokenError);
  EXPECT_THROW(Run("_call)x"), TokenError);  // the ")" right after "_call" is the unread character
  EXPECT_TRUE(HasUnclosedCall(u"a _call(x)1 _call(y"));
  EXPECT_FALSE(HasUnclosedCall(u"a _call(x)1 b"));
}

// A paragraph searched pass by pass as it grows: a token an append or a replacement completes is
// found, though it starts in text searched before.
TEST_F(Tokens, KeptScanFindsTokensCompletedByAnAppendOrAReplacement) {
  Text b = u"a _s";
  TokenScan scan;
  SubstituteTokens(*s, rng, b, scan);
  b += u"us1 _n_npc4";
  scan.Appended(b, 4, false);
  s->castForms[4] = u"pc14";  // member 4 reads "pc1"
  SubstituteTokens(*s, rng, b, scan);
  EXPECT_EQ(ToUtf8(b), "a Бо|бров _npc1");
  SubstituteTokens(*s, rng, b, scan);
  EXPECT_EQ(ToUtf8(b), "a Бо|бров Ива|нов");
  b += u" и _";  // an append without "_" can complete only a token begun before it
  scan.Appended(b, b.size() - 4, false);
  SubstituteTokens(*s, rng, b, scan);
  b += u"npc2";
  scan.Appended(b, b.size() - 4, true);
  SubstituteTokens(*s, rng, b, scan);
  b += u" и npc5";
  scan.Appended(b, b.size() - 7, true);
  SubstituteTokens(*s, rng, b, scan);
  EXPECT_EQ(ToUtf8(b), "a Бо|бров Ива|нов и Пет|ров и npc5");
  EXPECT_TRUE(rng.AllUsed());
}

TEST_F(Tokens, OrderIsSuspectThenMemberThenCall) {
  rng.Add({0.0, 0.9});
  EXPECT_EQ(Run("_call(погода)1 _npc5 _sus1| |"), "шёл| |дождь Ко|тов Бо|бров| |");
  EXPECT_TRUE(rng.AllUsed());
}

}  // namespace
}  // namespace quorbel::phrases
