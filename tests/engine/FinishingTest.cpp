// Text finishing: capitals, the dialogue dash, line breaking with hyphens, justification and the
// closing modes, with every justification draw scripted.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "phrases/Finishing.h"
#include "tests/engine/ScriptedRandom.h"

namespace quorbel::phrases {
namespace {

using quorbel::testing::ScriptedRandom;
using Lines = std::vector<std::string>;

class Finishing : public ::testing::Test {
 protected:
  Finishing() { s->settings[setting::Absurdity] = 1; }

  // The story so far: lines 1..n, the last one current.
  void StartWith(Long lineCount, const char* current) {
    s->lineCount = lineCount;
    s->textLines[lineCount] = T(current);
  }
  void Finish(const char* buffer, const char* kind = "0", const char* closing = "1", const char* level = "0") {
    Text text = T(buffer);
    FinishParagraph(*s, rng, text, ParagraphPlan{T(kind), T(closing), T(level)});
  }
  Lines From(Long first) const {
    Lines out;
    for (Long i = first; i <= s->lineCount; ++i) out.push_back(ToUtf8(s->textLines[i]));
    return out;
  }

  std::unique_ptr<StoryState> s = std::make_unique<StoryState>();
  ScriptedRandom rng;
};

TEST_F(Finishing, FirstLineIsJustifiedTo45PunctuationGapsFirstEachOnce) {
  StartWith(1, "");
  // Punctuation pass: ". " (r = 2 of 2), ", " (the only one left), a pass that finds none;
  // then four plain passes.
  rng.Add({0.99, 0.0, 0.7, 0.0, 0.99, 0.5, 0.25});
  Finish("ночь была тёмной, ветер выл. Сыщик ждал| |у двери.| |Тихо.| |");
  EXPECT_EQ(From(1), (Lines{"Ночь  была  тёмной,  ветер  выл.  Сыщик  ждал", "у двери. Тихо.", "   "}));
  EXPECT_EQ(s->textLines[1].size(), 45u);
  EXPECT_TRUE(rng.AllUsed());
}

TEST_F(Finishing, HyphenReserveMovesASegmentThatOnlyFitsWithoutItsHyphen) {
  StartWith(2, "   ");
  // "пере" would end exactly at column 51, but the word goes on after the mark. The indent's
  // three columns are never widened.
  rng.Add({0.3, 0.0, 0.99, 0.0, 0.5, 0.0});
  Finish("Кот кот кот кот кот кот кот кот кот кот кот| |пере|ход| |");
  EXPECT_EQ(From(2), (Lines{"   Кот    кот кот кот кот  кот кот кот кот кот  кот", "переход", "   "}));
  EXPECT_TRUE(rng.AllUsed());
}

TEST_F(Finishing, WordSplitAtAMarkGetsAHyphenAndTheLineIsFull) {
  StartWith(2, "   ");
  Finish("Кот кот кот кот кот кот кот кот кот собака| |пере|ход| |");
  EXPECT_EQ(From(2), (Lines{"   Кот кот кот кот кот кот кот кот кот собака пере-", "ход", "   "}));
  EXPECT_TRUE(rng.AllUsed());  // already 51 wide: no pass, no draw
}

TEST_F(Finishing, ACompoundBrokenAtItsHyphenShowsThatHyphenAlone) {
  // Broken at a mark within the paragraph, and at the last mark.
  StartWith(2, "   ");
  Finish("Кот кот кот кот кот кот кот кот кот котик| |вагон-|ресторан| |", "0", "2");
  StartWith(4, "   ");
  Finish("Кот кот кот кот кот кот кот кот кот котик| |вагон-|ресторан| |вагон-|ресторан| |", "0", "2");
  EXPECT_EQ(From(2), (Lines{"   Кот кот кот кот кот кот кот кот кот котик вагон-", "ресторан",
                            "   Кот кот кот кот кот кот кот кот кот котик вагон-", "ресторан вагон-ресторан"}));
  EXPECT_TRUE(rng.AllUsed());
}

TEST_F(Finishing, LastSegmentMovedLeavesItsLineUnclosedAndPlainJustified) {
  StartWith(2, "");
  // Only the plain pass (one draw), and the line keeps its trailing blank.
  rng.Add({0.0});
  Finish("Кот, кот кот кот кот кот кот кот кот кот собаками| |переход| |", "0", "2");
  EXPECT_EQ(From(2), (Lines{"Кот,  кот кот кот кот кот кот кот кот кот собаками ", "переход"}));
  EXPECT_TRUE(rng.AllUsed());
}

TEST_F(Finishing, DialogueGetsItsDashAndKeepsItsFirstFiveColumns) {
  StartWith(2, "   ");
  rng.Add({0.0, 0.0, 0.3, 0.0});
  Finish("кто там? Никого. Тишина и мрак за окном дом| |стоял| |тихо.| |", "1");
  EXPECT_EQ(From(2), (Lines{"   — Кто  там?  Никого.  Тишина и мрак за окном дом", "стоял тихо.", "   "}));
  EXPECT_TRUE(rng.AllUsed());
}

TEST_F(Finishing, DashClosesTextLeftOpenOnTheLineInsteadOfOverwritingIt) {
  StartWith(2, "   Он ушёл. ");
  Finish("стой!| |", "1");
  EXPECT_EQ(From(2), (Lines{"   Он ушёл.", "   — Стой!", "   "}));

  StartWith(7, "      ");  // blanks only: replaced as it stands
  Finish("стой!| |", "1", "0");
  EXPECT_EQ(From(7), (Lines{"   — Стой! "}));
}

TEST_F(Finishing, CapitalOnlyForLettersOfTheTable) {
  const std::vector<std::pair<const char*, const char*>> cases = {
      {"ёлка| |", "Ёлка"}, {"эхо| |", "Эхо"},       {"Ясно| |", "Ясно"},     {"йод| |", "йод"},
      {"ы| |", "ы"},       {"5 утра| |", "5 утра"}, {"«ночь»| |", "«ночь»"}, {"  а где?| |", "А где?"}};
  for (const auto& [in, out] : cases) {
    StartWith(3, "");
    Finish(in, "0", "2");
    EXPECT_EQ(ToUtf8(s->textLines[3]), out) << in;
  }
}

TEST_F(Finishing, ClosingModes) {
  StartWith(2, "   ");
  Finish("раз.| |", "0", "0");
  Finish("два.| |", "0", "0");
  EXPECT_EQ(From(2), (Lines{"   Раз. Два. "}));
  Finish("три.| |", "0", "1");
  EXPECT_EQ(From(2), (Lines{"   Раз. Два. Три.", "   "}));
  Finish("четыре.| |", "0", "x");
  EXPECT_EQ(From(3), (Lines{"   Четыре."}));
}

TEST_F(Finishing, ALevelOfAnotherAbsurdityKeepsTheFinalGap) {
  StartWith(2, "");
  Finish("  раз.| |", "0", "0", "2");
  EXPECT_EQ(From(2), (Lines{"  раз.  "}));
}

TEST_F(Finishing, OverlongSegmentGetsALineOfItsOwnAndNothingIsLost) {
  std::string word = "Ж";
  for (int i = 1; i < 60; ++i) word += "ж";
  StartWith(2, "   ");
  Finish((word + "| |кот| |").c_str(), "0", "2");
  EXPECT_EQ(From(2), (Lines{"   " + word, "кот"}));
  EXPECT_TRUE(rng.AllUsed());  // an overlong line needs no padding

  // After text: the line it leaves has no blank to widen and stays short (one draw per stage).
  rng.Add({0.5, 0.5});
  StartWith(5, "   Начало ");
  Finish((word + "| |кот| |").c_str(), "0", "2");
  EXPECT_EQ(From(5), (Lines{"   Начало", word, "кот"}));
  EXPECT_TRUE(rng.AllUsed());
}

TEST_F(Finishing, TextLimitIsAnErrorNotAnOverrun) {
  StartWith(kMaxTextLines, "   ");
  EXPECT_THROW(Finish("конец.| |", "0", "1"), TextLimitError);
  EXPECT_EQ(s->lineCount, kMaxTextLines);

  s->lineCount = kMaxTextLines + 1;
  EXPECT_THROW(Finish("конец.| |", "0", "0"), TextLimitError);
}

TEST(Justify, PlainPassLeavesALineWithoutBlanksShortAfterItsDraw) {
  ScriptedRandom rng{0.9, 0.9};
  Text line = u"   abc";
  JustifyLine(line, 51, false, Justify::Full, rng);
  EXPECT_EQ(line, u"   abc");
  EXPECT_TRUE(rng.AllUsed());
}

TEST(CloseLine, LeadingBlanksBecomeTheIndentOrGo) {
  EXPECT_EQ(CloseLine(u"     a b  "), u"   a b");
  EXPECT_EQ(CloseLine(u" a "), u"a");
  EXPECT_EQ(CloseLine(u"    "), u"");
}

}  // namespace
}  // namespace quorbel::phrases
