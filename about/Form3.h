#pragma once
// The about window: a few lines about the program; any click in it, or Escape, closes it.
#include <QWidget>

namespace quorbel::ui {

class Form3 : public QWidget {
  Q_OBJECT
 public:
  explicit Form3(QWidget* parent = nullptr);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;  // Escape closes
};

}  // namespace quorbel::ui
