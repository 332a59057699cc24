// The story window on installed material: the settings file goes to the config folder and the
// saved story to the documents folder, and nothing is written beside the material.
#include <QAction>
#include <QCheckBox>
#include <QMessageBox>
#include <QPointer>
#include <QStatusBar>
#include <QTimer>
#include <memory>

#include "WindowTestSupport.h"
#include "app/qt/Form1.h"
#include "story/Places.h"

using namespace quorbel;
using namespace quorbel::testing;
using quorbel::ui::Form1;

class InstalledWindowTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<QTemporaryDir> root_;
  std::unique_ptr<ScriptedRandom> rng_;
  std::unique_ptr<Form1> form_;

  QString Path(const QString& rel) const { return root_->filePath(rel); }

  // An install under prefix/, started from an empty folder, with its own home.
  void Open(const QString& configHome) {
    QVERIFY(QDir(root_->path()).mkpath("prefix/share/quorbel"));
    QVERIFY(QDir(root_->path()).mkpath("elsewhere"));
    QVERIFY(QDir(root_->path()).mkpath("home/Documents"));
    QVERIFY(CopyTree(FixtureStory(), Path("prefix/share/quorbel")));
    QVERIFY(QFile::remove(Path("prefix/share/quorbel/quorbel.cfg")));
    Surroundings around;
    around.currentFolder = Path("elsewhere").toStdString();
    around.executable = Path("prefix/bin/quorbel").toStdString();
    around.home = Path("home").toStdString();
    around.xdgConfigHome = configHome.toStdString();
    const PlacesChoice where = ChoosePlaces({}, around);
    QVERIFY(where.places && where.places->installed);
    rng_ = std::make_unique<ScriptedRandom>(std::uint64_t{7});
    rng_->AddCode("3071");
    form_ = std::make_unique<Form1>(OpenPlaces(*where.places), *rng_);
    form_->show();
    QVERIFY(QTest::qWaitForWindowExposed(form_.get()));
    QMetaObject::invokeMethod(Find<QTimer>(form_.get(), "Timer1"), "timeout");
    QVERIFY(!form_->findChild<QMessageBox*>("errorBox"));
    QVERIFY(form_->session().state().lineCount > 1);
  }

  QWidget* OpenSettings() {
    Find<QAction>(form_.get(), "nastrojki")->trigger();
    return form_->settingsWindow();
  }

 private slots:
  void init() {
    root_ = std::make_unique<QTemporaryDir>();
    QVERIFY(root_->isValid());
  }
  void cleanup() {
    form_.reset();
    rng_.reset();
    root_.reset();
  }

  void settingsAndStoryGoToTheReadersFolders() {
    QVERIFY(QDir(root_->path()).mkpath("config/quorbel"));
    QFile cfg(Path("config/quorbel/quorbel.cfg"));
    QVERIFY(cfg.open(QIODevice::WriteOnly));
    cfg.write(" 0 \r\n 0 \r\n 0 \r\n 0 \r\n 0 \r\n 0 \r\n 0 \r\n 0 \r\n 0 \r\n 1 \r\n");
    cfg.close();
    Open(Path("config"));

    QPointer<QWidget> settings = OpenSettings();
    QVERIFY(settings);
    QVERIFY(Find<QCheckBox>(settings, "Check1")->isChecked());  // read from the config folder
    Find<QCheckBox>(settings, "Check1")->setChecked(false);
    QTest::mouseClick(Button(settings, 2), Qt::LeftButton);
    QTRY_VERIFY(!settings);
    QCOMPARE(FileBytes(Path("config/quorbel/quorbel.cfg")),
             QByteArray(" 0 \r\n 0 \r\n 0 \r\n 0 \r\n 0 \r\n 0 \r\n 0 \r\n 0 \r\n 0 \r\n 0 \r\n"));

    for (QChar d : QString("3071"))
      QTest::mouseDClick(Label(form_.get(), d == '0' ? 13 : 3 + d.digitValue()), Qt::LeftButton);
    QTest::mouseClick(Button(form_.get(), 3), Qt::LeftButton);
    QTest::mouseClick(Button(form_.get(), 6), Qt::LeftButton);
    QVERIFY(!form_->findChild<QMessageBox*>("errorBox"));
    QVERIFY(!FileBytes(Path("home/Documents/qrb.txt")).isEmpty());
    QCOMPARE(form_->statusBar()->currentMessage(),
             QString("Рассказ сохранён в файл ") + QDir::cleanPath(Path("home/Documents/qrb.txt")));
    QCOMPARE(QDir(Path("prefix/share/quorbel")).entryList({"quorbel.cfg", "qrb.txt*", "*.tmp"}), QStringList());
    QCOMPARE(QDir(Path("elsewhere")).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), QStringList());
  }

  void anUnwritableConfigFolderIsReportedAndTheWindowGoesOn() {
    QFile blocker(Path("blocker"));  // a file where the config folder should be made
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    Open(Path("blocker"));
    QPointer<QWidget> settings = OpenSettings();
    QTest::mouseClick(Button(settings, 2), Qt::LeftButton);
    auto* box = settings->findChild<QMessageBox*>("errorBox");
    QVERIFY(box);
    QCOMPARE(box->text(), QString("Настройки не удалось сохранить.\nquorbel.cfg: не удалось создать папку ") +
                              Path("blocker/quorbel") + ": Not a directory.");
    box->accept();
    settings->close();
    QTRY_VERIFY(!settings);
    QVERIFY(form_->isEnabled());
    QVERIFY(Button(form_.get(), 3)->isVisible() && Button(form_.get(), 5)->isEnabled());
  }
};

QTEST_MAIN(InstalledWindowTest)
#include "InstalledWindowTest.moc"
