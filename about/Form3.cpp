#include "about/Form3.h"

#include <QEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>

#include "app/qt/Look.h"
#include "app/qt/Pictures.h"

namespace quorbel::ui {

namespace {
QLabel* MakeLabel(QWidget* parent, int number, const QString& text, const QFont& font, int l, int t, int w, int h) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(QStringLiteral("Label%1").arg(number));
  label->setTextFormat(Qt::PlainText);
  label->setFont(font);
  PlaceTw(label, l, t, w, h);
  return label;
}

QGroupBox* MakeFrame(QWidget* parent, int number, int l, int t, int w, int h) {
  auto* frame = new QGroupBox(parent);
  frame->setObjectName(QStringLiteral("Frame%1").arg(number));
  PlaceTw(frame, l, t, w, h);
  return frame;
}

void Colour(QLabel* label, const QColor& colour) {
  QPalette p = label->palette();
  p.setColor(QPalette::WindowText, colour);
  label->setPalette(p);
}
}  // namespace

Form3::Form3(QWidget* parent) : QWidget(parent, Qt::Dialog) {
  setObjectName("Form3");
  setWindowTitle(QStringLiteral("Реклама"));
  setWindowModality(Qt::ApplicationModal);
  setFixedSize(Tw(6000), Tw(5880));
  const QFont plain = SansFont(8.25, false);
  const QFont bold = SansFont(8.25, true);

  QGroupBox* frame1 = MakeFrame(this, 1, 120, 60, 5760, 1560);
  MakeLabel(frame1, 1, QStringLiteral("Quorbel -"), SansFont(13.5, true), 240, 180, 3600, 420);
  MakeLabel(frame1, 2, QStringLiteral("генератор рассказов."), DesignFont("Century Gothic", 12, false), 240, 600,
            3600, 375);
  auto* picture = new QLabel(frame1);
  picture->setObjectName("Image1");
  PlaceTw(picture, 4380, 180, 1200, 1200);
  picture->setPixmap(AboutPicture(picture->size()));
  MakeLabel(frame1, 3, QStringLiteral("Версия ") + QStringLiteral(QUORBEL_VERSION) + QStringLiteral(". Автор: Н. Н. Сочинителев"), plain, 240, 1080, 4000, 300);

  MakeLabel(this, 4, QStringLiteral("Сайт программы, если ничего не случится:"), plain, 240, 1740, 5520, 255);
  Colour(MakeLabel(this, 5, QStringLiteral("http://quorbel.example.org"), bold, 240, 1995, 5520, 255),
         QColor(0x00, 0x00, 0xc0));
  QLabel* cheer =
      MakeLabel(this, 6, QStringLiteral("ГЕНЕРИРУЙТЕ НА ЗДОРОВЬЕ! УРА!"), SansFont(9.75, true), 120, 2340, 5760, 330);
  cheer->setAlignment(Qt::AlignCenter);
  Colour(cheer, QColor(0x80, 0x00, 0x00));
  MakeLabel(this, 7, QStringLiteral("Электронный почтовый адрес:"), plain, 240, 2730, 5520, 255);
  Colour(MakeLabel(this, 8, QStringLiteral("quorbel@example.org"), bold, 240, 2985, 5520, 255),
         QColor(0x00, 0x00, 0xc0));

  QGroupBox* frame2 = MakeFrame(this, 2, 120, 3360, 5760, 1380);
  MakeLabel(frame2, 9, QStringLiteral("Благодарность:"), bold, 240, 150, 5280, 255);
  MakeLabel(frame2, 10, QStringLiteral("Конкретно всем за всё конкретно."), plain, 480, 420, 5040, 255);
  MakeLabel(frame2, 11, QStringLiteral("Порицание:"), bold, 240, 750, 5280, 255);
  MakeLabel(frame2, 12, QStringLiteral("Сами догадайтесь, кому и за что!"), plain, 480, 1020, 5040, 255);

  QGroupBox* frame3 = MakeFrame(this, 3, 120, 4860, 5760, 900);
  QLabel* note = MakeLabel(frame3, 13,
                           QStringLiteral("Если рассказ вышел странным, значит, так было задумано. "
                                          "А если нет, начните другой: сыщик не устаёт."),
                           plain, 240, 120, 5280, 660);
  note->setWordWrap(true);

  // Any click closes the window, whichever control it lands on.
  for (QWidget* w : findChildren<QWidget*>()) w->installEventFilter(this);
}

bool Form3::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick) {
    close();
    return true;
  }
  return QWidget::eventFilter(watched, event);
}

void Form3::mousePressEvent(QMouseEvent* event) {
  event->accept();
  close();
}

void Form3::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape) {
    event->accept();
    close();
    return;
  }
  QWidget::keyPressEvent(event);
}

}  // namespace quorbel::ui
