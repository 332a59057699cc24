#include "cli/Checker.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <filesystem>
#include <map>
#include <optional>
#include <ostream>
#include <set>
#include <string>
#include <system_error>
#include <vector>

#include "cli/lint/Lint.h"
#include "story/DataError.h"
#include "story/MaterialFiles.h"
#include "story/Numbers.h"
#include "story/Platform.h"
#include "story/PlotBuilder.h"
#include "story/StoryState.h"

namespace quorbel::cli {
namespace {

struct Finding {
  std::string file;
  int line;
  bool error;
  std::string message;
};

std::string U8(TextView t) { return ToUtf8(t); }
bool StartsWith(TextView t, TextView prefix) { return t.substr(0, prefix.size()) == prefix; }

// A number field as the material should write it: optional blanks, optional sign, digits,
// optional blanks. The program reads anything leniently; the checker wants the plain form.
std::optional<long long> WholeNumber(TextView t) {
  std::size_t i = 0;
  while (i < t.size() && t[i] == u' ') ++i;
  bool negative = false;
  if (i < t.size() && (t[i] == u'-' || t[i] == u'+')) {
    negative = t[i] == u'-';
    ++i;
  }
  std::size_t digits = 0;
  long long value = 0;
  while (i < t.size() && t[i] >= u'0' && t[i] <= u'9') {
    if (value < 1000000000LL) value = value * 10 + (t[i] - u'0');
    ++i;
    ++digits;
  }
  while (i < t.size() && t[i] == u' ') ++i;
  if (digits == 0 || i != t.size()) return std::nullopt;
  return negative ? -value : value;
}

bool AllDigits(TextView t) {
  return !t.empty() && std::all_of(t.begin(), t.end(), [](char16_t c) { return c >= u'0' && c <= u'9'; });
}


bool IsLetter(char16_t c) {
  return (c >= u'А' && c <= u'я') || c == u'ё' || c == u'Ё' || (c >= u'a' && c <= u'z') ||
         (c >= u'A' && c <= u'Z');
}

bool IsVowel(char16_t c) {
  static const TextView vowels = u"аеёиоуыэюяАЕЁИОУЫЭЮЯaeiouyAEIOUY";
  return vowels.find(c) != TextView::npos;
}

// Offset of the first multi-byte sequence when the whole file is valid UTF-8 and has one.
std::optional<std::size_t> Utf8MultiByte(std::string_view b) {
  std::optional<std::size_t> first;
  std::size_t i = 0;
  while (i < b.size()) {
    auto c = static_cast<unsigned char>(b[i]);
    std::size_t len = 0;
    if (c < 0x80) {
      ++i;
      continue;
    }
    if (c >= 0xC2 && c <= 0xDF)
      len = 2;
    else if (c >= 0xE0 && c <= 0xEF)
      len = 3;
    else if (c >= 0xF0 && c <= 0xF4)
      len = 4;
    else
      return std::nullopt;
    if (i + len > b.size()) return std::nullopt;
    for (std::size_t k = 1; k < len; ++k)
      if ((static_cast<unsigned char>(b[i + k]) & 0xC0) != 0x80) return std::nullopt;
    if (!first) first = i;
    i += len;
  }
  return first;
}

// Two UTF-8 Cyrillic letters in a row inside a Windows-1251 file: read as Windows-1251 they
// show as "Р°Рґ"-like pairs, which Russian text never holds.
std::optional<std::size_t> Mojibake(std::string_view b) {
  auto lead = [](unsigned char c) { return c == 0xD0 || c == 0xD1; };
  auto cont = [](unsigned char c) { return c >= 0x80 && c <= 0xBF; };
  for (std::size_t i = 0; i + 3 < b.size(); ++i) {
    auto u = [&](std::size_t k) { return static_cast<unsigned char>(b[i + k]); };
    if (lead(u(0)) && cont(u(1)) && lead(u(2)) && cont(u(3))) return i;
  }
  return std::nullopt;
}

int LineAt(std::string_view bytes, std::size_t offset) {
  return 1 + static_cast<int>(std::count(bytes.begin(), bytes.begin() + static_cast<long>(offset), '\n'));
}

struct ShadeTitle {
  Text title;
  long long level;
  int line;  // the title line
  int levelLine;
};

struct FactUse {
  std::string file;
  int line;
  Text fact;
};

struct Style {
  std::string folder;  // as written in styles.qrb (UTF-8)
  int number = 0;
  int line = 0;  // line of the pair in styles.qrb
  std::optional<std::vector<ShadeTitle>> shades;
  std::optional<std::vector<Text>> words;
  std::set<Text> recordedFacts;
  std::vector<FactUse> factUses;
  std::vector<std::string> phraseFiles;  // in order of first mention
  std::set<std::string> phraseSeen;
  lint::Uses uses;                          // the themes and variants that play each phrase file
  std::pair<int, int> playing{0, 0};        // theme and variant of the episode file being read
  int themeCount = 0;
};

struct Plan {
  int line = 0;
  Text initial;
  std::vector<Text> words;
  std::vector<Text> keys;
  long long level = 0;
  std::vector<int> groups;  // groups found for each word
};

class Checker {
 public:
  explicit Checker(const DataDir& dir) : dir_(dir) {}

  void Run() {
    Guard("styles.qrb", [&] { CheckStyles(); });
    for (Style& style : styles_) Guard(style.folder + "/", [&] { CheckStyle(style); });
    Guard("quorbel.cfg", [&] { CheckSettings(); });
    Guard("Letters", [&] { CheckLetters(); });
    CheckNameCase();
  }

