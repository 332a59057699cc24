#include "app/StorySession.h"

#include "app/StoryFlow.h"
#include "story/Numbers.h"
#include "story/Platform.h"
#include "story/PlotBuilder.h"

namespace quorbel {

namespace {

const char* const kDesignSuspects[] = {"",           "1. Иванов",   "2. Петров",  "3. Сидоров",
                                       "4. Константинов", "5. Васечкин", "6. Федоров", "7. Борисов",
                                       "8. Филиппов", "9. Леонидов", "10(0). Гуринов"};

Text WithoutLast(const Text& t) { return t.empty() ? t : t.substr(0, t.size() - 1); }

}  // namespace

StorySession::StorySession(DataDir dir, Random& rng, std::function<void()> reseed)
    : dir_(std::move(dir)), rng_(rng), reseed_(std::move(reseed)), state_(std::make_unique<StoryState>()) {
  for (int k = 1; k <= 10; ++k) {
    window_.suspectCaptions[k] = T(kDesignSuspects[k]);
    window_.suspectVisible[k] = true;
    window_.suspectEnabled[k] = true;
  }
  window_.questionCaption = T("Вопрос-вопрос-вопрос");
  window_.title = T("НАЗВАНИЕ РАССКАЗА");
}

void StorySession::DrawCode() { DrawSecretCode(*state_, rng_); }

void StorySession::Load() {
  if (reseed_) reseed_();
  StoryState& s = *state_;
  s.answerPos = 1;
  s.attemptNo = 1;
  s.lineCount = 1;
  s.topLine = 1;
  s.factCount = 0;
  DrawCode();
  window_.timerEnabled = true;
}

void StorySession::TimerTick() {
  StoryState& s = *state_;
  window_.timerEnabled = false;
  try {
    const DataDir::Pass pass(dir_);
    BuildStory(s, rng_, dir_);
  } catch (...) {
    // The story could not be built: leave a way to try again.
    window_.newStoryVisible = true;
    window_.buildFailed = true;
    throw;
  }
  window_.title = s.title;
  for (Long k = 1; k <= 10; ++k) {
    Text prefix = k == 10 ? T("10(0) ") : NumText(k) + u" ";
    window_.suspectCaptions[k] = prefix + WithoutLast(s.castNames[k]);
  }
  window_.questionCaption = s.questions[s.answerPos >= 1 && s.answerPos <= 4 ? s.answerPos : 1];
  ShowPage(s, window_.page);
  window_.coverVisible = false;
  window_.page.pictureVisible = true;
  window_.okVisible = true;
  window_.cancelVisible = true;
  window_.newStoryVisible = true;
}

void StorySession::PickSuspect(int k) {
  // Nothing to answer while the story is being built: its cast and questions are not there yet.
  if (k < 1 || k > 10 || finished() || !storyShown()) return;
  if (!window_.suspectVisible[k] || !window_.suspectEnabled[k]) return;
  StoryState& s = *state_;
  window_.suspectVisible[k] = false;
  if (s.answerPos >= 1 && s.answerPos <= 4) window_.digitBoxes[s.answerPos] = NumText(k % 10);
  ++s.answerPos;
  if (s.answerPos == 5) window_.okEnabled = true;
  if (s.answerPos < 5) window_.questionCaption = s.questions[s.answerPos];
}

void StorySession::PickDigits(std::string_view digits) {
  for (char d : digits)
    if (d >= '0' && d <= '9') PickSuspect(d == '0' ? 10 : d - '0');
}

std::string CodeText(const StoryState& s) {
  std::string code;
  for (int i = 1; i <= 4; ++i) code += static_cast<char>('0' + s.codeDigits[i]);
  return code;
}

void StorySession::Cancel() {
  StoryState& s = *state_;
  for (int k = 1; k <= 10; ++k) window_.suspectVisible[k] = true;
  for (int i = 1; i <= 4; ++i) window_.digitBoxes[i].clear();
  s.answerPos = 1;
  window_.questionCaption = s.questions[1];
  window_.okEnabled = false;
}

void StorySession::Ok() {
  StoryState& s = *state_;
  if (!window_.okVisible || !window_.okEnabled || s.attemptNo < 1 || s.attemptNo > 8) return;
  const DataDir::Pass pass(dir_);
  const Long n = s.attemptNo;
  const Text guess = window_.digitBoxes[1] + window_.digitBoxes[2] + window_.digitBoxes[3] + window_.digitBoxes[4];
  ScoreGuess(s, n, guess);
  window_.rowGuess[n] = s.guesses[n];
  window_.rowResult[n] = s.results[n];
  window_.rowVisible[n] = true;
  if (s.bulls[n] == 4) {
    window_.congratsVisible = true;
    for (int k = 1; k <= 10; ++k) window_.suspectVisible[k] = false;
    window_.instructionVisible = false;
    window_.questionVisible = false;
  } else {
    for (int k = 1; k <= 10; ++k) window_.suspectVisible[k] = true;
  }
  s.attemptNo = n + 1;
  s.answerPos = 1;
  window_.questionCaption = s.questions[1];
  for (int i = 1; i <= 4; ++i) window_.digitBoxes[i].clear();
  window_.okEnabled = false;

  JudgeGuess(s, n);
  // The turn's text starts on the last line when it continues it (a paragraph's blanks), else
  // on the next.
  const Long lastBefore = s.lineCount;
  const Text lastLineBefore = s.textLines[lastBefore];
  const Long topBefore = s.topLine;
  PlayMainEpisodes(s, rng_, dir_);
  ShowPage(s, window_.page);

  const bool found = s.results[n] == u" 4 0";
  Ending kind = Ending::None;
  if (n <= 7 && found) kind = Ending::QuickWin;
  if (n == 8 && found) kind = Ending::LastGuessWin;
  if (n == 8 && !found) kind = Ending::Defeat;
  if (kind != Ending::None) {
    PlayFinalEpisode(s, rng_, dir_, static_cast<Long>(kind));
    ShowPage(s, window_.page);
    ending_ = kind;
    FinishStory();
  }
  const Long firstNew = s.textLines[lastBefore] != lastLineBefore ? lastBefore : lastBefore + 1;
  if (firstNew <= s.lineCount) {
    window_.page.freshFirst = firstNew;
    window_.page.freshLast = s.lineCount;
    backTop_ = topBefore;
    MoveTo(s, window_.page, firstNew);
  }
  s.statusLine += Str(s.dayOfYear - s.startDayOfYear) + u" " + s.clockTime;
}

void StorySession::FinishStory() {
  window_.saveVisible = true;
  window_.instructionVisible = false;
  window_.questionVisible = false;
  window_.digitBoxesVisible = false;
  for (int k = 1; k <= 10; ++k) window_.suspectEnabled[k] = false;
  window_.okVisible = false;
  window_.cancelVisible = false;
  if (ending_ == Ending::Defeat) {
    Text reveal = T("Шифр был: ") + FromUtf8(CodeText(*state_));
    for (int i = 1; i <= 4; ++i) {
      const Long digit = state_->codeDigits[i];
      reveal += u"\n" + window_.suspectCaptions[digit == 0 ? 10 : digit];
    }
    window_.codeReveal = reveal;
  }
}

void StorySession::NewStory() {
  StoryState& s = *state_;
  window_.page.pictureVisible = false;
  window_.coverVisible = true;
  for (int n = 1; n <= 8; ++n) {
    s.bulls[n] = 0;
    s.cows[n] = 0;
  }
  for (int k = 1; k <= 10; ++k) window_.suspectVisible[k] = true;
  window_.instructionVisible = true;
  window_.questionVisible = true;
  for (int n = 1; n <= 8; ++n) window_.rowVisible[n] = false;
  window_.congratsVisible = false;
  window_.codeReveal.clear();
  window_.buildFailed = false;
  // The save button belongs to the story it was shown for: left up, it would write the new
  // story's opening over the file.
  window_.saveVisible = false;
  kept_ = false;
  backTop_ = 0;
  window_.page.freshFirst = window_.page.freshLast = 0;
  window_.page.fresh = {};
  if (reseed_) reseed_();
  s.answerPos = 1;
  s.attemptNo = 1;
  DrawCode();
  // Every line is emptied, not only the first thousand: a longer earlier story would otherwise
  // leave its tail behind the new text.
  for (auto& line : s.textLines) line.clear();
  s.lineCount = 1;
  s.topLine = 1;
  s.factCount = 0;
  for (int i = 1; i <= 4; ++i) window_.digitBoxes[i].clear();
  window_.digitBoxesVisible = true;
  window_.okEnabled = false;
  for (int k = 1; k <= 10; ++k) window_.suspectEnabled[k] = true;
  window_.page.scrollUpVisible = false;
  window_.page.scrollDownVisible = false;
  window_.okVisible = false;
  window_.cancelVisible = false;
  window_.newStoryVisible = false;
  window_.page.firstRowNarrow = true;
  ending_ = Ending::None;
  window_.timerEnabled = true;
}

std::vector<Text> SavedLines(const StoryState& s) {
  std::vector<Text> lines;
  for (Long i = 1; i <= s.lineCount && i <= kMaxTextLines; ++i)
    lines.push_back(i == 1 ? u"   " + s.textLines[1] : s.textLines[i]);
  return lines;
}

void StorySession::Save(const std::filesystem::path& path) {
  // Written through a temporary file and a rename: a failed save leaves the old file whole,
  // and the button stays for another try.
  SaveCopy(path);
  window_.saveVisible = false;
}

void StorySession::SaveCopy(const std::filesystem::path& path) {
  WriteTextFile(path, SavedLines(*state_), PathToUtf8(path.filename()));
  if (finished()) kept_ = true;
}

void StorySession::PageBy(Long lines) {
  if (storyShown()) MoveBy(*state_, window_.page, lines);
}

void StorySession::PageTo(Long top) {
  if (storyShown()) MoveTo(*state_, window_.page, top);
}

void StorySession::PageBack() {
  if (!storyShown() || backTop_ < 1) return;
  const Long here = state_->topLine;
  MoveTo(*state_, window_.page, backTop_);
  backTop_ = here;
}

Text SuggestedFileName(const Text& title) {
  Text name;
  for (char16_t c : title) {
    const bool bad = c < 0x20 || c == 0x7f || Text(u"/\\:*?\"<>|").find(c) != Text::npos;
    const char16_t put = bad ? u' ' : c;
    // One blank between words, none at either end.
    if (put == u' ' && (name.empty() || name.back() == u' ')) continue;
    name += put;
  }
  while (!name.empty() && (name.back() == u' ' || name.back() == u'.')) name.pop_back();
  return (name.empty() ? T("рассказ") : name) + u".txt";
}

void StorySession::ScrollUp() { quorbel::ScrollUp(*state_, window_.page); }
void StorySession::ScrollDown() { quorbel::ScrollDown(*state_, window_.page); }

}  // namespace quorbel
