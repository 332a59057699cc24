#include "app/qt/Form1.h"

#include <QAction>
#include <QInputDialog>
#include <QCloseEvent>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLayout>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>
#include <QWheelEvent>
#include <filesystem>

#include "about/Form3.h"
#include "app/Messages.h"
#include "app/qt/ClickLabel.h"
#include "app/qt/ErrorBox.h"
#include "app/qt/Look.h"
#include "app/qt/Pictures.h"
#include "settings/qt/Form2.h"
#include "story/DataError.h"

namespace quorbel::ui {

namespace {
constexpr int kClientWidth = 14940;
constexpr int kClientHeight = 8760;

QString Q(const Text& t) { return QString::fromStdU16String(t); }

const QString kCoverBuilding = QStringLiteral("Рассказ сочиняется, подождите минутку…");
const QString kCoverFailed = QStringLiteral("Рассказ не удалось составить.");

// A question with Russian buttons (the standard ones would speak the system's language).
QMessageBox* Question(QWidget* parent, const QString& name, const QString& text, bool withCancel) {
  auto* box = new QMessageBox(QMessageBox::Question, QStringLiteral("Составитель рассказов"), text,
                              QMessageBox::NoButton, parent);
  box->setObjectName(name);
  box->setAttribute(Qt::WA_DeleteOnClose);
  QPushButton* yes = box->addButton(QStringLiteral("Да"), QMessageBox::YesRole);
  yes->setObjectName("yes");
  box->addButton(QStringLiteral("Нет"), QMessageBox::NoRole)->setObjectName("no");
  if (withCancel) {
    QPushButton* cancel = box->addButton(QStringLiteral("Отмена"), QMessageBox::RejectRole);
    cancel->setObjectName("cancel");
    box->setEscapeButton(cancel);
  }
  box->setDefaultButton(yes);
  return box;
}

const char* const kSuspects[] = {"1. Иванов",   "2. Петров",   "3. Сидоров",   "4. Константинов",
                                 "5. Васечкин", "6. Федоров",  "7. Борисов",   "8. Филиппов",
                                 "9. Леонидов", "10(0). Гуринов"};
}  // namespace

Form1::Form1(DataDir dir, Random& rng, std::function<void()> reseed, QWidget* parent)
    : QMainWindow(parent), dir_(dir), session_(std::move(dir), rng, std::move(reseed)) {
  setObjectName("Form1");
  setWindowTitle(QStringLiteral("Составитель рассказов"));
  BuildControls();
  session_.Load();
  Mirror();
}

Form1::~Form1() {
  delete settings_.data();
  delete about_.data();
}

QWidget* Form1::settingsWindow() const { return settings_.data(); }
QWidget* Form1::aboutWindow() const { return about_.data(); }

QLabel* Form1::AddLabel(int number, const QString& text, const QFont& font, int left, int top, int width,
                        int height) {
  QLabel* label = number >= 4 && number <= 13 ? new ClickLabel(text, centralWidget())
                                              : new QLabel(text, centralWidget());
  label->setObjectName(QStringLiteral("Label%1").arg(number));
  label->setTextFormat(Qt::PlainText);
  label->setFont(font);
  PlaceTw(label, left, top, width, height);
  labels_[static_cast<std::size_t>(number)] = label;
  return label;
}

void Form1::BuildControls() {
  auto* client = new QWidget(this);
  client->setObjectName("client");
  // The page takes the keys: Space and the arrows read, they never press a button.
  client->setFocusPolicy(Qt::StrongFocus);
  client_ = client;
  client->setFixedSize(Tw(kClientWidth), Tw(kClientHeight));
  setCentralWidget(client);
  layout()->setSizeConstraint(QLayout::SetFixedSize);

  settingsAction_ = menuBar()->addAction(QStringLiteral("Настройки"));
  settingsAction_->setObjectName("nastrojki");
  connect(settingsAction_, &QAction::triggered, this, &Form1::nastrojki_Click);
  aboutAction_ = menuBar()->addAction(QStringLiteral("Реклама"));
  aboutAction_->setObjectName("help");
  connect(aboutAction_, &QAction::triggered, this, &Form1::help_Click);
  saveAsAction_ = menuBar()->addAction(QStringLiteral("Сохранить как…"));
  saveAsAction_->setObjectName("saveAs");
  saveAsAction_->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
  saveAsAction_->setEnabled(false);
  connect(saveAsAction_, &QAction::triggered, this, &Form1::saveAs_Click);
  hintAction_ = menuBar()->addAction(QStringLiteral("Подсказка"));
  hintAction_->setObjectName("hint");
  // H, also where a Russian keyboard layout puts the letter Р on that key.
  hintAction_->setShortcuts(QList<QKeySequence>{QKeySequence(Qt::Key_H), QKeySequence(QStringLiteral("Р"))});
  connect(hintAction_, &QAction::triggered, this, &Form1::hint_Click);
  replayAction_ = menuBar()->addAction(QStringLiteral("Рассказ по номеру"));
  replayAction_->setObjectName("replay");
  replayAction_->setVisible(false);
  connect(replayAction_, &QAction::triggered, this, &Form1::replay_Click);
  statusBar()->setObjectName("statusBar");
  statusBar()->setSizeGripEnabled(false);
  storyNumber_ = new QLabel(statusBar());
  storyNumber_->setObjectName("storyNumber");
  storyNumber_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  statusBar()->addPermanentWidget(storyNumber_);

  timer_ = new QTimer(this);
  timer_->setObjectName("Timer1");
  timer_->setSingleShot(true);
  timer_->setInterval(1000);
  connect(timer_, &QTimer::timeout, this, &Form1::Timer1_Timer);

  // The page: title, drop cap, rows and scroll buttons.
  QLabel* title = AddLabel(1, QStringLiteral("НАЗВАНИЕ РАССКАЗА"), CourierFont(14.25, true), 120, 0, 7700, 360);
  title->setAlignment(Qt::AlignCenter);
  page_ = std::make_unique<PageControls>(client);
  connect(page_->scrollUp(), &QPushButton::clicked, this, &Form1::Command1_Click);
  connect(page_->scrollDown(), &QPushButton::clicked, this, &Form1::Command2_Click);
  QLabel* status = AddLabel(70, QString(), SansFont(8, false), 120, 8700, 7700, 255);
  status->hide();

  // The quiz: suspects, question and the digits of the guess.
  const int colA = 8040, colAW = 3900;
  QLabel* heading = AddLabel(2, QStringLiteral("ПРЕДПОЛОЖЕНИЯ"), CourierFont(14.25, true), colA, 0, 6840, 360);
  heading->setAlignment(Qt::AlignCenter);
  AddLabel(3, QStringLiteral("Список действующих лиц:"), SansFont(9.75, false), colA, 420, colAW, 300);
  for (int k = 1; k <= 10; ++k) {
    QLabel* suspect = AddLabel(3 + k, QString::fromUtf8(kSuspects[k - 1]), CourierFont(12, true), colA,
                               760 + 315 * (k - 1), colAW, 300);
    connect(static_cast<ClickLabel*>(suspect), &ClickLabel::doubleClicked, this, [this, k] { PickSuspect(k); });
  }
  QLabel* instruction = AddLabel(
      14, QStringLiteral("Нажми мышкой дважды на соответствующую фамилию, чтобы ответить на вопрос:"),
      SansFont(9.75, true), colA, 3960, colAW, 720);
  instruction->setWordWrap(true);
  QLabel* question = AddLabel(15, QStringLiteral("Вопрос-вопрос-вопрос"), SansFont(9.75, true), colA, 4710, colAW, 600);
  question->setWordWrap(true);
  question->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  QPalette questionColour = question->palette();
  questionColour.setColor(QPalette::WindowText, QColor(0x00, 0x00, 0x80));
  question->setPalette(questionColour);
  AddLabel(48, QStringLiteral("Текущий шифр предположения"), SansFont(12, true), colA, 5400, colAW, 330);
  for (int i = 0; i < 4; ++i) {
    QLabel* box = AddLabel(44 + i, QString(), SansFont(12, true), colA + 480 * i, 5790, 375, 375);
    box->setAlignment(Qt::AlignCenter);
    box->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    box->setAutoFillBackground(true);
    QPalette p = box->palette();
    p.setColor(QPalette::Window, Qt::white);
    box->setPalette(p);
  }
  // Below the digit boxes and the OK and Cancel buttons: the hint.
  hintLabel_ = new QLabel(client);
  hintLabel_->setObjectName("hintText");
  hintLabel_->setTextFormat(Qt::PlainText);
  hintLabel_->setFont(SansFont(9.75, true));
  hintLabel_->setWordWrap(true);
  hintLabel_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  PlaceTw(hintLabel_, colA, 7020, colAW, 720);
  hintLabel_->hide();
  QLabel* congrats = AddLabel(49, QStringLiteral("Поздравляем!"), SansFont(13.5, true), colA + 1980, 5770, 1920, 420);
  QPalette red = congrats->palette();
  red.setColor(QPalette::WindowText, Qt::red);
  congrats->setPalette(red);
  congrats->hide();

  // The results table.
  const int colB = 12060;
  QLabel* results = AddLabel(16, QStringLiteral("РЕЗУЛЬТАТЫ"), CourierFont(14.25, true), colB, 420, 2760, 360);
  results->setAlignment(Qt::AlignCenter);
  const int colX[3] = {colB, colB + 600, colB + 1860};
  const int colW[3] = {600, 1260, 900};
  const char* const headings[3] = {"ШАГ", "Шифр пред- положения", "Б - К"};
  for (int c = 0; c < 3; ++c) {
    QLabel* h = AddLabel(17 + c, QString::fromUtf8(headings[c]), SansFont(9.75, true), colX[c], 860, colW[c], 480);
    h->setAlignment(Qt::AlignCenter);
    h->setWordWrap(true);
  }
  for (int n = 1; n <= 8; ++n) {
    for (int c = 0; c < 3; ++c) {
      QLabel* cell = AddLabel(17 + 3 * n + c, c == 0 ? QString::number(n) : QString(), SansFont(12, true), colX[c],
                              1440 + 480 * (n - 1), colW[c], 375);
      cell->setAlignment(Qt::AlignCenter);
      cell->hide();
    }
  }
  reveal_ = new QLabel(client);
  reveal_->setObjectName("CodeReveal");
  reveal_->setTextFormat(Qt::PlainText);
  reveal_->setFont(SansFont(8.25, true));
  reveal_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  PlaceTw(reveal_, colB + 120, 5250, 2640, 1140);
  reveal_->hide();

  hintLegend_ = new QLabel(QString::fromStdU16String(kHintLegend), client);
  hintLegend_->setObjectName("hintLegend");
  hintLegend_->setFont(SansFont(8, false));
  PlaceTw(hintLegend_, colB, 7560, 2760, 255);  // under the buttons, clear of the code shown after a defeat
  hintLegend_->hide();

  // Buttons.
  const struct {
    int number;
    const char* text;
    int left, top, width;
  } buttons[] = {{3, "OK", colA, 6420, 1860},
                 {4, "Отмена", colA + 2040, 6420, 1860},
                 {5, "Начать другой рассказ", colB, 6420, 2760},
                 {6, "Сохранить текст рассказа", colB, 7020, 2760}};
  for (const auto& b : buttons) {
    auto* button = new QPushButton(QString::fromUtf8(b.text), client);
    button->setObjectName(QStringLiteral("Command%1").arg(b.number));
    PlaceTw(button, b.left, b.top, b.width, 495);
    button->setFocusPolicy(Qt::TabFocus);
    button->hide();
    buttons_[static_cast<std::size_t>(b.number)] = button;
  }
  SetButtonColour(buttons_[3], kLightGreen);
  SetButtonColour(buttons_[4], kLightRed);
  SetButtonColour(buttons_[5], kLightCyan);
  buttons_[3]->setEnabled(false);
  connect(buttons_[3], &QPushButton::clicked, this, &Form1::Command3_Click);
  connect(buttons_[4], &QPushButton::clicked, this, &Form1::Command4_Click);
  connect(buttons_[5], &QPushButton::clicked, this, &Form1::Command5_Click);
  connect(buttons_[6], &QPushButton::clicked, this, &Form1::Command6_Click);

  // The cover lies over the page while a story is built.
  cover_ = new QLabel(client);
  cover_->setObjectName("Image1");
  PlaceTw(cover_, 100, 360, 7720, 8300);
  cover_->setPixmap(CoverPicture(cover_->size(), kCoverBuilding));
  cover_->raise();
  page_->scrollUp()->setFocusPolicy(Qt::TabFocus);
  page_->scrollDown()->setFocusPolicy(Qt::TabFocus);
  client->setFocus();
}

void Form1::Mirror() {
  const WindowState& w = session_.window();
  QWidget* focusBefore = focusWidget();
  if (w.buildFailed != coverFailed_) {
    coverFailed_ = w.buildFailed;
    cover_->setPixmap(CoverPicture(cover_->size(), coverFailed_ ? kCoverFailed : kCoverBuilding));
  }
  cover_->setVisible(w.coverVisible);
  if (!w.timerEnabled)
    timer_->stop();
  else if (!timer_->isActive())
    timer_->start();

  for (int k = 1; k <= 10; ++k) {
    QLabel* suspect = labels_[static_cast<std::size_t>(3 + k)];
    const auto i = static_cast<std::size_t>(k);
    if (!w.suspectCaptions[i].empty()) suspect->setText(Q(w.suspectCaptions[i]));
    suspect->setVisible(w.suspectVisible[i]);
    suspect->setEnabled(w.suspectEnabled[i]);
  }
  labels_[14]->setVisible(w.instructionVisible);
  labels_[15]->setVisible(w.questionVisible);
  labels_[15]->setText(Q(w.questionCaption));
  for (int i = 1; i <= 4; ++i) {
    QLabel* box = labels_[static_cast<std::size_t>(43 + i)];
    box->setText(Q(w.digitBoxes[i]));
    box->setVisible(w.digitBoxesVisible);
  }
  hints_.Follow(session_);
  hintLabel_->setText(Q(hints_.caption()));
  hintLabel_->setVisible(!hints_.caption().empty());
  hintAction_->setEnabled(w.okVisible && !session_.finished());
  hintLegend_->setVisible(hints_.anyUsed());
  for (int n = 1; n <= 8; ++n) {
    const auto i = static_cast<std::size_t>(n);
    labels_[static_cast<std::size_t>(17 + 3 * n)]->setText(Q(hints_.StepCaption(n)));
    labels_[static_cast<std::size_t>(18 + 3 * n)]->setText(Q(w.rowGuess[i]));
    labels_[static_cast<std::size_t>(19 + 3 * n)]->setText(Q(w.rowResult[i]));
    for (int c = 0; c < 3; ++c) labels_[static_cast<std::size_t>(17 + 3 * n + c)]->setVisible(w.rowVisible[i]);
  }
  labels_[49]->setVisible(w.congratsVisible);
  buttons_[3]->setVisible(w.okVisible);
  buttons_[3]->setEnabled(w.okEnabled);
  buttons_[4]->setVisible(w.cancelVisible);
  buttons_[5]->setVisible(w.newStoryVisible);
  buttons_[6]->setVisible(w.saveVisible);
  reveal_->setText(Q(w.codeReveal));
  reveal_->setVisible(!w.codeReveal.empty());
  saveAsAction_->setEnabled(session_.storyShown());
  if (!w.title.empty()) labels_[1]->setText(Q(w.title));
  labels_[70]->setText(Q(session_.state().statusLine));
  storyNumber_->setText(numbers_ ? Q(StoryNumberCaption(numbers_->number())) : QString());
  page_->Mirror(w.page, dir_);
  // A button that hides hands the focus on to the next one, where a key meant for the page
  // would press it: the page takes it back.
  if (focusWidget() != focusBefore) client_->setFocus();
}

void Form1::ShowError(const QString& intro, const std::exception& e) {
  ShowErrorBox(this, QStringLiteral("Составитель рассказов"), intro, e);
}

void Form1::Timer1_Timer() {
  try {
    session_.TimerTick();
  } catch (const std::exception& e) {
    Mirror();
    ShowError(QStringLiteral("Рассказ не удалось составить: ошибка в материале рассказа."), e);
    return;
  }
  Mirror();
}

void Form1::PickSuspect(int k) {
  session_.PickSuspect(k);
  Mirror();
}

void Form1::Command1_Click() {
  session_.ScrollUp();
  Mirror();
}

void Form1::Command2_Click() {
  session_.ScrollDown();
  Mirror();
}

void Form1::Command3_Click() {
  try {
    session_.Ok();
  } catch (const std::exception& e) {
    Mirror();
    ShowError(QStringLiteral("Рассказ не удалось продолжить: ошибка в материале рассказа."), e);
    return;
  }
  Mirror();
}

void Form1::Command4_Click() {
  session_.Cancel();
  Mirror();
}

void Form1::Command5_Click() {
  if (session_.finishedUnsaved())
    AskToKeep([this] { StartAnotherStory(); });
  else
    StartAnotherStory();
}

void Form1::StartAnotherStory() {
  hints_.Reset();
  session_.NewStory();
  statusBar()->clearMessage();
  Mirror();
}

void Form1::AskToKeep(std::function<void()> then) {
  if (findChild<QMessageBox*>("saveQuestion")) return;  // asked already
  QMessageBox* box = Question(this, "saveQuestion", QStringLiteral("Сохранить рассказ?"), true);
  connect(box, &QMessageBox::finished, this, [this, box, then = std::move(then)] {
    const QAbstractButton* answer = box->clickedButton();
    const QString name = answer ? answer->objectName() : QString();
    if (name == "yes" ? SaveToQrb() : name == "no") then();
  });
  box->open();
}

bool Form1::SaveToQrb() {
  std::error_code ec;
  const std::filesystem::path name = dir_.saveFolder() / "qrb.txt";
  std::filesystem::path path = std::filesystem::absolute(name, ec);
  if (ec) path = name;
  try {
    session_.Save(path);
  } catch (const std::exception& e) {
    Mirror();
    ShowError(QStringLiteral("Рассказ не удалось сохранить."), e);
    return false;
  }
  Mirror();
  statusBar()->showMessage(QStringLiteral("Рассказ сохранён в файл ") +
                           QString::fromStdU16String(path.lexically_normal().u16string()));
  return true;
}

void Form1::Command6_Click() { SaveToQrb(); }

void Form1::saveAs_Click() {
  if (!session_.storyShown() || findChild<QFileDialog*>("saveAsDialog")) return;
  auto* dialog = new QFileDialog(this, QStringLiteral("Сохранить рассказ как"));
  dialog->setObjectName("saveAsDialog");
  dialog->setAttribute(Qt::WA_DeleteOnClose);
  // Qt's own dialog, so that its words can be Russian, and our own question before a file is
  // replaced.
  dialog->setOptions(QFileDialog::DontUseNativeDialog | QFileDialog::DontConfirmOverwrite);
  dialog->setAcceptMode(QFileDialog::AcceptSave);
  dialog->setFileMode(QFileDialog::AnyFile);
  dialog->setNameFilter(QStringLiteral("Текст (*.txt)"));
  dialog->setDefaultSuffix("txt");
  dialog->setLabelText(QFileDialog::LookIn, QStringLiteral("Папка:"));
  dialog->setLabelText(QFileDialog::FileName, QStringLiteral("Имя файла:"));
  dialog->setLabelText(QFileDialog::FileType, QStringLiteral("Тип файла:"));
  dialog->setLabelText(QFileDialog::Accept, QStringLiteral("Сохранить"));
  dialog->setLabelText(QFileDialog::Reject, QStringLiteral("Отмена"));
  std::error_code ec;
  const std::filesystem::path folder = std::filesystem::absolute(dir_.PathOf(u"."), ec);
  if (!ec) dialog->setDirectory(QString::fromStdU16String(folder.lexically_normal().u16string()));
  dialog->selectFile(Q(SuggestedFileName(session_.state().title)));
  connect(dialog, &QFileDialog::fileSelected, this, &Form1::SaveAs);
  dialog->open();
}

void Form1::SaveAs(const QString& path) {
  if (!QFileInfo::exists(path)) {
    WriteCopy(path);
    return;
  }
  QMessageBox* box = Question(this, "replaceQuestion",
                              QStringLiteral("Файл «%1» уже есть. Заменить его?").arg(QFileInfo(path).fileName()), false);
  connect(box, &QMessageBox::finished, this, [this, box, path] {
    if (box->clickedButton() && box->clickedButton()->objectName() == "yes") WriteCopy(path);
  });
  box->open();
}

void Form1::WriteCopy(const QString& path) {
  const std::filesystem::path file(path.toStdU16String());
  try {
    session_.SaveCopy(file);
  } catch (const std::exception& e) {
    ShowError(QStringLiteral("Рассказ не удалось сохранить."), e);
    return;
  }
  Mirror();
  statusBar()->showMessage(QStringLiteral("Рассказ сохранён в файл ") + QDir::cleanPath(path));
}

void Form1::OpenChild(QWidget* child) {
  // The child is a window of its own, so disabling this one does not disable it; whichever way it
  // closes (its buttons or the title bar), its destruction gives the input back here.
  setEnabled(false);
  child->setAttribute(Qt::WA_DeleteOnClose);
  connect(child, &QObject::destroyed, this, [this] { setEnabled(true); });
  child->adjustSize();
  child->move(geometry().center() - child->rect().center());
  child->show();
  child->raise();
  child->activateWindow();
}

void Form1::nastrojki_Click() {
  if (settings_ || about_) return;
  auto* form = new Form2(dir_);
  settings_ = form;
  OpenChild(form);
}

void Form1::help_Click() {
  if (settings_ || about_) return;
  auto* form = new Form3();
  about_ = form;
  OpenChild(form);
}

void Form1::SetStoryNumbers(NumberedRandom* numbers) {
  numbers_ = numbers;
  replayAction_->setVisible(numbers_ != nullptr);
  Mirror();
}

void Form1::hint_Click() {
  if (hints_.Ask(session_)) Mirror();
}

void Form1::replay_Click() {
  if (!numbers_ || settings_ || about_ || findChild<QInputDialog*>("replayDialog")) return;
  auto* dialog = new QInputDialog(this);
  dialog->setObjectName("replayDialog");
  dialog->setWindowTitle(QStringLiteral("Рассказ по номеру"));
  dialog->setLabelText(QStringLiteral("Номер рассказа (с теми же настройками он повторится слово в слово):"));
  dialog->setTextValue(QString::number(numbers_->number()));
  dialog->setOkButtonText(QStringLiteral("Начать"));
  dialog->setCancelButtonText(QStringLiteral("Отмена"));
  dialog->setAttribute(Qt::WA_DeleteOnClose);
  connect(dialog, &QInputDialog::textValueSelected, this, &Form1::ReplayStory);
  dialog->open();  // window-modal, does not block the caller
}

void Form1::ReplayStory(const QString& number) {
  const auto n = ParseStoryNumber(number.toStdString());
  if (!n) {
    ShowErrorBox(this, QStringLiteral("Составитель рассказов"),
                 QStringLiteral("Номер рассказа — целое число от 0 до 18446744073709551615."));
    return;
  }
  numbers_->Ask(*n);
  Command5_Click();
}

void Form1::keyPressEvent(QKeyEvent* e) {
  const int key = e->key();
  const bool shift = e->modifiers() & Qt::ShiftModifier;
  switch (key) {
    case Qt::Key_PageDown: session_.PageBy(kPageStep); Mirror(); return;
    case Qt::Key_PageUp: session_.PageBy(-kPageStep); Mirror(); return;
    case Qt::Key_Space: session_.PageBy(shift ? -kPageStep : kPageStep); Mirror(); return;
    case Qt::Key_Down: session_.PageBy(1); Mirror(); return;
    case Qt::Key_Up: session_.PageBy(-1); Mirror(); return;
    case Qt::Key_Home: session_.PageTo(1); Mirror(); return;
    case Qt::Key_End: session_.PageTo(kMaxTextLines); Mirror(); return;
    case Qt::Key_Backspace: session_.PageBack(); Mirror(); return;
    default: break;
  }
  if (key >= Qt::Key_0 && key <= Qt::Key_9) {
    // A key does what a double-click on the suspect's name can do: nothing while it is hidden or
    // disabled.
    const int k = key == Qt::Key_0 ? 10 : key - Qt::Key_0;
    QLabel* suspect = labels_[static_cast<std::size_t>(3 + k)];
    if (!suspect->isHidden() && suspect->isEnabled()) PickSuspect(k);
    return;
  }
  if (key == Qt::Key_Return || key == Qt::Key_Enter) {
    if (!buttons_[3]->isHidden() && buttons_[3]->isEnabled()) buttons_[3]->click();
    return;
  }
  if (key == Qt::Key_Escape) {
    if (!buttons_[4]->isHidden() && buttons_[4]->isEnabled()) buttons_[4]->click();
    return;
  }
  QMainWindow::keyPressEvent(e);
}

void Form1::wheelEvent(QWheelEvent* e) {
  // A notch is 120; fine-grained wheels send parts of one.
  wheelRest_ += e->angleDelta().y();
  const int notches = wheelRest_ / 120;
  wheelRest_ -= notches * 120;
  if (notches != 0) {
    session_.PageBy(-notches * kWheelLines);
    Mirror();
  }
  e->accept();
}

void Form1::closeEvent(QCloseEvent* e) {
  if (session_.finishedUnsaved() && !closeConfirmed_) {
    e->ignore();
    AskToKeep([this] {
      closeConfirmed_ = true;
      close();
    });
    return;
  }
  delete settings_.data();
  delete about_.data();
  QMainWindow::closeEvent(e);
}

}  // namespace quorbel::ui
