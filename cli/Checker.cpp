#include "cli/Checker.h"

#include <algorithm>
#include <ostream>

#include "cli/check/Check.h"
#include "story/MaterialFiles.h"
#include "view/Page.h"

namespace quorbel::cli::check {

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

void Checker::Run() {
  Guard(U8(kStyleCatalogue), [&] { CheckStyles(); });
  for (Style& style : styles_) Guard(style.folder + "/", [&] { CheckStyle(style); });
  Guard("quorbel.cfg", [&] { CheckSettings(); });
  Guard(kDropCapFolder, [&] { CheckLetters(); });
  CheckNameCase();
}

int Checker::Print(std::ostream& out) const {
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
  out << errors << (errors == 1 ? " error, " : " errors, ") << warnings << (warnings == 1 ? " warning" : " warnings")
      << '\n';
  return errors > 0 ? 1 : 0;
}

void Checker::Add(const std::string& file, int line, bool error, std::string message) {
  fileOrder_.emplace(file, static_cast<int>(fileOrder_.size()));
  findings_.push_back({file, std::max(line, 1), error, std::move(message)});
}

void Checker::Error(const std::string& file, int line, std::string message) {
  Add(file, line, true, std::move(message));
}

void Checker::Warning(const std::string& file, int line, std::string message) {
  Add(file, line, false, std::move(message));
}

bool Checker::OnlyEmptyLinesFrom(const InputFile& f, int line) {
  const auto& lines = f.lines();
  return std::all_of(lines.begin() + (line - 1), lines.end(), [](const Text& l) { return l.empty(); });
}

bool Checker::TrailingEmptyLines(const InputFile& f, const std::string& rel) {
  return TrailingEmptyLines(f, f.LineNumber(), rel);
}

bool Checker::TrailingEmptyLines(const InputFile& f, int line, const std::string& rel) {
  if (!OnlyEmptyLinesFrom(f, line)) return false;
  Error(rel, line, "an empty line after the last record (it is read as the start of another record)");
  return true;
}

std::string Checker::StyleFile(const Style& s, const char16_t* stem) const {
  return s.folder + "/" + U8(stem) + std::to_string(s.number) + ".qrb";
}

void Checker::CheckStyle(Style& s) {
  const std::string themesRel = s.folder + "/" + U8(kThemeCatalogue);
  std::vector<bool> themeHasZ;
  int firstZ = 0;
  if (!CheckThemes(s, themeHasZ, firstZ)) return;

  const std::string wordsRel = StyleFile(s, stem::kWords);
  if (Exists(wordsRel)) {
    Guard(wordsRel, [&] { CheckWords(s, wordsRel); });
  } else if (firstZ > 0) {
    Error(themesRel, firstZ, Quoted(FromUtf8(wordsRel)) + " not found (the title words for \"_Z_\")");
  }
  const std::string persRel = StyleFile(s, stem::kPersons);
  if (Exists(persRel))
    Guard(persRel, [&] { CheckPersons(persRel); });
  else
    Error(U8(kStyleCatalogue), s.line, Quoted(FromUtf8(persRel)) + " not found");
  int variants = 0;
  const std::string varRel = StyleFile(s, stem::kVariants);
  if (Exists(varRel))
    Guard(varRel, [&] { variants = CheckVariants(varRel); });
  else
    Error(U8(kStyleCatalogue), s.line, Quoted(FromUtf8(varRel)) + " not found");
  const std::string shadeRel = StyleFile(s, stem::kShades);
  if (Exists(shadeRel))
    Guard(shadeRel, [&] { CheckShades(s, shadeRel); });
  else
    Error(U8(kStyleCatalogue), s.line, Quoted(FromUtf8(shadeRel)) + " not found");

  for (int t = 1; t <= s.themeCount; ++t) {
    for (int v = 1; v <= variants; ++v) {
      std::string suffix = std::to_string(t) + "_" + std::to_string(v) + ".qrb";
      auto need = [&](const char16_t* stem) -> std::optional<std::string> {
        std::string rel = s.folder + "/" + U8(stem) + suffix;
        if (Exists(rel)) return rel;
        Error(
            themesRel, t,
            Quoted(FromUtf8(rel)) + " not found (theme " + std::to_string(t) + ", variant " + std::to_string(v) + ")");
        return std::nullopt;
      };
      if (auto rel = need(stem::kQuestions))
        Guard(*rel, [&] { CheckQuestions(*rel, themeHasZ[static_cast<std::size_t>(t - 1)], t); });
      s.playing = {t, v};
      if (auto rel = need(stem::kOpening)) Guard(*rel, [&] { CheckEpisodes(s, *rel, false); });
      if (auto rel = need(stem::kMain)) Guard(*rel, [&] { CheckEpisodes(s, *rel, true); });
      if (auto rel = need(stem::kFinal)) Guard(*rel, [&] { CheckFinals(s, *rel); });
    }
  }
  for (std::size_t i = 0; i < s.phraseFiles.size(); ++i) {
    std::string rel = s.phraseFiles[i];
    Guard(rel, [&] { CheckPhraseFile(s, rel); });
  }
  for (const FactUse& use : s.factUses)
    if (!s.recordedFacts.count(use.fact))
      Warning(use.file, use.line, "no record of the style records the fact " + Quoted(use.fact));
  // A dropped step takes back its text but not its facts, so text that reads such a fact may speak
  // of what the reader never saw; within one file that happens when the file is drawn again.
  for (const FactUse& rec : s.factRecords) {
    auto site = s.dropSites.find(rec.file);
    if (site == s.dropSites.end()) continue;
    const DropSite& d = site->second;
    auto reader = std::find_if(s.factUses.begin(), s.factUses.end(), [&](const FactUse& u) {
      return u.fact == rec.fact && (u.file != rec.file || d.redrawn);
    });
    if (reader != s.factUses.end())
      Warning(rec.file, rec.line,
              "the fact " + Quoted(rec.fact) + " stays when " + d.file + ":" + std::to_string(d.line) + " (chance " +
                  std::to_string(d.chance) + ") drops the step that tells it, yet " + reader->file + ":" +
                  std::to_string(reader->line) + " reads it");
  }
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

}  // namespace quorbel::cli::check

namespace quorbel::cli {

int RunCheck(const quorbel::DataDir& dir, std::ostream& out) {
  check::Checker checker(dir);
  checker.Run();
  return checker.Print(out);
}

}  // namespace quorbel::cli
