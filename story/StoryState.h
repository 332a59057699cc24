#pragma once
// The one record of story-wide variables. Arrays keep the bounds of the data model and are
// addressed from 1; element 0 holds nothing unless noted. The big tables are LazyArr: a new
// record costs only the elements a story writes.
#include <array>
#include <concepts>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <utility>
#include <vector>

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

// Stops a debug or sanitizer build on the spot when i is outside 0..Last, instead of reaching a
// neighbour's memory.
template <int Last, std::integral I>
constexpr std::size_t CheckedIndex(I i) {
#if !defined(NDEBUG) || defined(QUORBEL_CHECK_BOUNDS)
  if (!std::in_range<std::size_t>(i) || static_cast<std::size_t>(i) > static_cast<std::size_t>(Last)) {
    std::fprintf(stderr, "index %lld outside 0..%d\n", static_cast<long long>(i), Last);
    std::abort();
  }
#endif
  return static_cast<std::size_t>(i);
}

// An array addressed from 1 to Last by any whole number; element 0 is there too.
template <typename T, int Last>
struct Arr {
  std::array<T, static_cast<std::size_t>(Last) + 1> items;

  template <std::integral I>
  constexpr T& operator[](I i) {
    return items[CheckedIndex<Last>(i)];
  }
  template <std::integral I>
  constexpr const T& operator[](I i) const {
    return items[CheckedIndex<Last>(i)];
  }
  constexpr auto begin() { return items.begin(); }
  constexpr auto end() { return items.end(); }
  constexpr auto begin() const { return items.begin(); }
  constexpr auto end() const { return items.end(); }
  static constexpr std::size_t size() { return static_cast<std::size_t>(Last) + 1; }
  void fill(const T& value) { items.fill(value); }
  friend bool operator==(const Arr&, const Arr&) = default;
};

// An Arr for the big tables, read as if every element were there, T{} until written: an element
// is made on its first write, with those before it. A story writes a few hundred of its ten
// thousand lines, and making and clearing all of them cost more than the story itself. The room
// for all elements is taken at the first write, so a reference to an element stays valid as
// later writes add elements, as it does in an Arr.
template <typename T, int Last>
class LazyArr {
 public:
  LazyArr() = default;
  LazyArr(const LazyArr& other) { *this = other; }
  LazyArr(LazyArr&&) noexcept = default;
  LazyArr& operator=(const LazyArr& other) {
    if (this != &other) {
      if (!other.items_.empty()) items_.reserve(kRoom);
      items_ = other.items_;
    }
    return *this;
  }
  LazyArr& operator=(LazyArr&&) noexcept = default;

  template <std::integral I>
  T& operator[](I i) {
    const std::size_t k = CheckedIndex<Last>(i);
    if (k >= items_.size()) [[unlikely]]
      Grow(k);
    return items_[k];
  }
  template <std::integral I>
  const T& operator[](I i) const {
    const std::size_t k = CheckedIndex<Last>(i);
    return k < items_.size() ? items_[k] : Unwritten();
  }
  // The elements made so far, from element 0 on; every one after them is T{}.
  auto begin() { return items_.begin(); }
  auto end() { return items_.end(); }
  auto begin() const { return items_.begin(); }
  auto end() const { return items_.end(); }
  // Every element back to T{}; the room stays for the next story.
  void clear() { items_.clear(); }
  friend bool operator==(const LazyArr& a, const LazyArr& b) {
    const auto& shorter = a.items_.size() <= b.items_.size() ? a.items_ : b.items_;
    const auto& longer = &shorter == &a.items_ ? b.items_ : a.items_;
    for (std::size_t k = 0; k < longer.size(); ++k)
      if (longer[k] != (k < shorter.size() ? shorter[k] : Unwritten())) return false;
    return true;
  }

 private:
  static constexpr std::size_t kRoom = static_cast<std::size_t>(Last) + 1;
  // Kept out of line, so that reading an element that exists stays a plain index.
  [[gnu::noinline]] void Grow(std::size_t k) {
    items_.reserve(kRoom);
    items_.resize(k + 1);
  }
  static const T& Unwritten() {
    static const T value{};
    return value;
  }
  std::vector<T> items_;
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
  LazyArr<LazyArr<Text, kMaxShadeLines>, kMaxShadeGroups> shadeLines;

  // Cast.
  LazyArr<Text, kMaxPersons> personPool;
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
  LazyArr<Arr<Long, kMaxGroupRecords>, kMaxGroups> usedRecords;
  Long groupNo = 0;
  Long pickedRecord = 0;
  Long recordNo = 0;
  Long stepRoll = 0;
  Long stepKept = 0;
  Long savedLineCount = 0;

  // Story text.
  LazyArr<Text, kMaxTextLines> textLines;
  Long lineCount = 1;
  Long topLine = 1;

  // Phrase engine memory.
  LazyArr<Text, kMaxFacts> facts;
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
