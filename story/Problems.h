#pragma once
// Every fault the engine reports, each worded once: in English for the command line and the
// checker, in Russian for the window. A wording names the fault's variable parts (numbers,
// names, a system's reason) by placeholders {0}, {1}, ... that the values given with it fill.
#include <concepts>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quorbel {

enum class ProblemId {
  // Reading and writing files.
  FileNotFound,
  CannotBeOpened,
  CannotBeRead,
  FileTooLarge,      // {0}: the bound in MB
  TooManyFileLines,  // {0}: the bound
  NotWindows1251,
  NotEncodable,
  FolderNotWritable,
  DiskFull,
  NoSuchFolder,
  CannotBeWritten,  // {0}: the system's reason; after the reasons worded above, which it would also fit
  NotRegularFile,
  FolderNotMade,  // {0}: the folder, {1}: the system's reason
  // The reading of lines and fields.
  StyleNameExpected,
  LineExpected,
  FieldExpected,
  UnclosedQuote,
  NameHasControl,    // {0}: the name, quoted
  NameLeavesFolder,  // {0}: the name, quoted
  // Catalogues and title words.
  NoStyles,
  NoThemes,
  NoTitleWords,
  TooManyTitleWords,  // {0}: the bound
  // Episode files and the story's length.
  NoEpisodeRecord,
  TooManyGroups,        // {0}: the bound
  TooManyGroupRecords,  // {0}: the bound
  BadRange,             // {0}: the text read, quoted
  StoryTooLong,         // {0}: the bound
  TextPastLastLine,     // {0}: the bound
  // Settings, persons, variants, shades.
  SettingOutOfRange,    // {0}: the value, {1}: the highest allowed
  ConditionOutOfRange,  // {0}: the setting's name, {1}: the value, {2}: the highest allowed
  EmptyPerson,
  TooManyPersons,  // {0}: the bound
  TooFewPersons,   // {0}: the distinct persons found
  NoVariant,
  BadWeight,  // {0}: the highest weight
  ZeroWeights,
  WeightsTooLarge,     // {0}: the highest sum
  TooManyShadeGroups,  // {0}: the bound
  TooManyShadeLines,   // {0}: the bound
  // Phrase files.
  PlanWithoutBars,
  EmptyPlanWord,
  TooManyPlanWords,  // {0}: the bound
  TooManyPlans,      // {0}: the bound
  PlansNotEnded,
  NoPlans,
  RecordCutShort,
  NoRemainingPlan,
  NoPlanWord,
  TooManyPhrases,  // {0}: the bound
  TooManyFacts,    // {0}: the bound
  UnclosedCall,
};
inline constexpr int kProblemCount = static_cast<int>(ProblemId::UnclosedCall) + 1;

struct ProblemWording {
  ProblemId id;
  std::string_view english;
  std::string_view russian;  // UTF-8; it may leave out values the English names
};
const ProblemWording& WordingOf(ProblemId id);

// A value as a wording shows it.
inline std::string ProblemValue(std::string_view text) { return std::string(text); }
template <std::integral N>
std::string ProblemValue(N number) {
  return std::to_string(number);
}

// One fault as met: which one, and its values in placeholder order.
struct Problem {
  ProblemId id{};
  std::vector<std::string> values;

  template <typename... Values>
  static Problem Of(ProblemId id, const Values&... values) {
    return Problem{id, {ProblemValue(values)...}};
  }
  std::string English() const;
  std::string Russian() const;
  // A problem reads as its English text.
  friend bool operator==(const Problem& p, std::string_view english) { return p.English() == english; }
};

// The problem an English text words, with its values: a text some wording fits whole (the first
// that fits, so a particular wording comes before a general one it shares its words with), or
// one that begins with a wording that names no value the Russian needs, a detail of its own after
// it (", ...", ": ...", " ..."). Nothing for any other text.
std::optional<Problem> ProblemOfText(std::string_view english);

}  // namespace quorbel
