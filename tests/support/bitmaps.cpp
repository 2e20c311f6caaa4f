#include "support/bitmaps.h"

#include <cstdlib>
#include <cstring>

namespace vlx::test {
namespace {

void put32(QByteArray& b, uint32_t v) {
  for (int i = 0; i < 4; ++i) b.append(char(v >> (8 * i)));
}
void put16(QByteArray& b, uint16_t v) {
  b.append(char(v));
  b.append(char(v >> 8));
}

}  // namespace

QByteArray Bitmap::info() const {
  QByteArray b;
  put32(b, uint32_t(infoSize));
  if (infoSize == 12) {
    put16(b, uint16_t(width));
    put16(b, uint16_t(height));
    put16(b, 1);
    put16(b, uint16_t(bpp));
  } else {
    put32(b, uint32_t(width));
  put32(b, uint32_t(height));
    put16(b, 1);
    put16(b, uint16_t(bpp));
    put32(b, compression);
    put32(b, uint32_t(rows.size()));
    put32(b, 2835);
    put32(b, 2835);
    put32(b, coloursUsed ? coloursUsed : uint32_t(palette.size()));
    put32(b, 0);
    for (uint32_t m : masks) put32(b, m);
    if (b.size() < infoSize) b.append(infoSize - b.size(), '\0');
  }
  for (QRgb c : palette) {
    b.append(char(qBlue(c)));
    b.append(char(qGreen(c)));
    b.append(char(qRed(c)));
    if (infoSize != 12) b.append(char(0));
  }
  return b;
}

QByteArray Bitmap::file() const {
  const QByteArray head = info();
  QByteArray b("BM");
  put32(b, uint32_t(14 + head.size() + rows.size()));
  put32(b, 0);
  put32(b, uint32_t(14 + head.size()));
  return b + head + rows;
}

QByteArray Bitmap::testPluginData() const {
  QByteArray text("VLXTEST dib");
  text.append(64 - text.size(), ' ');
  return text + info() + rows;
}

QByteArray bytes(std::initializer_list<uint8_t> list) {
  return QByteArray(reinterpret_cast<const char*>(std::data(list)), qsizetype(list.size()));
}

Bitmap rgbBitmap(int width, int height, int bpp, const std::function<QRgb(int, int)>& colour) {
  const int rowCount = std::abs(height);
  const int stride = (width * bpp + 31) / 32 * 4;
  Bitmap b{.width = width, .height = height, .bpp = bpp, .rows = QByteArray(stride * rowCount, '\0')};
  for (int s = 0; s < rowCount; ++s) {
    const int y = height > 0 ? rowCount - 1 - s : s;
    char* p = b.rows.data() + s * stride;
    for (int x = 0; x < width; ++x) {
      const QRgb c = colour(x, y);
      *p++ = char(qBlue(c));
      *p++ = char(qGreen(c));
      *p++ = char(qRed(c));
      if (bpp == 32) *p++ = char(qAlpha(c));
    }
  }
  return b;
}

}  // namespace vlx::test
