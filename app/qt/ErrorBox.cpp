#include "app/qt/ErrorBox.h"

#include <QMessageBox>

#include "app/Messages.h"

namespace quorbel {

void ShowErrorBox(QWidget* parent, const QString& title, const QString& text) {
  auto* box = new QMessageBox(QMessageBox::Warning, title, text, QMessageBox::Ok, parent);
  box->setObjectName("errorBox");
  box->setAttribute(Qt::WA_DeleteOnClose);
  box->open();
}

void ShowErrorBox(QWidget* parent, const QString& title, const QString& intro, const std::exception& e) {
  ShowErrorBox(parent, title, intro + "\n" + QString::fromStdString(FaultText(e)));
}

void RunErrorBox(const QString& title, const QString& text, const QString& objectName) {
  QMessageBox box(QMessageBox::Critical, title, text, QMessageBox::Ok);
  box.setObjectName(objectName);
  box.exec();
}

}  // namespace quorbel
