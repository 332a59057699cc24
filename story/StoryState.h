#pragma once
// The one record of story-wide variables. Arrays keep the bounds of the data model and are
// addressed from 1; element 0 holds nothing unless noted. The record is large (about 1 MB of
// strings): hold it on the heap (std::make_unique<StoryState>()).
#include <array>

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

template <typename T, int Last>
using Arr = std::array<T, Last + 1>;  // elements 0..Last

struct StoryState {
  // Told of every choice of the engine when set; no story ever sets it.
  ChoiceObserver* observer = nullptr;

  // Settings: (1) style, (2) theme, (3) absurdity, (4) month, (5) time-of-day block, (6) clouds,
  // (7) wind, (8) temperature class, (9) precipitation, (10) freeze. 0 = random until resolved.
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