  int Print(std::ostream& out) const {
    std::vector<Finding> sorted = findings_;
    std::stable_sort(sorted.begin(), sorted.end(), [&](const Finding& a, const Finding& b) {
      if (a.error != b.error) return a.error;
      int fa = fileOrder_.at(a.file), fb = fileOrder_.at(b.file);
      if (fa != fb) return fa < fb;
      return a.line < b.line;
    });
    int errors = 0, warnings = 0;
    for (const Finding& f : sorted) {
      out << f.file << ':' << f.line << ": " << (f.error ? "error: " : "warning: ") << f.message << '\n';
      (f.error ? errors : warnings) += 1;
    }
    out << errors << (errors == 1 ? " error, " : " errors, ") << warnings
        << (warnings == 1 ? " warning" : " warnings") << '\n';
    return errors > 0 ? 1 : 0;
  }

 private:
  void Add(const std::string& file, int line, bool error, std::string message) {
    fileOrder_.emplace(file, static_cast<int>(fileOrder_.size()));
    findings_.push_back({file, std::max(line, 1), error, std::move(message)});
  }
  void Error(const std::string& file, int line, std::string message) {
    Add(file, line, true, std::move(message));
  }
  void Warning(const std::string& file, int line, std::string message) {
    Add(file, line, false, std::move(message));
  }

  // A fault the checks below did not foresee still becomes a finding, not a crash.
  template <class F>
  void Guard(const std::string& file, F&& f) {
    try {
      f();
    } catch (const DataError& e) {
      Error(e.file().empty() ? file : e.file(), e.line(), e.problem());
    }
  }

  // True when every line from the next read on is empty: a file closed by an extra line end.
  static bool OnlyEmptyLinesFrom(const InputFile& f, int line) {
    const auto& lines = f.lines();
    return std::all_of(lines.begin() + (line - 1), lines.end(), [](const Text& l) { return l.empty(); });
  }
  bool TrailingEmptyLines(const InputFile& f, const std::string& rel) {
    return TrailingEmptyLines(f, f.LineNumber(), rel);
  }
  bool TrailingEmptyLines(const InputFile& f, int line, const std::string& rel) {
    if (!OnlyEmptyLinesFrom(f, line)) return false;
    Error(rel, line,
          "an empty line after the last record (it is read as the start of another record)");
    return true;
  }

  bool Exists(const std::string& rel) const { return dir_.Exists(FromUtf8(rel)); }

  // Reads a text file's bytes, reports encoding and line-end faults, and returns it ready for
  // the program's own reads; nothing when the file is missing (the caller reports that).
  std::optional<InputFile> Load(const std::string& rel) {
    if (!Exists(rel)) return std::nullopt;
    std::string bytes = ReadFileBytes(dir_.PathOf(FromUtf8(rel)), rel);
    for (std::size_t i = 0; i < bytes.size(); ++i) {
      if (bytes[i] == '\n' && (i == 0 || bytes[i - 1] != '\r')) {
        Error(rel, LineAt(bytes, i), "the line ends with LF alone, not CR LF");
        break;
      }
      if (bytes[i] == '\r' && (i + 1 == bytes.size() || bytes[i + 1] != '\n')) {
        Error(rel, LineAt(bytes, i), "a CR without LF");
        break;
      }
    }
    if (!bytes.empty() && bytes.back() != '\n')
      Error(rel, LineAt(bytes, bytes.size()), "the last line does not end with CR LF");
    for (std::size_t i = 0; i < bytes.size(); ++i) {
      auto c = static_cast<unsigned char>(bytes[i]);
      if (c < 0x20 && c != '\r' && c != '\n') {
        char hex[8];
        std::snprintf(hex, sizeof hex, "0x%02X", c);
        Error(rel, LineAt(bytes, i), std::string("a control character (") + hex + ")");
        break;
      }
    }
    Text content;
    if (auto multi = Utf8MultiByte(bytes)) {
      Error(rel, LineAt(bytes, *multi), "the file is UTF-8, not Windows-1251");
      // Checked on as if converted, so that one wrong encoding does not bury the other findings.
      content = FromUtf8(bytes);
    } else {
      if (auto moj = Mojibake(bytes)) {
        auto shown = DecodeCp1251(std::string_view(bytes).substr(*moj, 4));
        Error(rel, LineAt(bytes, *moj),
              "UTF-8 text in a Windows-1251 file (" + Quoted(shown ? *shown : Text()) + ")");
      }
      std::size_t bad = bytes.find('\x98');
      if (bad != std::string::npos) {
        Error(rel, LineAt(bytes, bad), "the byte 0x98, which Windows-1251 does not define");
        std::replace(bytes.begin(), bytes.end(), '\x98', '?');
      }
      content = DecodeCp1251(bytes).value_or(Text());
    }
    return InputFile::FromText(content, rel);
  }

  // ---------------------------------------------------------------- catalogues and settings

  void CheckStyles() {
    const std::string rel = "styles.qrb";
    auto f = Load(rel);
    if (!f) {
      Error(rel, 1, "file not found");
      return;
    }
    const StyleCatalogue catalogue = ParseStyleCatalogue(*f);
    if (catalogue.lineCount == 0) Error(rel, 1, "no style listed");
    if (catalogue.oddLine)
      Error(rel, catalogue.lineCount, "a style folder without its display name (pairs of lines)");
    int number = 0;
    for (const StyleEntry& e : catalogue.styles) {
      ++number;
      if (e.folder.empty()) {
        Error(rel, e.line, "an empty style folder name");
        continue;
      }
      if (auto fault = NameFault(e.folder)) {
        Error(rel, e.line, *fault);
        continue;
      }
      if (e.displayName.empty()) Error(rel, e.line + 1, "an empty style name");
      Style s;
      s.folder = U8(e.folder);
      s.number = number;
      s.line = e.line;
      styles_.push_back(std::move(s));
    }
  }

