// The settings window: what it shows from the catalogues and "quorbel.cfg", its arrows and lists,
// and what "ОК" and "Отмена" leave in the file.
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QMessageBox>
#include <QPointer>
#include <vector>

#include "WindowTestSupport.h"
#include "settings/qt/Form2.h"
#include "story/TextFile.h"

using namespace quorbel;
using namespace quorbel::testing;
using quorbel::ui::Form2;

class SettingsWindowTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<QTemporaryDir> dir_;
  QPointer<Form2> form_;

  QString Path(const QString& name) const { return dir_->filePath(name); }
  void Write(const QString& name, std::initializer_list<const char*> lines) {
    std::vector<quorbel::Text> text;
    for (const char* l : lines) text.push_back(T(l));
    QVERIFY(QDir(dir_->path()).mkpath(QFileInfo(Path(name)).path()));
    WriteTextFile(Path(name).toStdString(), text, name.toStdString());
  }
  // Ten values in the settings file's own form (" 3 " lines).
  QByteArray Cfg(std::initializer_list<int> values) {
    QByteArray out;
    for (int v : values) out += (v >= 0 ? " " : "") + QByteArray::number(v) + " \r\n";
    return out;
  }
  void WriteCfg(const QByteArray& bytes) {
    QFile f(Path("quorbel.cfg"));
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
  }
  void Open() {
    form_ = new Form2(DataDir(dir_->path().toStdString()));
    form_->setAttribute(Qt::WA_DeleteOnClose);
    form_->show();
    QVERIFY(QTest::qWaitForWindowExposed(form_.data()));
  }
  QString Text(const char* label) { return Find<QLabel>(form_.data(), label)->text(); }
  QString Combo(int n) { return Find<QComboBox>(form_.data(), QString("Combo%1").arg(n))->currentText(); }
  void Press(int n) { QTest::mouseClick(Button(form_.data(), n), Qt::LeftButton); }
  QMessageBox* ErrorBox() { return form_->findChild<QMessageBox*>("errorBox"); }
  QByteArray Saved() { return FileBytes(Path("quorbel.cfg")); }

 private slots:
  void init() {
    dir_ = std::make_unique<QTemporaryDir>();
    QVERIFY(dir_->isValid());
    // The third style has no theme catalogue.
    Write("styles.qrb", {"classic", "Классика", "noir", "Нуар", "fun", "Забава"});
    Write("classic/themes.qrb", {"Дело о _Z_ и _Z_", "Тихий вечер", "Гроза"});
    Write("fun/themes.qrb", {"Кот _Z_"});
  }
  void cleanup() {
    delete form_.data();
    dir_.reset();
  }

  void texts() {
    WriteCfg(Cfg({0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
    Open();
    QCOMPARE(form_->windowTitle(), QString("Настройки"));
    QCOMPARE(Find<QGroupBox>(form_.data(), "Frame1")->title(), QString("Неизменяемые в ходе рассказа параметры"));
    QCOMPARE(Find<QGroupBox>(form_.data(), "Frame2")->title(), QString("Возможные к изменению параметры в ходе рассказа"));
    QCOMPARE(Text("Label2"), QString("Стиль рассказа"));
    QCOMPARE(Text("Label1"), QString("Тема рассказа"));
    QCOMPARE(Text("Label3"), QString("Степень реалистичности рассказа"));
    QCOMPARE(Text("Label6"), QString("Время года"));
    QCOMPARE(Text("Label7"), QString("Время суток"));
    QCOMPARE(Text("Label8"), QString("Облачность"));
    QCOMPARE(Text("Label9"), QString("Ветер"));
    QCOMPARE(Text("Label4"), QString("Температура"));
    QCOMPARE(Text("Label5"), QString("Осадки"));
    QCOMPARE(Text("Label10"), QString("Запретить изменение параметров, возможных к изменению в ходе рассказа "
                                      "(Примечание про время суток: при этом запрете все события произойдут в "
                                      "течение суток)"));
    QCOMPARE(Button(form_.data(), 2)->text(), QString("ОК"));
    QCOMPARE(Button(form_.data(), 1)->text(), QString("Отмена"));
    auto items = [this](int n) {
      QStringList out;
      auto* c = Find<QComboBox>(form_.data(), QString("Combo%1").arg(n));
      for (int i = 0; i < c->count(); ++i) out << c->itemText(i);
      return out;
    };
    QCOMPARE(items(4), QStringList({"произвольно", "январь", "февраль", "март", "апрель", "май", "июнь", "июль",
                                    "август", "сентябрь", "октябрь", "ноябрь", "декабрь"}));
    QCOMPARE(items(5).size(), 13);
    QCOMPARE(items(5)[1], QString("00.00-02.00"));
    QCOMPARE(items(5)[5], QString("08.00-10.00"));
    QCOMPARE(items(5)[12], QString("22.00-24.00"));
    QCOMPARE(items(6), QStringList({"произвольно", "отсутствие облаков", "немного облаков", "облака с просветами",
                                    "сплошные облака (тучи)"}));
    QCOMPARE(items(7), QStringList({"произвольно", "отсутствие ветра", "слабый ветер", "средний ветер", "сильный ветер"}));
    QCOMPARE(items(8), QStringList({"произвольно", "низкая", "средняя", "высокая"}));
    QCOMPARE(items(9), QStringList({"произвольно", "никаких осадков", "легкие осадки", "средние осадки", "сильные осадки"}));
  }

  void tenZerosShowRandomAndAreWrittenBackUnchanged() {
    const QByteArray zeros = Cfg({0, 0, 0, 0, 0, 0, 0, 0, 0, 0});
    WriteCfg(zeros);
    Open();
    QCOMPARE(Text("Label11"), QString("Произвольно"));
    QCOMPARE(Text("Label12"), QString("Произвольно"));
    QCOMPARE(Text("Label13"), QString("Произвольно"));
    for (int n = 4; n <= 9; ++n) QCOMPARE(Combo(n), QString("произвольно"));
    QVERIFY(!Find<QCheckBox>(form_.data(), "Check1")->isChecked());
    Press(2);
    QTRY_VERIFY(!form_);
    QCOMPARE(Saved(), zeros);
  }

  void valuesAreShownAndWrittenBackUnchanged() {
    const QByteArray values = Cfg({1, 2, 3, 4, 5, 3, 2, 1, 3, 1});
    WriteCfg(values);
    Open();
    QVERIFY(!ErrorBox());
    QCOMPARE(Text("Label11"), QString("Классика"));
    QCOMPARE(Text("Label12"), QString("Тихий вечер"));
    QCOMPARE(Text("Label13"), QString("Полный абсурд"));
    QCOMPARE(Combo(4), QString("апрель"));
    QCOMPARE(Combo(5), QString("08.00-10.00"));
    QCOMPARE(Combo(6), QString("облака с просветами"));
    QCOMPARE(Combo(7), QString("слабый ветер"));
    QCOMPARE(Combo(8), QString("низкая"));
    QCOMPARE(Combo(9), QString("средние осадки"));
    QVERIFY(Find<QCheckBox>(form_.data(), "Check1")->isChecked());
    Press(2);
    QTRY_VERIFY(!form_);
    QCOMPARE(Saved(), values);
  }

  void aThemeShowsItsFirstPlaceholderAsDots() {
    WriteCfg(Cfg({1, 1, 0, 0, 0, 0, 0, 0, 0, 0}));
    Open();
    QCOMPARE(Text("Label12"), QString("Дело о ... и _Z_"));
  }

  void aMissingFileOpensAtRandomAndOkWritesZeros() {
    Open();
    QVERIFY(!ErrorBox());
    QCOMPARE(Text("Label11"), QString("Произвольно"));
    QCOMPARE(Combo(4), QString("произвольно"));
    Press(2);
    QTRY_VERIFY(!form_);
    QCOMPARE(Saved(), Cfg({0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
  }

  void valuesBeyondAListSelectItsLastEntry() {
    WriteCfg(Cfg({9, 9, 9, 99, 99, 99, 99, 99, 99, 5}));
    Open();
    QVERIFY(!ErrorBox());
    QCOMPARE(Text("Label11"), QString("Забава"));
    QCOMPARE(Text("Label12"), QString("Кот ..."));
    QCOMPARE(Text("Label13"), QString("Полный абсурд"));
    QCOMPARE(Combo(4), QString("декабрь"));
    QCOMPARE(Combo(5), QString("22.00-24.00"));
    QCOMPARE(Combo(9), QString("сильные осадки"));
    QVERIFY(Find<QCheckBox>(form_.data(), "Check1")->isChecked());
    Press(2);
    QTRY_VERIFY(!form_);
    QCOMPARE(Saved(), Cfg({3, 1, 3, 12, 12, 4, 4, 3, 4, 1}));
  }

  void styleArrowsWrapByCaption() {
    WriteCfg(Cfg({0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
    Open();
    Press(3);  // previous from the random entry: the last style
    QCOMPARE(Text("Label11"), QString("Забава"));
    Press(6);  // a theme of that style
    QCOMPARE(Text("Label12"), QString("Кот ..."));
    Press(4);  // next from the last: random, and the theme with it
    QCOMPARE(Text("Label11"), QString("Произвольно"));
    QCOMPARE(Text("Label12"), QString("Произвольно"));
    Press(4);
    Press(6);
    Press(6);
    QCOMPARE(Text("Label12"), QString("Тихий вечер"));
    Press(4);  // between two concrete styles the theme stays
    QCOMPARE(Text("Label11"), QString("Нуар"));
    QCOMPARE(Text("Label12"), QString("Тихий вечер"));
    Press(3);
    Press(3);  // back to random: the theme is reset
    QCOMPARE(Text("Label11"), QString("Произвольно"));
    QCOMPARE(Text("Label12"), QString("Произвольно"));
  }

  // The shipped catalogues: both styles, and the four themes of the second.
  void theShippedStylesAndTheirThemes() {
    for (const char* name : {"styles.qrb", "classic/themes.qrb", "ironic/themes.qrb"}) {
      QVERIFY(QDir(dir_->path()).mkpath(QFileInfo(Path(name)).path()));
      QFile::remove(Path(name));
      QVERIFY(QFile::copy(QStringLiteral(QUORBEL_DATA "/") + name, Path(name)));
    }
    WriteCfg(Cfg({0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
    Open();
    Press(4);
    QCOMPARE(Text("Label11"), QString("Классический детектив"));
    Press(4);
    QCOMPARE(Text("Label11"), QString("Иронический детектив"));
    QStringList themes;
    for (int k = 0; k < 5; ++k) {
      Press(6);
      themes << Text("Label12");
    }
    QCOMPARE(themes, QStringList({"Переполох в кооперативе «...»", "Круиз с сюрпризом", "Тихий час в санатории «...»",
                                  "Скандал на съёмочной площадке", "Произвольно"}));
  }

  void themeArrows() {
    WriteCfg(Cfg({0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
    Open();
    Press(6);  // random style, no catalogue read yet: nothing happens
    Press(5);
    QCOMPARE(Text("Label12"), QString("Произвольно"));
    Press(4);  // "Классика"
    Press(6);
    QCOMPARE(Text("Label12"), QString("Дело о ... и _Z_"));
    Press(6);
    Press(6);
    QCOMPARE(Text("Label12"), QString("Гроза"));
    Press(6);
    QCOMPARE(Text("Label12"), QString("Произвольно"));
    Press(5);
    QCOMPARE(Text("Label12"), QString("Гроза"));
    Press(5);
    QCOMPARE(Text("Label12"), QString("Тихий вечер"));
    Press(2);
    QTRY_VERIFY(!form_);
    QCOMPARE(Saved(), Cfg({1, 2, 0, 0, 0, 0, 0, 0, 0, 0}));
  }

  void aThemePositionBeyondTheNewStylesCatalogue() {
    WriteCfg(Cfg({1, 3, 0, 0, 0, 0, 0, 0, 0, 0}));  // "Гроза", the third theme of "Классика"
    Open();
    QCOMPARE(Text("Label12"), QString("Гроза"));
    Press(4);
    Press(4);  // "Забава" has one theme
    QCOMPARE(Text("Label11"), QString("Забава"));
    Press(6);
    QCOMPARE(Text("Label12"), QString("Произвольно"));
    Press(5);
    QCOMPARE(Text("Label12"), QString("Кот ..."));
  }

  void aMissingThemeCatalogueIsShownAndTheWindowStays() {
    WriteCfg(Cfg({2, 0, 0, 0, 0, 0, 0, 0, 0, 0}));  // "Нуар" has no catalogue
    Open();
    QMessageBox* box = nullptr;
    QTRY_VERIFY((box = ErrorBox()) != nullptr);
    QVERIFY2(box->text().contains("noir/themes.qrb"), qPrintable(box->text()));
    box->accept();
    QTRY_VERIFY(!ErrorBox());
    QCOMPARE(Text("Label11"), QString("Нуар"));
    QCOMPARE(Text("Label12"), QString("Произвольно"));
    Press(6);
    QVERIFY(ErrorBox());
    QVERIFY(form_->isVisible());
  }

  void aStyleWithoutItsNameIsReportedAndTheWholePairsOffered() {
    Write("styles.qrb", {"classic", "Классика", "noir"});
    WriteCfg(Cfg({3, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
    Open();
    QMessageBox* box = nullptr;
    QTRY_VERIFY((box = ErrorBox()) != nullptr);
    QVERIFY2(box->text().contains("styles.qrb"), qPrintable(box->text()));
    QVERIFY2(box->text().contains("4"), qPrintable(box->text()));
    box->accept();
    QTRY_VERIFY(!ErrorBox());
    QCOMPARE(Text("Label11"), QString("Классика"));  // the position beyond the list takes its last entry
  }

  void realismArrows() {
    WriteCfg(Cfg({0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
    Open();
    Press(8);
    QCOMPARE(Text("Label13"), QString("Отсутствие абсурда"));
    Press(8);
    Press(8);
    QCOMPARE(Text("Label13"), QString("Полный абсурд"));
    Press(8);
    QCOMPARE(Text("Label13"), QString("Произвольно"));
    Press(7);
    QCOMPARE(Text("Label13"), QString("Полный абсурд"));
    Press(7);
    QCOMPARE(Text("Label13"), QString("Небольшой абсурд"));
  }

  void listsAndCheckBoxAreWritten() {
    WriteCfg(Cfg({0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
    Open();
    Find<QComboBox>(form_.data(), "Combo4")->setCurrentIndex(2);
    Find<QComboBox>(form_.data(), "Combo9")->setCurrentIndex(4);
    QTest::mouseClick(Find<QLabel>(form_.data(), "Label10"), Qt::LeftButton);  // the text ticks the box
    QVERIFY(Find<QCheckBox>(form_.data(), "Check1")->isChecked());
    Press(2);
    QTRY_VERIFY(!form_);
    QCOMPARE(Saved(), Cfg({0, 0, 0, 2, 0, 0, 0, 0, 4, 1}));
  }

  void cancelLeavesTheFileAsItWas() {
    const QByteArray values = Cfg({1, 2, 3, 4, 5, 3, 2, 1, 3, 1});
    WriteCfg(values);
    Open();
    Press(4);
    Press(8);
    Find<QComboBox>(form_.data(), "Combo4")->setCurrentIndex(7);
    Press(1);
    QTRY_VERIFY(!form_);
    QCOMPARE(Saved(), values);
  }

  void escapeIsCancelAndEnterIsOk() {
    const QByteArray values = Cfg({1, 2, 3, 4, 5, 3, 2, 1, 3, 1});
    WriteCfg(values);
    Open();
    Find<QComboBox>(form_.data(), "Combo4")->setCurrentIndex(7);
    QTest::keyClick(form_.data(), Qt::Key_Escape);
    QTRY_VERIFY(!form_);
    QCOMPARE(Saved(), values);
    Open();
    Find<QComboBox>(form_.data(), "Combo4")->setCurrentIndex(7);
    QTest::keyClick(form_.data(), Qt::Key_Return);
    QTRY_VERIFY(!form_);
    QCOMPARE(Saved(), Cfg({1, 2, 3, 7, 5, 3, 2, 1, 3, 1}));
  }
};

QTEST_MAIN(SettingsWindowTest)
#include "SettingsWindowTest.moc"
