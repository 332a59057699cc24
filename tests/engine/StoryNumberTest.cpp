#include <gtest/gtest.h>

#include "app/StoryNumber.h"
#include "app/StorySession.h"

namespace quorbel {
namespace {

TEST(StoryNumber, TheWindowsNumberTellsTheStoryTheCommandLineTellsForThatSeed) {
  NumberedRandom numbered;
  numbered.Ask(1234567);
  StorySession window(DataDir(QUORBEL_FIXTURES "/story"), numbered, [&] { numbered.Reseed(99); });
  SeededRandom plain(1234567);
  StorySession cli(DataDir(QUORBEL_FIXTURES "/story"), plain);
  for (StorySession* s : {&window, &cli}) {
    s->Load();
    s->TimerTick();
  }
  EXPECT_EQ(numbered.number(), 1234567u);
  EXPECT_EQ(CodeText(window.state()), CodeText(cli.state()));
  EXPECT_EQ(SavedLines(window.state()), SavedLines(cli.state()));
  window.NewStory();  // nothing asked: a fresh number
  EXPECT_EQ(numbered.number(), 99u);
}

TEST(StoryNumber, CaptionAndTypedNumbers) {
  EXPECT_EQ(ToUtf8(StoryNumberCaption(1234567)), "Рассказ № 1234567");
  EXPECT_EQ(ParseStoryNumber(" 42 "), 42u);
  EXPECT_EQ(ParseStoryNumber("18446744073709551615"), 18446744073709551615u);
  EXPECT_EQ(ParseStoryNumber("18446744073709551616"), std::nullopt);
  EXPECT_EQ(ParseStoryNumber("-1"), std::nullopt);
  EXPECT_EQ(ParseStoryNumber("4 2"), std::nullopt);
  EXPECT_EQ(ParseStoryNumber(""), std::nullopt);
  EXPECT_EQ(FreshStoryNumber(0), 1000000u);
  EXPECT_EQ(FreshStoryNumber(8999999), 9999999u);
}

}  // namespace
}  // namespace quorbel
