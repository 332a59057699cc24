// The phrase file walk: plans, groups, the carried record, the pick and the roll, facts, the
// look-ahead at plan changes, and malformed files.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "phrases/PhraseEngine.h"
#include "story/Numbers.h"
#include "tests/engine/ScriptedRandom.h"

namespace quorbel {
namespace {

using quorbel::testing::ScriptedRandom;
using Lines = std::vector<std::string>;

const char* const kAnyTime = "01013112 00 00 00 00 00 -50 50";

std::vector<std::string> Record(const std::string& key, const std::string& text, const std::string& pre = "",
                                const std::string& fact = "", const std::string& conditions = kAnyTime) {
  return {"#", key, conditions, text, pre, fact};
}

class PhraseEngine : public ::testing::Test {
 protected:
  PhraseEngine() {
    dir_ = std::filesystem::path(QUORBEL_BINARY_DIR) / "phrase-tests" /
           ::testing::UnitTest::GetInstance()->current_test_info()->name();
    std::filesystem::remove_all(dir_);
    std::filesystem::create_directories(dir_ / "style");
    s->styleFolder = u"style/";
    s->recPhraseFile = u"scene";
    s->settings[setting::Absurdity] = 1;
    s->dayOfYear = 100;
    s->startDayOfYear = 100;
    s->startTime = u"09:00";
    const char* cast[] = {"", "Ива|нов1", "Пет|ров2", "Си|до|ров3", "Гусь4", "Ко|тов5",
                          "Ли|син6", "Ежов7", "Вол|ков8", "Мед|ве|дев9", "Бо|бров0"};
    for (int i = 1; i <= 10; ++i) s->castForms[i] = T(cast[i]);
    s->shadeTitles[1] = T("запах");
    s->shadeCounts[1] = 2;
    s->shadeLines[1][1] = T("дым");
    s->shadeLines[1][2] = T("мята");
  }
  ~PhraseEngine() override {
    std::error_code ec;
    std::filesystem::remove_all(dir_, ec);
  }

  // Plan lines, the empty line, then the records.
  void WriteScene(const std::vector<std::string>& plans, const std::vector<std::vector<std::string>>& records) {
    std::vector<Text> lines;
    for (const auto& p : plans) lines.push_back(T(p));
    lines.emplace_back();
    for (const auto& r : records)
      for (const auto& l : r) lines.push_back(T(l));
    WriteTextFile(dir_ / "style" / "scene.qrb", lines, "scene.qrb");
  }
  void Render() { RenderPhraseFile(*s, rng, DataDir(dir_)); }
  Lines From(Long first) const {
    Lines out;
    for (Long i = first; i <= s->lineCount; ++i) out.push_back(ToUtf8(s->textLines[i]));
    return out;
  }
  Lines Facts() const {
    Lines out;
    for (Long i = 1; i <= s->factCount; ++i) out.push_back(ToUtf8(s->facts[i]));
    return out;
  }

