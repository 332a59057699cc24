#pragma once
// The page: 19 rows onto the story text, the drop-cap picture of its first letter, and the two
// scroll buttons. Plain data the window mirrors.
#include <array>
#include <string>

#include "story/StoryState.h"

namespace quorbel {

constexpr int kPageRows = 19;

struct PageView {
  std::array<Text, kPageRows> rows{};  // Label51..Label69
  std::string dropCapFile;             // e.g. "Letters/3.gif"; empty: none loaded yet
  bool pictureVisible = false;         // Picture1
  bool firstRowNarrow = true;          // Label51 at x 1155, width 6660 (else x 120, width 7700)
  bool scrollUpVisible = false;        // Command1
  bool scrollDownVisible = false;      // Command2
};

// The picture of a capital of the drop-cap table, or empty when the character has none.
std::string DropCapFile(char16_t first);

// Redraws the rows from topLine. Always shows the current text.
void ShowPage(const StoryState& s, PageView& page);
// Command1: one line up; Command2: one line down.
void ScrollUp(StoryState& s, PageView& page);
void ScrollDown(StoryState& s, PageView& page);

}  // namespace quorbel
