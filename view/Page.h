#pragma once
// The page: 19 rows onto the story text, the drop-cap picture of its first letter, and the two
// scroll buttons. Plain data the window mirrors.
#include <array>
#include <string>

#include "story/StoryState.h"

namespace quorbel {

constexpr int kPageRows = 19;
// Keyboard paging keeps one line of the old page in view.
constexpr int kPageStep = kPageRows - 1;
constexpr int kWheelLines = 3;  // lines per wheel notch

struct PageView {
  std::array<Text, kPageRows> rows{};  // Label51..Label69
  std::string dropCapFile;             // e.g. "Letters/3.gif"; empty: none loaded yet
  bool pictureVisible = false;         // Picture1
  bool firstRowNarrow = true;          // Label51 at x 1155, width 6660 (else x 120, width 7700)
  bool scrollUpVisible = false;        // Command1
  bool scrollDownVisible = false;      // Command2
  // Row 1's line in full, shown at full width when no drop-cap picture can be drawn.
  Text firstRowWhole;
  // Lines first..last of the text are the latest turn's (0: none); fresh marks their rows.
  Long freshFirst = 0;
  Long freshLast = 0;
  std::array<bool, kPageRows> fresh{};
};

// The capitals that have a drop-cap picture, in alphabet order, with their position in the
// 33-letter alphabet; Й, Ъ, Ы, Ь have none.
struct DropCap {
  char16_t letter;
  int number;
};
inline constexpr std::array<DropCap, 29> kDropCaps = {
    {{u'А', 1},  {u'Б', 2},  {u'В', 3},  {u'Г', 4},  {u'Д', 5},  {u'Е', 6},  {u'Ё', 7},  {u'Ж', 8},
     {u'З', 9},  {u'И', 10}, {u'К', 12}, {u'Л', 13}, {u'М', 14}, {u'Н', 15}, {u'О', 16}, {u'П', 17},
     {u'Р', 18}, {u'С', 19}, {u'Т', 20}, {u'У', 21}, {u'Ф', 22}, {u'Х', 23}, {u'Ц', 24}, {u'Ч', 25},
     {u'Ш', 26}, {u'Щ', 27}, {u'Э', 31}, {u'Ю', 32}, {u'Я', 33}}};
// The folder of the pictures, and the picture of the capital at that position.
inline constexpr const char* kDropCapFolder = "Letters";
std::string DropCapPicture(int number);

// The picture of a capital of the drop-cap table, or empty when the character has none.
std::string DropCapFile(char16_t first);

// Redraws the rows from topLine. Always shows the current text.
void ShowPage(const StoryState& s, PageView& page);
// Command1: one line up; Command2: one line down.
void ScrollUp(StoryState& s, PageView& page);
void ScrollDown(StoryState& s, PageView& page);
// The last topLine that still fills the page (1 for a text that fits on it).
Long LastTopLine(const StoryState& s);
// Puts line top (kept within 1..LastTopLine) in the first row, with the drop cap, the first
// row's width and the scroll buttons as the scroll buttons would leave them there.
void MoveTo(StoryState& s, PageView& page, Long top);
inline void MoveBy(StoryState& s, PageView& page, Long lines) { MoveTo(s, page, s.topLine + lines); }

}  // namespace quorbel