  void CheckSettings() {
    const std::string rel = "quorbel.cfg";
    auto f = Load(rel);
    if (!f) {
      Error(rel, 1, "file not found");
      return;
    }
    std::array<long long, 10> v{};
    for (int i = 0; i < 10; ++i) {
      if (f->Eof()) {
        Error(rel, std::max(1, f->LineCount()), "only " + std::to_string(i) + " settings; ten expected");
        return;
      }
      int line = f->LineNumber();
      Text t = f->ReadTextField();
      auto n = WholeNumber(t);
      std::string what = "setting " + std::to_string(i + 1) + " (" + setting::kRules[i + 1].name + ")";
      if (!n) {
        Error(rel, line, what + " " + Quoted(t) + " is not a whole number");
        continue;
      }
      v[i] = *n;
      // Style and theme are checked against the catalogues below.
      const bool catalogued = i + 1 == setting::Style || i + 1 == setting::Theme;
      const long long highest = setting::kRules[i + 1].last;
      if (*n < 0 || (!catalogued && *n > highest)) {
        Error(rel, line, what + " must be 0.." + (catalogued ? "N" : std::to_string(highest)));
        continue;
      }
      if (i == 0 && *n > static_cast<long long>(styles_.size()) && !styles_.empty())
        Warning(rel, line,
                what + " " + std::to_string(*n) + ": only " + std::to_string(styles_.size()) +
                    " styles are listed (the last one is taken)");
      if (i == 1 && v[0] >= 1 && v[0] <= static_cast<long long>(styles_.size()) && *n > 0) {
        int count = styles_[static_cast<std::size_t>(v[0] - 1)].themeCount;
        if (count > 0 && *n > count)
          Warning(rel, line,
                  what + " " + std::to_string(*n) + ": the style has only " + std::to_string(count) +
                      " themes (the last one is taken)");
      }
    }
    if (!f->Eof()) Warning(rel, f->LineNumber(), "more than ten settings; the rest is never read");
  }

  // Two names that differ only in case are two files here but one on a Windows disk.
  void CheckNameCase() {
    namespace fs = std::filesystem;
    std::error_code ec;
    std::vector<std::string> names;
    for (fs::recursive_directory_iterator it(dir_.root(), ec), end; !ec && it != end; it.increment(ec)) {
      std::string rel;
      for (const fs::path& part : it->path().lexically_relative(dir_.root()))
        rel += (rel.empty() ? "" : "/") + PathToUtf8(part);
      names.push_back(rel);
    }
    std::sort(names.begin(), names.end());
    std::map<Text, std::string> seen;
    for (const std::string& name : names) {
      Text folded = FromUtf8(name);
      for (char16_t& c : folded) {
        if ((c >= u'A' && c <= u'Z') || (c >= u'А' && c <= u'Я')) c = static_cast<char16_t>(c + 0x20);
        if (c == u'Ё') c = u'ё';
      }
      auto [it, fresh] = seen.emplace(folded, name);
      if (!fresh)
        Warning(name, 1, "the name differs from " + it->second + " only in case; a Windows disk keeps one of them");
    }
  }

  void CheckLetters() {
    static const std::array<int, 29> numbers = {1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 12, 13, 14, 15, 16,
                                                17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 27, 31, 32, 33};
    std::error_code ec;
    if (!std::filesystem::is_directory(dir_.root() / "Letters", ec)) {
      Error("Letters", 1, "folder not found (29 letter pictures Letters/N.gif expected)");
      return;
    }
    for (int n : numbers) {
      std::string rel = "Letters/" + std::to_string(n) + ".gif";
      if (!Exists(rel)) {
        Error(rel, 1, "letter picture not found");
        continue;
      }
      std::string bytes = ReadFileBytes(dir_.PathOf(FromUtf8(rel)), rel);
      if (bytes.compare(0, 4, "GIF8") != 0)
        Error(rel, 1, "not a GIF picture (it does not start with \"GIF8\")");
    }
  }

  // ---------------------------------------------------------------- one style

  std::string StyleFile(const Style& s, const std::string& base) const {
    return s.folder + "/" + base + "_" + std::to_string(s.number) + ".qrb";
  }

