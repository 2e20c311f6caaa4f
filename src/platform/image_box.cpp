// ImageBox: the picture control of the picture windows.
#include "platform/image_box.h"

#include <QPaintEvent>
#include <QPainter>
#include <QWidget>
#include <cmath>

#include "platform/twips.h"

namespace vlx {
namespace {

// A picture scaled to `size`. Smoothing costs in proportion to the source: a picture many
// times the size wanted is first thinned out to four times that size.
QImage scaledTo(const QImage& picture, const QSize& size) {
  QImage source = picture;
  const QSize thinned = size * 4;
  if (picture.width() > thinned.width() && picture.height() > thinned.height())
    source = picture.scaled(thinned, Qt::IgnoreAspectRatio, Qt::FastTransformation);
  return source.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

}  // namespace

QRect FitRect(int w, int h, int bw, int bh) {
  if (w <= 0 || h <= 0 || bw <= 0 || bh <= 0) return {};
  const double rx = double(w) / bw, ry = double(h) / bh;
  // Whole pixels, halves to even, as the drawing call takes its arguments.
  auto whole = [](double v) { return int(std::nearbyint(v)); };
  if (rx == ry) return {0, 0, w, h};
  if (rx > ry) {
    const int dw = whole(ry * bw);
    return {whole((w - ry * bw) / 2), 0, dw, h};
  }
  const int dh = whole(rx * bh);
  return {0, whole((h - rx * bh) / 2), w, dh};
}

// Paints the picture (scaled once per size, then only the exposed part each time) and the
// border; it fills no background of its own.
class ImageBox::Surface : public QWidget {
 public:
  Surface(QWidget* parent, ImageBox& box) : QWidget(parent), box_(box) {
    setAttribute(Qt::WA_OpaquePaintEvent, false);
  }
  void pictureChanged() {
    scaled_ = QImage();
    update();
  }

 protected:
  void paintEvent(QPaintEvent* event) override {
    QPainter p(this);
    const QImage& picture = box_.picture_;
    const QRect target = box_.pictureRect();
    if (!picture.isNull() && !target.isEmpty()) {
      const QImage* shown = &picture;
      if (target.size() != picture.size()) {
        if (scaled_.size() != target.size() || scaledFrom_ != picture.cacheKey()) {
          scaled_ = scaledTo(picture, target.size());
          scaledFrom_ = picture.cacheKey();
        }
        shown = &scaled_;
      }
      const QRect exposed = event->rect().intersected(target);
      p.drawImage(exposed.topLeft(), *shown, exposed.translated(-target.topLeft()));
    }
    if (box_.borderStyle_ == 1) {
      p.setPen(palette().color(QPalette::WindowText));
      p.drawRect(rect().adjusted(0, 0, -1, -1));
    }
  }

 private:
  ImageBox& box_;
  QImage scaled_;
  qint64 scaledFrom_ = 0;
};

ImageBox::ImageBox(QWidget* parent, Sizing sizing)
    : Control(new Surface(parent, *this)), sizing_(sizing) {
  surface_ = static_cast<Surface*>(widget());
}

void ImageBox::leftClicked() { raise(Click); }

void ImageBox::setPicture(const QImage& picture) {
  picture_ = picture;
  if (sizing_ == Sizing::Natural)
    Move(Left(), Top(), pxToTwips(picture.width()), pxToTwips(picture.height()));
  surface_->pictureChanged();
}

QRect ImageBox::pictureRect() const {
  const QSize area = surface_->size();
  switch (sizing_) {
    case Sizing::Natural:
      return {QPoint(0, 0), picture_.size()};
    case Sizing::Stretch:
      return {QPoint(0, 0), area};
    case Sizing::Fit:
      break;
  }
  return FitRect(area.width(), area.height(), picture_.width(), picture_.height());
}

void ImageBox::PaintPicture(const QImage& source, const QRect& dest) {
  const QSize size(twipsToPx(Width()), twipsToPx(Height()));
  QImage canvas = picture_;
  if (canvas.size() != size || canvas.format() != QImage::Format_ARGB32_Premultiplied) {
    canvas = QImage(size, QImage::Format_ARGB32_Premultiplied);
    canvas.fill(Qt::transparent);
  }
  {
    QPainter p(&canvas);
    p.setRenderHint(QPainter::SmoothPixmapTransform, false);
    p.drawImage(dest, source);
  }
  picture_ = canvas;
  surface_->pictureChanged();
}

void ImageBox::setBorderStyle(int style) {
  borderStyle_ = style == 1 ? 1 : 0;
  surface_->update();
}

}  // namespace vlx
