#include "controller/program_icon.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPixmap>
#include <QPolygonF>

namespace vlx {

// A rounded tile with a play triangle. desktop/org.vlxmedia.VLX.svg holds the same shapes.
QImage ProgramIconImage(int side) {
  QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  const double s = side;
  QLinearGradient fill(0, 0, 0, s);
  fill.setColorAt(0, QColor(70, 130, 200));
  fill.setColorAt(1, QColor(20, 50, 110));
  p.setPen(QPen(QColor(10, 25, 60), s / 32));
  p.setBrush(fill);
  p.drawRoundedRect(QRectF(s * 0.04, s * 0.04, s * 0.92, s * 0.92), s * 0.18, s * 0.18);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(255, 170, 0));
  p.drawPolygon(QPolygonF{{s * 0.36, s * 0.26}, {s * 0.76, s * 0.5}, {s * 0.36, s * 0.74}});
  return image;
}

QIcon ProgramIcon() {
  QIcon icon;
  for (int side : kProgramIconSizes) icon.addPixmap(QPixmap::fromImage(ProgramIconImage(side)));
  return icon;
}

}  // namespace vlx
