// The story window's rules without a window: start-up, quiz, OK, endings, new story, save.
#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/resource.h>
#endif

#include <csignal>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "TempMaterial.h"
#include "app/StorySession.h"

namespace quorbel {
namespace {

using testing::TempMaterial;

std::string Code(const StorySession& s) { return CodeText(s.state()); }

// A guess that shares no digit with the code.
std::string Miss(const std::string& code) {
  std::string g;
  for (char d = '0'; d <= '9' && g.size() < 4; ++d)
    if (code.find(d) == std::string::npos) g += d;
  return g;
}

void Guess(StorySession& s, const std::string& g) {
  s.PickDigits(g);
  s.Ok();
}

class Session : public ::testing::Test {
 protected:
  Session() : rng(20261207), session(DataDir(QUORBEL_FIXTURES "/story"), rng) {}
  SeededRandom rng;
  StorySession session;
};

TEST_F(Session, StartUpBuildsTheStoryOnlyWhenTheTimerFires) {
  const WindowState& w = session.window();
  EXPECT_TRUE(w.coverVisible);
  EXPECT_EQ(w.suspectCaptions[10], T("10(0). Гуринов"));
  session.Load();
  EXPECT_TRUE(w.timerEnabled);
  EXPECT_FALSE(w.okVisible);
  EXPECT_EQ(session.state().lineCount, 1);
  const std::string code = Code(session);
  for (int i = 0; i < 4; ++i)
    for (int j = 0; j < i; ++j) EXPECT_NE(code[static_cast<std::size_t>(i)], code[static_cast<std::size_t>(j)]);

  session.TimerTick();
  EXPECT_FALSE(w.timerEnabled);
  EXPECT_FALSE(w.coverVisible);
  EXPECT_TRUE(w.page.pictureVisible);
  EXPECT_TRUE(w.okVisible);
  EXPECT_FALSE(w.okEnabled);
  EXPECT_TRUE(w.cancelVisible);
  EXPECT_TRUE(w.newStoryVisible);
  EXPECT_FALSE(w.saveVisible);
  EXPECT_EQ(w.questionCaption, session.state().questions[1]);
  const Text& name = session.state().castNames[10];
  EXPECT_EQ(w.suspectCaptions[10], T("10(0) ") + name.substr(0, name.size() - 1));
  EXPECT_EQ(w.suspectCaptions[1].substr(0, 2), u"1 ");
}

TEST_F(Session, PicksFillTheBoxesAndCancelTakesThemBack) {
  session.Load();
  session.TimerTick();
  const WindowState& w = session.window();
  for (int k : {3, 10, 7, 1}) session.PickSuspect(k);
  EXPECT_EQ(w.digitBoxes[1] + w.digitBoxes[2] + w.digitBoxes[3] + w.digitBoxes[4], u"3071");
  EXPECT_TRUE(w.okEnabled);
  EXPECT_FALSE(w.suspectVisible[3]);
  EXPECT_TRUE(w.suspectVisible[2]);
  EXPECT_EQ(w.questionCaption, session.state().questions[4]);  // stays on the last question
  session.PickSuspect(2);  // a fifth pick hides the suspect and changes nothing else
  EXPECT_FALSE(w.suspectVisible[2]);
  EXPECT_EQ(session.state().answerPos, 6);
  EXPECT_EQ(w.digitBoxes[4], u"1");
  session.PickSuspect(3);  // a hidden suspect cannot be picked again
  EXPECT_EQ(session.state().answerPos, 6);

  session.Cancel();
  for (int k = 1; k <= 10; ++k) EXPECT_TRUE(w.suspectVisible[k]);
  EXPECT_EQ(w.digitBoxes[1], u"");
  EXPECT_FALSE(w.okEnabled);
  EXPECT_EQ(session.state().answerPos, 1);
  EXPECT_EQ(w.questionCaption, session.state().questions[1]);
}

TEST_F(Session, AWinOnTheThirdGuessEndsTheStory) {
  session.Load();
  session.TimerTick();
  const std::string code = Code(session);
  Guess(session, Miss(code));
  Guess(session, Miss(code));
  EXPECT_FALSE(session.finished());
  EXPECT_EQ(session.state().verdict, 2);  // " 0 0" again
  const Text statusBefore = session.state().statusLine;
  Guess(session, code);
  const WindowState& w = session.window();
  EXPECT_EQ(session.ending(), Ending::QuickWin);
  EXPECT_EQ(w.rowResult[3], u" 4 0");
  EXPECT_TRUE(w.rowVisible[3]);
  EXPECT_FALSE(w.rowVisible[4]);
  EXPECT_TRUE(w.congratsVisible);
  for (int k = 1; k <= 10; ++k) {
    EXPECT_FALSE(w.suspectVisible[k]);
    EXPECT_FALSE(w.suspectEnabled[k]);
  }
  EXPECT_FALSE(w.instructionVisible);
  EXPECT_FALSE(w.questionVisible);
  EXPECT_FALSE(w.digitBoxesVisible);
  EXPECT_FALSE(w.okVisible);
  EXPECT_FALSE(w.cancelVisible);
  EXPECT_TRUE(w.saveVisible);
  EXPECT_TRUE(w.newStoryVisible);
  EXPECT_EQ(session.state().attemptNo, 4);
  // Each OK appends the days passed and the time.
  const Text& status = session.state().statusLine;
  EXPECT_EQ(status.substr(0, statusBefore.size()), statusBefore);
  EXPECT_EQ(status.substr(status.size() - 6), u" " + session.state().clockTime);
  // A finished story takes no more picks or OK presses.
  session.PickSuspect(1);
  session.Ok();
  EXPECT_EQ(session.state().attemptNo, 4);
}

TEST_F(Session, EightMissesEndInDefeatAndTheLastGuessCanStillWin) {
  session.Load();
  session.TimerTick();
  const std::string code = Code(session);
  for (int n = 1; n <= 8; ++n) Guess(session, Miss(code));
  const WindowState& w = session.window();
  EXPECT_EQ(session.ending(), Ending::Defeat);
  for (int n = 1; n <= 8; ++n) EXPECT_TRUE(w.rowVisible[n]);
  EXPECT_FALSE(w.congratsVisible);
  for (int k = 1; k <= 10; ++k) {
    EXPECT_TRUE(w.suspectVisible[k]);
    EXPECT_FALSE(w.suspectEnabled[k]);
  }
  EXPECT_EQ(session.state().attemptNo, 9);

  session.NewStory();
  session.TimerTick();
  const std::string code2 = Code(session);
  for (int n = 1; n <= 7; ++n) Guess(session, Miss(code2));
  Guess(session, code2);
  EXPECT_EQ(session.ending(), Ending::LastGuessWin);
}

TEST_F(Session, PicksBeforeTheStoryIsOnThePageAreIgnored) {
  session.Load();
  session.PickDigits("1234");
  EXPECT_EQ(session.state().answerPos, 1);
  EXPECT_EQ(session.window().digitBoxes[1], u"");
  EXPECT_TRUE(session.window().suspectVisible[1]);
  session.PageBy(kPageStep);
  EXPECT_EQ(session.state().topLine, 1);
  session.TimerTick();
  session.PickDigits("1");
  EXPECT_EQ(session.window().digitBoxes[1], u"1");
}

TEST(Reading, AfterOkThePageOpensOnTheNewTextAndCanGoBack) {
  // The shipped material: its turns write more than a page.
  SeededRandom rng(20261207);
  StorySession session(DataDir(QUORBEL_SOURCE_DIR "/data"), rng);
  session.Load();
  session.TimerTick();
  StoryState& s = session.state();
  const std::string code = Code(session);
  Guess(session, Miss(code));
  const Long first = s.topLine;
  const PageView& page = session.window().page;
  ASSERT_GT(s.lineCount, kPageRows);
  ASSERT_GT(first, 1);
  EXPECT_TRUE(page.fresh[0]);
  EXPECT_EQ(page.freshLast, s.lineCount);
  EXPECT_TRUE(page.scrollUpVisible);
  EXPECT_FALSE(page.pictureVisible);
  session.PageBack();
  EXPECT_EQ(s.topLine, 1);
  EXPECT_TRUE(page.pictureVisible);
  session.PageBack();
  EXPECT_EQ(s.topLine, first);

  // The second turn's text begins where the first turn's ended.
  const Long before = s.lineCount;
  Guess(session, Miss(code));
  EXPECT_TRUE(page.freshFirst == before || page.freshFirst == before + 1);
  EXPECT_EQ(s.topLine, std::min(page.freshFirst, s.lineCount - (kPageRows - 1)));
  EXPECT_FALSE(page.fresh[0] && page.freshFirst > s.topLine);
}

TEST_F(Session, AFinishedStoryIsUnsavedUntilEitherSaveWritesIt) {
  TempMaterial dir;
  session.Load();
  session.TimerTick();
  EXPECT_FALSE(session.finishedUnsaved());  // a story being played is not finished
  const std::string code = Code(session);
  for (int n = 1; n <= 8; ++n) Guess(session, Miss(code));
  EXPECT_TRUE(session.finishedUnsaved());
  const Text& reveal = session.window().codeReveal;
  EXPECT_EQ(reveal.substr(0, 14), T("Шифр был: ") + FromUtf8(code));
  const Long digit = session.state().codeDigits[1];
  EXPECT_NE(reveal.find(session.window().suspectCaptions[digit == 0 ? 10 : digit]),
            Text::npos);
  session.SaveCopy(dir.root() / "копия.txt");
  EXPECT_TRUE(std::filesystem::exists(dir.root() / "копия.txt"));
  EXPECT_FALSE(session.finishedUnsaved());
  EXPECT_TRUE(session.window().saveVisible);  // qrb.txt can still be written
  session.NewStory();
  EXPECT_TRUE(session.window().codeReveal.empty());
  EXPECT_FALSE(session.finishedUnsaved());
}

TEST(Save, ANameForTheFileFromTheTitle) {
  EXPECT_EQ(SuggestedFileName(T("ТАЙНА СТАРОЙ УСАДЬБЫ")), T("ТАЙНА СТАРОЙ УСАДЬБЫ.txt"));
  EXPECT_EQ(SuggestedFileName(T(" Кто?  Где: /там/ ...")), T("Кто Где там.txt"));
  EXPECT_EQ(SuggestedFileName(T("??")), T("рассказ.txt"));
}

// The chance of a session that begins every story afresh at seed, as the window reseeds it.
class Reseeded final : public Random {
 public:
  void Reseed(std::uint64_t seed) { gen_.emplace(seed); }
  double Rnd() override { return gen_->Rnd(); }