  void CheckStyle(Style& s) {
    const std::string themesRel = s.folder + "/themes.qrb";
    auto themes = Load(themesRel);
    if (!themes) {
      Error("styles.qrb", s.line, Quoted(FromUtf8(themesRel)) + " not found");
      return;
    }
    std::vector<bool> themeHasZ;
    int firstZ = 0;
    for (std::size_t i = 0; i < themes->lines().size(); ++i) {
      const Text& t = themes->lines()[i];
      int line = static_cast<int>(i) + 1;
      if (t.empty()) Error(themesRel, line, "an empty theme line");
      std::size_t z = t.find(u"_Z_");
      themeHasZ.push_back(z != Text::npos);
      if (z != Text::npos && firstZ == 0) firstZ = line;
      if (z != Text::npos && t.find(u"_Z_", z + 3) != Text::npos)
        Warning(themesRel, line, "a second \"_Z_\" stays in the title as written");
    }
    if (themeHasZ.empty()) Error(themesRel, 1, "no theme listed");
    s.themeCount = static_cast<int>(themeHasZ.size());

    const std::string wordsRel = StyleFile(s, "words");
    if (Exists(wordsRel)) {
      Guard(wordsRel, [&] { CheckWords(s, wordsRel); });
    } else if (firstZ > 0) {
      Error(themesRel, firstZ, Quoted(FromUtf8(wordsRel)) + " not found (the title words for \"_Z_\")");
    }
    const std::string persRel = StyleFile(s, "pers");
    if (Exists(persRel))
      Guard(persRel, [&] { CheckPersons(persRel); });
    else
      Error("styles.qrb", s.line, Quoted(FromUtf8(persRel)) + " not found");
    int variants = 0;
    const std::string varRel = StyleFile(s, "var");
    if (Exists(varRel))
      Guard(varRel, [&] { variants = CheckVariants(varRel); });
    else
      Error("styles.qrb", s.line, Quoted(FromUtf8(varRel)) + " not found");
    const std::string shadeRel = StyleFile(s, "ottens");
    if (Exists(shadeRel))
      Guard(shadeRel, [&] { CheckShades(s, shadeRel); });
    else
      Error("styles.qrb", s.line, Quoted(FromUtf8(shadeRel)) + " not found");

    for (int t = 1; t <= s.themeCount; ++t) {
      for (int v = 1; v <= variants; ++v) {
        std::string suffix = std::to_string(t) + "_" + std::to_string(v) + ".qrb";
        auto need = [&](const std::string& base) -> std::optional<std::string> {
          std::string rel = s.folder + "/" + base + "_" + suffix;
          if (Exists(rel)) return rel;
          Error(themesRel, t,
                Quoted(FromUtf8(rel)) + " not found (theme " + std::to_string(t) + ", variant " +
                    std::to_string(v) + ")");
          return std::nullopt;
        };
        if (auto rel = need("qst"))
          Guard(*rel, [&] { CheckQuestions(*rel, themeHasZ[static_cast<std::size_t>(t - 1)], t); });
        s.playing = {t, v};
        if (auto rel = need("ncl")) Guard(*rel, [&] { CheckEpisodes(s, *rel, false); });
        if (auto rel = need("osn")) Guard(*rel, [&] { CheckEpisodes(s, *rel, true); });
        if (auto rel = need("fin")) Guard(*rel, [&] { CheckFinals(s, *rel); });
      }
    }
    for (std::size_t i = 0; i < s.phraseFiles.size(); ++i) {
      std::string rel = s.phraseFiles[i];
      Guard(rel, [&] { CheckPhraseFile(s, rel); });
    }
    for (const FactUse& use : s.factUses)
      if (!s.recordedFacts.count(use.fact))
        Warning(use.file, use.line, "no record of the style records the fact " + Quoted(use.fact));
    // The language of the text, as the reader will see it, in the phrase files that load clean.
    std::set<std::string> faulty;
    for (const Finding& f : findings_)
      if (f.error) faulty.insert(f.file);
    std::vector<std::string> clean;
    for (const std::string& rel : s.phraseFiles)
      if (!faulty.count(rel)) clean.push_back(rel);
    std::vector<lint::Finding> language;
    lint::LintStyle(dir_, s.folder, s.number, clean, s.uses, language);
    for (lint::Finding& f : language) Add(f.file, f.line, f.error, std::move(f.message));
  }

  void CheckWords(Style& s, const std::string& rel) {
    auto f = Load(rel);
    const auto& lines = f->lines();
    if (lines.empty()) Error(rel, 1, "no title word");
    if (lines.size() > static_cast<std::size_t>(kMaxTitleWords))
      Error(rel, kMaxTitleWords + 1, "more than " + std::to_string(kMaxTitleWords) + " title words");
    for (std::size_t i = 0; i < lines.size(); ++i)
      if (lines[i].empty()) Error(rel, static_cast<int>(i) + 1, "an empty title word");
    s.words = lines;
  }

  void CheckPersons(const std::string& rel) {
    auto f = Load(rel);
    const PersonFile file = ParsePersonFile(*f);
    std::set<Text> distinct;
    int count = 0;
    if (file.persons.empty() && !file.fault) Error(rel, 1, "no person");
    for (const Item& person : file.persons) {
      const Text& entry = person.text;
      if (++count == kMaxPersons + 1)
        Error(rel, person.line, "more than " + std::to_string(kMaxPersons) + " persons");
      if (entry.size() < 2) {
        Error(rel, person.line, "a person entry needs a name and a code character: " + Quoted(entry));
        continue;
      }
      distinct.insert(entry);
      CheckBreaks(rel, person.line, TextView(entry).substr(0, entry.size() - 1));
    }
    if (file.fault) {
      Error(rel, file.fault->error.line(), file.fault->error.problem());
      return;
    }
    if (count > 0 && distinct.size() < 10)
      Error(rel, 1, "only " + std::to_string(distinct.size()) + " distinct persons; a cast needs ten");
  }

  int CheckVariants(const std::string& rel) {
    auto f = Load(rel);
    const VariantFile file = ParseVariantFile(*f);
    int count = 0;
    bool whole = true;
    for (const Variant& v : file.variants) {
      if (TrailingEmptyLines(*f, v.line, rel)) {
        whole = false;
        break;
      }
      ++count;
      if (!WholeNumber(v.weightText))
        Error(rel, v.weightLine, "the weight " + Quoted(v.weightText) + " must be a whole number 0 or more");
    }
    if (whole && file.fault) {
      whole = false;
      if (TrailingEmptyLines(*f, file.fault->recordLine, rel)) {
      } else if (file.fault->atEnd) {
        Error(rel, file.fault->recordLine, "a variant without its weight");
      } else {
        Error(rel, file.fault->error.line(), file.fault->error.problem());
        return 0;
      }
    }
    if (count == 0) {
      Error(rel, 1, "no plot variant");
    } else if (whole) {
      // The story's own reading decides what it rejects, so both say the same.
      try {
        VariantTotal(file);
      } catch (const DataError& e) {
        Error(rel, e.line(), e.problem());
      }
    }
    return count;
  }

