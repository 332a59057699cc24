#include "story/PlotBuilder.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <string>
#include <utility>

#include "clock/StoryClock.h"
#include "settings/SettingsFile.h"
#include "story/Catalogue.h"
#include "story/Conditions.h"
#include "story/Episodes.h"
#include "story/MaterialFiles.h"
#include "story/Numbers.h"

namespace quorbel {

namespace {

std::size_t U(Long i) { return static_cast<std::size_t>(i); }

Text WithoutMarks(TextView form) {
  Text out;
  for (char16_t c : form)
    if (c != u'|') out.push_back(c);
  return out;
}

// The ten settings values must lie within what the settings window can store; anything else
// would send the opening conditions off their tables.
void CheckSettings(const SettingsValues& v) {
  for (int i = 1; i <= setting::Freeze; ++i) {
    const Long last = setting::kRules[i].last;
    if (v[U(i)] < 0 || v[U(i)] > last)
      throw DataError(kSettingsFileName, i, ProblemId::SettingOutOfRange, v[U(i)], last);
  }
}

}  // namespace

Text StyleFileName(const StoryState& s, const char16_t* prefix) {
  return s.styleFolder + prefix + NumText(s.settings[setting::Style]) + u".qrb";
}

Text ThemeFileName(const StoryState& s, const char16_t* prefix) {
  return s.styleFolder + prefix + NumText(s.settings[setting::Theme]) + u"_" + NumText(s.plotVariant) + u".qrb";
}

void ChooseCast(StoryState& s, Random& rng, const DataDir& dir) {
  const auto file = OpenPersonFile(dir, StyleFileName(s, stem::kPersons));
  Long n = 0;
  for (const Item& entry : file->persons) {
    if (entry.text.empty()) throw DataError(file->name, entry.line, ProblemId::EmptyPerson);
    if (n == kMaxPersons)
      throw DataError(file->name, entry.line, ProblemId::TooManyPersons, kMaxPersons);
    s.personPool[++n] = entry.text;
  }
  if (file->fault) throw file->fault->error;
  // Ten distinct entries are needed, or the draw below could never finish.
  Long distinct = 0;
  for (Long i = 1; i <= n && distinct < 10; ++i) {
    bool seen = false;
    for (Long j = 1; j < i && !seen; ++j) seen = s.personPool[j] == s.personPool[i];
    if (!seen) ++distinct;
  }
  if (distinct < 10)
    throw DataError(file->name, 0, ProblemId::TooFewPersons, distinct);

  for (Long i = 1; i <= 10; ++i) {
    bool repeated = true;
    while (repeated) {
      Long r = Int(n * rng.Rnd()) + 1;
      s.castForms[i] = s.personPool[r];
      repeated = false;
      for (Long j = 1; j < i && !repeated; ++j) repeated = s.castForms[j] == s.castForms[i];
    }
  }
  for (Long i = 1; i <= 10; ++i) s.castNames[i] = WithoutMarks(s.castForms[i]);
}

Long VariantTotal(const VariantFile& file) {
  if (file.variants.empty() && !file.fault) throw DataError(file.name, 1, ProblemId::NoVariant);
  // Summed wider than a Long: thousands of large weights must not wrap around.
  std::int64_t total = 0;
  for (const Variant& v : file.variants) {
    if (v.weight < 0 || v.weight > kMaxVariantWeight)
      throw DataError(file.name, v.weightLine, ProblemId::BadWeight, kMaxVariantWeight);
    total += v.weight;
  }
  if (file.fault) throw file.fault->error;
  if (total <= 0) throw DataError(file.name, 0, ProblemId::ZeroWeights);
  if (total > std::numeric_limits<Long>::max())
    throw DataError(file.name, 0, ProblemId::WeightsTooLarge, std::numeric_limits<Long>::max());
  return static_cast<Long>(total);
}

void ChoosePlotVariant(StoryState& s, Random& rng, const DataDir& dir) {
  const auto file = OpenVariantFile(dir, StyleFileName(s, stem::kVariants));
  const Long total = VariantTotal(*file);
  Long r = Int(rng.Rnd() * total);
  Long cum = 0, k = 0;
  for (const Variant& v : file->variants) {
    if (cum <= r) {
      cum += v.weight;
      ++k;
      s.plotVariant = k;
    }
  }
}

void LoadShades(StoryState& s, Random& rng, const DataDir& dir) {
  // Groups of an earlier story must not stay reachable by a title this story does not load.
  for (Long g = 0; g <= kMaxShadeGroups; ++g) {
    s.shadeTitles[g].clear();
    s.shadeCounts[g] = 0;
  }
  s.shadeLines.clear();
  const auto file = OpenShadeFile(dir, StyleFileName(s, stem::kShades));
  const Long a = s.settings[setting::Absurdity];
  Long g = 0;
  for (const ShadeGroup& group : file->groups) {
    const bool applies = group.level == 0 || group.level == a;
    if (!applies) continue;
    if (g == kMaxShadeGroups)
      throw DataError(file->name, group.line, ProblemId::TooManyShadeGroups, kMaxShadeGroups);
    ++g;
    s.shadeTitles[g] = group.title;
    Long j = 0;
    for (const Item& line : group.lines) {
      if (++j > kMaxShadeLines)
        throw DataError(file->name, line.line, ProblemId::TooManyShadeLines, kMaxShadeLines);
      s.shadeLines[g][j] = line.text;
    }
    if (group.flag == 1) {
      for (Long k = 1; k <= j; ++k) {
        Long r = Int(j * rng.Rnd() + 1);
        std::swap(s.shadeLines[g][k], s.shadeLines[g][r]);
      }
    }
    s.shadeCounts[g] = j;
  }
  if (file->fault) throw file->fault->error;
}

void LoadQuestions(StoryState& s, const DataDir& dir) {
  const auto file = OpenQuestionFile(dir, ThemeFileName(s, stem::kQuestions));
  const auto& lines = file->questions;
  // The level's four lines follow those of the levels below it. A missing line is the file's
  // fault: the settings hold absurdity 1..3 here, so the lines read lie within kQuestionCount.
  const Long first = std::max<Long>(0, kQuestionsPerLevel * (s.settings[setting::Absurdity] - 1));
  if (first > static_cast<Long>(lines.size())) throw file->fault.value().error;
  for (Long q = 1; q <= kQuestionsPerLevel; ++q) {
    const std::size_t at = U(first + q - 1);
    if (s.observer) s.observer->Chosen(file->name, static_cast<int>(at) + 1);
    if (at >= lines.size()) throw file->fault.value().error;
    Text question = lines[at].text;
    std::size_t p = question.find(u"_Z_");
    if (p != Text::npos) question.replace(p, 3, s.titleWords[s.titleWord]);
    s.questions[q] = std::move(question);
  }
}

void PlayOpening(StoryState& s, Random& rng, const DataDir& dir) {
  // The opening neither redraws used records nor marks them.
  StepEpisodeFile(s, rng, dir, ThemeFileName(s, stem::kOpening), false);
  s.statusLine += Str(s.dayOfYear - s.startDayOfYear) + u" " + s.clockTime;
  for (Long g = 1; g <= kMaxGroups; ++g) s.groupSizes[g] = 0;
  s.usedRecords.clear();
}

void BuildStory(StoryState& s, Random& rng, const DataDir& dir) {
  SettingsValues values = ReadSettingsFile(dir);
  CheckSettings(values);
  for (int i = 1; i <= setting::Freeze; ++i) s.settings[i] = values[U(i)];
  ResolveConditions(s, rng);
  s.lineCount = 1;
  ChooseStyleAndTitle(s, rng, dir);
  ChooseCast(s, rng, dir);
  ChoosePlotVariant(s, rng, dir);
  LoadShades(s, rng, dir);
  LoadQuestions(s, dir);
  PlayOpening(s, rng, dir);
}

}  // namespace quorbel
