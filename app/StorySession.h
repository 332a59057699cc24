#pragma once
// The story window's rules without the window: start-up, the quiz, the OK turn, a new story and
// the save. The state the window shows through its controls (what is visible, enabled, and the
// captions) is plain data here, so the Qt window only mirrors it.
#include <array>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "story/StoryState.h"
#include "story/TextFile.h"
#include "view/Page.h"

namespace quorbel {

struct WindowState {
  bool coverVisible = true;   // Image1
  bool buildFailed = false;   // the cover says the story could not be built
  bool timerEnabled = false;  // Timer1 (one-shot story build)
  // Suspects 1..10 (Label4..Label13).
  Arr<Text, 10> suspectCaptions{};
  Arr<bool, 10> suspectVisible{};
  Arr<bool, 10> suspectEnabled{};
  bool instructionVisible = true;  // Label14
  bool questionVisible = true;     // Label15
  Text questionCaption;            // Label15 caption
  Arr<Text, 4> digitBoxes{};  // Label44..Label47 as positions 1..4
  bool digitBoxesVisible = true;
  // Results table rows 1..8: (Label 17+3n, 18+3n, 19+3n).
  Arr<bool, 8> rowVisible{};
  Arr<Text, 8> rowGuess{};
  Arr<Text, 8> rowResult{};
  bool congratsVisible = false;  // Label49 "Поздравляем!"
  bool okVisible = false;        // Command3
  bool okEnabled = false;
  bool cancelVisible = false;     // Command4
  bool newStoryVisible = false;   // Command5
  bool saveVisible = false;       // Command6
  // After a defeat: the secret code and its suspects, shown under the results table.
  Text codeReveal;
  Text title;                     // Label1
  PageView page;                  // Picture1, Label51..Label69, Command1, Command2
};

// The story as the save writes it: line 1 indented by three blanks, then lines 2..lineCount.
std::vector<Text> SavedLines(const StoryState& s);

// The secret code as four digit characters, e.g. "3071".
std::string CodeText(const StoryState& s);

// Ending kinds of the final episode file.
enum class Ending { None = 0, QuickWin = 1, LastGuessWin = 2, Defeat = 3 };

class StorySession {
 public:
  // reseed is called where the window seeds the generator from the system timer (window load
  // and each new story); it may be empty.
  StorySession(DataDir dir, Random& rng, std::function<void()> reseed = {});

  StoryState& state() { return *state_; }
  const StoryState& state() const { return *state_; }
  const WindowState& window() const { return window_; }
  const DataDir& dataDir() const { return dir_; }

  // Form_Load: counters, the secret code, the timer armed.
  void Load();
  // Timer1_Timer: builds the story and shows the page and the buttons. Throws DataError;
  // the window then stays usable (the timer is off, "new story" is shown).
  void TimerTick();
  // Double-click on suspect k (1..10).
  void PickSuspect(int k);
  // The suspects of a guess written as digits ("0" is suspect 10), picked in order.
  void PickDigits(std::string_view digits);
  // "Отмена".
  void Cancel();
  // "OK": scores the guess and moves the story on. Throws DataError on a data fault.
  void Ok();
  // "Начать другой рассказ": resets and arms the timer.
  void NewStory();
  // "Сохранить текст рассказа": writes the story to path (Windows-1251, CR LF).
  void Save(const std::filesystem::path& path);
  // "Сохранить как…": the same lines to another file; Command6 stays for qrb.txt.
  void SaveCopy(const std::filesystem::path& path);
  void ScrollUp();
  void ScrollDown();
  // Keyboard and wheel reading: lines down (negative: up), or line top in the first row. Both
  // do nothing while there is no story on the page.
  void PageBy(Long lines);
  void PageTo(Long top);
  // Back to where the page stood before the last move that OK made (and again forth).
  void PageBack();

  // The story is on the page (not being built, not failed to build).
  bool storyShown() const { return !window_.coverVisible; }
  // A finished story that neither save has kept: starting another or closing loses it.
  bool finishedUnsaved() const { return finished() && !kept_; }

  Ending ending() const { return ending_; }
  bool finished() const { return ending_ != Ending::None; }

 private:
  void DrawCode();
  void FinishStory();

  DataDir dir_;
  Random& rng_;
  std::function<void()> reseed_;
  std::unique_ptr<StoryState> state_;
  WindowState window_;
  Ending ending_ = Ending::None;
  bool kept_ = false;  // the finished story has been written to a file
  Long backTop_ = 0;   // where PageBack goes; 0: nowhere
};

// A file name for a story made of its title: characters no file system takes become blanks;
// "рассказ.txt" for a title with nothing left.
Text SuggestedFileName(const Text& title);

}  // namespace quorbel
