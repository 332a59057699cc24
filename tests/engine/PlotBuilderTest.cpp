// Building a story: cast, plot variant, shades, questions and the opening episodes.
#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>
#include <utility>

#include "ScriptedRandom.h"
#include "TempMaterial.h"
#include "story/Episodes.h"
#include "story/PlotBuilder.h"

namespace quorbel {
namespace {

using testing::ScriptedRandom;
using testing::TempMaterial;

std::unique_ptr<StoryState> StyleState() {
  auto s = std::make_unique<StoryState>();
  s->styleFolder = u"st/";
  s->settings[setting::Style] = 1;
  s->settings[setting::Theme] = 1;
  s->plotVariant = 1;
  s->settings[setting::Absurdity] = 2;
  return s;
}

// Rnd value that makes Int(Rnd * n) + 1 pick entry k of n.
double Pick(int k, int n) { return (k - 1 + 0.5) / n; }

TEST(ChooseCast, TenPersonsComeInDrawOrderAndRepeatsAreDrawnAgain) {
  TempMaterial m;
  m.Write("st/pers_1.qrb",
          "Ива|нов| |Пётрм,Пет|ро|ва| |Аннаж\n\"Си|до|ров, Глебм\"\nA1м,A2ж,A3м\nA4ж,A5м,A6ж,A7м\n");
  auto s = StyleState();
  ScriptedRandom rng;
  const int order[10] = {3, 1, 10, 2, 9, 4, 8, 5, 7, 6};
  for (int i = 0; i < 10; ++i) {
    if (i == 3) rng.Add(Pick(3, 10));  // a repeat of the first draw is drawn again
    rng.Add(Pick(order[i], 10));
  }
  ChooseCast(*s, rng, m.dir());
  EXPECT_TRUE(rng.AllUsed());
  EXPECT_EQ(s->castForms[1], T("Си|до|ров, Глебм"));
  EXPECT_EQ(s->castNames[1], T("Сидоров, Глебм"));
  EXPECT_EQ(s->castForms[2], T("Ива|нов| |Пётрм"));
  EXPECT_EQ(s->castNames[2], T("Иванов Пётрм"));
  EXPECT_EQ(s->castNames[3], T("A7м"));
  std::set<Text> distinct(s->castForms.begin() + 1, s->castForms.begin() + 11);
  EXPECT_EQ(distinct.size(), 10u);
}

TEST(ChooseCast, FewerThanTenDistinctPersonsIsAnErrorNotAHang) {
  TempMaterial m;
  m.Write("st/pers_1.qrb", "Aм,Bм,Cм,Dм,Eм,Fм,Gм,Hм,Iм,Aм,Bм\n");
  auto s = StyleState();
  ScriptedRandom rng;
  try {
    ChooseCast(*s, rng, m.dir());
    FAIL();
  } catch (const DataError& e) {
    EXPECT_STREQ(e.what(), "st/pers_1.qrb: fewer than ten distinct persons (9)");
  }
  m.Write("st/pers_1.qrb", "Aм,Bм,\n");
  try {
    ChooseCast(*s, rng, m.dir());
    FAIL();
  } catch (const DataError& e) {
    EXPECT_STREQ(e.what(), "st/pers_1.qrb: line 1: an empty person entry");
  }
}

TEST(ChoosePlotVariant, WeightsDecideAndAZeroWeightIsNeverChosen) {
  TempMaterial m;
  m.Write("st/var_1.qrb", "первый\n5\nвторой\n0\nтретий\n3\n");
  auto s = StyleState();
  for (int r = 0; r < 8; ++r) {
    ScriptedRandom rng{(r + 0.5) / 8};
    ChoosePlotVariant(*s, rng, m.dir());
    EXPECT_EQ(s->plotVariant, r < 5 ? 1 : 3) << "r = " << r;
  }
  m.Write("st/var_1.qrb", "первый\n0\nвторой\n4\n");
  for (double v : {0.0, 0.5, 0.999}) {
    ScriptedRandom rng{v};
    ChoosePlotVariant(*s, rng, m.dir());
    EXPECT_EQ(s->plotVariant, 2);
  }
  m.Write("st/var_1.qrb", "первый\n0\n");
  ScriptedRandom none;
  try {
    ChoosePlotVariant(*s, none, m.dir());
    FAIL();
  } catch (const DataError& e) {
    EXPECT_STREQ(e.what(), "st/var_1.qrb: the variant weights add up to 0");
  }
  // 2,148 weights of 1,000,000 pass a Long: the sum is refused, not wrapped around.
  std::string many;
  for (int i = 0; i < 2148; ++i) many += "в\n1000000\n";
  m.Write("st/var_1.qrb", many);
  try {
    ChoosePlotVariant(*s, none, m.dir());
    FAIL();
  } catch (const DataError& e) {
    EXPECT_STREQ(e.what(), "st/var_1.qrb: the variant weights add up to more than 2147483647");
  }
}

TEST(LoadShades, LevelsFilterGroupsAndTheFlagShuffles) {
  TempMaterial m;
  m.Write("st/ottens_1.qrb",
          "0\nобщее\n0\nодин\nдва\nтри\n\n"
          "1\nдеталь\n0\nпервый уровень\n\n"
          "2\nдеталь\n1\nA\nB\nC\n\n"
          "0\nзвуки\n1\nтук");
  auto s = StyleState();  // absurdity level 2
  s->shadeTitles[5] = u"старое";  // left by an earlier story
  s->shadeCounts[5] = 3;
  // Shuffle of A B C: k=1 swaps with 2 (B A C), k=2 with 3 (B C A), k=3 with itself; then
  // "тук" swaps with itself.
  ScriptedRandom rng{Pick(2, 3), Pick(3, 3), Pick(3, 3), Pick(1, 1)};
  LoadShades(*s, rng, m.dir());
  EXPECT_TRUE(rng.AllUsed());
  EXPECT_EQ(s->shadeTitles[1], T("общее"));
  EXPECT_EQ(s->shadeCounts[1], 3);
  EXPECT_EQ(s->shadeLines[1][3], T("три"));  // flag 0 keeps the file order
  EXPECT_EQ(s->shadeTitles[2], T("деталь"));
  EXPECT_EQ(s->shadeCounts[2], 3);
  EXPECT_EQ(s->shadeLines[2][1], u"B");
  EXPECT_EQ(s->shadeLines[2][2], u"C");
  EXPECT_EQ(s->shadeLines[2][3], u"A");
  EXPECT_EQ(s->shadeTitles[3], T("звуки"));  // the last group ends with the file
  EXPECT_EQ(s->shadeCounts[3], 1);
  EXPECT_EQ(s->shadeTitles[4], u"");
  EXPECT_EQ(s->shadeTitles[5], u"");  // cleared, no longer reachable
  EXPECT_EQ(s->shadeCounts[5], 0);
}

TEST(LoadQuestions, LevelThreeReadsLinesNineToTwelveWithTheTitleWord) {
  TempMaterial m;
  std::string q;
  for (int i = 1; i <= 12; ++i) q += "вопрос " + std::to_string(i) + (i == 10 ? " о _Z_ и _Z_" : "") + "\n";
  m.Write("st/qst_1_1.qrb", q);
  auto s = StyleState();
  s->settings[setting::Absurdity] = 3;
  s->titleWords[2] = T("ключе");
  s->titleWord = 2;
  LoadQuestions(*s, m.dir());
  EXPECT_EQ(s->questions[1], T("вопрос 9"));
  EXPECT_EQ(s->questions[2], T("вопрос 10 о ключе и _Z_"));
  EXPECT_EQ(s->questions[4], T("вопрос 12"));
  s->settings[setting::Absurdity] = 1;
  s->titleWord = 0;  // a title without a word: the placeholder becomes empty
  LoadQuestions(*s, m.dir());
  EXPECT_EQ(s->questions[1], T("вопрос 1"));
  m.Write("st/qst_1_1.qrb", "только\nтри\nстроки\n");
  try {
    LoadQuestions(*s, m.dir());
    FAIL();
  } catch (const DataError& e) {
    EXPECT_STREQ(e.what(), "st/qst_1_1.qrb: line 4: end of file where a line was expected");
  }
  // A file short of a higher level's lines still serves the levels it holds.
  m.Write("st/qst_1_1.qrb", "1\n2\n3\n4\n5\n6\n");
  LoadQuestions(*s, m.dir());
  EXPECT_EQ(s->questions[4], T("4"));
  s->settings[setting::Absurdity] = 2;
  try {
    LoadQuestions(*s, m.dir());
    FAIL();
  } catch (const DataError& e) {
    EXPECT_STREQ(e.what(), "st/qst_1_1.qrb: line 7: end of file where a line was expected");
  }
}

TEST(EpisodeFiles, GroupsAreRunsOfEqualKeysAndRangesAreChecked) {
  TempMaterial m;
  auto rec = [](int key, const char* days = "0-0") {
    return std::to_string(key) + "\nзаметка\n100\n0\np\n" + days + "\n10-20\n";
  };
  m.Write("st/ncl_1_1.qrb", rec(1) + rec(1) + rec(2) + rec(1) + rec(1) + rec(1));
  auto s = StyleState();
  EXPECT_EQ(CountGroups(*s, m.dir(), u"st/ncl_1_1.qrb"), 3);
  EXPECT_EQ(s->groupSizes[1], 2);
  EXPECT_EQ(s->groupSizes[2], 1);
  EXPECT_EQ(s->groupSizes[3], 3);

  m.Write("st/ncl_1_1.qrb", rec(1) + rec(1, "5-2"));
  try {
    CountGroups(*s, m.dir(), u"st/ncl_1_1.qrb");
    FAIL();
  } catch (const DataError& e) {
    EXPECT_STREQ(e.what(), "st/ncl_1_1.qrb: line 13: a range lo-hi with lo <= hi was expected, not \"5-2\"");
  }
  m.Write("st/ncl_1_1.qrb", "");
  EXPECT_THROW(CountGroups(*s, m.dir(), u"st/ncl_1_1.qrb"), DataError);
  m.Write("st/ncl_1_1.qrb", rec(1) + "1\nобрыв\n");
  try {
    CountGroups(*s, m.dir(), u"st/ncl_1_1.qrb");
    FAIL();
  } catch (const DataError& e) {
    EXPECT_STREQ(e.what(), "st/ncl_1_1.qrb: line 10: end of file where a field was expected");
  }
  // A phrase file name stays inside the material folder, and a NUL cannot cut it short.
  const std::pair<std::string, const char*> names[] = {
      {"../../evil", "line 5: the name \"../../evil\" leads out of the material folder"},
      {"/etc/x", "line 5: the name \"/etc/x\" leads out of the material folder"},
      {std::string("p\0x", 3), "line 5: the name \"p\\x00x\" holds a control character"}};
  for (const auto& [name, fault] : names) {
    m.Write("st/ncl_1_1.qrb", "1\nзаметка\n100\n0\n" + name + "\n0-0\n10-20\n");
    try {
      CountGroups(*s, m.dir(), u"st/ncl_1_1.qrb");
      FAIL() << name;
    } catch (const DataError& e) {
      EXPECT_EQ(e.what(), "st/ncl_1_1.qrb: " + std::string(fault));
    }
  }
  std::string many;
  for (int g = 1; g <= 101; ++g) many += rec(g);
  m.Write("st/ncl_1_1.qrb", many);
  try {
    CountGroups(*s, m.dir(), u"st/ncl_1_1.qrb");
    FAIL();
  } catch (const DataError& e) {
    EXPECT_STREQ(e.what(), "st/ncl_1_1.qrb: line 701: more than 100 groups");
  }
}

TEST(PlayOpening, OneRecordOfAGroupIsPlayedAndADroppedOneStillMovesTheClock) {
  TempMaterial m;
  const std::string any = "01013112 00 00 00 00 00 -50 50";
  for (const char* name : {"a", "b", "c"}) {
    std::string rec = "#\nxx\n" + any + "\nтекст " + name + "\n\n\n";
    m.Write(std::string("st/") + name + ".qrb", "0 xx1|2|0\n\n" + rec + rec);
  }
  auto rec = [](const char* phrase, int chance) {
    return "1\nзаметка\n" + std::to_string(chance) + "\n2\n" + phrase + "\n0-0\n30-30\n";
  };
  auto state = [] {
    auto s = StyleState();
    s->settings = {0, 1, 1, 2, 6, 7, 2, 2, 2, 1, 1};  // changes forbidden: no night skip, no weather
    s->dayOfMonth = 5;
    s->dayOfYear = 156;
    s->startDayOfYear = 156;
    s->clockTime = u"12:00";
    s->lineCount = 1;
    return s;
  };
  // Draws: the record (the second of three), the keep roll, the phrase pick and its roll, the two
  // ranges, the night-skip roll, the six clock-band chances and the weather gate.
  auto draws = [](double keep) {
    ScriptedRandom rng{0.5, keep, 0.0, 0.0, 0.0, 0.0, 0.5};
    for (int i = 0; i < 7; ++i) rng.Add(0.5);
    return rng;
  };

  m.Write("st/ncl_1_1.qrb", rec("a", 100) + rec("b", 100) + rec("c", 100));
  auto kept = state();
  ScriptedRandom keep = draws(0.99);
  PlayOpening(*kept, keep, m.dir());
  EXPECT_TRUE(keep.AllUsed());
  EXPECT_EQ(kept->textLines[1], T("Текст b"));
  EXPECT_EQ(kept->lineCount, 1);
  EXPECT_EQ(kept->clockTime, u"12:30");
  EXPECT_EQ(kept->usedRecords[1][2], 0);  // the opening marks nothing
  EXPECT_EQ(kept->groupSizes[1], 0);      // cleared for the story flow
  EXPECT_EQ(kept->statusLine, T(" 0 12:30"));

  m.Write("st/ncl_1_1.qrb", rec("a", 0) + rec("b", 0) + rec("c", 0));
  auto dropped = state();
  ScriptedRandom drop = draws(0.0);
  PlayOpening(*dropped, drop, m.dir());
  EXPECT_TRUE(drop.AllUsed());
  EXPECT_EQ(dropped->textLines[1], u"");
  EXPECT_EQ(dropped->clockTime, u"12:30");
}

}  // namespace
}  // namespace quorbel
