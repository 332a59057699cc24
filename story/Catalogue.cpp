#include "story/Catalogue.h"

#include <algorithm>
#include <string>
#include <vector>

#include "story/MaterialFiles.h"
#include "story/Numbers.h"

namespace quorbel {
namespace {

constexpr TextView kPlaceholder = u"_Z_";

// The style catalogue holds pairs of lines: folder, display name.
std::shared_ptr<const StyleCatalogue> Styles(const DataDir& dir) {
  auto m = OpenStyleCatalogue(dir);
  if (m->lineCount == 0) throw DataError(m->name, 1, ProblemId::NoStyles);
  if (m->oddLine) throw MissingStyleName(*m);
  return m;
}

std::shared_ptr<const LineFile> Themes(const DataDir& dir, const StoryState& s) {
  auto m = OpenThemeCatalogue(dir, s.styleFolder);
  if (m->lines.empty()) throw DataError(m->name, 1, ProblemId::NoThemes);
  return m;
}

}  // namespace

void ChooseStyleAndTitle(StoryState& s, Random& rng, const DataDir& dir) {
  const auto styles = Styles(dir);
  // 1. A random style among the pairs.
  if (s.settings[setting::Style] == 0) {
    const auto pairs = static_cast<Long>(styles->styles.size());
    s.settings[setting::Style] = Int(rng.Rnd() * pairs) + 1;
  }

  // 2. The style's folder; a number beyond the catalogue takes the last pair.
  {
    Text folder;
    Long pair = 0;
    do {
      const StyleEntry& e = styles->styles[static_cast<std::size_t>(pair)];
      if (auto fault = NameFault(e.folder)) throw DataError(styles->name, e.line, *fault);
      folder = e.folder;
      ++pair;
    } while (pair < s.settings[setting::Style] && pair < static_cast<Long>(styles->styles.size()));
    // A number beyond the catalogue becomes the pair it took, so the style's other files are
    // named after the style actually used.
    s.settings[setting::Style] = pair;
    s.styleFolder = folder + u"/";
    s.wordsFile = s.styleFolder + stem::kWords + NumText(s.settings[setting::Style]);
  }

  // 3. A random theme among the catalogue's lines.
  const auto themes = Themes(dir, s);
  const auto themeCount = static_cast<Long>(themes->lines.size());
  if (s.settings[setting::Theme] == 0) {
    s.themeCount = themeCount;
    s.settings[setting::Theme] = Int(rng.Rnd() * s.themeCount) + 1;
  }

  // 4. The theme line; a number beyond the catalogue takes the last line, and it becomes the
  // number the theme's question and episode files are named after.
  s.settings[setting::Theme] = std::clamp<Long>(s.settings[setting::Theme], 1, themeCount);
  const Text& theme = themes->lines[static_cast<std::size_t>(s.settings[setting::Theme] - 1)].text;

  // 5. The first placeholder takes a title word; without one the words file is not read.
  std::size_t p = theme.find(kPlaceholder);
  if (p == Text::npos) {
    s.title = theme;
    return;
  }
  const auto words = OpenTitleWords(dir, s.wordsFile + u".qrb");
  if (words->lines.empty()) throw DataError(words->name, 1, ProblemId::NoTitleWords);
  if (words->lines.size() > static_cast<std::size_t>(kMaxTitleWords))
    throw DataError(words->name, words->lines[kMaxTitleWords].line, ProblemId::TooManyTitleWords, kMaxTitleWords);
  s.titleWordCount = static_cast<Long>(words->lines.size());
  for (std::size_t i = 0; i < words->lines.size(); ++i) s.titleWords[i + 1] = words->lines[i].text;
  s.titleWord = Int(rng.Rnd() * s.titleWordCount) + 1;

  // 6. The title.
  s.title = theme.substr(0, p) + s.titleWords[s.titleWord] +
            theme.substr(p + kPlaceholder.size());
}

}  // namespace quorbel
