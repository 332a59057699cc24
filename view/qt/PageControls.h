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

  // Shows the page; the drop-cap picture is loaded from dir when its file changes. A missing or
  // unreadable picture leaves the box empty; the rows are shown all the same.
  void Mirror(const PageView& page, const DataDir& dir);

  QLabel* picture() const { return picture_; }
  QLabel* row(int k) const { return rows_[static_cast<std::size_t>(k)]; }  // 0..18
  QPushButton* scrollUp() const { return up_; }
  QPushButton* scrollDown() const { return down_; }

 private:
  QLabel* picture_;
  QLabel* widths_;  // Label50: the hidden note of the wrap widths
  std::array<QLabel*, kPageRows> rows_{};
  QPushButton* up_;
  QPushButton* down_;
  std::string loadedFile_;
  bool loadedOnce_ = false;
};

}  // namespace quorbel::ui
