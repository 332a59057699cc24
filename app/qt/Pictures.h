#pragma once
// The pictures stored with the windows, drawn at run time at the size they are shown: the cover
// shown while a story is built, the arrows of the settings window and the about picture.
#include <QPixmap>
#include <QSize>
#include <QString>

namespace quorbel::ui {

// caption: the line under the picture, e.g. "Рассказ сочиняется, подождите минутку…".
QPixmap CoverPicture(QSize size, const QString& caption);
// 35 x 10 pixel arrows at 96 dpi, scaled with the screen.
QPixmap ArrowPicture(bool up, QSize size);
QPixmap AboutPicture(QSize size);

}  // namespace quorbel::ui
