#include "cli/check/Check.h"

#include <algorithm>
#include <array>
#include <cstdio>

#include "phrases/Eligibility.h"
#include "phrases/PhraseFile.h"
#include "story/Numbers.h"
#include "story/StoryState.h"

namespace quorbel::cli::check {

std::vector<Plan> Checker::JudgePlans(const std::string& rel, const phrases::PhraseFile& file) {
  std::vector<Plan> plans;
  for (const phrases::Plan& model : file.plans) {
    Plan p;
    p.line = model.line;
    p.keys = model.keys;
    p.words = model.words;
    if (p.line == kMaxPlans + 1) Error(rel, p.line, "more than " + std::to_string(kMaxPlans) + " plan lines");
    if (!model.bars) {
      Error(rel, p.line, "a plan line needs two \"|\": kind, blank, words|closing mode|level");
      plans.push_back(p);
      continue;
    }
    if (model.emptyWord) Error(rel, p.line, "an empty plan word (two blanks in a row, or a blank at an end)");
    if (p.words.size() > static_cast<std::size_t>(kMaxPlanWords))
      Error(rel, p.line, "more than " + std::to_string(kMaxPlanWords) + " words in a plan");
    for (const Text& w : p.words)
      if (w.size() < 2) Error(rel, p.line, "the plan word " + Quoted(w) + " has no key before its flag");
    if (!p.keys.empty() && !p.keys[0].empty()) p.initial = p.keys[0].substr(0, 1);
    for (const Text& k : p.keys)
      if (!k.empty() && k.substr(0, 1) != p.initial)
        Error(rel, p.line, "the key " + Quoted(k) + " does not begin with the plan initial " + Quoted(p.initial));
    if (!plans.empty() && !p.initial.empty() && plans.back().initial == p.initial)
      Error(rel, p.line, "the same initial " + Quoted(p.initial) + " as the plan before it");
    const Text& closing = model.closingMode;
    if (closing != u"0" && closing != u"1")
      Warning(rel, p.line, "closing mode " + Quoted(closing) + " is neither 0 nor 1 (the line is left as it is)");
    const Text& level = model.level;
    if (auto n = WholeNumber(level)) {
      p.level = *n;
      if (*n < 0 || *n > 3)
        Warning(rel, p.line, "plan level " + std::to_string(*n) + ": no absurdity level uses this plan");
    } else {
      Error(rel, p.line, "the plan level " + Quoted(level) + " must be a number 0..3");
    }
    p.groups.assign(p.keys.size(), 0);
    plans.push_back(p);
  }
  return plans;
}

void Checker::CheckPhraseFile(Style& s, const std::string& rel) {
  auto f = Load(rel);
  const auto& lines = f->lines();
  const phrases::PhraseFile file = phrases::ParsePhraseFile(*f);
  if (file.plans.empty()) {
    Error(rel, 1, lines.empty() ? "the file is empty" : "an empty first line: no plan line before it");
    return;
  }
  std::vector<Plan> plans = JudgePlans(rel, file);
  const std::size_t i = file.plans.size();
  if (i == lines.size()) {
    Error(rel, static_cast<int>(i), "no empty line after the plan lines");
    return;
  }
  const std::size_t cut = i + 1 + file.records.size() * 6;
  if (cut < lines.size()) {
    bool emptyTail = OnlyEmptyLinesFrom(*f, static_cast<int>(cut) + 1);
    Error(rel, static_cast<int>(cut) + 1,
          emptyTail ? "an empty line after the last record (it is read as the start of another record)"
                    : "the file ends in the middle of a record (six lines each)");
  }

  // The walk follows the engine: a record with the current key stays in the group; any other
  // key closes it, and the record then opens the next word's group (same initial) or the next
  // plan's first group, whatever its key says. A key that does not match what the engine makes
  // of it is reported; the walk then picks up at the word the key names, if any.
  std::size_t p = 0, w = 0;
  Text current;
  int groupSize = 0, groupLine = 0;
  auto keyAt = [&](std::size_t pp, std::size_t ww) -> const Text* {
    if (pp >= plans.size() || ww >= plans[pp].keys.size()) return nullptr;
    return &plans[pp].keys[ww];
  };
  auto mark = [&] {
    if (p < plans.size() && w < plans[p].groups.size()) ++plans[p].groups[w];
  };
  const std::size_t records = file.records.size();
  for (std::size_t r = 0; r < records; ++r) {
    const phrases::PhraseRecord& rec = file.records[r];
    const int keyLine = rec.line + 1;
    const Text& key = rec.key;
    if (r > 0 && key == current) {
      if (++groupSize == kMaxCandidates + 1)
        Error(rel, keyLine, "more than " + std::to_string(kMaxCandidates) + " records in group " + Quoted(key));
    } else {
      std::size_t np = p, nw = w;
      std::string problem;
      if (r == 0) {
        np = 0;
        nw = 0;
      } else if (p < plans.size() && !key.empty() && key.substr(0, 1) == plans[p].initial) {
        nw = w + 1;
        if (nw >= plans[p].keys.size())
          problem = "the key " + Quoted(key) + " follows the last word of plan " + std::to_string(p + 1);
      } else {
        np = p + 1;
        nw = 0;
        if (np >= plans.size())
          problem = "the key " + Quoted(key) + " belongs to no plan after plan " + std::to_string(p + 1);
      }
      const Text* due = keyAt(np, nw);
      if (problem.empty() && due && *due != key)
        problem = "the key " + Quoted(key) + " where " + Quoted(*due) + " is due (plan " + std::to_string(np + 1) +
                  ", word " + std::to_string(nw + 1) + ")";
      if (key.empty()) problem = "an empty key";
      if (!problem.empty()) {
        Error(rel, keyLine, problem);
        // Pick up at the word the key names, searching forward from the engine's position.
        bool found = false;
        for (std::size_t pp = r == 0 ? 0 : p; pp < plans.size() && !found; ++pp)
          for (std::size_t ww = (pp == p && r > 0) ? w + 1 : 0; ww < plans[pp].keys.size(); ++ww)
            if (plans[pp].keys[ww] == key) {
              np = pp;
              nw = ww;
              found = true;
              break;
            }
      }
      p = np;
      w = nw;
      mark();
      current = key;
      groupSize = 1;
      groupLine = keyLine;
    }
    const long long planLevel = p < plans.size() ? plans[p].level : 0;
    const int conditionsLine = keyLine + 1, textLine = keyLine + 2, preLine = keyLine + 3;
    CheckConditions(rel, conditionsLine, rec.conditions);
    std::optional<long long> absd = CheckPrecondition(s, rel, preLine, rec.precondition);
    std::vector<int> levels;
    for (int a = 1; a <= 3; ++a)
      if ((planLevel == 0 || planLevel == a) && (!absd || *absd == a)) levels.push_back(a);
    if (absd && planLevel >= 1 && planLevel <= 3 && *absd >= 1 && *absd <= 3 && *absd != planLevel)
      Warning(rel, preLine,
              "\"_absd_\" level " + std::to_string(*absd) + " in a plan of level " + std::to_string(planLevel) +
                  ": never eligible");
    CheckText(s, rel, textLine, rec.text, levels);
    if (!rec.fact.empty()) {
      s.recordedFacts.insert(rec.fact);
      s.factRecords.push_back({rel, preLine + 1, rec.fact});
    }
  }
  if (records > 0 && groupSize == 1)
    Warning(rel, groupLine, "the last group of the file has a single record, which is never chosen");
  for (std::size_t pp = 0; pp < plans.size(); ++pp) {
    const Plan& plan = plans[pp];
    if (plan.keys.empty()) continue;
    bool none = std::all_of(plan.groups.begin(), plan.groups.end(), [](int g) { return g == 0; });
    if (none) {
      Warning(rel, plan.line, "plan " + std::to_string(pp + 1) + " has no records");
      continue;
    }
    for (std::size_t ww = 0; ww < plan.keys.size(); ++ww)
      if (plan.groups[ww] == 0) Warning(rel, plan.line, "the plan word " + Quoted(plan.words[ww]) + " has no records");
  }
}

void Checker::CheckConditions(const std::string& rel, int line, TextView c) {
  using phrases::kConditionLineLength;
  if (c.size() != kConditionLineLength) {
    Error(rel, line,
          "the conditions line has " + std::to_string(c.size()) + " characters; " +
              std::to_string(kConditionLineLength) + " expected");
    return;
  }
  auto columns = [](std::size_t from, std::size_t width) {
    return " (columns " + std::to_string(from) + "-" + std::to_string(from + width - 1) + ")";
  };
  auto dayOfYear = [&](const phrases::DateColumns& col) -> std::optional<int> {
    TextView day = c.substr(col.day - 1, 2), month = c.substr(col.day + 1, 2);
    int m = AllDigits(month) ? static_cast<int>(LenientNumber(month)) : 0;
    if (m < 1 || m > static_cast<int>(kMonthLength.size())) {
      Error(rel, line,
            std::string(col.name) + " month " + Quoted(month) + " must be \"01\"..\"12\"" + columns(col.day + 2, 2));
      return std::nullopt;
    }
    int d = AllDigits(day) ? static_cast<int>(LenientNumber(day)) : 0;
    if (d < 1 || d > kMonthLength[static_cast<std::size_t>(m - 1)]) {
      Error(
          rel, line,
          std::string(col.name) + " day " + Quoted(day) + " is not a day of month " + U8(month) + columns(col.day, 2));
      return std::nullopt;
    }
    return d + kMonthOffset[static_cast<std::size_t>(m - 1)];
  };
  auto from = dayOfYear(phrases::kDateColumns[0]);
  auto to = dayOfYear(phrases::kDateColumns[1]);
  if (from && to && *from > *to)
    Warning(rel, line, "the date window " + U8(c.substr(0, 8)) + " ends before it begins: never eligible");
  std::vector<std::optional<long long>> temperatures;  // lowest, highest
  for (const phrases::ConditionColumn& col : phrases::kConditionColumns) {
    if (col.last == 0) continue;
    TextView v = c.substr(col.column - 1, col.width);
    auto n = WholeNumber(v);
    if (!n || v.find(u'-') != TextView::npos || v.find(u'+') != TextView::npos || *n > col.last) {
      char range[8];
      std::snprintf(range, sizeof range, "%02d", col.last);
      Error(rel, line,
            std::string(col.name) + " " + Quoted(v) + " must be 00.." + range + columns(col.column, col.width));
    }
  }
  for (const phrases::ConditionColumn& col : phrases::kConditionColumns) {
    if (col.last != 0) continue;
    TextView v = c.substr(col.column - 1, col.width);
    temperatures.push_back(WholeNumber(v));
    if (!temperatures.back())
      Error(rel, line,
            std::string(col.name) + " " + Quoted(v) + " is not a whole number" + columns(col.column, col.width));
  }
  const auto& low = temperatures[0];
  const auto& high = temperatures[1];
  if (low && high && *low > *high)
    Warning(rel, line,
            "lowest temperature " + std::to_string(*low) + " is above highest " + std::to_string(*high) +
                ": never eligible");
}

std::optional<long long> Checker::CheckPrecondition(Style& s, const std::string& rel, int line, TextView pre) {
  if (pre.empty()) return std::nullopt;
  // "_name_" x v x: the value between the two characters that are not read.
  auto value = [&](TextView token, const char* example) -> std::optional<TextView> {
    if (pre.size() < token.size() + 3) {
      Error(rel, line, Quoted(token) + " needs a value between two characters, e.g. " + example);
      return std::nullopt;
    }
    return pre.substr(token.size() + 1, pre.size() - token.size() - 2);
  };
  auto digit = [&](TextView token) -> std::optional<int> {
    if (pre.size() != token.size() + 1 || pre.back() < u'0' || pre.back() > u'9') {
      Error(rel, line, Quoted(token) + " must be followed by one digit and nothing else");
      return std::nullopt;
    }
    return pre.back() - u'0';
  };
  if (StartsWith(pre, u"_word_")) {
    if (auto v = value(u"_word_", "_word_(...)");
        v && s.words && std::find(s.words->begin(), s.words->end(), *v) == s.words->end())
      Warning(rel, line, "the title word " + Quoted(*v) + " is not in the words file: never holds");
  } else if (StartsWith(pre, u"_den1_")) {
    if (auto v = value(u"_den1_", "_den1_(-1)"); v && !WholeNumber(*v))
      Error(rel, line, "\"_den1_\" value " + Quoted(*v) + " is not a whole number");
  } else if (StartsWith(pre, u"_vrm2_")) {
    if (auto v = value(u"_vrm2_", "_vrm2_(0800-1200)")) {
      bool shape = v->size() == 9 && AllDigits(v->substr(0, 4)) && AllDigits(v->substr(5, 4));
      auto minutes = [&](std::size_t at) {
        long long h = LenientNumber(v->substr(at, 2)), m = LenientNumber(v->substr(at + 2, 2));
        return (h > 24 || m > 59) ? -1 : h * 60 + m;
      };
      if (!shape) {
        Error(rel, line, "\"_vrm2_\" value " + Quoted(*v) + " must be two times hhmm, e.g. 0800-1200");
      } else if (minutes(0) < 0 || minutes(5) < 0) {
        Error(rel, line, "\"_vrm2_\" value " + Quoted(*v) + " holds a time that is not hhmm");
      } else if (minutes(0) > minutes(5)) {
        Warning(rel, line, "\"_vrm2_\" window " + Quoted(*v) + " ends before it begins: never eligible");
      }
    }
  } else if (StartsWith(pre, u"_absd_")) {
    if (auto v = value(u"_absd_", "_absd_(3)")) {
      auto n = WholeNumber(*v);
      if (!n) {
        Error(rel, line, "\"_absd_\" value " + Quoted(*v) + " is not a whole number");
      } else {
        if (*n < 1 || *n > 3)
          Warning(rel, line, "\"_absd_\" level " + std::to_string(*n) + ": no absurdity level matches");
        return *n;
      }
    }
  } else if (StartsWith(pre, u"_zug")) {
    if (auto d = digit(u"_zug"); d && *d > 8)
      Warning(rel, line, Quoted(pre) + ": a story has at most eight guesses, never eligible");
  } else if (StartsWith(pre, u"_osh")) {
    if (auto d = digit(u"_osh"); d && *d > 2)
      Warning(rel, line, Quoted(pre) + ": the verdict is 0, 1 or 2, never eligible");
  } else if (StartsWith(pre, u"_sus2")) {
    if (auto v = value(u"_sus2", "_sus2( 1 2)")) {
      bool score = v->size() == 4 && (*v)[0] == u' ' && (*v)[2] == u' ' && AllDigits(v->substr(1, 1)) &&
                   AllDigits(v->substr(3, 1));
      int b = score ? (*v)[1] - u'0' : 0, c = score ? (*v)[3] - u'0' : 0;
      if (!score || b + c > 4 || (b == 3 && c == 1))
        Warning(rel, line, "\"_sus2\" score " + Quoted(*v) + " that no guess can have: never eligible");
    }
  } else {
    s.factUses.push_back({rel, line, Text(pre)});
  }
  return std::nullopt;
}

void Checker::CheckText(Style& s, const std::string& rel, int line, TextView text, const std::vector<int>& levels) {
  if (text.empty()) {
    Error(rel, line, "an empty text (the paragraph would hold two \"|\" in a row)");
    return;
  }
  std::size_t pos = 0;
  bool strayReported = false;
  while ((pos = text.find(u'_', pos)) != TextView::npos) {
    TextView at = text.substr(pos);
    if (StartsWith(at, u"_sus")) {
      if (at.size() < 5 || at[4] < u'1' || at[4] > u'4') Error(rel, line, "\"_sus\" must be followed by a digit 1..4");
      pos += 4;
    } else if (StartsWith(at, u"_npc")) {
      if (at.size() < 5 || at[4] < u'0' || at[4] > u'9') Error(rel, line, "\"_npc\" must be followed by a digit");
      pos += 4;
    } else if (StartsWith(at, u"_call")) {
      std::size_t close = at.size() > 6 ? at.find(u')', 6) : TextView::npos;
      if (close == TextView::npos) {
        Error(rel, line, "\"_call\" without \")\" after its title");
        pos += 5;
        continue;
      }
      TextView title = at.substr(6, close - 6);
      if (close + 1 >= at.size() || (at[close + 1] != u'0' && at[close + 1] != u'1'))
        Error(rel, line, "\"_call\" needs the flag 0 or 1 after \")\"");
      if (title.empty()) {
        Error(rel, line, "\"_call\" with an empty title");
      } else if (s.shades) {
        auto applies = [&](int a) {
          return std::any_of(s.shades->begin(), s.shades->end(),
                             [&](const ShadeTitle& g) { return g.title == title && (g.level == 0 || g.level == a); });
        };
        bool anywhere =
            std::any_of(s.shades->begin(), s.shades->end(), [&](const ShadeTitle& g) { return g.title == title; });
        if (!anywhere) {
          Error(rel, line, "no shade group " + Quoted(title) + " in the shade file");
        } else {
          for (int a : levels)
            if (!applies(a))
              Warning(rel, line,
                      "no shade group " + Quoted(title) + " applies at absurdity level " + std::to_string(a));
        }
      }
      pos += close + 1;
    } else if (StartsWith(at, u"_Z_")) {
      Warning(rel, line, "\"_Z_\" stays as written: phrase texts replace only \"_sus\", \"_npc\" and \"_call\"");
      pos += 3;
    } else {
      if (!strayReported) Warning(rel, line, "\"_\" that starts no token (\"_sus\", \"_npc\", \"_call\")");
      strayReported = true;
      ++pos;
    }
  }
  CheckBreaks(rel, line, text);
}

}  // namespace quorbel::cli::check
