#pragma once
// The one way the windows show an error: a warning box with an OK button.
#include <QString>
#include <exception>

class QWidget;

namespace quorbel {

// Over parent, window-modal and not blocking the caller; it deletes itself when closed. The
// window tests find it by its object name, "errorBox".
void ShowErrorBox(QWidget* parent, const QString& title, const QString& text);
// The same for a fault: the intro, then the fault as the reader is told it.
void ShowErrorBox(QWidget* parent, const QString& title, const QString& intro, const std::exception& e);
// Before any window is open: a critical box that blocks until it is closed.
void RunErrorBox(const QString& title, const QString& text, const QString& objectName);

}  // namespace quorbel