  void CheckShades(Style& s, const std::string& rel) {
    auto f = Load(rel);
    const ShadeFile file = ParseShadeFile(*f);
    std::vector<ShadeTitle> groups;
    if (file.groups.empty() && !file.fault) Error(rel, 1, "no shade group");
    for (const ShadeGroup& g : file.groups) {
      int count = 0;
      for (const Item& l : g.lines) {
        if (++count == kMaxShadeLines + 1)
          Error(rel, l.line,
                "more than " + std::to_string(kMaxShadeLines) + " lines in shade group " + Quoted(g.title));
        CheckBreaks(rel, l.line, l.text);
      }
      auto n = WholeNumber(g.levelText);
      if (!n) {
        Error(rel, g.line, "the group level " + Quoted(g.levelText) + " must be a number 0..3");
        n = -1;
      } else if (*n < 0 || *n > 3) {
        Warning(rel, g.line, "group level " + std::to_string(*n) + " applies at no absurdity level");
      }
      if (g.title.empty())
        Error(rel, g.titleLine, "an empty group title (it ends the search for every later group)");
      if (!WholeNumber(g.flagText))
        Error(rel, g.flagLine, "the shuffle flag " + Quoted(g.flagText) + " must be a number");
      if (count == 0) Warning(rel, g.titleLine, "shade group " + Quoted(g.title) + " has no lines");
      groups.push_back({g.title, *n, g.titleLine, g.line});
    }
    if (file.fault) {
      if (!file.fault->atEnd) {
        Error(rel, file.fault->error.line(), file.fault->error.problem());
        return;
      }
      Error(rel, file.fault->recordLine, "a shade group cut short (level, title and flag expected)");
    }
    for (int a = 1; a <= 3; ++a) {
      std::map<Text, int> seen;
      int applying = 0;
      for (const ShadeTitle& g : groups) {
        if (g.level != 0 && g.level != a) continue;
        if (++applying == kMaxShadeGroups + 1)
          Error(rel, g.levelLine,
                "more than " + std::to_string(kMaxShadeGroups) + " shade groups apply at absurdity level " +
                    std::to_string(a));
        auto [it, fresh] = seen.emplace(g.title, g.line);
        if (!fresh && !g.title.empty())
          Warning(rel, g.line,
                  "the title " + Quoted(g.title) + " repeats that of line " + std::to_string(it->second) +
                      " at absurdity level " + std::to_string(a) + ": only the first group is drawn from");
      }
    }
    s.shades = std::move(groups);
  }

  void CheckQuestions(const std::string& rel, bool themeHasZ, int theme) {
    auto f = Load(rel);
    const auto& lines = f->lines();
    if (lines.size() < 12)
      Error(rel, std::max<int>(1, static_cast<int>(lines.size())),
            "only " + std::to_string(lines.size()) + " questions; 12 expected");
    if (lines.size() > 12) Error(rel, 13, "more than 12 questions");
    for (std::size_t i = 0; i < lines.size() && i < 12; ++i) {
      int line = static_cast<int>(i) + 1;
      if (lines[i].empty()) Error(rel, line, "an empty question");
      if (!themeHasZ && Contains(lines[i], u"_Z_"))
        Warning(rel, line,
                "\"_Z_\" in a question of theme " + std::to_string(theme) +
                    ", whose title has no \"_Z_\" (it shows the title word of an earlier story)");
    }
  }

  // ---------------------------------------------------------------- episode files

  void ReferPhraseFile(Style& s, TextView name, const std::string& from, int line) {
    if (name.empty()) {
      Error(from, line, "no phrase file named");
      return;
    }
    if (auto fault = NameFault(name)) {
      Error(from, line, *fault);
      return;
    }
    std::string rel = s.folder + "/" + U8(name) + ".qrb";
    if (!Exists(rel)) {
      Error(from, line, "phrase file " + Quoted(FromUtf8(rel)) + " not found");
      return;
    }
    if (s.phraseSeen.insert(rel).second) s.phraseFiles.push_back(rel);
    s.uses[rel].insert(s.playing);
  }

  void CheckRange(const std::string& rel, int line, TextView range, const char* what) {
    std::size_t dash = range.find(u'-');
    if (dash == TextView::npos || !AllDigits(range.substr(0, dash)) || !AllDigits(range.substr(dash + 1))) {
      Error(rel, line, std::string(what) + " " + Quoted(range) + " must be two whole numbers lo-hi");
      return;
    }
    if (LenientNumber(range.substr(0, dash)) > LenientNumber(range.substr(dash + 1)))
      Error(rel, line, std::string(what) + " " + Quoted(range) + ": lo is above hi");
  }