  std::filesystem::path dir_;
  std::unique_ptr<StoryState> s = std::make_unique<StoryState>();
  ScriptedRandom rng;
};

TEST_F(PhraseEngine, OnePlanTwoGroupsPickAndRollPerGroup) {
  WriteScene({"0 aa1 ab1|1|0"}, {Record("aa", "первый."), Record("aa", "второй."), Record("ab", "третий."),
                                 Record("ab", "четвёртый.")});
  rng.Add({0.99, 0.7, 0.0, 0.2});  // group aa: pick 2 of 2, roll; group ab: pick 1 of 2, roll
  Render();
  EXPECT_EQ(From(1), (Lines{"Второй. третий.", "   "}));
  EXPECT_TRUE(rng.AllUsed());
}

TEST_F(PhraseEngine, RecordEndingAGroupIsCarriedWithTheInclusiveTimeWindow) {
  s->facts[1] = u"начало";
  s->factCount = 1;
  // Both "ab" records start at 09:00 exactly: only the carried one passes.
  WriteScene({"0 aa1 ab1|1|0"}, {Record("aa", "Раз."), Record("ab", "Два.", "_vrm2_(0900-1200)"),
                                 Record("ab", "Три.", "_vrm2_(0900-1200)")});
  rng.Add({0.0, 0.9, 0.99, 0.9});
  Render();
  EXPECT_EQ(From(1), (Lines{"Раз. Два.", "   "}));
  EXPECT_TRUE(rng.AllUsed());
}

TEST_F(PhraseEngine, LastGroupOfOneRecordIsNeverChosen) {
  WriteScene({"0 aa1 ab1|1|0"}, {Record("aa", "Раз."), Record("ab", "Два.", "", "видел")});
  rng.Add({0.0, 0.9});
  Render();
  EXPECT_EQ(From(1), (Lines{"Раз.", "   "}));
  EXPECT_EQ(s->factCount, 0);
  EXPECT_TRUE(rng.AllUsed());
}

TEST_F(PhraseEngine, PlanChangeLooksAheadForTheDialogueKindAndCarriesTheRecord) {
  s->lineCount = 3;
  s->textLines[3] = u"   ";
  WriteScene({"0 aa1|1|0", "1 ba1|1|0"},
             {Record("aa", "вошёл сыщик."), Record("ba", "кто здесь?"), Record("ba", "есть кто?")});
  rng.Add({0.0, 0.9, 0.0, 0.9});  // the carried "кто здесь?" is candidate 1 of group ba
  Render();
  EXPECT_EQ(From(3), (Lines{"   Вошёл сыщик.", "   — Кто здесь?", "   "}));
  EXPECT_TRUE(rng.AllUsed());
}

TEST_F(PhraseEngine, PlanOfAnotherLevelAddsNothingAndItsLevelReachesThePlanBefore) {
  // Plan 2 is for absurdity 2 only. The look-ahead gives its level to the finishing of plan 1,
  // which then keeps its final gap: the open line ends in two blanks.
  s->lineCount = 2;
  s->textLines[2] = u"   ";
  WriteScene({"0 aa1|0|0", "0 ba1|1|2"}, {Record("aa", "Раз."), Record("ba", "Два."), Record("ba", "Три.")});
  rng.Add({0.0, 0.9});
  Render();
  EXPECT_EQ(From(2), (Lines{"   Раз.  "}));
  EXPECT_TRUE(rng.AllUsed());
}

TEST_F(PhraseEngine, FactsAreRecordedEvenWhenTheTextIsNotAddedAndOnlyOnce) {
  WriteScene({"0 aa0 ab2 ac1|1|0"},
             {Record("aa", "Раз.", "", "дверь"), Record("ab", "Два.", "", "окно"), Record("ac", "Три.", "дверь"),
              Record("ac", "Четыре.", "окно", "дверь"), Record("ac", "Пять.", "Окно")});
  // aa: pick, roll 50 (not below 50: no text); ab: pick, roll (flag 2: never text);
  // ac: "Три." (carried, its fact now recorded) and "Четыре." are candidates, "Пять." is not.
  rng.Add({0.0, 0.5, 0.0, 0.0, 0.99, 0.9});
  Render();
  EXPECT_EQ(From(1), (Lines{"Четыре.", "   "}));
  EXPECT_EQ(Facts(), (Lines{"дверь", "окно"}));
  EXPECT_TRUE(rng.AllUsed());
}

TEST_F(PhraseEngine, GroupWithoutEligibleRecordsDrawsNothingAndPlanWithoutTextFinishesNothing) {
  s->lineCount = 2;
  s->textLines[2] = u"   ";
  WriteScene({"1 aa1 ab1|1|0", "0 ba1|1|0"},
             {Record("aa", "Раз.", "", "", "01123101 00 00 00 00 00 -50 50"), Record("aa", "Два.", "нет"),
              Record("ab", "Три.", "", "знак"), Record("ab", "Четыре.", "", "знак"), Record("ba", "Пять.", "нет"),
              Record("ba", "Шесть.", "нет")});
  rng.Add({0.0, 0.9});  // only group ab has candidates; its flag 1 text is added
  Render();
  EXPECT_EQ(From(2), (Lines{"   — Три.", "   "}));
  EXPECT_EQ(Facts(), (Lines{"знак"}));
  EXPECT_TRUE(rng.AllUsed());
}

TEST_F(PhraseEngine, SuspectBeforeTheFirstGuessAndASecondCastTokenAtTheNextGroup) {
  WriteScene({"0 aa1 ab1|1|0"}, {Record("aa", "_npc1 и _npc2 спорили."), Record("aa", "Тишина."),
                                 Record("ab", "Пришёл _sus1."), Record("ab", "Никого.")});
  rng.Add({0.0, 0.9, 0.0, 0.9});
  Render();
  EXPECT_EQ(From(1), (Lines{"Иванов и Петров спорили. Пришёл Бобров.", "   "}));
  EXPECT_TRUE(rng.AllUsed());
}

TEST_F(PhraseEngine, ShadeDrawsFollowThePickAndTheRoll) {
  WriteScene({"0 aa1|1|0"}, {Record("aa", "Пахло _call(запах)1."), Record("aa", "Тихо.")});
  rng.Add({0.0, 0.9, 0.99, 0.9});  // pick, roll, line 2 of the shade group, its roll
  Render();
  EXPECT_EQ(From(1), (Lines{"Пахло мята.", "   "}));
  EXPECT_EQ(s->shadeCounts[1], 1);
  EXPECT_TRUE(rng.AllUsed());
}

TEST_F(PhraseEngine, TooManyCandidatesAndFacts) {
  std::vector<std::vector<std::string>> many(1001, Record("aa", "Раз."));
  WriteScene({"0 aa1|1|0"}, many);
  try {
    Render();
    FAIL() << "no error";
  } catch (const DataError& e) {
    EXPECT_STREQ(e.what(), "style/scene.qrb: line 6004: more than 1000 phrases in one group");
  }

  s->factCount = kMaxFacts;
  for (Long i = 1; i <= kMaxFacts; ++i) s->facts[i] = u"f" + NumText(i);
  WriteScene({"0 aa1|1|0"}, {Record("aa", "Раз.", "", "f7"), Record("aa", "Два.", "", "новый")});
  rng.Add({0.99, 0.9});
  try {
    Render();
    FAIL() << "no error";
  } catch (const DataError& e) {
    EXPECT_STREQ(e.what(), "style/scene.qrb: line 14: more than 1000 facts");
  }
  EXPECT_EQ(s->factCount, kMaxFacts);
}

TEST_F(PhraseEngine, TextLimitIsAnError) {
  s->lineCount = kMaxTextLines;
  WriteScene({"0 aa1|1|0"}, {Record("aa", "Раз."), Record("aa", "Два.")});
  rng.Add({0.0, 0.9});
  try {
    Render();
    FAIL() << "no error";
  } catch (const DataError& e) {
    EXPECT_STREQ(e.what(), "style/scene.qrb: the story text would pass line 10000");
  }
}

// One material folder keeps a file's parse until the file changes; a malformed file fails each
// story that names it, and only those.
TEST_F(PhraseEngine, AKeptFileIsReadAgainWhenItChangesAndAFaultIsMetEachTime) {
  const DataDir dir(dir_);
  WriteTextFile(dir_ / "style" / "broken.qrb", {u"0 aa1"}, "broken.qrb");
  WriteScene({"0 aa1|1|0"}, {Record("aa", "Раз.")});
  rng.Add({0.0, 0.9});
  RenderPhraseFile(*s, rng, dir);
  EXPECT_EQ(From(1), (Lines{"Раз.", "   "}));

  WriteScene({"0 aa1|1|0"}, {Record("aa", "Другой раз.")});  // another size: read again
  rng.Add({0.0, 0.9});
  RenderPhraseFile(*s, rng, dir);
  EXPECT_EQ(From(1), (Lines{"Раз.", "   Другой раз.", "   "}));
  EXPECT_TRUE(rng.AllUsed());

  {  // within one pass the file is compared with the disk once: a change waits for the next
    const DataDir::Pass pass(dir);
    rng.Add({0.0, 0.9});
    RenderPhraseFile(*s, rng, dir);
    WriteScene({"0 aa1|1|0"}, {Record("aa", "Третий.")});
    rng.Add({0.0, 0.9});
    RenderPhraseFile(*s, rng, dir);
  }
  rng.Add({0.0, 0.9});
  RenderPhraseFile(*s, rng, dir);
  EXPECT_EQ(From(3), (Lines{"   Другой раз.", "   Другой раз.", "   Третий.", "   "}));

  s->recPhraseFile = u"broken";
  for (int story = 1; story <= 2; ++story) {
    try {
      RenderPhraseFile(*s, rng, dir);
      ADD_FAILURE() << "no error in story " << story;
    } catch (const DataError& e) {
      EXPECT_STREQ(e.what(), "style/broken.qrb: line 1: a plan line without two \"|\"");
    }
  }
}

TEST(PhraseFiles, MissingAndMalformedFilesNameTheFileAndLine) {
  const std::vector<std::pair<const char*, const char*>> cases = {
      {"missing", "phrases/missing.qrb: file not found"},
      {"no_empty_line", "phrases/no_empty_line.qrb: line 3: the plan lines are not followed by an empty line"},
      {"empty_word", "phrases/empty_word.qrb: line 1: an empty plan word"},
      {"one_bar", "phrases/one_bar.qrb: line 2: a plan line without two \"|\""},
      {"cut_short", "phrases/cut_short.qrb: line 9: a phrase record cut short by the end of the file"},
      {"no_plan_left", "phrases/no_plan_left.qrb: line 10: a key that belongs to no remaining plan"},
      {"after_last_word", "phrases/after_last_word.qrb: line 10: a key that belongs to no word of its plan"},
      {"too_many_words", "phrases/too_many_words.qrb: line 1: more than 50 words in a plan line"},
      {"too_many_plans", "phrases/too_many_plans.qrb: line 101: more than 100 plan lines"},
      {"unclosed_call", "phrases/unclosed_call.qrb: line 6: a \"_call\" without \")\""},
  };
  for (const auto& [name, message] : cases) {
    auto s = std::make_unique<StoryState>();
    s->styleFolder = u"phrases/";
    s->recPhraseFile = T(name);
    s->settings[setting::Absurdity] = 1;
    s->dayOfYear = 100;
    ScriptedRandom rng{0.0, 0.9, 0.0, 0.9};
    try {
      RenderPhraseFile(*s, rng, DataDir(QUORBEL_FIXTURES));
      ADD_FAILURE() << name << ": no error";
    } catch (const DataError& e) {
      EXPECT_STREQ(e.what(), message);
    }
  }
}

// Any mix of marks, tokens and keys either renders or fails with DataError; it never crashes or
// hangs (run under the sanitizers).
TEST(PhraseFiles, ArbitraryFilesNeitherCrashNorLoop) {
  const std::vector<std::string> pieces = {"|", " ", "| |", "_call(", ")", "_call(запах)1", "_npc", "_sus",
                                           "0",  "1", "a",   "b",     "ab", "-",             "жжжжжжжжжжжжжжжжжжжжжжжжж",
                                           ", ", ". ", "01013112 00 00 00 00 00 -50 50", "_vrm2_(0900-1200)", "_zug0"};
  SeededRandom gen(20261207);
  auto piece = [&] { return pieces[static_cast<std::size_t>(Int(gen.Rnd() * static_cast<double>(pieces.size())))]; };
  auto fs = std::filesystem::path(QUORBEL_BINARY_DIR) / "phrase-tests" / "arbitrary";
  std::filesystem::create_directories(fs / "s");
  int rendered = 0;
  for (int round = 0; round < 400; ++round) {
    std::vector<Text> lines;
    int planCount = 1 + Int(gen.Rnd() * 5);
    for (int p = 0; p < planCount; ++p)
      lines.push_back(T(std::string(gen.Rnd() < 0.5 ? "0" : "1") + " a1 ab0 b" + (gen.Rnd() < 0.7 ? "1" : piece()) +
                        "|" + piece() + "|" + piece()));
    lines.emplace_back();
    const char* keys[] = {"a", "a", "ab", "ab", "a", "b", "c", ""};
    for (int r = Int(gen.Rnd() * 8); r > 0; --r) {
      std::string text;
      for (int k = Int(gen.Rnd() * 6); k > 0; --k) text += piece();
      lines.push_back(u"#");
      lines.push_back(T(keys[Int(gen.Rnd() * 8)]));
      lines.push_back(gen.Rnd() < 0.7 ? T(kAnyTime) : T(piece()));
      lines.push_back(T(text));
      lines.push_back(gen.Rnd() < 0.7 ? Text() : T(piece()));
      lines.push_back(gen.Rnd() < 0.5 ? Text() : T(piece()));
    }
    if (gen.Rnd() < 0.1) lines.pop_back();
    WriteTextFile(fs / "s" / "f.qrb", lines, "f.qrb");
    auto s = std::make_unique<StoryState>();
    s->styleFolder = u"s/";
    s->recPhraseFile = u"f";
    s->dayOfYear = 100;
    s->factCount = round % 2;
    s->facts[1] = u"_zug0";
    s->lineCount = round % 3 == 0 ? 1 : 9990;
    s->shadeTitles[1] = T("запах");
    s->shadeCounts[1] = 3;
    try {
      RenderPhraseFile(*s, gen, DataDir(fs));
      ++rendered;
      EXPECT_GE(s->lineCount, 1);
      EXPECT_LE(s->lineCount, kMaxTextLines);
    } catch (const DataError&) {
    }
  }
  std::filesystem::remove_all(fs);
  EXPECT_GT(rendered, 100);
}

}  // namespace
}  // namespace quorbel