 private:
  std::optional<SeededRandom> gen_;
};

// What a story left in the session (its text, facts, answers) must not reach the next one:
// a story begun with NewStory in a used session is the one a fresh session tells by its seed.
TEST(NewStory, TellsTheStoryAFreshSessionTells) {
  auto play = [](StorySession& session) {
    session.Load();
    session.TimerTick();
    const std::string miss = Miss(Code(session));
    for (int n = 0; n < 8 && !session.finished(); ++n) Guess(session, n == 4 ? Code(session) : miss);
    const StoryState& s = session.state();
    std::vector<Text> told = SavedLines(s);
    for (Long i = 1; i <= s.factCount; ++i) told.push_back(s.facts[i]);
    for (Long n = 1; n < s.attemptNo; ++n) told.push_back(s.results[n]);
    return told;
  };
  for (const char* material : {"/story", "/shipped"}) {
    const DataDir dir(std::string(QUORBEL_FIXTURES) + material);
    std::uint64_t seed = 1;
    Reseeded rng;
    StorySession reused(dir, rng, [&] { rng.Reseed(seed); });
    for (; seed <= 12; ++seed) {
      SeededRandom fresh(seed);
      StorySession session(dir, fresh);
      if (seed > 1) reused.NewStory();
      EXPECT_EQ(play(session), play(reused)) << material << " seed " << seed;
    }
  }
}

TEST_F(Session, NewStoryAfterAWinResetsEverything) {
  session.Load();
  session.TimerTick();
  Guess(session, Code(session));
  ASSERT_TRUE(session.finished());
  StoryState& s = session.state();
  s.textLines[5000] = u"хвост длинной истории";
  for (int k : {1, 2}) session.PickSuspect(k);
  session.NewStory();
  const WindowState& w = session.window();
  EXPECT_TRUE(w.timerEnabled);
  EXPECT_TRUE(w.coverVisible);
  EXPECT_FALSE(w.page.pictureVisible);
  EXPECT_FALSE(w.congratsVisible);
  EXPECT_FALSE(w.rowVisible[1]);
  for (int k = 1; k <= 10; ++k) {
    EXPECT_TRUE(w.suspectVisible[k]);
    EXPECT_TRUE(w.suspectEnabled[k]);
  }
  EXPECT_FALSE(w.okVisible);
  EXPECT_FALSE(w.cancelVisible);
  EXPECT_FALSE(w.newStoryVisible);
  // The save button would write the new story's opening over the saved file.
  EXPECT_FALSE(w.saveVisible);
  EXPECT_EQ(w.digitBoxes[1], u"");
  EXPECT_EQ(s.textLines[5000], u"");
  EXPECT_EQ(s.textLines[1], u"");
  EXPECT_EQ(s.lineCount, 1);
  EXPECT_EQ(s.bulls[1], 0);
  EXPECT_EQ(s.attemptNo, 1);
  session.TimerTick();
  EXPECT_TRUE(w.okVisible);
  EXPECT_FALSE(session.finished());
}

TEST(Save, LinesAsTheyStandWithTheFirstIndented) {
  TempMaterial m;
  SeededRandom rng(1);
  StorySession session(m.dir(), rng);
  StoryState& s = session.state();
  s.textLines[1] = u"A";
  s.textLines[2] = u"   B";
  s.textLines[3] = u"C";
  s.lineCount = 3;
  session.Save(m.root() / "qrb.txt");
  std::ifstream in(m.root() / "qrb.txt", std::ios::binary);
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_EQ(bytes, "   A\r\n   B\r\nC\r\n");
  EXPECT_FALSE(session.window().saveVisible);
}

TEST(Save, AFailedSaveKeepsTheOldFileAndSaysSo) {
  TempMaterial m;
  SeededRandom rng(1);
  StorySession session(m.dir(), rng);
  session.state().textLines[1] = u"A";
  std::filesystem::create_directories(m.root() / "ro");
  {
    std::ofstream old(m.root() / "ro" / "qrb.txt");
    old << "old story\n";
  }
#ifdef _WIN32
  try {  // a file open in another program cannot be replaced
    std::ifstream held(m.root() / "ro" / "qrb.txt");
    session.Save(m.root() / "ro" / "qrb.txt");
    ADD_FAILURE() << "saved over a file held open";
  } catch (const DataError& e) {
    EXPECT_STREQ(e.what(), "qrb.txt: cannot be written (the file is open in another program)");
  }
#else
  // A file size limit makes the write fail part-way, as a full disk would.
  std::signal(SIGXFSZ, SIG_IGN);
  rlimit saved{};
  getrlimit(RLIMIT_FSIZE, &saved);
  rlimit small = saved;
  small.rlim_cur = 2;
  setrlimit(RLIMIT_FSIZE, &small);
  try {
    session.Save(m.root() / "ro" / "qrb.txt");
    ADD_FAILURE() << "saved";
  } catch (const DataError& e) {
    EXPECT_STREQ(e.what(), "qrb.txt: cannot be written (File too large)");
  }
  setrlimit(RLIMIT_FSIZE, &saved);
#endif
  std::ifstream in(m.root() / "ro" / "qrb.txt");
  std::string line;
  std::getline(in, line);
  EXPECT_EQ(line, "old story");
  // Nothing of the failed save is left beside it.
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(m.root() / "ro"), std::filesystem::directory_iterator()), 1);
}

TEST(Build, AMissingFileIsReportedAndTheWindowCanTryAgain) {
  TempMaterial m;
  m.Write("styles.qrb", "nothing\nНичего\n");
  SeededRandom rng(1);
  StorySession session(m.dir(), rng);
  session.Load();
  try {
    session.TimerTick();
    FAIL();
  } catch (const DataError& e) {
    EXPECT_STREQ(e.what(), "nothing/themes.qrb: file not found");
  }
  EXPECT_FALSE(session.window().timerEnabled);
  EXPECT_TRUE(session.window().newStoryVisible);
}

TEST(Build, SettingsOutOfRangeAreReportedWithTheirLine) {
  TempMaterial m;
  m.CopyFrom(QUORBEL_FIXTURES "/story");
  m.Write("quorbel.cfg", " 0 \n 0 \n 0 \n 13 \n 0 \n 0 \n 0 \n 0 \n 0 \n 0 \n");
  SeededRandom rng(1);
  StorySession session(m.dir(), rng);
  session.Load();
  try {
    session.TimerTick();
    FAIL();
  } catch (const DataError& e) {
    EXPECT_STREQ(e.what(), "quorbel.cfg: line 4: value 13 is out of range 0..12");
  }
}

}  // namespace
}  // namespace quorbel
