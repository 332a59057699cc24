#include "phrases/Finishing.h"

#include <algorithm>
#include <array>
#include <vector>

#include "story/Numbers.h"

namespace quorbel::phrases {
namespace {

// The marks a punctuation gap (the mark and a blank) may follow.
constexpr bool IsGapMark(char16_t c) { return c == u',' || c == u'.' || c == u':' || c == u'!' || c == u'?'; }
const Text kIndent = u"   ";
// Russian dialogue opens with an em dash, as the dashes inside a replica do; Windows-1251 has it.
const Text kDialogueLead = u"   \u2014 ";
// Room a line is given at its first segment: a whole justified line, its hyphen included, fits
// in one allocation instead of growing piece by piece.
constexpr std::size_t kLineRoom = 64;

bool BlanksOnly(TextView line) { return line.find_first_not_of(u' ') == TextView::npos; }

// A line that holds nothing a reader would see: blanks, or the dash that opens a dialogue.
bool HoldsNoText(TextView line) { return BlanksOnly(line) || line == kDialogueLead; }

bool EndsWith(TextView text, char16_t c) { return !text.empty() && text.back() == c; }

// Index of the r-th of n chosen places, r = Int(n * Rnd) + 1; kept within 1..n.
std::size_t Pick(std::size_t n, double rnd) {
  Long r = Int(static_cast<double>(n) * rnd) + 1;
  return static_cast<std::size_t>(std::clamp<Long>(r, 1, static_cast<Long>(n)));
}

Long& CheckedLineCount(StoryState& s) {
  if (s.lineCount < 1 || s.lineCount > kMaxTextLines) throw TextLimitError();
  return s.lineCount;
}

void NextLine(StoryState& s) {
  if (CheckedLineCount(s) >= kMaxTextLines) throw TextLimitError();
  ++s.lineCount;
}

}  // namespace

char16_t Capital(char16_t c) {
  if (c == u'ё') return u'Ё';
  if (c >= u'а' && c <= u'я' && c != u'й' && c != u'ъ' && c != u'ы' && c != u'ь')
    return static_cast<char16_t>(c - (u'а' - u'А'));
  return c;
}

Text CloseLine(TextView line) {
  Text closed;
  closed.reserve(std::max(line.size(), kLineRoom));
  closed = line;
  CloseLineInPlace(closed);
  return closed;
}

void CloseLineInPlace(Text& line) {
  std::size_t first = line.find_first_not_of(u' ');
  if (first == Text::npos) first = line.size();
  if (first >= 2)
    line.replace(0, first, kIndent);
  else
    line.erase(0, first);
  const std::size_t last = line.find_last_not_of(u' ');
  line.erase(last == Text::npos ? 0 : last + 1);
}

void JustifyLine(Text& line, int width, bool dialogue, Justify how, Random& rng) {
  const auto w = static_cast<std::size_t>(std::max(width, 0));
  std::size_t n = line.size();  // of the line with the blanks added so far
  if (n >= w) return;
  // The line is given its full width as room, a blank is added by moving what follows it one on,
  // and the line is cut to what it holds at the end.
  line.resize(w);
  char16_t* d = line.data();
  auto addBlank = [&](std::size_t at) {
    std::copy_backward(d + at, d + n, d + n + 1);
    d[at] = u' ';
    ++n;
  };
  // The places a blank may go, as they are after each blank added: one draw picks among them.
  // They are found once and then moved along with the blanks added, which is what finding
  // them afresh would give. There are never more than the line has characters, and they are
  // noted without a branch on each character, which a line's blanks would mostly mispredict.
  // Kept from line to line, so that the many lines of a story do not each allocate it.
  thread_local std::vector<std::size_t> room;
  if (room.size() < w + 1) room.resize(w + 1);
  std::size_t* places = room.data();
  std::size_t count = 0;
  if (how == Justify::Full) {
    // k is the blank of a gap: a mark before it, no second blank after it.
    for (std::size_t k = 1; k < n; ++k) {
      places[count] = k + 1;
      count += d[k] == u' ' && IsGapMark(d[k - 1]) && (k + 1 >= n || d[k + 1] != u' ');
    }
    while (n < w) {
      double rnd = rng.Rnd();
      if (count == 0) break;
      // The widened gap is closed, the gaps after it move one on, and no gap opens.
      const std::size_t i = Pick(count, rnd) - 1;
      addBlank(places[i]);
      --count;
      for (std::size_t j = i; j < count; ++j) places[j] = places[j + 1] + 1;
    }
  }
  std::size_t placesFrom = Text::npos;  // the start the places were found from
  while (n < w) {
    std::size_t start = 0;
    if (TextView(d, n).substr(0, 3) == kIndent) start = 3;
    if (dialogue) start = 5;
    if (start != placesFrom) {
      count = 0;
      for (std::size_t k = start; k < n; ++k) {
        places[count] = k + 1;
        count += d[k] == u' ';
      }
      placesFrom = start;
    }
    double rnd = rng.Rnd();
    if (count == 0) break;
    // The blank added after the chosen one is a place too; the places after it move one on.
    const std::size_t i = Pick(count, rnd) - 1;
    const std::size_t at = places[i];
    addBlank(at);
    for (std::size_t j = count; j > i + 1; --j) places[j] = places[j - 1] + 1;
    places[i + 1] = at + 1;
    ++count;
  }
  line.resize(n);
}

void FinishParagraph(StoryState& s, Random& rng, Text& buffer, const ParagraphPlan& plan) {
  CheckedLineCount(s);
  const bool dialogue = plan.previousKind == u"1";

  // The final gap is kept when the level register (already the next plan's after a look-ahead)
  // names another absurdity level.
  double level = LenientDecimal(plan.planLevel);
  if (!(level != 0 && level != s.settings[setting::Absurdity])) {
    buffer.erase(buffer.size() >= 3 ? buffer.size() - 3 : 0);
    std::size_t first = buffer.find_first_not_of(u' ');
    if (first == Text::npos) {
      buffer.clear();
    } else {
      buffer.erase(buffer.find_last_not_of(u' ') + 1);
      buffer.erase(0, first);
    }
  }

  if (!buffer.empty()) buffer[0] = Capital(buffer[0]);

  if (dialogue) {
    // The dash opens a fresh line; text an earlier paragraph left open on the current line is
    // closed there (ragged, as a paragraph end) rather than overwritten.
    if (!BlanksOnly(s.textLines[s.lineCount])) {
      CloseLineInPlace(s.textLines[s.lineCount]);
      NextLine(s);
    }
    s.textLines[s.lineCount] = kDialogueLead;
  }

  // The marks split the text into segments, placed one by one. Most segments are a syllable
  // that fits: a segment that ends two columns short of the width fits whatever hyphen room and
  // joining blank it needs, so it is copied into the line's room as it is scanned, and only a
  // segment near the width is weighed exactly.
  const TextView text = buffer;
  std::size_t pos = 0;  // the segment being placed starts here
  Text* line = &s.textLines[s.lineCount];
  auto width = static_cast<std::size_t>(LineWidth(s.lineCount));
  std::size_t length = 0;  // of the line; beyond it the line is room to copy into
  bool endsInBlank = EndsWith(*line, u' ');
  auto openRoom = [&] {
    length = line->size();
    if (line->capacity() < kLineRoom) line->reserve(kLineRoom);
    if (length < width) line->resize(width);
  };
  auto closeRoom = [&] { line->resize(length); };
  openRoom();
  while (true) {
    const std::size_t sure = length + 2 <= width ? width - 1 - length : 0;  // scanned: room + the mark
    const std::size_t scan = std::min(sure, text.size() - pos);
    char16_t* out = line->data() + length;
    const char16_t* in = text.data() + pos;
    std::size_t k = 0;
    while (k < scan && in[k] != u'|') {
      out[k] = in[k];
      ++k;
    }
    std::size_t mark = pos + k;
    if (k == scan) {
      mark = text.find(u'|', mark);
      if (mark == TextView::npos) break;
      const std::size_t size = mark - pos;
      const bool gap = size == 1 && text[pos] == u' ';
      // Room for a hyphen when the word goes on after the mark.
      const bool wordGoesOn = mark + 1 < text.size() ? text[mark + 1] != u' ' : true;
      const bool afterHyphen = size > 0 && text[mark - 1] == u'-';
      const std::size_t reserve = wordGoesOn && !afterHyphen ? 1 : 0;
      const bool joined = !gap && !endsInBlank;
      if (length + size + reserve + (joined ? 1 : 0) <= width) {
        std::copy(text.begin() + static_cast<std::ptrdiff_t>(pos + k), text.begin() + static_cast<std::ptrdiff_t>(mark),
                  line->begin() + static_cast<std::ptrdiff_t>(length + k));
      } else {
        closeRoom();
        const TextView segment = text.substr(pos, size);
        if (segment.size() > width && HoldsNoText(*line)) {
          // A segment wider than any line cannot be broken: it runs past the width on the line
          // that holds no text yet, rather than leaving that line empty behind it.
          *line += segment;
          openRoom();
          endsInBlank = text[mark - 1] == u' ';
          pos = mark + 1;
          continue;
        }
        if (CheckedLineCount(s) >= kMaxTextLines) throw TextLimitError();
        Text& closed = *line;
        CloseLineInPlace(closed);
        ++s.lineCount;
        line = &s.textLines[s.lineCount];
        if (!gap) *line += segment;
        if (joined && !EndsWith(closed, u'-')) closed += u'-';
        JustifyLine(closed, static_cast<int>(width), dialogue, Justify::Full, rng);
        width = static_cast<std::size_t>(LineWidth(s.lineCount));
        endsInBlank = EndsWith(*line, u' ');
        openRoom();
        pos = mark + 1;
        continue;
      }
    }
    length += mark - pos;
    if (mark > pos) endsInBlank = text[mark - 1] == u' ';
    pos = mark + 1;
  }
  closeRoom();

  {
    const TextView segment = text.substr(pos);
    Text& last = *line;
    const bool joined = !(segment == u" " || EndsWith(last, u' '));
    if (last.size() + segment.size() + (joined ? 1 : 0) <= width) {
      last += segment;
    } else if (segment.size() > width && HoldsNoText(last)) {
      last += segment;
    } else {
      const Long previous = s.lineCount;
      NextLine(s);
      s.textLines[s.lineCount] += segment;
      if (joined && !EndsWith(s.textLines[previous], u'-')) s.textLines[previous] += u'-';
      JustifyLine(s.textLines[previous], static_cast<int>(width), dialogue, Justify::PlainOnly, rng);
    }
  }

  if (plan.closingMode == u"0") {
    s.textLines[s.lineCount] += u' ';
  } else if (plan.closingMode == u"1") {
    CloseLineInPlace(s.textLines[s.lineCount]);
    NextLine(s);
    s.textLines[s.lineCount] = kIndent;
  }
}

}  // namespace quorbel::phrases
