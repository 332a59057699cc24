#include "tools/MarkText.h"

#include <hyphen.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <stdexcept>
#include <system_error>

#include "phrases/PhraseFile.h"
#include "story/DataError.h"
#include "story/MaterialFiles.h"
#include "story/TextFile.h"

#ifndef QUORBEL_HYPHEN_PATTERNS
#define QUORBEL_HYPHEN_PATTERNS "/usr/share/hyphen/hyph_ru_RU.dic"
#endif

// libhyphen's pattern loader keeps a few bytes that hnj_hyphen_free never releases; the leak
// checker of sanitizer builds is told to ignore them (the functions are unused otherwise).
extern "C" const char* __lsan_default_suppressions() { return "leak:libhyphen.so\n"; }
extern "C" const char* __lsan_default_options() { return "print_suppressions=0"; }

namespace quorbel::material {
namespace {

constexpr char16_t kEmDash = u'\u2014';
constexpr char16_t kNoBreakSpace = u'\u00A0';

bool IsRussian(char16_t c) { return (c >= u'\u0410' && c <= u'\u044F') || c == u'\u0401' || c == u'\u0451'; }

char16_t Lower(char16_t c) {
  if (c >= u'\u0410' && c <= u'\u042F') return static_cast<char16_t>(c + 0x20);
  if (c == u'\u0401') return u'\u0451';
  return c;
}

// A part of a hyphenated word may not begin with these.
bool CannotBeginPart(char16_t c) {
  char16_t l = Lower(c);
  return l == u'ь' || l == u'ъ' || l == u'й';
}

bool IsLatinOrDigit(char16_t c) {
  return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9');
}

bool IsConsonant(char16_t c) { return IsRussian(c) && !IsVowel(c) && !CannotBeginPart(c); }

// Whether a run (from a consonant) goes on into "ск", "ств" or ends in "ться"/"тся".
bool ClusterFollows(TextView run) {
  Text lower;
  for (char16_t c : run) lower += Lower(c);
  const TextView rest = TextView(lower).substr(1);
  return rest.starts_with(u"ск") || rest.starts_with(u"ств") || lower == u"ться" || lower == u"тся";
}

// "полчаса" broken after "пол" reads as the misspelt "пол-часа".
bool IsHalfWord(TextView run) {
  Text lower;
  for (char16_t c : run) lower += Lower(c);
  for (const char16_t* stem : {u"полчас", u"полден", u"полдн", u"полноч", u"полгод", u"полмину", u"полсотн", u"полжизн",
                               u"полвек", u"полпут", u"полдорог", u"полслов", u"полшаг"})
    if (TextView(lower).starts_with(stem)) return true;
  return false;
}

// Whether the letters are one prefix or a chain of them ("не", "поне", "несо", "разо").
bool IsPrefixChain(TextView lower) {
  if (lower.empty()) return true;
  for (const char16_t* prefix : {u"не",  u"ни",    u"по",   u"со",  u"на",   u"за",  u"до",  u"во",   u"вы",  u"про",
                                 u"пре", u"при",   u"пере", u"о",   u"обо",  u"об",  u"ото", u"от",   u"изо", u"из",
                                 u"ис",  u"разо",  u"раз",  u"рас", u"безо", u"без", u"бес", u"подо", u"под", u"надо",
                                 u"над", u"предо", u"пред", u"взо", u"вз",   u"вс",  u"воз", u"вос",  u"само"}) {
    const TextView pre(prefix);
    if (lower.starts_with(pre) && IsPrefixChain(lower.substr(pre.size()))) return true;
  }
  return false;
}

// A sonorant between a vowel and another consonant stays with the vowel ("пен|сионерка", not
// "пе|нсионерка"), unless what precedes it is a prefix ("не|много", "по|нравится", "со|рвать").
bool SonorantStays(TextView before, TextView run) {
  if (before.empty() || run.size() < 2 || !IsVowel(before.back()) || !IsConsonant(run[1])) return false;
  const char16_t s = Lower(run[0]);
  if (s != u'н' && s != u'л' && s != u'р' && s != u'м') return false;
  Text lower;
  for (char16_t c : before) lower += Lower(c);
  return !IsPrefixChain(lower);
}

// The Russian patterns are in KOI8-R; ё is not among them and hyphenates like е.
char KoiOf(char16_t lower) {
  static const unsigned char kKoi[32] = {0xC1, 0xC2, 0xD7, 0xC7, 0xC4, 0xC5, 0xD6, 0xDA, 0xC9, 0xCA, 0xCB,
                                         0xCC, 0xCD, 0xCE, 0xCF, 0xD0, 0xD2, 0xD3, 0xD4, 0xD5, 0xC6, 0xC8,
                                         0xC3, 0xDE, 0xDB, 0xDD, 0xDF, 0xD9, 0xD8, 0xDC, 0xC0, 0xD1};
  if (lower == u'ё') lower = u'е';
  return static_cast<char>(kKoi[lower - u'а']);
}

std::string Utf8Of(char16_t c) { return ToUtf8(Text(1, c)); }

// Whether the parts of a compound either side of its hyphen at h are whole words of at least
// four letters, the second not a particle ("-нибудь", "-либо", "-таки").
bool LongPartsAround(TextView word, std::size_t h) {
  std::size_t from = h, to = h + 1;
  while (from > 0 && IsRussian(word[from - 1])) --from;
  while (to < word.size() && IsRussian(word[to])) ++to;
  Text before, after;
  for (char16_t c : word.substr(from, h - from)) before += Lower(c);
  for (char16_t c : word.substr(h + 1, to - h - 1)) after += Lower(c);
  if (before.size() < 4 || after.size() < 4) return false;
  return after != u"нибудь" && after != u"либо" && after != u"таки";
}

// A part of a hyphenated word: at least two letters, one of them a vowel.
bool GoodPart(TextView part) {
  int letters = 0;
  bool vowel = false;
  for (char16_t c : part) {
    if (IsRussian(c)) ++letters;
    if (IsVowel(c)) vowel = true;
  }
  return letters >= 2 && vowel;
}

// Inserts "|" at the hyphenation points of one blank-free word. Characters flagged opaque belong
// to text tokens, which are never split.
Text HyphenateWord(const Hyphenator& hyph, const Text& word, const std::vector<bool>& opaque,
                   std::size_t shortestTail = 2) {
  const std::size_t n = word.size();
  for (std::size_t i = 0; i < n; ++i)
    if (!opaque[i] && IsLatinOrDigit(word[i])) return word;
  // A word of four letters or fewer stays whole: "до-ев", "ок-но" leave two scraps of a word.
  if (std::count_if(word.begin(), word.end(), IsRussian) < 5) return word;

  std::vector<std::size_t> cands;
  std::size_t i = 0;
  while (i < n) {
    if (opaque[i] || !IsRussian(word[i])) {
      ++i;
      continue;
    }
    std::size_t b = i;
    while (b < n && !opaque[b] && IsRussian(word[b])) ++b;
    const bool half = IsHalfWord(TextView(word).substr(i, b - i));
    for (std::size_t k : hyph.Points(TextView(word).substr(i, b - i))) {
      if (half && k == 3) continue;
      std::size_t p = i + k;
      // "медицин|ский", "согласить|ся", not "медици|нский", "согласи|ться": the patterns put the
      // consonant of a suffix cluster on the next line, where readers stumble over it.
      if (p + 1 < b && IsConsonant(word[p]) && ClusterFollows(TextView(word).substr(p, b - p)))
        ++p;
      else if (p + 1 < b && SonorantStays(TextView(word).substr(i, p - i), TextView(word).substr(p, b - p)))
        ++p;
      // "подъ|езд", not "под|ъезд": a point before ь, ъ or й moves past it.
      while (p < b && CannotBeginPart(word[p])) ++p;
      if (p < b) cands.push_back(p);
    }
    i = b;
  }
  // A compound is broken only at its hyphen, which stays on the line ("Бублик-/Задунайский"): a
  // break inside one of its parts ("Буб-/лик-Задунайский") reads worse, and so does one that
  // leaves a short part or a particle alone ("кто-/нибудь").
  if (TextView(word).find(u'-') != TextView::npos) {
    cands.clear();
    for (std::size_t h = 0; h < n; ++h)
      if (!opaque[h] && word[h] == u'-' && LongPartsAround(TextView(word), h)) cands.push_back(h + 1);
  }
  std::sort(cands.begin(), cands.end());
  cands.erase(std::unique(cands.begin(), cands.end()), cands.end());

  std::vector<std::size_t> points;
  std::size_t last = 0;
  TextView w(word);
  for (std::size_t p : cands) {
    if (CannotBeginPart(word[p])) continue;
    if (!GoodPart(w.substr(last, p - last)) || !GoodPart(w.substr(p))) continue;
    if (std::count_if(w.begin() + static_cast<std::ptrdiff_t>(p), w.end(), IsRussian) <
        static_cast<std::ptrdiff_t>(shortestTail))
      continue;
    points.push_back(p);
    last = p;
  }
  Text out;
  std::size_t from = 0;
  for (std::size_t p : points) {
    out.append(word, from, p - from);
    out += u'|';
    from = p;
  }
  out.append(word, from, Text::npos);
  return out;
}

// Length of the text token starting at i, or 0 when none starts there.
std::size_t TokenAt(TextView line, std::size_t i, std::vector<std::string>& problems) {
  TextView rest = line.substr(i);
  if (rest.starts_with(u"_sus") || rest.starts_with(u"_npc")) {
    if (rest.size() >= 5 && rest[4] >= u'0' && rest[4] <= u'9') return 5;
    problems.push_back("the token \"" + ToUtf8(rest.substr(0, 4)) + "\" lacks its digit");
    return 4;
  }
  if (rest.starts_with(u"_call")) {
    std::size_t close = rest.size() > 6 ? rest.find(u')', 6) : TextView::npos;
    if (close == TextView::npos || close + 1 >= rest.size()) {
      problems.push_back("an unfinished \"_call\" token (it reads \"_call(title)1\")");
      return rest.size();
    }
    return close + 2;
  }
  if (rest.starts_with(u"_Z_")) return 3;
  return 0;
}

void CheckBlanks(TextView line, std::vector<std::string>& problems) {
  if (!line.empty() && (line.front() == u' ' || line.back() == u' '))
    problems.push_back("a blank at the start or the end of the text");
  if (line.find(u"  ") != TextView::npos) problems.push_back("two blanks in a row");
  if (line.find(u'\t') != TextView::npos) problems.push_back("a tab in the text (write a blank)");
}

// One name of a person entry, the code character kept glued to its end.
Text MarkEntry(const Hyphenator& hyph, TextView value, std::vector<std::string>& problems) {
  if (value.empty()) {
    problems.push_back("an empty person entry");
    return Text();
  }
  char16_t code = value.back();
  if (code != u'м' && code != u'ж') {
    problems.push_back("the person entry \"" + ToUtf8(value) + "\" does not end with the gender code \"м\" or \"ж\"");
    return Text(value);
  }
  TextView name = value.substr(0, value.size() - 1);
  if (name.empty() || name.back() == u' ') {
    problems.push_back("the gender code of \"" + ToUtf8(value) + "\" must follow the name directly");
    return Text(value);
  }
  return MarkText(hyph, name, problems) + code;
}

bool HasExtension(const std::filesystem::path& p, std::initializer_list<const char*> exts) {
  std::string e = p.extension().string();
  std::transform(e.begin(), e.end(), e.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  for (const char* x : exts)
    if (e == x) return true;
  return false;
}

std::string ReadAll(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot be read");
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool SameContent(const std::filesystem::path& path, const std::string& bytes) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(path, ec)) return false;
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::string have((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  return have == bytes;
}

}  // namespace

Hyphenator::Hyphenator(const std::string& patternFile) : dict_(hnj_hyphen_load(patternFile.c_str())) {
  if (!dict_) throw std::runtime_error("cannot load the hyphenation patterns " + patternFile);
  std::string cset = static_cast<HyphenDict*>(dict_)->cset;
  if (cset != "KOI8-R") {
    hnj_hyphen_free(static_cast<HyphenDict*>(dict_));
    throw std::runtime_error(patternFile + " is in " + cset + ", the converter reads KOI8-R Russian patterns");
  }
}

Hyphenator::~Hyphenator() { hnj_hyphen_free(static_cast<HyphenDict*>(dict_)); }

std::string Hyphenator::DefaultPatternFile() { return QUORBEL_HYPHEN_PATTERNS; }

std::vector<std::size_t> Hyphenator::Points(TextView word) const {
  std::string koi;
  for (char16_t c : word) {
    if (!IsRussian(c)) return {};
    koi.push_back(KoiOf(Lower(c)));
  }
  const int n = static_cast<int>(koi.size());
  std::vector<char> hyphens(koi.size() + 5, '0');
  char** rep = nullptr;
  int* pos = nullptr;
  int* cut = nullptr;
  hnj_hyphen_hyphenate3(static_cast<HyphenDict*>(dict_), koi.c_str(), n, hyphens.data(), nullptr, &rep, &pos, &cut, 2,
                        2, 2, 2);
  if (rep) {
    for (int k = 0; k < n; ++k) std::free(rep[k]);
    std::free(rep);
  }
  std::free(pos);
  std::free(cut);
  std::vector<std::size_t> points;
  for (int k = 0; k + 1 < n; ++k)
    if (hyphens[static_cast<std::size_t>(k)] & 1) points.push_back(static_cast<std::size_t>(k) + 1);
  return points;
}

Text MarkText(const Hyphenator& hyph, TextView line, std::vector<std::string>& problems, std::size_t shortestTail) {
  if (line.find(u'|') != TextView::npos) {
    problems.push_back("a \"|\" written by hand (the converter places the break marks)");
    return Text(line);
  }
  CheckBlanks(line, problems);
  Text out;
  Text word;
  std::vector<bool> opaque;
  auto flush = [&] {
    out += HyphenateWord(hyph, word, opaque);
    word.clear();
    opaque.clear();
  };
  std::size_t i = 0;
  while (i < line.size()) {
    if (line[i] == u' ') {
      flush();
      // A dash never begins a line: the blank before it cannot break.
      out += (i + 1 < line.size() && line[i + 1] == kEmDash) ? Text(u" ") : Text(u"| |");
      ++i;
      continue;
    }
    std::size_t len = line[i] == u'_' ? TokenAt(line, i, problems) : 0;
    if (len > 0) {
      word.append(line.substr(i, len));
      opaque.insert(opaque.end(), len, true);
      i += len;
      continue;
    }
    word += line[i];
    opaque.push_back(false);
    ++i;
  }
  out += HyphenateWord(hyph, word, opaque, shortestTail);
  return out;
}

Text MarkPersonLine(const Hyphenator& hyph, TextView line, std::vector<std::string>& problems) {
  if (line.empty()) {
    problems.push_back("an empty line (it would be read as an empty person entry)");
    return Text();
  }
  if (line.find(u'|') != TextView::npos) {
    problems.push_back("a \"|\" written by hand (the converter places the break marks)");
    return Text(line);
  }
  Text out;
  std::size_t i = 0;
  const std::size_t n = line.size();
  while (true) {
    // Blanks before a field are skipped by the field read, so they stay plain.
    while (i < n && line[i] == u' ') out += line[i++];
    std::size_t comma;
    if (i < n && line[i] == u'"') {
      std::size_t close = line.find(u'"', i + 1);
      if (close == TextView::npos) {
        problems.push_back("an unclosed quote");
        out.append(line.substr(i));
        return out;
      }
      out += u'"';
      out += MarkEntry(hyph, line.substr(i + 1, close - i - 1), problems);
      out += u'"';
      comma = line.find(u',', close + 1);
      out.append(line.substr(close + 1, comma == TextView::npos ? TextView::npos : comma - close - 1));
    } else {
      comma = line.find(u',', i);
      out += MarkEntry(hyph, line.substr(i, comma == TextView::npos ? TextView::npos : comma - i), problems);
    }
    if (comma == TextView::npos) return out;
    out += u',';
    i = comma + 1;
  }
}

SourceKind KindOf(const std::filesystem::path& relPath) {
  if (!HasExtension(relPath, {".qrb", ".cfg", ".txt"})) return SourceKind::Binary;
  std::vector<std::string> parts;
  for (const auto& p : relPath) parts.push_back(p.string());
  if (parts.size() != 2 || !HasExtension(relPath, {".qrb"})) return SourceKind::Plain;
  const std::string& name = parts[1];
  if (HasStem(name, stem::kPersons)) return SourceKind::Persons;
  if (HasStem(name, stem::kShades)) return SourceKind::Shades;
  if (name == ToUtf8(kThemeCatalogue)) return SourceKind::Plain;
  for (const char16_t* prefix :
       {stem::kWords, stem::kVariants, stem::kQuestions, stem::kOpening, stem::kMain, stem::kFinal})
    if (HasStem(name, prefix)) return SourceKind::Plain;
  return SourceKind::Phrases;
}

std::vector<Text> ConvertLines(const Hyphenator& hyph, SourceKind kind, std::vector<Text> lines,
                               const std::string& displayName, std::vector<ConvertError>& errors) {
  auto mark = [&](std::size_t index, bool person) {
    std::vector<std::string> problems;
    lines[index] = person ? MarkPersonLine(hyph, lines[index], problems)
                          : MarkText(hyph, lines[index], problems, kParagraphEndTail);
    for (auto& p : problems) errors.push_back({displayName, static_cast<int>(index) + 1, std::move(p)});
  };
  const std::size_t n = lines.size();
  // Only phrase records (empty precondition or fact) and shade groups may end with an empty line;
  // elsewhere it would be read as one more entry.
  if (kind == SourceKind::Plain && n > 0 && lines.back().empty())
    errors.push_back({displayName, static_cast<int>(n), "an empty line at the end of the file"});

  switch (kind) {
    case SourceKind::Plain:
    case SourceKind::Binary:
      break;
    case SourceKind::Phrases: {
      auto blank = std::find(lines.begin(), lines.end(), Text());
      if (blank == lines.begin() || blank == lines.end()) {
        errors.push_back({displayName, 1, "no plan lines followed by an empty line"});
        break;
      }
      std::size_t first = static_cast<std::size_t>(blank - lines.begin()) + 1;
      // A source cannot end with an empty line without looking like it has a stray one, so a
      // last record that stops after its precondition gets its empty fact line here.
      if ((n - first) % 6 == 5) lines.emplace_back();
      if ((lines.size() - first) % 6 != 0) {
        errors.push_back(
            {displayName, static_cast<int>(n), "the file ends in the middle of a record (records are six lines each)"});
        break;
      }
      // The records as the story reads them; the checks above leave only whole ones.
      InputFile file = InputFile::FromLines(std::make_shared<const std::vector<Text>>(lines), displayName);
      for (const phrases::PhraseRecord& rec : phrases::ParsePhraseFile(file).records) {
        // A short conditions line shifts the temperature columns and quietly makes the record
        // ineligible, so it is refused here.
        if (rec.conditions.size() != phrases::kConditionLineLength)
          errors.push_back({displayName, rec.line + 2,
                            "the conditions line has " + std::to_string(rec.conditions.size()) + " characters, not " +
                                std::to_string(phrases::kConditionLineLength)});
        mark(static_cast<std::size_t>(rec.line - 1) + 3, false);
      }
      break;
    }
    case SourceKind::Persons:
      for (std::size_t k = 0; k < n; ++k) mark(k, true);
      break;
    case SourceKind::Shades: {
      std::size_t k = 0;
      while (k < n) {
        // Level, title and flag, each on its own line; then the shade lines up to an empty line.
        if (lines[k].empty()) {
          errors.push_back({displayName, static_cast<int>(k) + 1, "an empty line where a group's level belongs"});
          break;
        }
        if (k + 2 >= n) {
          errors.push_back({displayName, static_cast<int>(k) + 1, "a group without its title and flag lines"});
          break;
        }
        if (lines[k].find(u',') != Text::npos || lines[k + 2].find(u',') != Text::npos) {
          errors.push_back(
              {displayName, static_cast<int>(k) + 1, "write the level and the flag on lines of their own"});
          break;
        }
        k += 3;
        while (k < n && !lines[k].empty()) mark(k++, false);
        ++k;  // the empty line that ends the group
      }
      break;
    }
  }
  return lines;
}

std::vector<Text> SourceLines(std::string_view utf8, const std::string& displayName,
                              std::vector<ConvertError>& errors) {
  if (utf8.starts_with("\xEF\xBB\xBF")) utf8.remove_prefix(3);
  std::vector<Text> lines;
  std::size_t start = 0;
  while (start < utf8.size()) {
    std::size_t end = utf8.find('\n', start);
    std::string_view raw = utf8.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
    if (raw.ends_with('\r')) raw.remove_suffix(1);
    Text line = FromUtf8(raw);
    const int number = static_cast<int>(lines.size()) + 1;
    for (char16_t c : line) {
      std::string problem;
      if (c == u'\uFFFD')
        problem = "malformed UTF-8 (the sources are UTF-8)";
      else if (c == u'\r')
        problem = "a carriage return inside the line";
      else if (c == kNoBreakSpace)
        problem = "a non-breaking space (write a plain blank)";
      else if (!EncodeCp1251(TextView(&c, 1))) {
        char code[8];
        std::snprintf(code, sizeof code, "%04X", static_cast<unsigned>(c));
        problem = "a character Windows-1251 cannot hold: \"" + Utf8Of(c) + "\" (U+" + code + ")";
      }
      if (!problem.empty()) {
        errors.push_back({displayName, number, problem});
        break;
      }
    }
    lines.push_back(std::move(line));
    if (end == std::string_view::npos) break;
    start = end + 1;
  }
  return lines;
}

TreeStats ConvertTree(const Hyphenator& hyph, const std::filesystem::path& srcRoot,
                      const std::filesystem::path& outRoot, std::vector<ConvertError>& errors) {
  namespace fs = std::filesystem;
  TreeStats stats;
  std::vector<fs::path> files;
  for (auto it = fs::recursive_directory_iterator(srcRoot); it != fs::recursive_directory_iterator(); ++it) {
    std::string name = it->path().filename().string();
    // Editor and version-control leftovers are not material.
    if (name.starts_with(".") || name.ends_with("~") || name.ends_with(".tmp")) {
      if (it->is_directory()) it.disable_recursion_pending();
      continue;
    }
    if (it->is_regular_file()) files.push_back(fs::relative(it->path(), srcRoot));
  }
  std::sort(files.begin(), files.end());

  for (const fs::path& rel : files) {
    const fs::path src = srcRoot / rel;
    const fs::path out = outRoot / rel;
    const std::string display = src.generic_string();
    const SourceKind kind = KindOf(rel);
    try {
      std::string bytes = ReadAll(src);
      if (kind != SourceKind::Binary) {
        const std::size_t before = errors.size();
        std::vector<Text> lines = ConvertLines(hyph, kind, SourceLines(bytes, display, errors), display, errors);
        if (errors.size() != before) continue;
        std::string encoded;
        for (const Text& line : lines) encoded += EncodeCp1251(line).value_or("") + "\r\n";
        ++stats.converted;
        if (SameContent(out, encoded)) {
          ++stats.unchanged;
          continue;
        }
        fs::create_directories(out.parent_path());
        WriteTextFile(out, lines, display);
        continue;
      }
      ++stats.copied;
      if (SameContent(out, bytes)) {
        ++stats.unchanged;
        continue;
      }
      fs::create_directories(out.parent_path());
      WriteFileBytes(out, bytes, display);
    } catch (const DataError& e) {
      errors.push_back({display, e.line(), e.problem()});
    } catch (const std::exception& e) {
      errors.push_back({display, 0, e.what()});
    }
  }
  return stats;
}

}  // namespace quorbel::material
