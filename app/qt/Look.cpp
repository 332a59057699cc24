#include "app/qt/Look.h"

#include <QFontDatabase>
#include <QGuiApplication>
#include <QPalette>
#include <QScreen>
#include <QStringList>
#include <QWidget>
#include <cmath>

namespace quorbel::ui {

namespace {
double LogicalDpi() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  const double dpi = screen ? screen->logicalDotsPerInch() : 96.0;
  return dpi > 0 ? dpi : 96.0;
}
}  // namespace

int Tw(int twips) { return static_cast<int>(std::lround(twips * LogicalDpi() / 1440.0)); }

QRect TwRect(int left, int top, int width, int height) {
  return QRect(Tw(left), Tw(top), Tw(width), Tw(height));
}

void PlaceTw(QWidget* w, int left, int top, int width, int height) {
  w->setGeometry(TwRect(left, top, width, height));
}

QString ResolveFamily(const QString& designFamily) {
  // Liberation Mono keeps Courier New's metrics, so the page's 51 characters still fit a row.
  QStringList candidates;
  if (designFamily == "Courier New")
    candidates = {"Courier New", "Liberation Mono", "Cousine", "Nimbus Mono PS", "DejaVu Sans Mono"};
  else if (designFamily == "MS Sans Serif")
    candidates = {"MS Sans Serif", "Microsoft Sans Serif", "Liberation Sans", "Arial", "DejaVu Sans",
                  "Noto Sans"};
  else if (designFamily == "Century Gothic")
    candidates = {"Century Gothic", "URW Gothic", "URW Gothic L", "TeX Gyre Adventor", "DejaVu Sans"};
  else
    candidates = {designFamily};
  // Families of several foundries are listed as "Name [foundry]".
  auto bare = [](QStringList families) {
    for (QString& f : families) f = f.section(QLatin1String(" ["), 0, 0);
    return families;
  };
  const QStringList installed = bare(QFontDatabase::families(QFontDatabase::Cyrillic));
  for (const QString& c : candidates)
    if (installed.contains(c, Qt::CaseInsensitive)) return c;
  const QStringList any = bare(QFontDatabase::families());
  for (const QString& c : candidates)
    if (any.contains(c, Qt::CaseInsensitive)) return c;
  return designFamily;  // let the font matcher choose
}

QFont DesignFont(const QString& designFamily, double points, bool bold) {
  static QString courier, sans, gothic;  // resolved once: the database lookup is slow
  QString* cached = designFamily == "Courier New"      ? &courier
                    : designFamily == "MS Sans Serif"  ? &sans
                    : designFamily == "Century Gothic" ? &gothic
                                                       : nullptr;
  QString family;
  if (cached) {
    if (cached->isEmpty()) *cached = ResolveFamily(designFamily);
    family = *cached;
  } else {
    family = ResolveFamily(designFamily);
  }
  QFont f(family);
  f.setPointSizeF(points);
  f.setBold(bold);
  if (designFamily == "Courier New") {
    f.setStyleHint(QFont::TypeWriter);
    f.setFixedPitch(true);
  } else {
    f.setStyleHint(QFont::SansSerif);
  }
  return f;
}

void SetButtonColour(QWidget* button, const QColor& colour) {
  QPalette p = button->palette();
  for (auto group : {QPalette::Active, QPalette::Inactive}) {
    p.setColor(group, QPalette::Button, colour);
    p.setColor(group, QPalette::ButtonText, Qt::black);
  }
  // A disabled button, or one in a disabled window, must not look pressable.
  p.setColor(QPalette::Disabled, QPalette::Button, kDisabledButton);
  p.setColor(QPalette::Disabled, QPalette::ButtonText, kDisabledButtonText);
  button->setPalette(p);
  button->setAutoFillBackground(true);
}

}  // namespace quorbel::ui
