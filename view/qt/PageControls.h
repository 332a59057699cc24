#pragma once
// The page of the main window: the drop-cap box, the 19 rows and the two scroll buttons, as
// child controls of the window. They only mirror a PageView.
#include <QLabel>
#include <QPushButton>
#include <array>
#include <string>

#include "story/TextFile.h"
#include "view/Page.h"

namespace quorbel::ui {

class PageControls {
 public:
  // Creates Picture1, Label50..Label69, Command1 and Command2 on parent.
  explicit PageControls(QWidget* parent);

  // Shows the page; the drop-cap picture is loaded from dir when its file changes. When no
  // picture can be drawn (a missing or unreadable file), row 1 shows its whole line at full width
  // and the box stays hidden.
  void Mirror(const PageView& page, const DataDir& dir);

  QLabel* picture() const { return picture_; }
  QLabel* row(int k) const { return rows_[static_cast<std::size_t>(k)]; }  // 0..18
  QWidget* mark(int k) const { return marks_[static_cast<std::size_t>(k)]; }  // 0..18
  QPushButton* scrollUp() const { return up_; }
  QPushButton* scrollDown() const { return down_; }

 private:
  QLabel* picture_;
  QLabel* widths_;  // Label50: the hidden note of the wrap widths
  std::array<QLabel*, kPageRows> rows_{};
  std::array<QWidget*, kPageRows> marks_{};  // the margin marks of the latest turn's rows
  QPushButton* up_;
  QPushButton* down_;
  std::string loadedFile_;
  bool loadedOnce_ = false;
  bool pictureDrawn_ = false;
};

}  // namespace quorbel::ui
