// The hint (menu and key H), the story number in the status bar and the replay dialog.
#include <QAction>
#include <QInputDialog>
#include <QMessageBox>
#include <QTimer>
#include <memory>

#include "WindowTestSupport.h"
#include "app/StoryNumber.h"
#include "app/qt/Form1.h"

using namespace quorbel;
using namespace quorbel::testing;
using quorbel::ui::Form1;

class HintWindowTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<QTemporaryDir> dir_;
  std::unique_ptr<NumberedRandom> rng_;
  std::unique_ptr<Form1> form_;

  void Open(std::uint64_t number) {
    dir_ = std::make_unique<QTemporaryDir>();
    QVERIFY(CopyTree(FixtureStory(), dir_->path()));
    rng_ = std::make_unique<NumberedRandom>();
    rng_->Ask(number);
    form_ = std::make_unique<Form1>(DataDir(dir_->path().toStdString()), *rng_, [this] { rng_->Reseed(5555555); });
    form_->SetStoryNumbers(rng_.get());
    form_->show();
    QVERIFY(QTest::qWaitForWindowExposed(form_.get()));
  }
  void Tick() { QMetaObject::invokeMethod(Find<QTimer>(form_.get(), "Timer1"), "timeout"); }
  QString Text(const char* name) { return Find<QLabel>(form_.get(), name)->text(); }
  QString Step(int n) { return Label(form_.get(), 17 + 3 * n)->text(); }
  void Guess(const QString& digits) {
    for (QChar d : digits) QTest::mouseDClick(Label(form_.get(), 3 + (d == '0' ? 10 : d.digitValue())), Qt::LeftButton);
    QTest::mouseClick(Button(form_.get(), 3), Qt::LeftButton);
  }
  QString Suspect(int k) { return Label(form_.get(), 3 + k)->text(); }

 private slots:
  void cleanup() {
    form_.reset();
    rng_.reset();
    dir_.reset();
  }

  void hintNamesFourSuspectsAndMarksTheTurn() {
    Open(42);
    auto* hint = Find<QAction>(form_.get(), "hint");
    QVERIFY(!hint->isEnabled());  // no story yet
    Tick();
    QVERIFY(hint->isEnabled());
    QTest::keyClick(form_.get(), Qt::Key_H);
    auto* shown = Find<QLabel>(form_.get(), "hintText");
    QVERIFY(shown->isVisible());
    QCOMPARE(shown->text(), "Подсказка: " + Suspect(10) + ", " + Suspect(1) + ", " + Suspect(2) + ", " + Suspect(3));
    for (int box = 44; box <= 47; ++box) QCOMPARE(Label(form_.get(), box)->text(), QString());
    Guess("0123");
    QVERIFY(!shown->isVisible());
    QCOMPARE(Step(1), "1*");
    QVERIFY(Find<QLabel>(form_.get(), "hintLegend")->isVisible());
    Guess("4567");
    QCOMPARE(Step(2), "2");
    QTest::mouseClick(Button(form_.get(), 5), Qt::LeftButton);  // another story: no marks left
    QCOMPARE(Step(1), "1");
    QVERIFY(!Find<QLabel>(form_.get(), "hintLegend")->isVisible());
  }

  void storyNumberShowsAndReplaysTheSameStory() {
    Open(42);
    QCOMPARE(Text("storyNumber"), "Рассказ № 42");
    Tick();
    const auto lines = form_->session().state().textLines;
    const QString title = Text("Label1");
    QTest::mouseClick(Button(form_.get(), 5), Qt::LeftButton);
    QCOMPARE(Text("storyNumber"), "Рассказ № 5555555");
    Tick();

    Find<QAction>(form_.get(), "replay")->trigger();
    auto* dialog = Find<QInputDialog>(form_.get(), "replayDialog");
    QVERIFY(dialog);
    dialog->setTextValue("12x");
    dialog->accept();
    auto* box = form_->findChild<QMessageBox*>("errorBox");
    QVERIFY(box);
    QCOMPARE(box->text(), "Номер рассказа — целое число от 0 до 18446744073709551615.");
    box->accept();

    Find<QAction>(form_.get(), "replay")->trigger();
    dialog = Find<QInputDialog>(form_.get(), "replayDialog");
    dialog->setTextValue(" 42 ");
    dialog->accept();
    QCOMPARE(Text("storyNumber"), "Рассказ № 42");
    Tick();
    QCOMPARE(Text("Label1"), title);
    QVERIFY(form_->session().state().textLines == lines);
  }
};

QTEST_MAIN(HintWindowTest)
#include "HintWindowTest.moc"
