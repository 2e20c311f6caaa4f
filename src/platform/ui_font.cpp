#include "platform/ui_font.h"

#include <QApplication>
#include <QFontMetrics>
#include <algorithm>
#include <cmath>

namespace vlx::platform {

int pixelSizeFor(const QFont& font, double points) {
  const int line = std::max(1, int(std::lround(points * 96.0 / 72.0)));
  QFont f(font);
  int px = line;
  for (; px > 1; --px) {
    f.setPixelSize(px);
    if (QFontMetrics(f).height() <= line) break;
  }
  return px;
}

double pixelsToPoints(int pixels) { return pixels * 72.0 / 96.0; }

QFont windowFont() {
  QFont font;
  // Faces in order of preference; the first one installed is used.
  font.setFamilies({QStringLiteral("IPAPGothic"), QStringLiteral("IPAGothic"),
                    QStringLiteral("DejaVu Sans Condensed"), QStringLiteral("Sans Serif")});
  font.setStyleHint(QFont::SansSerif);
  font.setPixelSize(pixelSizeFor(font, 9));
  return font;
}

void useWindowFont() {
  if (qobject_cast<QApplication*>(QCoreApplication::instance())) QApplication::setFont(windowFont());
}

}  // namespace vlx::platform
