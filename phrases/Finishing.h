#pragma once
// Text finishing: one paragraph of chosen phrases becomes justified lines of textLines.
// Internal to the phrase engine; exposed for its tests.
#include <stdexcept>

#include "story/Problems.h"
#include "story/Random.h"
#include "story/StoryState.h"
#include "story/Text.h"

namespace quorbel::phrases {

// Raised when the text would have to move past the last line textLines can hold
// (or lineCount is already outside 1..10000).
class TextLimitError : public std::runtime_error {
 public:
  TextLimitError() : std::runtime_error(Reported().English()) {}
  static Problem Reported() { return Problem::Of(ProblemId::TextPastLastLine, kMaxTextLines); }
};

// The registers of the phrase file walk that shape a paragraph.
struct ParagraphPlan {
  Text previousKind;  // "1": a dialogue paragraph
  Text closingMode;   // "0": the last line stays open; "1": closed and a new indented line
  Text planLevel;     // as the walk holds it (after a look-ahead: the next plan's level)
};

// Line width for the line being written: the story's first line is narrower (the drop cap).
inline int LineWidth(Long lineCount) { return lineCount == 1 ? 45 : 51; }

// The first character of a paragraph made a capital when it is one of the 29 letters that have one.
char16_t Capital(char16_t c);

// A line that is finished: two or more leading blanks become the three-blank indent, otherwise
// the leading blanks go; trailing blanks go.
Text CloseLine(TextView line);
void CloseLineInPlace(Text& line);

enum class Justify { Full, PlainOnly };

// Pads line to width by inserting blanks one at a time. Full: first widens the gaps after
// punctuation (each at most once), then any blank; PlainOnly: any blank only. Every pass draws
// one Rnd, also a pass that finds nothing to widen; such a pass ends its stage, so a line without
// a blank to widen is left short. Dialogue lines keep their first five columns ("   — ").
void JustifyLine(Text& line, int width, bool dialogue, Justify how, Random& rng);

// Appends the paragraph buffer (phrases each followed by "| |") to textLines from the current
// line on and leaves lineCount at the last line written; buffer is used up (left trimmed).
// Throws TextLimitError.
void FinishParagraph(StoryState& s, Random& rng, Text& buffer, const ParagraphPlan& plan);

}  // namespace quorbel::phrases
