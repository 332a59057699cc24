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
