// Style, theme and title from the catalogues.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "ScriptedRandom.h"
#include "story/Catalogue.h"

namespace quorbel {
namespace {

using quorbel::testing::ScriptedRandom;

DataDir Fixture(const char* name) { return DataDir(std::filesystem::path(QUORBEL_FIXTURES) / "catalogue" / name); }

std::unique_ptr<StoryState> Choosing(Long style, Long theme) {
  auto s = std::make_unique<StoryState>();
  s->settings[setting::Style] = style;
  s->settings[setting::Theme] = theme;
  return s;
}

// The message of the DataError the choice fails with, or "" when it does not fail.
std::string Failure(const char* fixture, Long style, Long theme, std::initializer_list<double> draws = {}) {
  auto s = Choosing(style, theme);
  ScriptedRandom rng(draws);
  try {
    ChooseStyleAndTitle(*s, rng, Fixture(fixture));
  } catch (const DataError& e) {
    EXPECT_TRUE(rng.AllUsed());
    return e.what();
  }
  return "";
}

TEST(ChooseStyleAndTitle, RandomStyleAndThemeWithoutPlaceholderLeaveTheWordsAlone) {
  auto s = Choosing(0, 0);
  s->titleWords[1] = u"прежнее";
  s->titleWordCount = 7;
  s->titleWord = 3;
  ScriptedRandom rng{0.2, 0.5};  // style 1 of 2, theme 2 of 3
  ChooseStyleAndTitle(*s, rng, Fixture("basic"));
  EXPECT_TRUE(rng.AllUsed());
  EXPECT_EQ(s->settings[setting::Style], 1);
  EXPECT_EQ(s->settings[setting::Theme], 2);
  EXPECT_EQ(s->styleFolder, u"classic/");
  EXPECT_EQ(s->wordsFile, u"classic/words_1");
  EXPECT_EQ(s->themeCount, 3);
  EXPECT_EQ(ToUtf8(s->title), "Дело без слова");
  EXPECT_EQ(ToUtf8(s->titleWords[1]), "прежнее");
  EXPECT_EQ(s->titleWordCount, 7);
  EXPECT_EQ(s->titleWord, 3);
}

TEST(ChooseStyleAndTitle, TheFirstPlaceholderTakesADrawnWord) {
  auto s = Choosing(1, 1);
  ScriptedRandom rng{0.7};
  ChooseStyleAndTitle(*s, rng, Fixture("basic"));
  EXPECT_TRUE(rng.AllUsed());
  EXPECT_EQ(ToUtf8(s->title), "Тайна синего дома");
  EXPECT_EQ(s->titleWordCount, 2);
  EXPECT_EQ(s->titleWord, 2);
  EXPECT_EQ(ToUtf8(s->titleWords[1]), "старого");

  s = Choosing(1, 3);
  ScriptedRandom first{0.0};
  ChooseStyleAndTitle(*s, first, Fixture("basic"));
  EXPECT_EQ(ToUtf8(s->title), "старого и _Z_");  // only the first placeholder
}

TEST(ChooseStyleAndTitle, NumbersBeyondTheCataloguesTakeTheLastEntry) {
  auto s = Choosing(9, 5);
  ScriptedRandom rng;
  ChooseStyleAndTitle(*s, rng, Fixture("basic"));
  EXPECT_TRUE(rng.AllUsed());
  EXPECT_EQ(s->styleFolder, u"modern/");
  EXPECT_EQ(ToUtf8(s->title), "Ночной звонок");
  // The numbers become the entries used, so the files named after them exist.
  EXPECT_EQ(s->settings[setting::Style], 2);
  EXPECT_EQ(s->wordsFile, u"modern/words_2");
  EXPECT_EQ(s->settings[setting::Theme], 2);
}

TEST(ChooseStyleAndTitle, MissingShortAndOverlongFilesNameFileAndLine) {
  EXPECT_EQ(Failure("no-such-folder", 0, 0), "styles.qrb: file not found");
  EXPECT_EQ(Failure("broken", 3, 1), "nofile/words_3.qrb: file not found");
  EXPECT_EQ(Failure("empty", 0, 0), "styles.qrb: line 1: no styles listed");
  EXPECT_EQ(Failure("empty", 1, 1), "styles.qrb: line 1: no styles listed");
  EXPECT_EQ(Failure("odd", 1, 1),
            "styles.qrb: line 4: end of file where a line was expected (the style's display name)");
  EXPECT_EQ(Failure("broken", 4, 0), "emptythemes/themes.qrb: line 1: no themes listed");
  EXPECT_EQ(Failure("broken", 1, 1), "manywords/words_1.qrb: line 11: more than 10 title words");
  EXPECT_EQ(Failure("broken", 2, 1), "nowords/words_2.qrb: line 1: no title words");
}

}  // namespace
}  // namespace quorbel
