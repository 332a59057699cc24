#pragma once
// The settings window: shows a SettingsModel and passes its arrows, lists and check box on to it.
#include <QWidget>
#include <array>

#include "settings/SettingsModel.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;

namespace quorbel::ui {

class Form2 : public QWidget {
  Q_OBJECT
 public:
  explicit Form2(DataDir dir, QWidget* parent = nullptr);

  const SettingsModel& model() const { return model_; }
  // The fault met while reading the catalogues or the settings file, empty if none.
  const QString& loadError() const { return loadError_; }

 public slots:
  void Command1_Click();  // Отмена
  void Command2_Click();  // ОК
  void Command3_Click();  // previous style
  void Command4_Click();  // next style
  void Command5_Click();  // previous theme
  void Command6_Click();  // next theme
  void Command7_Click();  // previous realism
  void Command8_Click();  // next realism

 protected:
  // Escape is "Отмена", Enter is "ОК".
  void keyPressEvent(QKeyEvent* e) override;

 private:
  void Mirror();
  void ShowError(const QString& intro, const std::exception& e);

  DataDir dir_;
  SettingsModel model_;
  QString loadError_;
  QLabel* style_ = nullptr;    // Label11
  QLabel* theme_ = nullptr;    // Label12
  QLabel* realism_ = nullptr;  // Label13
  std::array<QComboBox*, 10> combos_{};  // Combo4..Combo9
  QCheckBox* freeze_ = nullptr;
};

}  // namespace quorbel::ui
