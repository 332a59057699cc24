// The page: rows onto the text, the drop cap, and scrolling.
#include <gtest/gtest.h>

#include <memory>

#include "view/Page.h"

namespace quorbel {
namespace {

std::unique_ptr<StoryState> TextOf(int lines) {
  auto s = std::make_unique<StoryState>();
  for (int i = 1; i <= lines; ++i) s->textLines[i] = T("строка ") + Text(1, u'0' + i % 10);
  s->textLines[1] = T("Вечер");
  s->lineCount = lines;
  return s;
}

TEST(Page, FirstLineLosesItsLetterToTheDropCap) {
  auto s = TextOf(3);
  PageView page;
  ShowPage(*s, page);
  EXPECT_EQ(page.dropCapFile, "Letters/3.gif");
  EXPECT_EQ(page.rows[0], T("ечер"));
  EXPECT_EQ(page.rows[1], s->textLines[2]);
  EXPECT_FALSE(page.scrollDownVisible);

  s->textLines[1] = T("Эхо");
  ShowPage(*s, page);
  EXPECT_EQ(page.dropCapFile, "Letters/31.gif");
  // No picture for Й, a dialogue dash or a lower-case letter: the last picture stays.
  for (const char* first : {"Йод", "   — Да", "ёж"}) {
    s->textLines[1] = T(first);
    ShowPage(*s, page);
    EXPECT_EQ(page.dropCapFile, "Letters/31.gif") << first;
    EXPECT_EQ(page.rows[0], s->textLines[1].substr(1));
  }
  s->textLines[1].clear();
  ShowPage(*s, page);
  EXPECT_EQ(page.rows[0], u"");
}

TEST(Page, EveryCapitalWithAPictureHasItsOwnFile) {
  const char16_t* letters = u"АБВГДЕЁЖЗИКЛМНОПРСТУФХЦЧШЩЭЮЯ";
  int numbers[] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 27, 31, 32, 33};
  for (int i = 0; i < 29; ++i)
    EXPECT_EQ(DropCapFile(letters[i]), "Letters/" + std::to_string(numbers[i]) + ".gif");
  for (char16_t c : std::u16string(u"ЙЪЫЬаAz1 -")) EXPECT_EQ(DropCapFile(c), "");
}

TEST(Page, NineteenLinesNeedNoScrolling) {
  auto s = TextOf(19);
  PageView page;
  ShowPage(*s, page);
  EXPECT_FALSE(page.scrollDownVisible);
  EXPECT_EQ(page.rows[18], s->textLines[19]);
}

TEST(Page, TwentyFiveLinesScrollDownSixTimesAndBack) {
  auto s = TextOf(25);
  PageView page;
  page.pictureVisible = true;
  ShowPage(*s, page);
  EXPECT_TRUE(page.scrollDownVisible);

  ScrollDown(*s, page);
  EXPECT_EQ(s->topLine, 2);
  EXPECT_TRUE(page.scrollUpVisible);
  EXPECT_FALSE(page.pictureVisible);
  EXPECT_FALSE(page.firstRowNarrow);
  EXPECT_EQ(page.rows[0], s->textLines[2]);  // whole: no drop cap below line 1
  for (int i = 0; i < 4; ++i) ScrollDown(*s, page);
  EXPECT_TRUE(page.scrollDownVisible);
  ScrollDown(*s, page);
  EXPECT_EQ(s->topLine, 7);
  EXPECT_FALSE(page.scrollDownVisible);
  EXPECT_EQ(page.rows[0], s->textLines[7]);
  EXPECT_EQ(page.rows[18], s->textLines[25]);
  ScrollDown(*s, page);  // the bottom row never passes the last line
  EXPECT_EQ(s->topLine, 7);

  for (int i = 0; i < 5; ++i) ScrollUp(*s, page);
  EXPECT_EQ(s->topLine, 2);
  EXPECT_TRUE(page.scrollUpVisible);
  EXPECT_TRUE(page.scrollDownVisible);
  ScrollUp(*s, page);
  EXPECT_EQ(s->topLine, 1);
  EXPECT_FALSE(page.scrollUpVisible);
  EXPECT_TRUE(page.pictureVisible);
  EXPECT_TRUE(page.firstRowNarrow);
  EXPECT_EQ(page.rows[0], T("ечер"));
}

TEST(Page, MovesByKeysKeepThePageFullAndSetTheStatesOfThatLine) {
  auto s = TextOf(60);
  PageView page;
  ShowPage(*s, page);
  MoveBy(*s, page, kPageStep);
  EXPECT_EQ(s->topLine, 19);  // line 19 was the bottom row: it stays in view at the top
  EXPECT_TRUE(page.scrollUpVisible && page.scrollDownVisible);
  EXPECT_FALSE(page.pictureVisible || page.firstRowNarrow);
  EXPECT_EQ(page.rows[0], s->textLines[19]);
  MoveTo(*s, page, kMaxTextLines);
  EXPECT_EQ(s->topLine, 42);  // the last line in the bottom row
  EXPECT_FALSE(page.scrollDownVisible);
  EXPECT_EQ(page.rows[18], s->textLines[60]);
  MoveBy(*s, page, -100);
  EXPECT_EQ(s->topLine, 1);
  EXPECT_TRUE(page.pictureVisible && page.firstRowNarrow && page.scrollDownVisible);
  EXPECT_FALSE(page.scrollUpVisible);
  EXPECT_EQ(page.rows[0], T("ечер"));
  EXPECT_EQ(page.firstRowWhole, T("Вечер"));

  auto shortText = TextOf(10);
  MoveBy(*shortText, page, kPageStep);  // a text that fits does not move
  EXPECT_EQ(shortText->topLine, 1);
  EXPECT_FALSE(page.scrollDownVisible);
}

TEST(Page, TheLatestTurnsRowsAreMarked) {
  auto s = TextOf(40);
  PageView page;
  page.freshFirst = 30;
  page.freshLast = 40;
  MoveTo(*s, page, 20);
  for (int k = 0; k < kPageRows; ++k) EXPECT_EQ(page.fresh[static_cast<std::size_t>(k)], 20 + k >= 30) << k;
  EXPECT_EQ(page.rows[10], s->textLines[30]);  // the text itself is not touched
}

TEST(Page, RowsPastTheEndOfTheArrayReadEmpty) {
  auto s = std::make_unique<StoryState>();
  s->topLine = kMaxTextLines - 5;
  s->lineCount = kMaxTextLines;
  s->textLines[kMaxTextLines] = u"last";
  PageView page;
  ShowPage(*s, page);
  EXPECT_EQ(page.rows[5], u"last");
  EXPECT_EQ(page.rows[18], u"");
}

}  // namespace
}  // namespace quorbel