  void CheckEpisodes(Style& s, const std::string& rel, bool main) {
    auto f = Load(rel);
    if (f->Eof()) Error(rel, 1, "no episode record");
    int groups = 0, inGroup = 0, groupLine = 0;
    bool allCertain = true;
    long long key = 0;
    std::set<long long> keysSeen;
    auto closeGroup = [&] {
      if (main && groups > 0 && allCertain && inGroup < 8)
        Warning(rel, groupLine,
                "group " + std::to_string(key) + " has " + std::to_string(inGroup) +
                    " records, all with chance 100: it can run dry before the eighth guess");
    };
    while (!f->Eof()) {
      if (TrailingEmptyLines(*f, rel)) break;
      int start = f->LineNumber();
      Text keyT, chance, brk, file, days, minutes;
      int chanceLine = 0, breakLine = 0, fileLine = 0, daysLine = 0, minutesLine = 0;
      try {
        keyT = f->ReadTextField();
        f->ReadLine();
        chanceLine = f->LineNumber();
        chance = f->ReadTextField();
        breakLine = f->LineNumber();
        brk = f->ReadTextField();
        fileLine = f->LineNumber();
        file = f->ReadTextField();
        daysLine = f->LineNumber();
        days = f->ReadLine();
        minutesLine = f->LineNumber();
        minutes = f->ReadLine();
      } catch (const DataError&) {
        Error(rel, start, "the file ends in the middle of an episode record (seven reads)");
        break;
      }
      auto k = WholeNumber(keyT);
      if (!k) Error(rel, start, "the group key " + Quoted(keyT) + " must be a whole number");
      long long thisKey = LenientNumber(keyT);
      if (groups == 0 || thisKey != key) {
        closeGroup();
        ++groups;
        if (groups == kMaxGroups + 1)
          Error(rel, start, "more than " + std::to_string(kMaxGroups) + " groups");
        if (!keysSeen.insert(thisKey).second)
          Warning(rel, start,
                  "group key " + std::to_string(thisKey) +
                      " comes back after another group and starts a new group");
        key = thisKey;
        inGroup = 0;
        groupLine = start;
        allCertain = true;
      }
      if (++inGroup == kMaxGroupRecords + 1)
        Error(rel, start,
              "more than " + std::to_string(kMaxGroupRecords) + " records in group " + std::to_string(key));
      auto c = WholeNumber(chance);
      if (!c || *c < 0 || *c > 100) Error(rel, chanceLine, "chance " + Quoted(chance) + " must be 0..100");
      if (!c || *c < 100) allCertain = false;
      if (!WholeNumber(brk)) Error(rel, breakLine, "the break " + Quoted(brk) + " must be a whole number");
      ReferPhraseFile(s, file, rel, fileLine);
      CheckRange(rel, daysLine, days, "day range");
      CheckRange(rel, minutesLine, minutes, "minute range");
    }
    closeGroup();
  }

  void CheckFinals(Style& s, const std::string& rel) {
    auto f = Load(rel);
    std::array<bool, 4> present{};
    while (!f->Eof()) {
      if (TrailingEmptyLines(*f, rel)) break;
      int start = f->LineNumber();
      Text kind, file;
      int fileLine = 0;
      try {
        kind = f->ReadTextField();
        f->ReadLine();
        fileLine = f->LineNumber();
        file = f->ReadTextField();
      } catch (const DataError&) {
        Error(rel, start, "the file ends in the middle of a final record (three reads)");
        break;
      }
      auto k = WholeNumber(kind);
      if (!k || *k < 1 || *k > 3)
        Error(rel, start, "ending kind " + Quoted(kind) + " must be 1, 2 or 3");
      else
        present[static_cast<std::size_t>(*k)] = true;
      ReferPhraseFile(s, file, rel, fileLine);
    }
    static const std::array<const char*, 4> names = {"", "a quick win", "a win on guess 8", "a defeat"};
    for (int k = 1; k <= 3; ++k)
      if (!present[static_cast<std::size_t>(k)])
        Error(rel, 1,
              "no ending of kind " + std::to_string(k) + " (" + names[static_cast<std::size_t>(k)] + ")");
  }

  // ---------------------------------------------------------------- phrase files

