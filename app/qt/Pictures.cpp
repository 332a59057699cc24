#include "app/qt/Pictures.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <cmath>

#include "app/qt/Look.h"

namespace quorbel::ui {

namespace {
// A magnifying glass with a fingerprint seen through its lens.
void DrawLens(QPainter& p, QPointF centre, double radius, const QColor& rim) {
  p.save();
  const double handle = radius * 0.95;
  QPen handlePen(QColor(0x5a, 0x3a, 0x1a), radius * 0.28, Qt::SolidLine, Qt::RoundCap);
  p.setPen(handlePen);
  const QPointF from = centre + QPointF(radius * 0.72, radius * 0.72);
  p.drawLine(from, from + QPointF(handle * 0.72, handle * 0.72));

  QRadialGradient glass(centre - QPointF(radius * 0.3, radius * 0.3), radius * 1.2);
  glass.setColorAt(0, QColor(220, 235, 255, 170));
  glass.setColorAt(1, QColor(120, 150, 200, 90));
  p.setBrush(glass);
  p.setPen(QPen(rim, radius * 0.14));
  p.drawEllipse(centre, radius, radius);

  QPainterPath clip;
  clip.addEllipse(centre, radius * 0.9, radius * 0.9);
  p.setClipPath(clip);
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(QColor(60, 40, 40, 150), std::max(1.0, radius * 0.035)));
  const QPointF whorl = centre + QPointF(radius * 0.1, radius * 0.15);
  for (int i = 1; i <= 9; ++i) {
    const double r = radius * 0.09 * i;
    p.drawArc(QRectF(whorl.x() - r, whorl.y() - r * 1.25, 2 * r, 2.5 * r), 20 * 16, 300 * 16);
  }
  p.restore();
}
}  // namespace

QPixmap CoverPicture(QSize size, const QString& caption) {
  QPixmap pm(size);
  const double w = size.width(), h = size.height();
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  QLinearGradient bg(0, 0, 0, h);
  bg.setColorAt(0, QColor(0x14, 0x1e, 0x3c));
  bg.setColorAt(1, QColor(0x05, 0x08, 0x14));
  p.fillRect(pm.rect(), bg);

  // Gold double frame.
  const QColor gold(0xd4, 0xaf, 0x37);
  p.setPen(QPen(gold, std::max(2.0, w / 160)));
  p.setBrush(Qt::NoBrush);
  p.drawRect(QRectF(w * 0.04, h * 0.03, w * 0.92, h * 0.94));
  p.setPen(QPen(gold, std::max(1.0, w / 400)));
  p.drawRect(QRectF(w * 0.06, h * 0.045, w * 0.88, h * 0.91));

  // A street lamp's glow and the lens.
  QRadialGradient glow(QPointF(w * 0.5, h * 0.47), w * 0.45);
  glow.setColorAt(0, QColor(255, 220, 140, 90));
  glow.setColorAt(1, QColor(255, 220, 140, 0));
  p.setPen(Qt::NoPen);
  p.setBrush(glow);
  p.drawEllipse(QPointF(w * 0.5, h * 0.47), w * 0.45, w * 0.45);
  DrawLens(p, QPointF(w * 0.45, h * 0.44), w * 0.2, gold);

  QFont title = CourierFont(10, true);
  title.setPixelSize(std::max(8, static_cast<int>(w / 15)));
  p.setFont(title);
  p.setPen(gold);
  p.drawText(QRectF(0, h * 0.08, w, h * 0.1), Qt::AlignCenter, QStringLiteral("СОСТАВИТЕЛЬ"));
  p.drawText(QRectF(0, h * 0.16, w, h * 0.1), Qt::AlignCenter, QStringLiteral("РАССКАЗОВ"));

  QFont name = DesignFont("Century Gothic", 10, true);
  name.setPixelSize(std::max(8, static_cast<int>(w / 11)));
  name.setLetterSpacing(QFont::AbsoluteSpacing, w / 60);
  p.setFont(name);
  p.setPen(QColor(0xf0, 0xe6, 0xc8));
  p.drawText(QRectF(0, h * 0.7, w, h * 0.12), Qt::AlignCenter, QStringLiteral("QUORBEL"));

  QFont note = SansFont(10, false);
  note.setPixelSize(std::max(8, static_cast<int>(w / 32)));
  note.setItalic(true);
  p.setFont(note);
  p.setPen(QColor(0xb8, 0xc4, 0xe0));
  p.drawText(QRectF(0, h * 0.83, w, h * 0.06), Qt::AlignCenter, caption);
  return pm;
}

QPixmap ArrowPicture(bool up, QSize size) {
  QPixmap pm(size);
  pm.fill(Qt::transparent);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0x20, 0x20, 0x60));
  const double w = size.width(), h = size.height();
  const double m = h * 0.15;
  QPolygonF tri;
  if (up)
    tri << QPointF(w / 2, m) << QPointF(w / 2 + (h - 2 * m) * 1.6, h - m) << QPointF(w / 2 - (h - 2 * m) * 1.6, h - m);
  else
    tri << QPointF(w / 2, h - m) << QPointF(w / 2 + (h - 2 * m) * 1.6, m) << QPointF(w / 2 - (h - 2 * m) * 1.6, m);
  p.drawPolygon(tri);
  return pm;
}

QPixmap AboutPicture(QSize size) {
  QPixmap pm(size);
  const double w = size.width(), h = size.height();
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  p.fillRect(pm.rect(), QColor(0xfa, 0xf4, 0xe0));
  // An open notebook with a few lines of text and the lens above it.
  p.setPen(QPen(QColor(0x70, 0x50, 0x30), std::max(1.0, w / 60)));
  p.setBrush(Qt::white);
  p.drawRect(QRectF(w * 0.08, h * 0.45, w * 0.4, h * 0.45));
  p.drawRect(QRectF(w * 0.48, h * 0.45, w * 0.4, h * 0.45));
  p.setPen(QPen(QColor(0x90, 0x90, 0xa0), std::max(1.0, w / 100)));
  for (int i = 0; i < 5; ++i) {
    const double y = h * (0.53 + 0.07 * i);
    p.drawLine(QPointF(w * 0.12, y), QPointF(w * 0.44, y));
    p.drawLine(QPointF(w * 0.52, y), QPointF(w * 0.84, y));
  }
  DrawLens(p, QPointF(w * 0.42, h * 0.3), w * 0.2, QColor(0xb0, 0x80, 0x20));
  return pm;
}

}  // namespace quorbel::ui
