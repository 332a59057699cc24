#include "cli/check/Check.h"

#include <map>

#include "story/MaterialFiles.h"
#include "story/StoryState.h"

namespace quorbel::cli::check {

void Checker::CheckShades(Style& s, const std::string& rel) {
  auto f = Load(rel);
  const ShadeFile file = ParseShadeFile(*f);
  std::vector<ShadeTitle> groups;
  if (file.groups.empty() && !file.fault) Error(rel, 1, "no shade group");
  for (const ShadeGroup& g : file.groups) {
    int count = 0;
    for (const Item& l : g.lines) {
      if (++count == kMaxShadeLines + 1)
        Error(rel, l.line, "more than " + std::to_string(kMaxShadeLines) + " lines in shade group " + Quoted(g.title));
      CheckBreaks(rel, l.line, l.text);
    }
    auto n = WholeNumber(g.levelText);
    if (!n) {
      Error(rel, g.line, "the group level " + Quoted(g.levelText) + " must be a number 0..3");
      n = -1;
    } else if (*n < 0 || *n > 3) {
      Warning(rel, g.line, "group level " + std::to_string(*n) + " applies at no absurdity level");
    }
    if (g.title.empty()) Error(rel, g.titleLine, "an empty group title (it ends the search for every later group)");
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

}  // namespace quorbel::cli::check