  std::vector<Plan> ParsePlans(const std::string& rel, const std::vector<Text>& planLines) {
    std::vector<Plan> plans;
    for (std::size_t i = 0; i < planLines.size(); ++i) {
      const Text& text = planLines[i];
      Plan p;
      p.line = static_cast<int>(i) + 1;
      if (p.line == kMaxPlans + 1)
        Error(rel, p.line, "more than " + std::to_string(kMaxPlans) + " plan lines");
      TextView rest = text.size() > 2 ? TextView(text).substr(2) : TextView();
      std::size_t bar1 = rest.find(u'|');
      std::size_t bar2 = bar1 == TextView::npos ? TextView::npos : rest.find(u'|', bar1 + 1);
      if (bar2 == TextView::npos) {
        Error(rel, p.line, "a plan line needs two \"|\": kind, blank, words|closing mode|level");
        plans.push_back(p);
        continue;
      }
      TextView list = rest.substr(0, bar1);
      bool emptyWord = false;
      std::size_t start = 0;
      while (true) {
        std::size_t blank = list.find(u' ', start);
        Text word(list.substr(start, blank == TextView::npos ? TextView::npos : blank - start));
        if (word.empty())
          emptyWord = true;
        else
          p.words.push_back(word);
        if (blank == TextView::npos) break;
        start = blank + 1;
      }
      if (emptyWord) Error(rel, p.line, "an empty plan word (two blanks in a row, or a blank at an end)");
      if (p.words.size() > static_cast<std::size_t>(kMaxPlanWords))
        Error(rel, p.line, "more than " + std::to_string(kMaxPlanWords) + " words in a plan");
      for (const Text& w : p.words) {
        if (w.size() < 2) Error(rel, p.line, "the plan word " + Quoted(w) + " has no key before its flag");
        p.keys.push_back(w.substr(0, w.size() - 1));
      }
      if (!p.keys.empty() && !p.keys[0].empty()) p.initial = p.keys[0].substr(0, 1);
      for (const Text& k : p.keys)
        if (!k.empty() && k.substr(0, 1) != p.initial)
          Error(rel, p.line,
                "the key " + Quoted(k) + " does not begin with the plan initial " + Quoted(p.initial));
      if (!plans.empty() && !p.initial.empty() && plans.back().initial == p.initial)
        Error(rel, p.line, "the same initial " + Quoted(p.initial) + " as the plan before it");
      TextView closing = rest.substr(bar1 + 1, bar2 - bar1 - 1);
      if (closing != u"0" && closing != u"1")
        Warning(rel, p.line,
                "closing mode " + Quoted(closing) + " is neither 0 nor 1 (the line is left as it is)");
      TextView level = rest.substr(bar2 + 1);
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

  void CheckPhraseFile(Style& s, const std::string& rel) {
    auto f = Load(rel);
    const auto& lines = f->lines();
    std::vector<Text> planLines;
    std::size_t i = 0;
    while (i < lines.size() && !lines[i].empty()) planLines.push_back(lines[i++]);
    if (planLines.empty()) {
      Error(rel, 1, lines.empty() ? "the file is empty" : "an empty first line: no plan line before it");
      return;
    }
    std::vector<Plan> plans = ParsePlans(rel, planLines);
    if (i == lines.size()) {
      Error(rel, static_cast<int>(i), "no empty line after the plan lines");
      return;
    }
    const std::size_t first = i + 1;
    const std::size_t recordLines = lines.size() - first;
    if (recordLines % 6 != 0) {
      const std::size_t cut = first + recordLines / 6 * 6;
      bool emptyTail = std::all_of(lines.begin() + static_cast<long>(cut), lines.end(),
                                   [](const Text& l) { return l.empty(); });
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
    const std::size_t records = recordLines / 6;
    for (std::size_t r = 0; r < records; ++r) {
      std::size_t base = first + r * 6;
      const int keyLine = static_cast<int>(base) + 2;
      const Text& key = lines[base + 1];
      if (r > 0 && key == current) {
        if (++groupSize == kMaxCandidates + 1)
          Error(rel, keyLine,
                "more than " + std::to_string(kMaxCandidates) + " records in group " + Quoted(key));
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
          problem = "the key " + Quoted(key) + " where " + Quoted(*due) + " is due (plan " +
                    std::to_string(np + 1) + ", word " + std::to_string(nw + 1) + ")";
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
      CheckConditions(rel, conditionsLine, lines[base + 2]);
      std::optional<long long> absd = CheckPrecondition(s, rel, preLine, lines[base + 4]);
      std::vector<int> levels;
      for (int a = 1; a <= 3; ++a)
        if ((planLevel == 0 || planLevel == a) && (!absd || *absd == a)) levels.push_back(a);
      if (absd && planLevel >= 1 && planLevel <= 3 && *absd >= 1 && *absd <= 3 && *absd != planLevel)
        Warning(rel, preLine,
                "\"_absd_\" level " + std::to_string(*absd) + " in a plan of level " +
                    std::to_string(planLevel) + ": never eligible");
      CheckText(s, rel, textLine, lines[base + 3], levels);
      if (!lines[base + 5].empty()) s.recordedFacts.insert(lines[base + 5]);
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
        if (plan.groups[ww] == 0)
          Warning(rel, plan.line, "the plan word " + Quoted(plan.words[ww]) + " has no records");
    }
  }

  void CheckConditions(const std::string& rel, int line, TextView c) {
    if (c.size() != 30) {
      Error(rel, line, "the conditions line has " + std::to_string(c.size()) + " characters; 30 expected");
      return;
    }
    auto dayOfYear = [&](std::size_t col, const char* which) -> std::optional<int> {
      TextView day = c.substr(col - 1, 2), month = c.substr(col + 1, 2);
      auto where = [](std::size_t from) {
        return " (columns " + std::to_string(from) + "-" + std::to_string(from + 1) + ")";
      };
      int m = AllDigits(month) ? static_cast<int>(LenientNumber(month)) : 0;
      if (m < 1 || m > 12) {
        Error(rel, line,
              std::string(which) + " month " + Quoted(month) + " must be \"01\"..\"12\"" + where(col + 2));
        return std::nullopt;
      }
      int d = AllDigits(day) ? static_cast<int>(LenientNumber(day)) : 0;
      if (d < 1 || d > kMonthLength[static_cast<std::size_t>(m - 1)]) {
        Error(
            rel, line,
            std::string(which) + " day " + Quoted(day) + " is not a day of month " + U8(month) + where(col));
        return std::nullopt;
      }
      return d + kMonthOffset[static_cast<std::size_t>(m - 1)];
    };
    auto from = dayOfYear(1, "first");
    auto to = dayOfYear(5, "last");
    if (from && to && *from > *to)
      Warning(rel, line, "the date window " + U8(c.substr(0, 8)) + " ends before it begins: never eligible");
    struct Field {
      std::size_t col;
      const char* name;
      int high;
    };
    static const std::array<Field, 5> fields = {{{10, "light phase", 12},
                                                 {13, "clock band", 12},
                                                 {16, "clouds", 4},
                                                 {19, "precipitation", 8},
                                                 {22, "wind", 4}}};
    for (const Field& fd : fields) {
      TextView v = c.substr(fd.col - 1, 2);
      auto n = WholeNumber(v);
      if (!n || v.find(u'-') != TextView::npos || v.find(u'+') != TextView::npos || *n > fd.high) {
        char range[8];
        std::snprintf(range, sizeof range, "%02d", fd.high);
        Error(rel, line,
              std::string(fd.name) + " " + Quoted(v) + " must be 00.." + range + " (columns " +
                  std::to_string(fd.col) + "-" + std::to_string(fd.col + 1) + ")");
      }
    }
    auto low = WholeNumber(c.substr(24, 3)), high = WholeNumber(c.substr(27, 3));
    if (!low)
      Error(rel, line,
            "lowest temperature " + Quoted(c.substr(24, 3)) + " is not a whole number (columns 25-27)");
    if (!high)
      Error(rel, line,
            "highest temperature " + Quoted(c.substr(27, 3)) + " is not a whole number (columns 28-30)");
    if (low && high && *low > *high)
      Warning(rel, line,
              "lowest temperature " + std::to_string(*low) + " is above highest " + std::to_string(*high) +
                  ": never eligible");
  }

  // Returns the level of an "_absd_" precondition.
  std::optional<long long> CheckPrecondition(Style& s, const std::string& rel, int line, TextView pre) {
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

  void CheckText(Style& s, const std::string& rel, int line, TextView text, const std::vector<int>& levels) {
    if (text.empty()) {
      Error(rel, line, "an empty text (the paragraph would hold two \"|\" in a row)");
      return;
    }
    std::size_t pos = 0;
    bool strayReported = false;
    while ((pos = text.find(u'_', pos)) != TextView::npos) {
      TextView at = text.substr(pos);
      if (StartsWith(at, u"_sus")) {
        if (at.size() < 5 || at[4] < u'1' || at[4] > u'4')
          Error(rel, line, "\"_sus\" must be followed by a digit 1..4");
        pos += 4;
      } else if (StartsWith(at, u"_npc")) {
        if (at.size() < 5 || at[4] < u'0' || at[4] > u'9')
          Error(rel, line, "\"_npc\" must be followed by a digit");
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
            return std::any_of(s.shades->begin(), s.shades->end(), [&](const ShadeTitle& g) {
              return g.title == title && (g.level == 0 || g.level == a);
            });
          };
          bool anywhere = std::any_of(s.shades->begin(), s.shades->end(),
                                      [&](const ShadeTitle& g) { return g.title == title; });
          if (!anywhere) {
            Error(rel, line, "no shade group " + Quoted(title) + " in the shade file");
          } else {
            for (int a : levels)
              if (!applies(a))
                Warning(
                    rel, line,
                    "no shade group " + Quoted(title) + " applies at absurdity level " + std::to_string(a));
          }
        }
        pos += close + 1;
      } else if (StartsWith(at, u"_Z_")) {
        Warning(rel, line,
                "\"_Z_\" stays as written: phrase texts replace only \"_sus\", \"_npc\" and \"_call\"");
        pos += 3;
      } else {
        if (!strayReported) Warning(rel, line, "\"_\" that starts no token (\"_sus\", \"_npc\", \"_call\")");
        strayReported = true;
        ++pos;
      }
    }
    CheckBreaks(rel, line, text);
  }

  // The break marks of a phrase text, person entry or shade line: where lines may end and how
  // words are split. Each rule is reported once per line.
  void CheckBreaks(const std::string& rel, int line, TextView text) {
    if (text.empty()) return;
    if (text.front() == u'|') Error(rel, line, "the text begins with \"|\"");
    if (text.back() == u'|') Error(rel, line, "the text ends with \"|\"");
    if (Contains(text, u"||")) Error(rel, line, "two \"|\" in a row");
    std::vector<TextView> parts;
    std::size_t start = 0;
    while (true) {
      std::size_t bar = text.find(u'|', start);
      parts.push_back(text.substr(start, bar == TextView::npos ? TextView::npos : bar - start));
      if (bar == TextView::npos) break;
      start = bar + 1;
    }
    bool blank = false, longPart = false, softStart = false, single = false, noVowel = false;
    std::vector<TextView> word;
    auto wordText = [&] {
      std::string w;
      for (std::size_t k = 0; k < word.size(); ++k) w += (k ? "|" : "") + U8(word[k]);
      return "\"" + w + "\"";
    };
    auto endWord = [&] {
      if (word.size() >= 2) {
        for (std::size_t k = 0; k < word.size(); ++k) {
          TextView part = word[k];
          int letters = static_cast<int>(std::count_if(part.begin(), part.end(), IsLetter));
          if (k > 0 && !softStart && !part.empty() && TextView(u"ьъйЬЪЙ").find(part[0]) != TextView::npos) {
            Error(rel, line, wordText() + ": a part of a word begins with ь, ъ or й");
            softStart = true;
          }
          if (letters == 1) {
            if (!single)
              Error(rel, line, wordText() + ": a single letter left at a line end or carried over");
            single = true;
          } else if (!noVowel && std::none_of(part.begin(), part.end(), IsVowel)) {
            Error(rel, line, wordText() + ": a part of a word without a vowel");
            noVowel = true;
          }
        }
      }
      word.clear();
    };
    for (std::size_t k = 0; k < parts.size(); ++k) {
      TextView part = parts[k];
      if (part == u" " && k > 0 && k + 1 < parts.size()) {
        endWord();
        continue;
      }
      // An empty part (a "|" at an end or doubled) was reported above; it splits no word.
      if (part.find_first_not_of(u' ') == TextView::npos) {
        endWord();
        if (!blank && !part.empty()) {
          Error(rel, line, "a blank that is not a \"| |\" gap (allowed only before \"—\"): " + Quoted(part));
          blank = true;
        }
        continue;
      }
      if (!longPart && part.size() > 51) {
        Error(rel, line,
              "a part of " + std::to_string(part.size()) + " characters, longer than a line of 51");
        longPart = true;
      }
      for (std::size_t c = 0; c < part.size() && !blank; ++c)
        if (part[c] == u' ' && (c + 1 >= part.size() || part[c + 1] != u'—')) {
          Error(rel, line, "a blank that is not a \"| |\" gap (allowed only before \"—\"): " + Quoted(part));
          blank = true;
        }
      word.push_back(part);
    }
    endWord();
  }

  const DataDir& dir_;
  std::vector<Style> styles_;
  std::vector<Finding> findings_;
  std::map<std::string, int> fileOrder_;
};

}  // namespace

int RunCheck(const quorbel::DataDir& dir, std::ostream& out) {
  Checker checker(dir);
  checker.Run();
  return checker.Print(out);
}

}  // namespace quorbel::cli
