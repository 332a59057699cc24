#include "cli/check/Check.h"

#include <algorithm>
#include <array>
#include <string>

#include "settings/SettingsFile.h"
#include "story/MaterialFiles.h"
#include "story/StoryState.h"

namespace quorbel::cli::check {

void Checker::CheckStyles() {
  const std::string rel = U8(kStyleCatalogue);
  auto f = Load(rel);
  if (!f) {
    Error(rel, 1, "file not found");
    return;
  }
  const StyleCatalogue catalogue = ParseStyleCatalogue(*f);
  if (catalogue.lineCount == 0) Error(rel, 1, "no style listed");
  if (catalogue.oddLine) Error(rel, catalogue.lineCount, "a style folder without its display name (pairs of lines)");
  int number = 0;
  for (const StyleEntry& e : catalogue.styles) {
    ++number;
    if (e.folder.empty()) {
      Error(rel, e.line, "an empty style folder name");
      continue;
    }
    if (auto fault = NameFault(e.folder)) {
      Error(rel, e.line, fault->English());
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

void Checker::CheckSettings() {
  const std::string rel = kSettingsFileName;
  auto f = Load(rel);
  if (!f) {
    Error(rel, 1, "file not found");
    return;
  }
  const SettingsText file = ParseSettingsFile(*f);
  std::array<long long, setting::Freeze + 1> v{};
  for (int i = 1; i <= static_cast<int>(file.fields.size()); ++i) {
    const SettingsField& field = file.fields[static_cast<std::size_t>(i - 1)];
    const int line = field.line;
    const Text& t = field.text;
    auto n = WholeNumber(t);
    std::string what = "setting " + std::to_string(i) + " (" + setting::kRules[i].name + ")";
    if (!n) {
      Error(rel, line, what + " " + Quoted(t) + " is not a whole number");
      continue;
    }
    v[static_cast<std::size_t>(i)] = *n;
    // Style and theme are checked against the catalogues below.
    const bool catalogued = i == setting::Style || i == setting::Theme;
    const long long highest = setting::kRules[i].last;
    if (*n < 0 || (!catalogued && *n > highest)) {
      Error(rel, line, what + " must be 0.." + (catalogued ? "N" : std::to_string(highest)));
      continue;
    }
    const long long style = v[setting::Style];
    if (i == setting::Style && *n > static_cast<long long>(styles_.size()) && !styles_.empty())
      Warning(rel, line,
              what + " " + std::to_string(*n) + ": only " + std::to_string(styles_.size()) +
                  " styles are listed (the last one is taken)");
    if (i == setting::Theme && style >= 1 && style <= static_cast<long long>(styles_.size()) && *n > 0) {
      int count = styles_[static_cast<std::size_t>(style - 1)].themeCount;
      if (count > 0 && *n > count)
        Warning(rel, line,
                what + " " + std::to_string(*n) + ": the style has only " + std::to_string(count) +
                    " themes (the last one is taken)");
    }
  }
  if (file.fault) {
    if (file.fault->atEnd)
      Error(rel, std::max(1, f->LineCount()), "only " + std::to_string(file.fields.size()) + " settings; ten expected");
    else
      Error(rel, file.fault->error.line(), file.fault->error.problem());
    return;
  }
  if (file.more) Warning(rel, file.moreLine, "more than ten settings; the rest is never read");
}

bool Checker::CheckThemes(Style& s, std::vector<bool>& themeHasZ, int& firstZ) {
  const std::string themesRel = s.folder + "/" + U8(kThemeCatalogue);
  auto themes = Load(themesRel);
  if (!themes) {
    Error(U8(kStyleCatalogue), s.line, Quoted(FromUtf8(themesRel)) + " not found");
    return false;
  }
  for (const Item& theme : ParseLineFile(*themes).lines) {
    const Text& t = theme.text;
    const int line = theme.line;
    if (t.empty()) Error(themesRel, line, "an empty theme line");
    std::size_t z = t.find(u"_Z_");
    themeHasZ.push_back(z != Text::npos);
    if (z != Text::npos && firstZ == 0) firstZ = line;
    if (z != Text::npos && t.find(u"_Z_", z + 3) != Text::npos)
      Warning(themesRel, line, "a second \"_Z_\" stays in the title as written");
  }
  if (themeHasZ.empty()) Error(themesRel, 1, "no theme listed");
  s.themeCount = static_cast<int>(themeHasZ.size());
  return true;
}

void Checker::CheckWords(Style& s, const std::string& rel) {
  auto f = Load(rel);
  const LineFile words = ParseLineFile(*f);
  if (words.lines.empty()) Error(rel, 1, "no title word");
  if (words.lines.size() > static_cast<std::size_t>(kMaxTitleWords))
    Error(rel, words.lines[kMaxTitleWords].line, "more than " + std::to_string(kMaxTitleWords) + " title words");
  s.words.emplace();
  for (const Item& w : words.lines) {
    if (w.text.empty()) Error(rel, w.line, "an empty title word");
    s.words->push_back(w.text);
  }
}

void Checker::CheckQuestions(const std::string& rel, bool themeHasZ, int theme) {
  auto f = Load(rel);
  const QuestionFile file = ParseQuestionFile(*f);
  const auto& lines = file.questions;
  const auto count = static_cast<std::size_t>(kQuestionCount);
  if (file.fault)
    Error(rel, std::max<int>(1, static_cast<int>(lines.size())),
          "only " + std::to_string(lines.size()) + " questions; " + std::to_string(kQuestionCount) + " expected");
  if (lines.size() > count)
    Error(rel, kQuestionCount + 1, "more than " + std::to_string(kQuestionCount) + " questions");
  for (std::size_t i = 0; i < lines.size() && i < count; ++i) {
    const Item& q = lines[i];
    if (q.text.empty()) Error(rel, q.line, "an empty question");
    if (!themeHasZ && Contains(q.text, u"_Z_"))
      Warning(rel, q.line,
              "\"_Z_\" in a question of theme " + std::to_string(theme) +
                  ", whose title has no \"_Z_\" (it shows the title word of an earlier story)");
  }
}

}  // namespace quorbel::cli::check
