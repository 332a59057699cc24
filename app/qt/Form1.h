#pragma once
// The story window. Every rule of the story lives in StorySession; this window forwards the
// reader's clicks and keys to it and then shows its WindowState, nothing more.
#include <QMainWindow>
#include <QPointer>
#include <array>
#include <exception>
#include <functional>
#include <memory>

#include "app/Hint.h"
#include "app/StoryNumber.h"
#include "app/StorySession.h"
#include "view/qt/PageControls.h"

class QLabel;
class QPushButton;
class QTimer;
class QAction;

namespace quorbel::ui {

class ClickLabel;
class Form2;
class Form3;

class Form1 : public QMainWindow {
  Q_OBJECT
 public:
  // dir: the story material; rng: the story's generator; reseed: re-seeds rng from the clock
  // (called on load and for each new story).
  Form1(DataDir dir, Random& rng, std::function<void()> reseed = {}, QWidget* parent = nullptr);
  ~Form1() override;

  StorySession& session() { return session_; }
  const DataDir& dataDir() const { return dir_; }
  // The settings or about window while it is open.
  QWidget* settingsWindow() const;
  QWidget* aboutWindow() const;
  // The story numbers: shown in the status bar, and asked for by the replay dialog.
  void SetStoryNumbers(NumberedRandom* numbers);

 public slots:
  void Timer1_Timer();
  void PickSuspect(int k);  // Label4_DblClick .. Label13_DblClick
  void Command1_Click();    // scroll up
  void Command2_Click();    // scroll down
  void Command3_Click();    // OK
  void Command4_Click();    // Отмена
  void Command5_Click();    // another story
  void Command6_Click();    // save
  void nastrojki_Click();
  void help_Click();
  // "Сохранить как…": asks for a file, then SaveAs.
  void saveAs_Click();
  // Writes the story to path, asking first when the file is there already.
  void SaveAs(const QString& path);
  void hint_Click();    // "Подсказка", key H
  void replay_Click();  // the same story again, by its number
  void ReplayStory(const QString& number);

 protected:
  void keyPressEvent(QKeyEvent* e) override;
  void wheelEvent(QWheelEvent* e) override;
  void closeEvent(QCloseEvent* e) override;

 private:
  void BuildControls();
  QLabel* AddLabel(int number, const QString& text, const QFont& font, int left, int top, int width,
                   int height);
  void Mirror();
  void ShowError(const QString& intro, const std::exception& e);
  void OpenChild(QWidget* child);
  // Before a finished, unsaved story is thrown away: "Сохранить рассказ?". then runs after Да
  // (and a good save) or Нет; Отмена runs nothing.
  void AskToKeep(std::function<void()> then);
  bool SaveToQrb();  // Command6's save; false when it failed (the fault is shown)
  void StartAnotherStory();
  void WriteCopy(const QString& path);

  DataDir dir_;
  StorySession session_;
  QTimer* timer_ = nullptr;
  QWidget* client_ = nullptr;  // the page area keeps the keyboard focus
  QLabel* cover_ = nullptr;  // Image1
  bool coverFailed_ = false;  // which cover picture is drawn
  QLabel* reveal_ = nullptr;  // the code after a defeat
  std::unique_ptr<PageControls> page_;
  std::array<QLabel*, 71> labels_{};  // Label1..Label70 by number
  std::array<QPushButton*, 7> buttons_{};  // Command3..Command6 by number
  QAction* settingsAction_ = nullptr;
  QAction* aboutAction_ = nullptr;
  QAction* saveAsAction_ = nullptr;
  bool closeConfirmed_ = false;
  QAction* hintAction_ = nullptr;
  QAction* replayAction_ = nullptr;
  QLabel* hintLabel_ = nullptr;
  QLabel* hintLegend_ = nullptr;
  QLabel* storyNumber_ = nullptr;
  NumberedRandom* numbers_ = nullptr;
  HintBoard hints_;
  QPointer<QWidget> settings_;
  QPointer<QWidget> about_;
  int wheelRest_ = 0;  // wheel turn short of a notch
};

}  // namespace quorbel::ui
