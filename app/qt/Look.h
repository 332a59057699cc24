#pragma once
// Geometry and fonts of the windows. Positions are laid out in twips (1440 per inch); on screen a
// twip is 1/15 pixel at 96 dpi and scales with the screen's logical dpi. Fonts are named by the
// families the windows were drawn with and fall back to installed look-alikes.
#include <QColor>
#include <QFont>
#include <QRect>
#include <QString>

class QWidget;

namespace quorbel::ui {

// Pixels for a length in twips at the primary screen's logical dpi.
int Tw(int twips);
QRect TwRect(int left, int top, int width, int height);
void PlaceTw(QWidget* w, int left, int top, int width, int height);

// The first installed family of the look-alikes of a design font ("Courier New",
// "MS Sans Serif", "Century Gothic").
QString ResolveFamily(const QString& designFamily);
QFont DesignFont(const QString& designFamily, double points, bool bold);

inline QFont CourierFont(double points, bool bold) { return DesignFont("Courier New", points, bold); }
inline QFont SansFont(double points, bool bold) { return DesignFont("MS Sans Serif", points, bold); }

// Button colours of the windows.
inline const QColor kLightGreen{0xC0, 0xFF, 0xC0};
inline const QColor kLightRed{0xFF, 0xC0, 0xC0};
inline const QColor kLightCyan{0xC0, 0xFF, 0xFF};
inline const QColor kDisabledButton{0xE0, 0xE0, 0xE0};
inline const QColor kDisabledButtonText{0x90, 0x90, 0x90};
// The colour of an enabled button; disabled, it turns grey.
void SetButtonColour(QWidget* button, const QColor& colour);

}  // namespace quorbel::ui
