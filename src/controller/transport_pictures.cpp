// remote: the pictures of the Controller's transport buttons.
#include "controller/transport_pictures.h"

#include <QPainter>
#include <QPolygonF>

namespace vlx {

namespace {

constexpr int kSide = 22;

QPolygonF triangle(double left, double right, bool pointsRight) {
  const double tip = pointsRight ? right : left;
  const double base = pointsRight ? left : right;
  return QPolygonF{{base, 5.0}, {tip, 11.0}, {base, 17.0}};
}

}  // namespace

QImage TransportPicture(TransportGlyph glyph, bool lit) {
  QImage image(kSide, kSide, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  // A dark outline keeps the glyph readable on light and dark back pictures alike.
  p.setPen(QPen(QColor(40, 40, 40), 1.0));
  p.setBrush(lit ? QColor(255, 170, 0) : QColor(225, 225, 225));
  switch (glyph) {
    case TransportGlyph::Previous:
      p.drawRect(QRectF(3.5, 5.5, 2, 11));
      p.drawPolygon(triangle(6.5, 12.5, false));
      p.drawPolygon(triangle(12.5, 18.5, false));
      break;
    case TransportGlyph::Play:
      p.drawPolygon(triangle(6.5, 17.5, true));
      break;
    case TransportGlyph::Pause:
      p.drawRect(QRectF(6.5, 5.5, 3, 11));
      p.drawRect(QRectF(12.5, 5.5, 3, 11));
      break;
    case TransportGlyph::Stop:
      p.drawRect(QRectF(5.5, 5.5, 11, 11));
      break;
    case TransportGlyph::Next:
      p.drawPolygon(triangle(3.5, 9.5, true));
      p.drawPolygon(triangle(9.5, 15.5, true));
      p.drawRect(QRectF(16.5, 5.5, 2, 11));
      break;
  }
  p.end();
  return image;
}

}  // namespace vlx
