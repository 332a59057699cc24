#include "cli/lint/Lint.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include "cli/lint/Material.h"
#include "story/DataError.h"
#include "story/MaterialFiles.h"

namespace quorbel::lint {

Text Lower(TextView t) {
  Text out(t);
  for (char16_t& c : out) {
    if (c >= u'А' && c <= u'Я')
      c = static_cast<char16_t>(c + 0x20);
    else if (c == u'Ё')
      c = u'ё';
    else if (c >= u'A' && c <= u'Z')
      c = static_cast<char16_t>(c + 0x20);
  }
  return out;
}

bool IsUpper(char16_t c) { return (c >= u'А' && c <= u'Я') || c == u'Ё' || (c >= u'A' && c <= u'Z'); }

std::vector<Token> Tokenize(TextView s) {
  std::vector<Token> out;
  auto push = [&](Token::Kind k, TextView text) { out.push_back({k, Text(text), Lower(text)}); };
  std::size_t i = 0;
  while (i < s.size()) {
    char16_t c = s[i];
    if (c == u' ') {
      ++i;
    } else if (c == u'_') {
      if (s.substr(i, 4) == u"_sus" || s.substr(i, 4) == u"_npc") {
        push(Token::Person, s.substr(i, 5));
        i += 5;
      } else if (s.substr(i, 3) == u"_Z_") {
        push(Token::Title, s.substr(i, 3));
        i += 3;
      } else if (s.substr(i, 5) == u"_call") {
        // A shade line is linted where it is written, not where it is borrowed.
        std::size_t close = s.find(u')', i);
        i = close == TextView::npos ? s.size() : std::min(s.size(), close + 2);
      } else {
        std::size_t j = i + 1;
        while (j < s.size() && (IsLetter(s[j]) || s[j] == u'_' || (s[j] >= u'0' && s[j] <= u'9'))) ++j;
        push(Token::Word, s.substr(i, j - i));
        i = j;
      }
    } else if (IsLetter(c) || (c >= u'0' && c <= u'9')) {
      std::size_t j = i;
      while (j < s.size() && (IsLetter(s[j]) || (s[j] >= u'0' && s[j] <= u'9') ||
                              (s[j] == u'-' && j + 1 < s.size() && IsLetter(s[j + 1]))))
        ++j;
      push(Token::Word, s.substr(i, j - i));
      i = j;
    } else if (c == u'—' || (c == u'-' && (i + 1 == s.size() || s[i + 1] == u' '))) {
      push(Token::Dash, u"—");
      ++i;
    } else if (c == u'.') {
      std::size_t j = i;
      while (j < s.size() && s[j] == u'.') ++j;
      push(Token::Punct, s.substr(i, j - i));
      i = j;
    } else {
      push(Token::Punct, s.substr(i, 1));
      ++i;
    }
  }
  return out;
}

bool StemMatches(const Text& stem, const Text& lowerWord) {
  if (!stem.empty() && stem.back() == u'.') return lowerWord == TextView(stem).substr(0, stem.size() - 1);
  return lowerWord.starts_with(stem);
}

namespace {
bool Terminal(const Token& t) {
  return t.kind == Token::Punct && (t.text == u"." || t.text == u"!" || t.text == u"?" || t.text == u"…" ||
                                    t.text == u"..." || t.text == u"?!" || t.text == u"!?");
}
bool StartsUpper(const Token& t) {
  return t.kind == Token::Person || t.kind == Token::Title || (!t.text.empty() && IsUpper(t.text[0]));
}
}  // namespace

std::vector<std::pair<std::size_t, std::size_t>> Sentences(const std::vector<Token>& t) {
  std::vector<std::pair<std::size_t, std::size_t>> out;
  std::size_t start = 0;
  for (std::size_t i = 0; i < t.size(); ++i) {
    if (!Terminal(t[i])) continue;
    std::size_t j = i + 1;
    while (j < t.size() && t[j].kind == Token::Punct && (t[j].text == u"»" || Terminal(t[j]))) ++j;
    if (j < t.size() && t[j].kind == Token::Dash) {
      // "? — спрашивает он": the author's words belong to the replica's sentence.
      if (j + 1 < t.size() && !StartsUpper(t[j + 1])) continue;
    } else if (j < t.size() && !StartsUpper(t[j])) {
      continue;
    }
    out.push_back({start, j});
    start = j;
    i = j - 1;
  }
  if (start < t.size()) out.push_back({start, t.size()});
  return out;
}

std::string Show(const std::vector<Token>& t, const Text& person, const Text& title) {
  static const TextView noBlankBefore = u",.!?:;…»)";
  Text out;
  bool glue = true;
  for (const Token& k : t) {
    Text piece = k.kind == Token::Person ? person : k.text;
    if (k.kind == Token::Title) piece = title;
    bool before = !glue && !(k.kind == Token::Punct && noBlankBefore.find(k.text[0]) != TextView::npos);
    if (before) out += u' ';
    out += piece;
    glue = k.kind == Token::Punct && (k.text == u"«" || k.text == u"(");
  }
  if (out.size() > 90) out = out.substr(0, 87) + u"...";
  return ToUtf8(out);
}

std::vector<const Record*> PhraseFile::Group(int p, int w) const {
  std::vector<const Record*> out;
  for (const Record& r : records)
    if (r.plan == p && r.word == w) out.push_back(&r);
  return out;
}

void Sink::Add(const std::string& file, int line, bool error, const std::string& rule, const std::string& message,
               const Record* record) {
  if (record && record->silenced.count(rule)) return;
  out_.push_back({file, line, error, "[" + rule + "] " + message});
}

namespace {

// The text as the reader sees it: no break marks.
Text Unmarked(TextView t) {
  Text out;
  for (std::size_t i = 0; i < t.size(); ++i) {
    if (t.substr(i, 3) == u"| |") {
      out += u' ';
      i += 2;
    } else if (t[i] != u'|') {
      out += t[i];
    }
  }
  return out;
}

std::set<std::string> SilencedRules(TextView first) {
  std::set<std::string> out;
  std::size_t ok = first.find(u"ok:");
  if (first.empty() || first[0] != u'#' || ok == TextView::npos) return out;
  std::string rest = ToUtf8(first.substr(ok + 3));
  std::string name;
  for (char c : rest + " ") {
    if ((c >= 'a' && c <= 'z') || c == '-') {
      name += c;
    } else if (c == ',' || c == ' ') {
      if (!name.empty()) out.insert(name);
      name.clear();
    } else {
      break;  // the reason that follows the rule names
    }
  }
  return out;
}

PhraseFile ReadPhraseFile(const DataDir& dir, const std::string& rel) {
  PhraseFile f;
  f.rel = rel;
  InputFile in = dir.Open(FromUtf8(rel));
  const auto& lines = in.lines();
  std::size_t i = 0;
  for (; i < lines.size() && !lines[i].empty(); ++i) {
    const Text& l = lines[i];
    Plan p;
    p.line = static_cast<int>(i) + 1;
    p.dialogue = !l.empty() && l[0] == u'1';
    Text words = l.size() > 2 ? l.substr(2, l.find(u'|') == Text::npos ? Text::npos : l.find(u'|') - 2) : Text();
    std::size_t s = 0;
    while (s <= words.size()) {
      std::size_t e = words.find(u' ', s);
      Text w = words.substr(s, e == Text::npos ? Text::npos : e - s);
      if (!w.empty()) {
        p.keys.push_back(w.substr(0, w.size() - 1));
        p.flags.push_back(w.back());
      }
      if (e == Text::npos) break;
      s = e + 1;
    }
    f.plans.push_back(std::move(p));
  }
  int plan = 0, word = 0;
  for (std::size_t r = i + 1; r + 3 < lines.size(); r += 6) {
    Record rec;
    rec.line = static_cast<int>(r) + 4;
    rec.conditionsLine = static_cast<int>(r) + 3;
    rec.silenced = SilencedRules(lines[r]);
    rec.key = lines[r + 1];
    rec.conditions = lines[r + 2];
    rec.text = Unmarked(lines[r + 3]);
    if (r + 4 < lines.size()) rec.precondition = lines[r + 4];
    rec.tokens = Tokenize(rec.text);
    // The group's word: the next plan word (from the current one on) with the record's key.
    for (int p = plan; p < static_cast<int>(f.plans.size()); ++p) {
      const auto& keys = f.plans[static_cast<std::size_t>(p)].keys;
      auto from = keys.begin() + (p == plan ? word : 0);
      auto it = std::find(from, keys.end(), rec.key);
      if (it != keys.end()) {
        plan = p;
        word = static_cast<int>(it - keys.begin());
        rec.plan = plan;
        rec.word = word;
        break;
      }
    }
    f.records.push_back(std::move(rec));
  }
  return f;
}

// The lines of a file; none when it is missing or unreadable (the checker reports that).
std::vector<Text> ReadLines(const DataDir& dir, const std::string& rel) {
  if (!dir.Exists(FromUtf8(rel))) return {};
  try {
    return dir.Open(FromUtf8(rel)).lines();
  } catch (const DataError&) {
    return {};
  }
}

// The condition line of a record that may come at any date, hour and weather.
constexpr const char16_t* kOpenConditions = u"01013112 00 00 00 00 00 -50 50";

// The engine's model of a file; none when it is missing or unreadable (the checker reports that).
template <typename Open>
auto Read(const DataDir& dir, const std::string& rel, Open open) -> decltype(open(dir, Text())) {
  if (!dir.Exists(FromUtf8(rel))) return nullptr;
  try {
    return open(dir, FromUtf8(rel));
  } catch (const DataError&) {
    return nullptr;
  }
}

void ReadTable(const std::vector<Text>& lines, WordTable& t) {
  std::string section;
  for (const Text& raw : lines) {
    Text l = raw.substr(0, raw.find(u'#'));
    while (!l.empty() && l.back() == u' ') l.pop_back();
    if (l.empty()) continue;
    if (l.front() == u'[') {
      section = ToUtf8(l.substr(1, l.find(u']') - 1));
      continue;
    }
    if (section == "pairs") {
      std::size_t bar = l.find(u'|');
      if (bar == Text::npos) continue;
      auto trim = [](Text s) {
        while (!s.empty() && s.front() == u' ') s.erase(0, 1);
        while (!s.empty() && s.back() == u' ') s.pop_back();
        return Lower(s);
      };
      t.pairs.push_back({trim(l.substr(0, bar)), trim(l.substr(bar + 1))});
      continue;
    }
    std::vector<Text> items;
    std::size_t s = 0;
    while (s < l.size()) {
      std::size_t e = l.find(u' ', s);
      Text item = l.substr(s, e == Text::npos ? Text::npos : e - s);
      if (!item.empty()) items.push_back(item);
      if (e == Text::npos) break;
      s = e + 1;
    }
    if (items.empty()) continue;
    if (section == "story") {
      StoryWord w;
      w.stem = Lower(items[0]);
      for (std::size_t k = 1; k < items.size(); ++k) {
        std::string item = ToUtf8(items[k]);
        std::size_t eq = item.find('=');
        if (eq == std::string::npos) continue;
        std::set<int>& into = item.substr(0, eq) == "themes" ? w.themes : w.variants;
        std::string list = item.substr(eq + 1) + ",";
        for (std::size_t a = 0, c; (c = list.find(',', a)) != std::string::npos; a = c + 1)
          if (c > a) into.insert(std::atoi(list.substr(a, c - a).c_str()));
        w.shown += (w.shown.empty() ? "" : " ") + item;
      }
      t.story.push_back(std::move(w));
    } else if (section == "conditions") {
      ConditionWord w;
      w.stem = Lower(items[0]);
      w.needs.emplace_back();
      for (std::size_t k = 1; k < items.size(); ++k) {
        std::string item = ToUtf8(items[k]);
        if (item == "|") {
          w.needs.emplace_back();
          w.shown += " or";
          continue;
        }
        std::size_t eq = item.find('=');
        if (eq == std::string::npos) continue;
        Requirement r;
        r.field = item.substr(0, eq);
        std::string list = item.substr(eq + 1) + ",";
        for (std::size_t a = 0, c; (c = list.find(',', a)) != std::string::npos; a = c + 1) {
          std::string range = list.substr(a, c - a);
          std::size_t dash = range.find('-', 1);
          char* end = nullptr;
          long lo = std::strtol(range.c_str(), &end, 10);
          long hi = dash == std::string::npos ? lo : std::strtol(range.c_str() + dash + 1, &end, 10);
          if (!range.empty()) r.ranges.push_back({lo, hi});
        }
        w.needs.back().push_back(r);
        w.shown += (w.shown.empty() ? "" : " ") + item;
      }
      t.conditions.push_back(std::move(w));
    } else {
      for (const Text& item : items) {
        if (section == "speech") t.speech.insert(Lower(item));
        if (section == "words") t.words.insert(Lower(item));
        if (section == "homographs") t.homographs.insert(Lower(item));
      }
    }
  }
}

}  // namespace

void LintStyle(const DataDir& dir, const std::string& folder, int number,
               const std::vector<std::string>& phraseFiles, const Uses& uses, std::vector<Finding>& out) {
  Material m;
  const std::string n = std::to_string(number);
  auto styleFile = [&](const char16_t* stem) { return folder + "/" + ToUtf8(stem) + n + ".qrb"; };
  // The persons as the story reads them; the gender code is the last character of each.
  if (auto persons = Read(dir, styleFile(stem::kPersons), OpenPersonFile))
    for (const Item& p : persons->persons) {
      const Text entry = Unmarked(p.text);
      if (entry.size() < 2) continue;
      const Text name = entry.substr(0, entry.size() - 1);
      const char16_t code = entry.back();
      if (code == u'ж' && m.femaleName.empty()) m.femaleName = name;
      if (code != u'ж' && m.maleName.empty()) m.maleName = name;
      for (const Token& t : Tokenize(name))
        if (t.kind == Token::Word) m.names.insert(t.lower);
    }
  if (auto words = Read(dir, styleFile(stem::kWords), OpenTitleWords))
    for (const Item& w : words->lines) m.titleWords.push_back(w.text);
  for (const Text& w : m.titleWords)
    for (const Token& t : Tokenize(w)) m.names.insert(t.lower);
  ReadTable(ReadLines(dir, folder + "/lint.txt"), m.table);

  std::error_code ec;
  std::vector<std::string> questionFiles;
  for (const auto& e : std::filesystem::directory_iterator(dir.root() / folder, ec)) {
    std::string name = e.path().filename().string();
    if (HasStem(name, stem::kQuestions) && name.ends_with(".qrb")) questionFiles.push_back(folder + "/" + name);
  }
  std::sort(questionFiles.begin(), questionFiles.end());
  for (const std::string& rel : questionFiles)
    if (auto file = Read(dir, rel, OpenQuestionFile))
      for (const Item& q : file->questions) m.questions.push_back({rel, q.line, Tokenize(q.text)});
  for (const std::string& rel : phraseFiles) {
    try {
      m.files.push_back(ReadPhraseFile(dir, rel));
      if (auto it = uses.find(rel); it != uses.end()) m.files.back().plays = it->second;
    } catch (const DataError&) {
      // The checker reports a file it cannot read; the linter skips it.
    }
  }

  // Shade lines are drawn into any scene of any story of the style, at any hour and in any
  // weather: each is linted as an open record played by every theme and variant. A word said
  // twice in one such aside is its figure, and the file has no comment line to say so.
  if (auto shades = Read(dir, styleFile(stem::kShades), OpenShadeFile)) {
    PhraseFile f;
    f.rel = styleFile(stem::kShades);
    for (const auto& [file, plays] : uses) f.plays.insert(plays.begin(), plays.end());
    for (const ShadeGroup& g : shades->groups)
      for (const Item& l : g.lines) {
        Record r;
        r.line = r.conditionsLine = l.line;
        r.key = g.title;
        r.silenced = {"repetition"};
        r.conditions = kOpenConditions;
        r.text = Unmarked(l.text);
        r.tokens = Tokenize(r.text);
        f.records.push_back(std::move(r));
      }
    m.files.push_back(std::move(f));
  }

  std::set<Text> words;
  for (const PhraseFile& f : m.files)
    for (const Record& r : f.records)
      for (const Token& t : r.tokens)
        if (t.kind == Token::Word) words.insert(t.lower);
  for (const QuestionLine& q : m.questions)
    for (const Token& t : q.tokens)
      if (t.kind == Token::Word) words.insert(t.lower);
  m.morph.Analyse(words);

  Sink sink(out);
#ifndef _WIN32
  // On Linux a missing analyser is a fault of the set-up worth a word; the Windows build never
  // has one, and says so in its documentation rather than in every check.
  if (!m.morph.Available() && !m.files.empty())
    sink.Add(folder + "/", 1, false, "morphology",
             "the Russian analyser (lt-proc with rus-ukr.automorf.bin) was not found: "
             "case and gender are checked by word lists alone");
#endif
  CheckCase(m, sink);
  CheckGender(m, sink);
  CheckDialogue(m, sink);
  CheckConditions(m, sink);
  CheckStoryWords(m, sink);
  CheckRepetition(m, sink);
  CheckYo(m, sink);
  CheckSpelling(m, sink);
}

}  // namespace quorbel::lint
