#include "settings/qt/Form2.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

#include "app/Messages.h"
#include "app/qt/ClickLabel.h"
#include "app/qt/ErrorBox.h"
#include "app/qt/Look.h"
#include "app/qt/Pictures.h"
#include "story/DataError.h"

namespace quorbel::ui {

namespace {
QString Q(const Text& t) { return QString::fromStdU16String(t); }

QLabel* MakeLabel(QWidget* parent, const char* name, const QString& text, int l, int t, int w, int h) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(name);
  label->setTextFormat(Qt::PlainText);
  PlaceTw(label, l, t, w, h);
  return label;
}

// The current entry of a fixed list: a white sunken box.
QLabel* MakeValue(QWidget* parent, const char* name, int l, int t, int w, int h) {
  QLabel* label = MakeLabel(parent, name, QString(), l, t, w, h);
  label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  label->setWordWrap(true);
  label->setFont(SansFont(8.25, true));
  label->setAutoFillBackground(true);
  QPalette p = label->palette();
  p.setColor(QPalette::Window, Qt::white);
  label->setPalette(p);
  return label;
}

QPushButton* MakeArrow(QWidget* parent, const char* name, bool up, int l, int t) {
  auto* button = new QPushButton(parent);
  button->setObjectName(name);
  PlaceTw(button, l, t, 600, 210);
  const QSize picture(Tw(525), Tw(150));  // 35 x 10 pixels at 96 dpi
  button->setIcon(QIcon(ArrowPicture(up, picture)));
  button->setIconSize(picture);
  button->setAccessibleName(up ? QStringLiteral("вверх") : QStringLiteral("вниз"));
  return button;
}
}  // namespace

Form2::Form2(DataDir dir, QWidget* parent) : QWidget(parent, Qt::Dialog), dir_(std::move(dir)) {
  setObjectName("Form2");
  setWindowTitle(QStringLiteral("Настройки"));
  setWindowModality(Qt::ApplicationModal);
  setFont(SansFont(8.25, false));
  setFixedSize(Tw(7800), Tw(7440));

  auto* frame1 = new QGroupBox(QStringLiteral("Неизменяемые в ходе рассказа параметры"), this);
  frame1->setObjectName("Frame1");
  PlaceTw(frame1, 120, 60, 7560, 2880);
  MakeLabel(frame1, "Label2", QStringLiteral("Стиль рассказа"), 240, 420, 2520, 255);
  style_ = MakeValue(frame1, "Label11", 2760, 300, 3720, 495);
  MakeLabel(frame1, "Label1", QStringLiteral("Тема рассказа"), 240, 1260, 2520, 255);
  theme_ = MakeValue(frame1, "Label12", 2760, 1140, 3720, 495);
  QLabel* realismHeading =
      MakeLabel(frame1, "Label3", QStringLiteral("Степень реалистичности рассказа"), 240, 1980, 2400, 495);
  realismHeading->setWordWrap(true);
  realism_ = MakeValue(frame1, "Label13", 2760, 1980, 3720, 495);
  QPushButton* arrows[6] = {
      MakeArrow(frame1, "Command3", true, 6600, 300),  MakeArrow(frame1, "Command4", false, 6600, 585),
      MakeArrow(frame1, "Command5", true, 6600, 1140), MakeArrow(frame1, "Command6", false, 6600, 1425),
      MakeArrow(frame1, "Command8", true, 6600, 1980), MakeArrow(frame1, "Command7", false, 6600, 2265)};
  connect(arrows[0], &QPushButton::clicked, this, &Form2::Command3_Click);
  connect(arrows[1], &QPushButton::clicked, this, &Form2::Command4_Click);
  connect(arrows[2], &QPushButton::clicked, this, &Form2::Command5_Click);
  connect(arrows[3], &QPushButton::clicked, this, &Form2::Command6_Click);
  connect(arrows[4], &QPushButton::clicked, this, &Form2::Command8_Click);
  connect(arrows[5], &QPushButton::clicked, this, &Form2::Command7_Click);

  auto* frame2 = new QGroupBox(QStringLiteral("Возможные к изменению параметры в ходе рассказа"), this);
  frame2->setObjectName("Frame2");
  PlaceTw(frame2, 120, 3060, 7560, 3660);
  const struct {
    const char* label;
    const char* text;
    int combo;
  } rows[] = {{"Label6", "Время года", 4}, {"Label7", "Время суток", 5}, {"Label8", "Облачность", 6},
              {"Label9", "Ветер", 7},      {"Label4", "Температура", 8}, {"Label5", "Осадки", 9}};
  int y = 360;
  for (const auto& r : rows) {
    MakeLabel(frame2, r.label, QString::fromUtf8(r.text), 240, y + 30, 2520, 255);
    auto* combo = new QComboBox(frame2);
    combo->setObjectName(QStringLiteral("Combo%1").arg(r.combo));
    for (const Text& entry : ConditionEntries(r.combo)) combo->addItem(Q(entry));
    PlaceTw(combo, 2760, y, 4560, 330);
    combos_[static_cast<std::size_t>(r.combo)] = combo;
    y += 420;
  }
  freeze_ = new QCheckBox(frame2);
  freeze_->setObjectName("Check1");
  PlaceTw(freeze_, 240, 2940, 300, 300);
  auto* freezeText = new ClickLabel(
      QStringLiteral("Запретить изменение параметров, возможных к изменению в ходе рассказа (Примечание про "
                     "время суток: при этом запрете все события произойдут в течение суток)"),
      frame2);
  freezeText->setObjectName("Label10");
  freezeText->setWordWrap(true);
  PlaceTw(freezeText, 600, 2880, 6780, 660);
  connect(freezeText, &ClickLabel::clicked, freeze_, &QCheckBox::toggle);

  auto* ok = new QPushButton(QStringLiteral("ОК"), this);
  ok->setObjectName("Command2");
  PlaceTw(ok, 1680, 6840, 1920, 450);
  SetButtonColour(ok, kLightGreen);
  connect(ok, &QPushButton::clicked, this, &Form2::Command2_Click);
  auto* cancel = new QPushButton(QStringLiteral("Отмена"), this);
  cancel->setObjectName("Command1");
  PlaceTw(cancel, 4200, 6840, 1920, 450);
  SetButtonColour(cancel, kLightRed);
  connect(cancel, &QPushButton::clicked, this, &Form2::Command1_Click);

  try {
    model_.Load(dir_);
  } catch (const std::exception& e) {
    // The window opens all the same, with what could be read; the fault is shown over it.
    loadError_ = QString::fromUtf8(e.what());
    QTimer::singleShot(0, this, [this] {
      ShowErrorBox(this, QStringLiteral("Настройки"),
                   QStringLiteral("Настройки прочитаны не полностью:\n") + loadError_);
    });
  }
  Mirror();
  // The lists and the check box are read by "ОК" from the model; keep it current.
  for (int c = 4; c <= 9; ++c)
    connect(combos_[static_cast<std::size_t>(c)], &QComboBox::currentIndexChanged, this,
            [this, c](int index) { model_.setComboIndex(c, index); });
  connect(freeze_, &QCheckBox::toggled, this, [this](bool on) { model_.setFreeze(on); });
}

