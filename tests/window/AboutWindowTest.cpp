// The about window: its texts, and a click on any of its controls closes it.
#include <QGroupBox>
#include <QPointer>

#include "WindowTestSupport.h"
#include "about/Form3.h"

using namespace quorbel::testing;
using quorbel::ui::Form3;

class AboutWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void texts() {
    Form3 form;
    QCOMPARE(form.windowTitle(), QString("Реклама"));
    QVERIFY(form.isModal());
    auto text = [&](int n) { return Label(&form, n)->text(); };
    QVERIFY(text(1).endsWith(" -"));
    QCOMPARE(text(2), QString("генератор рассказов."));
    QCOMPARE(text(4), QString("Сайт программы, если ничего не случится:"));
    QCOMPARE(text(6), QString("ГЕНЕРИРУЙТЕ НА ЗДОРОВЬЕ! УРА!"));
    QCOMPARE(text(7), QString("Электронный почтовый адрес:"));
    QCOMPARE(text(9), QString("Благодарность:"));
    QCOMPARE(text(10), QString("Конкретно всем за всё конкретно."));
    QCOMPARE(text(11), QString("Порицание:"));
    QCOMPARE(text(12), QString("Сами догадайтесь, кому и за что!"));
    for (int n : {3, 5, 8, 13}) QVERIFY(!text(n).isEmpty());
    QVERIFY(!Find<QLabel>(&form, "Image1")->pixmap().isNull());
  }

  void anyClickCloses_data() {
    QTest::addColumn<QString>("control");
    for (int n = 1; n <= 13; ++n) QTest::newRow(qPrintable(QString("Label%1").arg(n))) << QString("Label%1").arg(n);
    for (int n = 1; n <= 3; ++n) QTest::newRow(qPrintable(QString("Frame%1").arg(n))) << QString("Frame%1").arg(n);
    QTest::newRow("Image1") << "Image1";
    QTest::newRow("window") << "";
  }
  void anyClickCloses() {
    QFETCH(QString, control);
    QPointer<Form3> form = new Form3;
    form->setAttribute(Qt::WA_DeleteOnClose);
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form.data()));
    QWidget* target = control.isEmpty() ? form.data() : Find<QWidget>(form.data(), control);
    QVERIFY(target);
    QTest::mouseClick(target, Qt::LeftButton, {}, control.isEmpty() ? QPoint(2, 2) : QPoint(3, 3));
    QTRY_VERIFY(!form);
  }

  void escapeCloses() {
    QPointer<Form3> form = new Form3;
    form->setAttribute(Qt::WA_DeleteOnClose);
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form.data()));
    QTest::keyClick(form.data(), Qt::Key_Escape);
    QTRY_VERIFY(!form);
  }
};

QTEST_MAIN(AboutWindowTest)
#include "AboutWindowTest.moc"
