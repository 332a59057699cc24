#include "view/qt/PageControls.h"

#include <QPalette>
#include <QPixmap>
#include <algorithm>

#include "app/qt/Look.h"

namespace quorbel::ui {

namespace {
void WhiteBackground(QWidget* w) {
  QPalette p = w->palette();
  p.setColor(QPalette::Window, Qt::white);
  p.setColor(QPalette::WindowText, Qt::black);
  w->setPalette(p);
  w->setAutoFillBackground(true);
}
}  // namespace

PageControls::PageControls(QWidget* parent) {
  picture_ = new QLabel(parent);
  picture_->setObjectName("Picture1");
  PlaceTw(picture_, 100, 360, 1040, 1170);
  picture_->setAlignment(Qt::AlignCenter);
  WhiteBackground(picture_);
  picture_->hide();

  widths_ = new QLabel(QStringLiteral("45 символов первая строка, 51 - вторая"), parent);
  widths_->setObjectName("Label50");
  PlaceTw(widths_, 1155, 960, 6660, 255);
  widths_->hide();

  const QFont font = CourierFont(12, false);
  for (int k = 0; k < kPageRows; ++k) {
    auto* row = new QLabel(parent);
    row->setObjectName(QStringLiteral("Label%1").arg(51 + k));
    row->setTextFormat(Qt::PlainText);
    row->setFont(font);
    row->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    WhiteBackground(row);
    if (k == 0)
      PlaceTw(row, 1155, 1200, 6660, 375);
    else if (k == 1)
      PlaceTw(row, 120, 1560, 7700, 375);
    else
      PlaceTw(row, 120, 1920 + 360 * (k - 2), 7695, 375);
    rows_[static_cast<std::size_t>(k)] = row;

    // A thin mark in the left margin; the row's own text stays as it is.
    auto* mark = new QWidget(parent);
    mark->setObjectName(QStringLiteral("Mark%1").arg(51 + k));
    mark->setGeometry(Tw(30), row->y(), std::max(2, Tw(45)), row->height());
    QPalette p = mark->palette();
    p.setColor(QPalette::Window, QColor(0xC0, 0x00, 0x00));
    mark->setPalette(p);
    mark->setAutoFillBackground(true);
    mark->hide();
    marks_[static_cast<std::size_t>(k)] = mark;
  }

  up_ = new QPushButton(QStringLiteral("Листать вверх"), parent);
  up_->setObjectName("Command1");
  PlaceTw(up_, 4800, 600, 3015, 495);
  up_->hide();
  down_ = new QPushButton(QStringLiteral("Листать вниз"), parent);
  down_->setObjectName("Command2");
  PlaceTw(down_, 4920, 8160, 2895, 495);
  down_->hide();
}

void PageControls::Mirror(const PageView& page, const DataDir& dir) {
  if (!loadedOnce_ || page.dropCapFile != loadedFile_) {
    loadedOnce_ = true;
    loadedFile_ = page.dropCapFile;
    QPixmap pm;
    if (!page.dropCapFile.empty()) pm.load(QString::fromStdU16String(dir.PathOf(FromUtf8(page.dropCapFile)).u16string()));
    pictureDrawn_ = !pm.isNull();
    if (pm.isNull()) {
      picture_->clear();
    } else {
      const QSize box = picture_->size();
      picture_->setPixmap(pm.size().width() > box.width() || pm.size().height() > box.height()
                              ? pm.scaled(box, Qt::KeepAspectRatio, Qt::SmoothTransformation)
                              : pm);
    }
  }
  // Without a picture the first letter would be lost: the line goes in whole.
  const bool whole = page.firstRowNarrow && page.pictureVisible && !pictureDrawn_;
  const bool beside = page.firstRowNarrow && !whole;
  for (int k = 0; k < kPageRows; ++k) {
    const auto i = static_cast<std::size_t>(k);
    rows_[i]->setText(QString::fromStdU16String(k == 0 && whole ? page.firstRowWhole
                                                                                         : page.rows[i]));
    marks_[i]->setVisible(page.fresh[i]);
  }
  if (beside)
    PlaceTw(rows_[0], 1155, 1200, 6660, 375);
  else
    PlaceTw(rows_[0], 120, 1200, 7700, 375);
  picture_->setVisible(page.pictureVisible && pictureDrawn_);
  up_->setVisible(page.scrollUpVisible);
  down_->setVisible(page.scrollDownVisible);
}

}  // namespace quorbel::ui