void Form2::Mirror() {
  style_->setText(Q(model_.styleCaption()));
  theme_->setText(Q(model_.themeCaption()));
  realism_->setText(Q(model_.realismCaption()));
  for (int c = 4; c <= 9; ++c) combos_[static_cast<std::size_t>(c)]->setCurrentIndex(model_.comboIndex(c));
  freeze_->setChecked(model_.freeze());
}

void Form2::ShowError(const QString& intro, const std::exception& e) {
  ShowErrorBox(this, QStringLiteral("Настройки"), intro, e);
}

void Form2::Command1_Click() { close(); }

void Form2::keyPressEvent(QKeyEvent* e) {
  if (e->key() == Qt::Key_Escape) {
    Command1_Click();
  } else if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
    Command2_Click();
  } else {
    QWidget::keyPressEvent(e);
  }
}

void Form2::Command2_Click() {
  try {
    model_.Save(dir_);
  } catch (const std::exception& e) {
    ShowError(QStringLiteral("Настройки не удалось сохранить."), e);
    return;
  }
  close();
}

void Form2::Command3_Click() {
  model_.PreviousStyle();
  Mirror();
}

void Form2::Command4_Click() {
  model_.NextStyle();
  Mirror();
}

void Form2::Command5_Click() {
  try {
    model_.PreviousTheme(dir_);
  } catch (const std::exception& e) {
    ShowError(QStringLiteral("Список тем не удалось прочитать."), e);
  }
  Mirror();
}

void Form2::Command6_Click() {
  try {
    model_.NextTheme(dir_);
  } catch (const std::exception& e) {
    ShowError(QStringLiteral("Список тем не удалось прочитать."), e);
  }
  Mirror();
}

void Form2::Command7_Click() {
  model_.PreviousRealism();
  Mirror();
}

void Form2::Command8_Click() {
  model_.NextRealism();
  Mirror();
}

}  // namespace quorbel::ui
