#pragma once
// The one record of story-wide variables. Arrays keep the bounds of the data model and are
// addressed from 1; element 0 holds nothing unless noted. The record is large (about 1 MB of
// strings): hold it on the heap (std::make_unique<StoryState>()).
#include <array>
#include <concepts>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <utility>

#include "story/ChoiceObserver.h"
#include "story/Random.h"
#include "story/Text.h"

namespace quorbel {

constexpr int kMaxTextLines = 10000;
constexpr int kMaxPersons = 1000;
constexpr int kMaxGroups = 100;
constexpr int kMaxGroupRecords = 100;
constexpr int kMaxShadeGroups = 100;
constexpr int kMaxShadeLines = 100;
constexpr int kMaxTitleWords = 10;
constexpr int kMaxFacts = 1000;
constexpr int kMaxPlans = 100;
constexpr int kMaxPlanWords = 50;
constexpr int kMaxCandidates = 1000;

// The ten settings, in the order quorbel.cfg lists them.
namespace setting {
// TimeBlock: the block of the day the story starts in.
constexpr int Style = 1, Theme = 2, Absurdity = 3, Month = 4, TimeBlock = 5, Clouds = 6, Wind = 7, TemperatureClass = 8,
              Precipitation = 9, Freeze = 10;

// Each setting's name in messages and the largest value it may hold (0 is "random"); style and
// theme are bounded by the catalogues, far below their limit here.
struct Rule {
  const char* name;
  int last;
};
constexpr Rule kRules[11] = {
    {"", 0},       {"style", 1000000}, {"theme", 1000000}, {"absurdity", 3},     {"month", 12}, {"time of day", 12},
    {"clouds", 4}, {"wind", 4},        {"temperature", 3}, {"precipitation", 8}, {"freeze", 1}};
}  // namespace setting

// Days of the months of a year that is not a leap year, and the days of the year before each.
constexpr std::array<int, 12> kMonthLength = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
constexpr std::array<int, 12> kMonthOffset = {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334};

// An array addressed from 1 to Last by any whole number; element 0 is there too. An index out of
// bounds stops a debug or sanitizer build on the spot instead of reaching a neighbour's memory.
template <typename T, int Last>
struct Arr {
  std::array<T, static_cast<std::size_t>(Last) + 1> items;

  template <std::integral I>
  constexpr T& operator[](I i) {
    return items[Index(i)];
  }
  template <std::integral I>
  constexpr const T& operator[](I i) const {
    return items[Index(i)];
  }
  constexpr auto begin() { return items.begin(); }
  constexpr auto end() { return items.end(); }
  constexpr auto begin() const { return items.begin(); }
  constexpr auto end() const { return items.end(); }
  static constexpr std::size_t size() { return static_cast<std::size_t>(Last) + 1; }
  void fill(const T& value) { items.fill(value); }
  friend bool operator==(const Arr&, const Arr&) = default;

 private:
  template <std::integral I>
  static constexpr std::size_t Index(I i) {
#if !defined(NDEBUG) || defined(QUORBEL_CHECK_BOUNDS)
    if (!std::in_range<std::size_t>(i) || static_cast<std::size_t>(i) > static_cast<std::size_t>(Last)) {
      std::fprintf(stderr, "index %lld outside 0..%d\n", static_cast<long long>(i), Last);
      std::abort();
    }
#endif
    return static_cast<std::size_t>(i);
  }
};

struct StoryState {
  // Told of every choice of the engine when set; no story ever sets it.
  ChoiceObserver* observer = nullptr;

  // Settings, indexed by setting::; 0 = random until resolved.
  Arr<Long, 15> settings{};

  // Time, date and weather.
  Text clockTime;  // "HH:MM"
  Text startTime;
  Long dayOfMonth = 0;
  Long dayOfYear = 0;
  Long startDayOfYear = 0;
  Long temperature = 0;
  Arr<Long, 2> dayPhase{};  // (1) light phase, (2) clock band

  // Catalogue, title and shades.
  Text styleFolder;  // ends with "/"
  Text wordsFile;
  Long themeCount = 0;
  Arr<Text, kMaxTitleWords> titleWords{};
  Long titleWordCount = 0;
  Long titleWord = 0;
  Long plotVariant = 0;
  Arr<Text, kMaxShadeGroups> shadeTitles{};
  Arr<Long, kMaxShadeGroups> shadeCounts{};
  Arr<Arr<Text, kMaxShadeLines>, kMaxShadeGroups> shadeLines{};

  // Cast.
  Arr<Text, kMaxPersons> personPool{};
  Arr<Text, 20> castForms{};
  Arr<Text, 10> castNames{};

  // Questions.
  Arr<Text, 4> questions{};
  Long answerPos = 1;

  // Episode stepping.
  Long recGroup = 0;
  Text recNote;
  Long recChance = 0;
  Long recBreak = 0;
  Text recPhraseFile;
  Text recDays;
  Text recMinutes;
  Arr<Long, kMaxGroups> groupSizes{};
  Arr<Arr<Long, kMaxGroupRecords>, kMaxGroups> usedRecords{};
  Long groupNo = 0;
  Long pickedRecord = 0;
  Long recordNo = 0;
  Long stepRoll = 0;
  Long stepKept = 0;
  Long savedLineCount = 0;

  // Story text.
  Arr<Text, kMaxTextLines> textLines{};
  Long lineCount = 1;
  Long topLine = 1;

  // Phrase engine memory.
  Arr<Text, kMaxFacts> facts{};
  Long factCount = 0;

  // Quiz.
  Arr<Long, 4> codeDigits{};
  Long attemptNo = 1;
  Arr<Long, 8> bulls{};
  Arr<Long, 8> cows{};
  Arr<Text, 10> guesses{};
  Arr<Text, 10> results{};
  Long verdict = 0;

  // Texts the window shows: the title (Label1) and the hidden status line (Label70).
  Text title;
  Text statusLine;
};

}  // namespace quorbel
