// The story window on the fixture material: start-up, the quiz, the ending, a new story, the
// save, the page scroll and faults in the material.
#include <QAction>
#include <QFileDialog>
#include <QFileInfo>
#include <QRegularExpression>
#include <QImage>
#include <QMessageBox>
#include <QStatusBar>
#include <QTimer>
#include <QWheelEvent>
#include <memory>

#include "WindowTestSupport.h"
#include "app/qt/Form1.h"
#include "app/qt/Look.h"
#include "app/qt/Pictures.h"
#include "story/Text.h"
#include "view/Page.h"

using namespace quorbel;
using namespace quorbel::testing;
using quorbel::ui::Form1;

class MainWindowTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<QTemporaryDir> dir_;
  std::unique_ptr<ScriptedRandom> rng_;
  std::deque<const char*> codes_;  // one secret code for the load and for each new story
  std::unique_ptr<Form1> form_;

  QString Path(const QString& name) const { return dir_->filePath(name); }

  // Opens the window on a copy of the material; codes are the secret codes to draw.
  // material: the folder to copy (the shipped material tells longer turns).
  void Open(std::initializer_list<const char*> codes, bool withMaterial = true, const QString& material = FixtureStory()) {
    dir_ = std::make_unique<QTemporaryDir>();
    QVERIFY(dir_->isValid());
    if (withMaterial) QVERIFY(CopyTree(material, dir_->path()));
    rng_ = std::make_unique<ScriptedRandom>(std::uint64_t{7});
    codes_.assign(codes.begin(), codes.end());
    form_ = std::make_unique<Form1>(DataDir(dir_->path().toStdString()), *rng_, [this] {
      if (!codes_.empty()) {
        rng_->AddCode(codes_.front());
        codes_.pop_front();
      }
    });
    form_->show();
    QVERIFY(QTest::qWaitForWindowExposed(form_.get()));
  }

  QString Code() {
    const auto& d = form_->session().state().codeDigits;
    return QString("%1%2%3%4").arg(d[1]).arg(d[2]).arg(d[3]).arg(d[4]);
  }
  QString Question(int i) { return QString::fromStdU16String(form_->session().state().questions[i]); }

  void Tick() {
    auto* timer = Find<QTimer>(form_.get(), "Timer1");
    QVERIFY(timer);
    QVERIFY(timer->isActive());
    QMetaObject::invokeMethod(timer, "timeout");
  }

  static int Suspect(QChar digit) { return digit == '0' ? 10 : digit.digitValue(); }
  void Pick(const QString& digits) {
    for (QChar d : digits) QTest::mouseDClick(Label(form_.get(), 3 + Suspect(d)), Qt::LeftButton);
  }
  void Guess(const QString& digits) {
    Pick(digits);
    QVERIFY(Button(form_.get(), 3)->isEnabled());
    QTest::mouseClick(Button(form_.get(), 3), Qt::LeftButton);
  }

  QString Text(int label) { return Label(form_.get(), label)->text(); }
  bool Shown(int label) { return Label(form_.get(), label)->isVisible(); }
  bool ButtonShown(int n) { return Button(form_.get(), n)->isVisible(); }
  void ExpectRow(int n, bool visible, const QString& guess = {}, const QString& score = {}) {
    for (int c = 0; c < 3; ++c) QCOMPARE(Shown(17 + 3 * n + c), visible);
    QCOMPARE(Text(17 + 3 * n), QString::number(n));
    if (visible) {
      QCOMPARE(Text(18 + 3 * n), guess);
      QCOMPARE(Text(19 + 3 * n), score);
    }
  }
  QMessageBox* ErrorBox() { return form_->findChild<QMessageBox*>("errorBox"); }
  // Presses a button ("yes", "no", "cancel") of the question named box.
  void Answer(const char* box, const char* button) {
    QMessageBox* question = form_->findChild<QMessageBox*>(box);
    QVERIFY2(question, box);
    QVERIFY(question->isVisible());
    QTest::mouseClick(Find<QPushButton>(question, button), Qt::LeftButton);
    QTRY_VERIFY(!form_->findChild<QMessageBox*>(box));
  }
  void Key(Qt::Key key, Qt::KeyboardModifiers mods = {}) {
    QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : form_.get(), key, mods);
  }
  QByteArray SavedBytes() {
    const auto& s = form_->session().state();
    QByteArray bytes;
    for (const auto& line : SavedLines(s)) bytes += QByteArray::fromStdString(*EncodeCp1251(line)) + "\r\n";
    return bytes;
  }

 private slots:
  void cleanup() {
    form_.reset();
    rng_.reset();
    dir_.reset();
  }

  void startUpBeforeTheTimer() {
    Open({"3071"});
    QCOMPARE(form_->windowTitle(), QString("Составитель рассказов"));
    QCOMPARE(Code(), QString("3071"));
    auto* timer = Find<QTimer>(form_.get(), "Timer1");
    QVERIFY(timer->isActive());
    QVERIFY(timer->isSingleShot());
    QCOMPARE(timer->interval(), 1000);
    QVERIFY(Find<QWidget>(form_.get(), "Image1")->isVisible());
    QVERIFY(!Find<QWidget>(form_.get(), "Picture1")->isVisible());
    QCOMPARE(Text(1), QString("НАЗВАНИЕ РАССКАЗА"));
    QCOMPARE(Text(2), QString("ПРЕДПОЛОЖЕНИЯ"));
    QCOMPARE(Text(3), QString("Список действующих лиц:"));
    QCOMPARE(Text(4), QString("1. Иванов"));
    QCOMPARE(Text(7), QString("4. Константинов"));
    QCOMPARE(Text(13), QString("10(0). Гуринов"));
    QCOMPARE(Text(14), QString("Нажми мышкой дважды на соответствующую фамилию, чтобы ответить на вопрос:"));
    QCOMPARE(Text(15), QString("Вопрос-вопрос-вопрос"));
    QCOMPARE(Text(16), QString("РЕЗУЛЬТАТЫ"));
    QCOMPARE(Text(18), QString("Шифр пред- положения"));
    QCOMPARE(Text(19), QString("Б - К"));
    QCOMPARE(Text(48), QString("Текущий шифр предположения"));
    QCOMPARE(Text(49), QString("Поздравляем!"));
    QCOMPARE(Text(50), QString("45 символов первая строка, 51 - вторая"));
    for (int n : {49, 50, 70}) QVERIFY2(!Shown(n), qPrintable(QString("Label%1").arg(n)));
    for (int n = 1; n <= 8; ++n) ExpectRow(n, false);
    for (int k = 4; k <= 13; ++k) QVERIFY(Shown(k) && Label(form_.get(), k)->isEnabled());
    for (int b = 1; b <= 6; ++b) QVERIFY2(!ButtonShown(b), qPrintable(QString("Command%1").arg(b)));
    QVERIFY(!Button(form_.get(), 3)->isEnabled());
    QCOMPARE(Button(form_.get(), 3)->text(), QString("OK"));
    QCOMPARE(Button(form_.get(), 4)->text(), QString("Отмена"));
    QCOMPARE(Button(form_.get(), 5)->text(), QString("Начать другой рассказ"));
    QCOMPARE(Button(form_.get(), 6)->text(), QString("Сохранить текст рассказа"));
    QCOMPARE(Find<QAction>(form_.get(), "nastrojki")->text(), QString("Настройки"));
    QCOMPARE(Find<QAction>(form_.get(), "help")->text(), QString("Реклама"));
  }

  void geometryIsInTwips() {
    Open({"3071"});
    using quorbel::ui::Tw;
    QCOMPARE(Label(form_.get(), 51)->geometry(), QRect(Tw(1155), Tw(1200), Tw(6660), Tw(375)));
    QCOMPARE(Label(form_.get(), 53)->geometry(), QRect(Tw(120), Tw(1920), Tw(7695), Tw(375)));
    QCOMPARE(Label(form_.get(), 69)->geometry().top(), Tw(1920 + 360 * 16));
    QCOMPARE(Find<QWidget>(form_.get(), "Picture1")->geometry(), QRect(Tw(100), Tw(360), Tw(1040), Tw(1170)));
    QCOMPARE(Button(form_.get(), 2)->geometry(), QRect(Tw(4920), Tw(8160), Tw(2895), Tw(495)));
    for (int i = 0; i < 4; ++i) {
      QCOMPARE(Label(form_.get(), 44 + i)->size(), QSize(Tw(375), Tw(375)));
      QCOMPARE(Label(form_.get(), 44 + i)->x() - Label(form_.get(), 44)->x(), Tw(480 * i) - Tw(0));
    }
    if (form_->logicalDpiX() == 96) QCOMPARE(Label(form_.get(), 52)->geometry(), QRect(8, 104, 513, 25));
    // The page's fixed-pitch font fits 51 characters into a full row.
    const QFontMetrics fm(Label(form_.get(), 52)->font());
    QVERIFY(fm.horizontalAdvance(QString(51, 'M')) <= Label(form_.get(), 52)->width());
  }

  void startUpAfterTheTimer() {
    Open({"3071"});
    Tick();
    QVERIFY(!ErrorBox());
    QVERIFY(!Find<QTimer>(form_.get(), "Timer1")->isActive());
    QVERIFY(!Find<QWidget>(form_.get(), "Image1")->isVisible());
    // The material has no Letters folder: no drop cap, and row 1 keeps its first letter.
    QVERIFY(!Find<QWidget>(form_.get(), "Picture1")->isVisible());
    QCOMPARE(Text(51), QString::fromStdU16String(form_->session().state().textLines[1]));
    QCOMPARE(Label(form_.get(), 51)->geometry(), quorbel::ui::TwRect(120, 1200, 7700, 375));
    QCOMPARE(Text(1), QString::fromStdU16String(form_->session().state().title));
    QVERIFY(Text(1) != QString("НАЗВАНИЕ РАССКАЗА"));
    QVERIFY(Text(4).startsWith("1 ") && Text(4) != QString("1. Иванов"));
    QVERIFY(Text(13).startsWith("10(0) "));
    QCOMPARE(Text(15), Question(1));
    QVERIFY(ButtonShown(3) && !Button(form_.get(), 3)->isEnabled());
    QVERIFY(ButtonShown(4) && ButtonShown(5));
    QVERIFY(!ButtonShown(6));
    QVERIFY(!Shown(70));
    QCOMPARE(Text(70), QString::fromStdU16String(form_->session().state().statusLine));
  }

  void picksAndCancel() {
    Open({"3071"});
    Tick();
    Pick("3");
    QCOMPARE(Text(15), Question(2));
    Pick("071");
    QCOMPARE(Text(44) + Text(45) + Text(46) + Text(47), QString("3071"));
    QCOMPARE(Text(15), Question(4));  // the last question stays once the guess is complete
    for (int k = 1; k <= 10; ++k) QCOMPARE(Shown(3 + k), k != 3 && k != 10 && k != 7 && k != 1);
    QVERIFY(Button(form_.get(), 3)->isEnabled());
    // A fifth pick hides one more suspect and leaves the boxes as they are.
    Pick("5");
    QVERIFY(!Shown(8));
    QCOMPARE(Text(44) + Text(45) + Text(46) + Text(47), QString("3071"));
    QVERIFY(Button(form_.get(), 3)->isEnabled());
    QTest::mouseClick(Button(form_.get(), 4), Qt::LeftButton);
    for (int k = 4; k <= 13; ++k) QVERIFY(Shown(k));
    QCOMPARE(Text(44) + Text(45) + Text(46) + Text(47), QString());
    QCOMPARE(Text(15), Question(1));
    QVERIFY(!Button(form_.get(), 3)->isEnabled());
    QVERIFY(!Shown(21));  // nothing was scored
  }

  void keyboardPicksOkAndCancel() {
    Open({"3071"});
    Tick();
    QTest::keyClick(form_.get(), Qt::Key_Return);  // OK is disabled: nothing
    QVERIFY(!Shown(21));
    QTest::keyClick(form_.get(), Qt::Key_1);
    QTest::keyClick(form_.get(), Qt::Key_1);  // suspect 1 is already picked
    QTest::keyClick(form_.get(), Qt::Key_0);
    QCOMPARE(Text(44) + Text(45), QString("10"));
    QVERIFY(!Shown(4) && !Shown(13));
    QTest::keyClick(form_.get(), Qt::Key_Escape);
    QVERIFY(Shown(4) && Shown(13));
    QCOMPARE(Text(44), QString());
    for (auto key : {Qt::Key_1, Qt::Key_2, Qt::Key_3, Qt::Key_4}) QTest::keyClick(form_.get(), key);
    QTest::keyClick(form_.get(), Qt::Key_Enter);
    QVERIFY(!ErrorBox());
    ExpectRow(1, true, "1234", " 0 2");
    QCOMPARE(Text(44), QString());
    QVERIFY(!Button(form_.get(), 3)->isEnabled());
  }

  void winOnGuessThree() {
    Open({"3071"});
    Tick();
    Guess("1234");
    Guess("5689");
    QVERIFY(!Shown(49));
    Guess("3071");
    QVERIFY(!ErrorBox());
    ExpectRow(1, true, "1234", " 0 2");
    ExpectRow(2, true, "5689", " 0 0");
    ExpectRow(3, true, "3071", " 4 0");
    for (int n = 4; n <= 8; ++n) ExpectRow(n, false);
    QVERIFY(Shown(49));
    for (int k = 4; k <= 13; ++k) QVERIFY(!Shown(k) && !Label(form_.get(), k)->isEnabled());
    QVERIFY(!Shown(14) && !Shown(15));
    for (int n = 44; n <= 47; ++n) QVERIFY(!Shown(n));
    QVERIFY(!ButtonShown(3) && !ButtonShown(4));
    QVERIFY(ButtonShown(5) && ButtonShown(6));
    QCOMPARE(form_->session().ending(), Ending::QuickWin);
  }

  void lossAfterGuessEight() {
    Open({"3071"});
    Tick();
    const char* guesses[] = {"1234", "5678", "2345", "6789", "1235", "4567", "8901", "1370"};
    for (const char* g : guesses) Guess(g);
    QVERIFY(!ErrorBox());
    ExpectRow(1, true, "1234", " 0 2");
    ExpectRow(7, true, "8901", " 1 1");
    ExpectRow(8, true, "1370", " 1 3");
    QVERIFY(!Shown(49));
    for (int k = 4; k <= 13; ++k) QVERIFY(Shown(k) && !Label(form_.get(), k)->isEnabled());
    QVERIFY(!Shown(14) && !Shown(15) && !Shown(44));
    QVERIFY(!ButtonShown(3) && !ButtonShown(4) && ButtonShown(5) && ButtonShown(6));
    QCOMPARE(form_->session().ending(), Ending::Defeat);
    QVERIFY(Find<QLabel>(form_.get(), "CodeReveal")->isVisible());
    QVERIFY(Find<QLabel>(form_.get(), "CodeReveal")->text().startsWith("Шифр был: 3071\n3 "));
    // Keys do nothing in a finished story.
    QTest::keyClick(form_.get(), Qt::Key_5);
    QCOMPARE(Text(44), QString());
  }

  void newStoryAfterAWin() {
    Open({"3071", "5648"});
    Tick();
    Pick("12");
    QTest::mouseClick(Button(form_.get(), 3), Qt::LeftButton);  // disabled with two picks
    QVERIFY(!Shown(21));
    QTest::mouseClick(Button(form_.get(), 4), Qt::LeftButton);
    Guess("3071");
    QVERIFY(Shown(49));
    QTest::mouseClick(Button(form_.get(), 5), Qt::LeftButton);
    Answer("saveQuestion", "no");
    QCOMPARE(Code(), QString("5648"));
    QVERIFY(Find<QWidget>(form_.get(), "Image1")->isVisible());
    QVERIFY(!Find<QWidget>(form_.get(), "Picture1")->isVisible());
    QVERIFY(Find<QTimer>(form_.get(), "Timer1")->isActive());
    for (int n = 1; n <= 8; ++n) ExpectRow(n, false);
    QVERIFY(!Shown(49));
    for (int k = 4; k <= 13; ++k) QVERIFY(Shown(k) && Label(form_.get(), k)->isEnabled());
    QVERIFY(Shown(14) && Shown(15));
    for (int n = 44; n <= 47; ++n) QVERIFY(Shown(n) && Text(n).isEmpty());
    for (int b = 1; b <= 5; ++b) QVERIFY2(!ButtonShown(b), qPrintable(QString("Command%1").arg(b)));
    QVERIFY(!ButtonShown(6));  // it would save the new story's opening
    QCOMPARE(Label(form_.get(), 51)->geometry().left(), quorbel::ui::Tw(1155));
    Tick();
    QVERIFY(!ErrorBox());
    QVERIFY(ButtonShown(3) && ButtonShown(4) && ButtonShown(5));
    QCOMPARE(Text(15), Question(1));
    Guess("5648");
    ExpectRow(1, true, "5648", " 4 0");
  }

  void saveWritesTheStoryAndSaysWhere() {
    Open({"3071"});
    Tick();
    Guess("3071");
    QVERIFY(ButtonShown(6));
    const auto& s = form_->session().state();
    QByteArray expected;
    for (int i = 1; i <= s.lineCount; ++i) {
      const auto line = (i == 1 ? u"   " : u"") + s.textLines[i];
      expected += QByteArray::fromStdString(*EncodeCp1251(line)) + "\r\n";
    }
    QTest::mouseClick(Button(form_.get(), 6), Qt::LeftButton);
    QVERIFY(!ErrorBox());
    QCOMPARE(FileBytes(Path("qrb.txt")), expected);
    QVERIFY(expected.startsWith("   "));
    QVERIFY(!ButtonShown(6));
    const QString where = QDir(dir_->path()).absoluteFilePath("qrb.txt");
    QCOMPARE(form_->statusBar()->currentMessage(), QString("Рассказ сохранён в файл ") + QDir::cleanPath(where));
  }

  void saveFailureIsShownAndTheButtonStays() {
    Open({"3071"});
    Tick();
    Guess("3071");
    QVERIFY(QDir(dir_->path()).mkdir("qrb.txt"));  // a folder in the way of the file
    QTest::mouseClick(Button(form_.get(), 6), Qt::LeftButton);
    QVERIFY(ErrorBox());
    QVERIFY(ErrorBox()->text().contains("qrb.txt"));
    QVERIFY(ButtonShown(6));
    QVERIFY(form_->statusBar()->currentMessage().isEmpty());
  }

  void scrollingATwentyFiveLineText() {
    Open({"3071"});
    // Drop-cap pictures: a good one for "В", an unreadable one for "Э".
    QVERIFY(QDir(dir_->path()).mkpath("Letters"));
    QImage letter(40, 40, QImage::Format_RGB32);
    letter.fill(Qt::darkRed);
    QVERIFY(letter.save(Path("Letters/3.gif"), "PNG"));
    QFile bad(Path("Letters/31.gif"));
    QVERIFY(bad.open(QIODevice::WriteOnly));
    bad.write("not a picture");
    bad.close();
    Tick();

    auto& s = form_->session().state();
    for (auto& line : s.textLines) line.clear();
    for (int i = 1; i <= 25; ++i) s.textLines[i] = FromUtf8("Встрока " + std::to_string(i));
    s.lineCount = 25;
    QLabel* picture = Find<QLabel>(form_.get(), "Picture1");
    QWidget* up = Button(form_.get(), 1);
    QWidget* down = Button(form_.get(), 2);
    // The first step down, as a click on "Листать вниз" does.
    QMetaObject::invokeMethod(form_.get(), "Command2_Click");
    QCOMPARE(s.topLine, 2);
    QVERIFY(up->isVisible() && down->isVisible());
    QVERIFY(!picture->isVisible());
    QCOMPARE(Label(form_.get(), 51)->geometry(), quorbel::ui::TwRect(120, 1200, 7700, 375));
    QCOMPARE(Text(51), QString("Встрока 2"));
    QCOMPARE(Text(69), QString("Встрока 20"));
    for (int i = 0; i < 4; ++i) QTest::mouseClick(Button(form_.get(), 2), Qt::LeftButton);
    QVERIFY(down->isVisible());
    QTest::mouseClick(Button(form_.get(), 2), Qt::LeftButton);  // the sixth step
    QCOMPARE(s.topLine, 7);
    QVERIFY(!down->isVisible());
    for (int k = 0; k < 19; ++k) QCOMPARE(Text(51 + k), QString("Встрока %1").arg(7 + k));

    // The wheel scrolls like the buttons: six notches up bring the page back to line 1. (The
    // page's labels pass the wheel on to the window; a synthetic event is not passed on, so it is
    // sent to the window.)
    const QPoint at = form_->mapFromGlobal(Label(form_.get(), 60)->mapToGlobal(QPoint(5, 5)));
    for (int i = 0; i < 6; ++i) {
      QWheelEvent wheel(at, form_->mapToGlobal(at), QPoint(), QPoint(0, 120), Qt::NoButton, Qt::NoModifier,
                        Qt::NoScrollPhase, false);
      QApplication::sendEvent(form_.get(), &wheel);
    }
    QCOMPARE(s.topLine, 1);
    QVERIFY(!up->isVisible() && down->isVisible());
    QVERIFY(picture->isVisible());
    QVERIFY(!picture->pixmap().isNull());
    QCOMPARE(Label(form_.get(), 51)->geometry(), quorbel::ui::TwRect(1155, 1200, 6660, 375));
    QCOMPARE(Text(51), QString("строка 1"));
    QCOMPARE(Text(52), QString("Встрока 2"));

    // Without a picture that can be drawn, row 1 shows the whole line at full width.
    s.textLines[1] = FromUtf8("Эхо");
    QMetaObject::invokeMethod(form_.get(), "Command2_Click");
    QMetaObject::invokeMethod(form_.get(), "Command1_Click");
    QCOMPARE(s.topLine, 1);
    QVERIFY(!picture->isVisible());
    QCOMPARE(Text(51), QString("Эхо"));
    QCOMPARE(Label(form_.get(), 51)->geometry(), quorbel::ui::TwRect(120, 1200, 7700, 375));
    QCOMPARE(Text(69), QString("Встрока 19"));
  }

  void aFaultInBuildingIsShownAndTheWindowStaysUsable() {
    Open({"3071", "1234"}, /*withMaterial=*/false);
    Tick();
    QMessageBox* box = ErrorBox();
    QVERIFY(box);
    QVERIFY2(box->text().endsWith("\nstyles.qrb: файл не найден."), qPrintable(box->text()));
    QVERIFY(!Find<QTimer>(form_.get(), "Timer1")->isActive());
    auto* cover = Find<QLabel>(form_.get(), "Image1");
    QVERIFY(cover->isVisible());
    QCOMPARE(cover->pixmap().toImage(),
             quorbel::ui::CoverPicture(cover->size(), "Рассказ не удалось составить.").toImage());
    Pick("1234");  // no story, nothing to answer
    QCOMPARE(Text(44), QString());
    box->accept();
    QTRY_VERIFY(!ErrorBox());
    QVERIFY(form_->isEnabled());
    QVERIFY(Find<QAction>(form_.get(), "nastrojki")->isEnabled());
    QVERIFY(ButtonShown(5));
    // With the material in place, another story is built.
    QVERIFY(CopyTree(FixtureStory(), dir_->path()));
    QTest::mouseClick(Button(form_.get(), 5), Qt::LeftButton);
    Tick();
    QVERIFY(!ErrorBox());
    QVERIFY(ButtonShown(3) && !cover->isVisible());
  }

  void aFaultOnOkNamesFileAndLine() {
    Open({"3071"});
    // Main episode files cut inside their first record.
    for (const char* name : {"det/osn_1_1.qrb", "det/osn_2_1.qrb"}) {
      QFile f(Path(name));
      QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
      f.write("1\r\n\xF0\xE5\xE0\xEA\xF6\xE8\xFF\r\n100\r\n");
    }
    Tick();
    QVERIFY(!ErrorBox());
    Guess("1234");
    QMessageBox* box = ErrorBox();
    QVERIFY(box);
    QVERIFY2(box->text().contains(QRegularExpression("\ndet/osn_[12]_1\\.qrb, строка 4: файл кончился там, где должно быть поле\\.$")),
             qPrintable(box->text()));
    box->accept();
    QTRY_VERIFY(!ErrorBox());
    QVERIFY(ButtonShown(5) && Button(form_.get(), 5)->isEnabled());
    QVERIFY(Find<QAction>(form_.get(), "nastrojki")->isEnabled());
  }

  void aFinishedStorySurvivesTheKeyboard() {
    Open({"3071", "5648"});
    Tick();
    Guess("1234");
    Guess("3071");
    QVERIFY(form_->session().finished());
    QWidget* page = Find<QWidget>(form_.get(), "client");
    QCOMPARE(QApplication::focusWidget(), page);
    // To the end: "Листать вниз" hides and the focus stays on the page, so Space only reads.
    Key(Qt::Key_End);
    QVERIFY(!ButtonShown(2));
    for (int i = 0; i < 3; ++i) Key(Qt::Key_Space);
    Key(Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), page);
    QVERIFY(form_->session().finished() && ButtonShown(6));
    QVERIFY(!QFile::exists(Path("qrb.txt")));
    // Another story asks first; Отмена keeps the story, Да saves it and goes on.
    QTest::mouseClick(Button(form_.get(), 5), Qt::LeftButton);
    QCOMPARE(form_->findChild<QMessageBox*>("saveQuestion")->text(), QString("Сохранить рассказ?"));
    Answer("saveQuestion", "cancel");
    QVERIFY(form_->session().finished() && !Find<QTimer>(form_.get(), "Timer1")->isActive());
    const QByteArray story = SavedBytes();
    QTest::mouseClick(Button(form_.get(), 5), Qt::LeftButton);
    Answer("saveQuestion", "yes");
    QCOMPARE(FileBytes(Path("qrb.txt")), story);
    QVERIFY(Find<QTimer>(form_.get(), "Timer1")->isActive() && !ButtonShown(6));
    // Keys and double-clicks during the build pick nobody.
    Key(Qt::Key_1);
    Pick("234");
    Tick();
    QCOMPARE(Text(44), QString());
    QCOMPARE(Text(15), Question(1));
    for (int k = 4; k <= 13; ++k) QVERIFY(Shown(k));
    // A saved story goes without a question.
    Guess("5648");
    QTest::mouseClick(Button(form_.get(), 6), Qt::LeftButton);
    QTest::mouseClick(Button(form_.get(), 5), Qt::LeftButton);
    QVERIFY(!form_->findChild<QMessageBox*>("saveQuestion"));
    QVERIFY(Find<QTimer>(form_.get(), "Timer1")->isActive());
  }

  void closingAsksForAFinishedUnsavedStory() {
    Open({"3071"});
    Tick();
    Guess("3071");
    form_->close();
    Answer("saveQuestion", "cancel");
    QVERIFY(form_->isVisible());
    form_->close();
    Answer("saveQuestion", "no");
    QVERIFY(!form_->isVisible());
    QVERIFY(!QFile::exists(Path("qrb.txt")));
  }

  void afterOkTheNewTextIsInViewAndMarked() {
    Open({"3071"}, true, QStringLiteral(QUORBEL_DATA));
    Tick();
    auto& s = form_->session().state();
    for (int k = 0; k < 19; ++k) QVERIFY(!Find<QWidget>(form_.get(), QString("Mark%1").arg(51 + k))->isVisible());
    Guess("1234");
    const auto& page = form_->session().window().page;
    QVERIFY(page.freshFirst > 1 && s.lineCount > 2 * 19);
    QCOMPARE(s.topLine, page.freshFirst);
    QCOMPARE(Text(51), QString::fromStdU16String(s.textLines[s.topLine]));
    for (int k = 0; k < 19; ++k) QVERIFY(Find<QWidget>(form_.get(), QString("Mark%1").arg(51 + k))->isVisible());
    QVERIFY(ButtonShown(1) && ButtonShown(2));
    const long long first = s.topLine;
    Key(Qt::Key_Backspace);  // back to where the reader was before OK, and forth again
    QCOMPARE(s.topLine, 1);
    Key(Qt::Key_Backspace);
    QCOMPARE(s.topLine, first);
    Key(Qt::Key_PageUp);
    QCOMPARE(s.topLine, std::max(1LL, first - 18));
    QVERIFY(!Find<QWidget>(form_.get(), "Mark51")->isVisible());  // older text above the turn's
    // Paging from the top, where the moves do not depend on how long this turn's text is.
    Key(Qt::Key_Home);
    QCOMPARE(s.topLine, 1);
    QVERIFY(LastTopLine(s) > 40);
    Key(Qt::Key_PageDown);
    Key(Qt::Key_Space);
    QCOMPARE(s.topLine, 37);
    Key(Qt::Key_Space, Qt::ShiftModifier);
    Key(Qt::Key_Down);
    QCOMPARE(s.topLine, 20);
    Key(Qt::Key_Up);
    Key(Qt::Key_Home);
    QCOMPARE(s.topLine, 1);
    QVERIFY(!ButtonShown(1));
    // Three lines a wheel notch.
    QWheelEvent wheel(QPointF(50, 200), form_->mapToGlobal(QPointF(50, 200)), QPoint(), QPoint(0, -120), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(form_.get(), &wheel);
    QCOMPARE(s.topLine, 4);
  }

  void buttonsLookDisabledWhenTheyAre() {
    Open({"3071"});
    Tick();
    QPushButton* ok = Button(form_.get(), 3);
    QVERIFY(!ok->isEnabled());
    const QImage disabled = ok->grab().toImage();
    Pick("1234");
    QVERIFY(ok->isEnabled());
    QVERIFY(ok->grab().toImage() != disabled);
    for (int b = 3; b <= 5; ++b) {
      const QPalette p = Button(form_.get(), b)->palette();
      QVERIFY(p.color(QPalette::Disabled, QPalette::ButtonText) != p.color(QPalette::Active, QPalette::ButtonText));
      QVERIFY(p.color(QPalette::Disabled, QPalette::Button) != p.color(QPalette::Active, QPalette::Button));
    }
    // Under the settings window the whole story window is disabled, its buttons with it.
    const QImage cancelEnabled = Button(form_.get(), 4)->grab().toImage();
    Find<QAction>(form_.get(), "nastrojki")->trigger();
    QVERIFY(!Button(form_.get(), 4)->isEnabled());
    QVERIFY(Button(form_.get(), 4)->grab().toImage() != cancelEnabled);
  }

  void saveAsWritesTheSameBytesAndAsksBeforeReplacing() {
    Open({"3071"});
    QVERIFY(!Find<QAction>(form_.get(), "saveAs")->isEnabled());  // nothing to save while building
    Tick();
    Guess("3071");
    QAction* saveAs = Find<QAction>(form_.get(), "saveAs");
    QCOMPARE(saveAs->text(), QString("Сохранить как…"));
    QCOMPARE(saveAs->shortcut(), QKeySequence("Ctrl+Shift+S"));
    saveAs->trigger();
    auto* dialog = form_->findChild<QFileDialog*>("saveAsDialog");
    QVERIFY(dialog);
    const QString suggested = QString::fromStdU16String(SuggestedFileName(form_->session().state().title));
    QCOMPARE(QFileInfo(dialog->selectedFiles().value(0)).fileName(), suggested);
    dialog->reject();

    const QString copy = Path("копия.txt");
    form_->SaveAs(copy);
    QCOMPARE(FileBytes(copy), SavedBytes());
    QVERIFY(ButtonShown(6));
    QTest::mouseClick(Button(form_.get(), 5), Qt::LeftButton);  // kept: no question
    QVERIFY(!form_->findChild<QMessageBox*>("saveQuestion"));
    Tick();
    Guess("3071");
    form_->SaveAs(copy);
    Answer("replaceQuestion", "no");
    QVERIFY(FileBytes(copy) != SavedBytes());
    form_->SaveAs(copy);
    Answer("replaceQuestion", "yes");
    QCOMPARE(FileBytes(copy), SavedBytes());
  }

  void menuWindowsDisableTheStoryWindowUntilClosed() {
    Open({"3071"});
    Find<QAction>(form_.get(), "nastrojki")->trigger();
    QPointer<QWidget> settings = form_->settingsWindow();
    QVERIFY(settings);
    QCOMPARE(settings->windowTitle(), QString("Настройки"));
    QVERIFY(!form_->isEnabled());
    settings->close();  // as the title bar's close box does
    QTRY_VERIFY(!settings);
    QVERIFY(form_->isEnabled());

    Find<QAction>(form_.get(), "help")->trigger();
    QPointer<QWidget> about = form_->aboutWindow();
    QVERIFY(about);
    QCOMPARE(about->windowTitle(), QString("Реклама"));
    QVERIFY(!form_->isEnabled());
    QTest::mouseClick(Label(about, 6), Qt::LeftButton);
    QTRY_VERIFY(!about);
    QVERIFY(form_->isEnabled());

    // The about window closed by its title bar gives the input back too.
    Find<QAction>(form_.get(), "help")->trigger();
    about = form_->aboutWindow();
    QVERIFY(about && !form_->isEnabled());
    about->close();
    QTRY_VERIFY(!about);
    QVERIFY(form_->isEnabled());
  }
};

QTEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"
