#pragma once
// A label that reports mouse clicks and double-clicks, as the suspect names and the about
// window's texts need.
#include <QLabel>
#include <QMouseEvent>

namespace quorbel::ui {

class ClickLabel : public QLabel {
  Q_OBJECT
 public:
  explicit ClickLabel(const QString& text = {}, QWidget* parent = nullptr) : QLabel(text, parent) {}

 signals:
  void clicked();
  void doubleClicked();

 protected:
  void mousePressEvent(QMouseEvent* e) override {
    if (e->button() == Qt::LeftButton) emit clicked();
    QLabel::mousePressEvent(e);
  }
  void mouseDoubleClickEvent(QMouseEvent* e) override {
    if (e->button() == Qt::LeftButton) emit doubleClicked();
    QLabel::mouseDoubleClickEvent(e);
  }
};

}  // namespace quorbel::ui
