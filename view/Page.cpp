#include "view/Page.h"

#include <algorithm>

namespace quorbel {

std::string DropCapPicture(int number) {
  return std::string(kDropCapFolder) + "/" + std::to_string(number) + ".gif";
}

std::string DropCapFile(char16_t c) {
  for (const DropCap& e : kDropCaps)
    if (e.letter == c) return DropCapPicture(e.number);
  return {};
}

namespace {
const Text& LineAt(const StoryState& s, long long i) {
  static const Text empty;
  // Lines past the end of the text array read as empty.
  if (i < 0 || i > kMaxTextLines) return empty;
  return s.textLines[i];
}
}  // namespace

void ShowPage(const StoryState& s, PageView& page) {
  const long long top = s.topLine;
  if (top == 1) {
    const Text& first = LineAt(s, 1);
    page.rows[0] = first.empty() ? Text() : first.substr(1);
    if (!first.empty()) {
      std::string file = DropCapFile(first[0]);
      if (!file.empty()) page.dropCapFile = file;  // no match keeps the previous picture
    }
  } else {
    page.rows[0] = LineAt(s, top);
  }
  for (int k = 1; k < kPageRows; ++k) page.rows[static_cast<std::size_t>(k)] = LineAt(s, top + k);
  page.firstRowWhole = LineAt(s, top);
  for (int k = 0; k < kPageRows; ++k)
    page.fresh[static_cast<std::size_t>(k)] =
        page.freshFirst > 0 && top + k >= page.freshFirst && top + k <= page.freshLast;
  if (!LineAt(s, top + kPageRows).empty()) page.scrollDownVisible = true;
}

void ScrollUp(StoryState& s, PageView& page) {
  if (s.topLine > 1) {
    --s.topLine;
    if (s.topLine == 1) {
      page.firstRowNarrow = true;
      page.pictureVisible = true;
    }
    page.scrollDownVisible = true;
    ShowPage(s, page);
  }
  if (s.topLine == 1) page.scrollUpVisible = false;
}

void ScrollDown(StoryState& s, PageView& page) {
  if (s.topLine < s.lineCount - (kPageRows - 1)) {
    ++s.topLine;
    if (s.topLine > 1) page.firstRowNarrow = false;
    page.scrollUpVisible = true;
    page.pictureVisible = false;
    ShowPage(s, page);
  }
  if (s.topLine == s.lineCount - (kPageRows - 1)) page.scrollDownVisible = false;
}

Long LastTopLine(const StoryState& s) { return s.lineCount > kPageRows ? s.lineCount - (kPageRows - 1) : 1; }

void MoveTo(StoryState& s, PageView& page, Long top) {
  s.topLine = std::clamp<Long>(top, 1, LastTopLine(s));
  page.firstRowNarrow = s.topLine == 1;
  page.pictureVisible = s.topLine == 1;
  page.scrollUpVisible = s.topLine > 1;
  page.scrollDownVisible = s.topLine < LastTopLine(s);
  ShowPage(s, page);
}

}  // namespace quorbel
