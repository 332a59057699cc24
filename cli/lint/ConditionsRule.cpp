// Consistency with conditions: a word that needs the sun, rain, frost, a season or the night
// needs a condition line that demands it. The words and what they need are the style's table.
#include <algorithm>
#include <cstdlib>

#include "cli/lint/Material.h"
#include "story/StoryState.h"

namespace quorbel::lint {
namespace {

long Column(const Text& c, std::size_t from, std::size_t n) {
  if (c.size() < from + n) return 0;
  return std::strtol(ToUtf8(c.substr(from, n)).c_str(), nullptr, 10);
}

bool Within(const Requirement& need, long v) {
  for (auto [lo, hi] : need.ranges)
    if (v >= lo && v <= hi) return true;
  return false;
}

// True when every story the record is eligible in meets the requirement.
bool Meets(const Text& c, const Requirement& need) {
  if (need.ranges.empty()) return true;
  if (need.field == "temp") {
    long lo = Column(c, 24, 3), hi = Column(c, 27, 3);
    for (auto [a, b] : need.ranges)
      if (lo >= a && hi <= b) return true;
    return false;
  }
  if (need.field == "months") {
    long first = Column(c, 2, 2), last = Column(c, 6, 2);
    for (auto [a, b] : need.ranges)
      if (first >= a && last <= b && first <= last) return true;
    return false;
  }
  std::size_t col = need.field == "phase"    ? 9
                    : need.field == "band"   ? 12
                    : need.field == "clouds" ? 15
                    : need.field == "precip" ? 18
                    : need.field == "wind"   ? 21
                                             : 0;
  if (col == 0) return true;
  long v = Column(c, col, 2);
  return v != 0 && Within(need, v);
}

long DayOfYear(const Text& c, std::size_t from) {
  long month = Column(c, from + 2, 2);
  if (month < 1 || month > 12) return 0;
  return Column(c, from, 2) + kMonthOffset[static_cast<std::size_t>(month - 1)];
}

}  // namespace

bool MayMeet(const Record& a, const Record& b) {
  const Text &x = a.conditions, &y = b.conditions;
  for (std::size_t col : {9, 12, 15, 18, 21}) {
    long u = Column(x, col, 2), v = Column(y, col, 2);
    if (u != 0 && v != 0 && u != v) return false;
  }
  if (Column(x, 24, 3) > Column(y, 27, 3) || Column(y, 24, 3) > Column(x, 27, 3)) return false;
  if (DayOfYear(x, 0) > DayOfYear(y, 4) || DayOfYear(y, 0) > DayOfYear(x, 4)) return false;
  // Two values of one story token ("_absd_(1)", "_absd_(3)"; "_osh1", "_osh2") never hold at once;
  // two time windows of "_vrm2_" may overlap.
  const Text &p = a.precondition, &q = b.precondition;
  if (p == q) return true;
  for (const char16_t* token : {u"_word_", u"_den1_", u"_absd_", u"_sus2", u"_zug", u"_osh"})
    if (p.starts_with(token) && q.starts_with(token)) return false;
  return true;
}

void CheckConditions(const Material& m, Sink& sink) {
  for (const PhraseFile& f : m.files)
    for (const Record& r : f.records)
      for (const Token& t : r.tokens) {
        if (t.kind != Token::Word) continue;
        for (const ConditionWord& w : m.table.conditions) {
          if (!StemMatches(w.stem, t.lower)) continue;
          bool met = false;
          for (const auto& alternative : w.needs)
            met = met || std::all_of(alternative.begin(), alternative.end(),
                                     [&](const Requirement& need) { return Meets(r.conditions, need); });
          if (!met)
            sink.Add(f.rel, r.conditionsLine, false, "conditions",
                     "\"" + ToUtf8(t.text) + "\" needs " + w.shown + ", which the condition line \"" +
                         ToUtf8(r.conditions) + "\" does not demand",
                     &r);
        }
      }
}

}  // namespace quorbel::lint

namespace quorbel::lint {

// Plot and theme words: poison in a brooch theft, a piano on a night train. A phrase file played
// by stories of several themes or variants may use such a word only in a record whose
// precondition ties it to a fact of the story.
void CheckStoryWords(const Material& m, Sink& sink) {
  for (const PhraseFile& f : m.files)
    for (const Record& r : f.records) {
      if (!r.precondition.empty() && r.precondition[0] != u'_') continue;
      for (const Token& t : r.tokens) {
        if (t.kind != Token::Word) continue;
        for (const StoryWord& w : m.table.story) {
          if (!StemMatches(w.stem, t.lower)) continue;
          for (auto [theme, variant] : f.plays) {
            bool fits =
                (w.themes.empty() || w.themes.count(theme)) && (w.variants.empty() || w.variants.count(variant));
            if (fits) continue;
            sink.Add(f.rel, r.line, false, "conditions",
                     "\"" + ToUtf8(t.text) + "\" fits only " + w.shown + ", and the file is played in theme " +
                         std::to_string(theme) + ", variant " + std::to_string(variant),
                     &r);
            break;
          }
        }
      }
    }
}

}  // namespace quorbel::lint
