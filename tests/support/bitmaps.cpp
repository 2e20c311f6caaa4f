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
  put32(b, 40);
  put32(b, uint32_t(width));
  put32(b, uint32_t(height));
  put16(b, 1);
  put16(b, uint16_t(bpp));
  put32(b, compression);
  put32(b, uint32_t(rows.size()));
  put32(b, 2835);
  put32(b, 2835);
  put32(b, uint32_t(palette.size()));
  put32(b, 0);
  for (uint32_t m : masks) put32(b, m);
  for (QRgb c : palette) {
    b.append(char(qBlue(c)));
    b.append(char(qGreen(c)));
    b.append(char(qRed(c)));
    b.append(char(0));
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

QByteArray packedRows(int width, int height, int bpp, const std::function<QRgb(int, int)>& colour) {
  const int rowCount = std::abs(height);
  const int stride = (width * bpp + 31) / 32 * 4;
  QByteArray rows(stride * rowCount, '\0');
  for (int s = 0; s < rowCount; ++s) {
    const int y = height > 0 ? rowCount - 1 - s : s;
    char* p = rows.data() + s * stride;
    for (int x = 0; x < width; ++x) {
      const QRgb c = colour(x, y);
      *p++ = char(qBlue(c));
      *p++ = char(qGreen(c));
      *p++ = char(qRed(c));
      if (bpp == 32) *p++ = char(qAlpha(c));
    }
  }
  return rows;
}

Bitmap rgbBitmap(int width, int height, int bpp, const std::function<QRgb(int, int)>& colour) {
  Bitmap b;
  b.width = width;
  b.height = height;
  b.bpp = bpp;
  b.rows = packedRows(width, height, bpp, colour);
  return b;
}

QByteArray gifFile(const QImage& picture) {
  std::vector<QRgb> colours;
  std::vector<uint8_t> indices;
  for (int y = 0; y < picture.height(); ++y)
    for (int x = 0; x < picture.width(); ++x) {
      const QRgb c = picture.pixel(x, y) | 0xFF000000u;
      size_t i = 0;
      while (i < colours.size() && colours[i] != c) ++i;
      if (i == colours.size()) colours.push_back(c);
      indices.push_back(uint8_t(i));
    }
  QByteArray b("GIF89a");
  put16(b, uint16_t(picture.width()));
  put16(b, uint16_t(picture.height()));
  b.append(char(0xF7)).append(char(0)).append(char(0));  // a table of 256 colours
  for (int i = 0; i < 256; ++i) {
    const QRgb c = i < int(colours.size()) ? colours[size_t(i)] : 0;
    b.append(char(qRed(c))).append(char(qGreen(c))).append(char(qBlue(c)));
  }
  b.append(char(0x2C));
  put16(b, 0);
  put16(b, 0);
  put16(b, uint16_t(picture.width()));
  put16(b, uint16_t(picture.height()));
  b.append(char(0));
  b.append(char(8));  // 9-bit codes: each pixel a code of its own, the table cleared often
  QByteArray stream;
  uint32_t bits = 0;
  int held = 0;
  auto emit = [&](uint32_t code) {
    bits |= code << held;
    held += 9;
    while (held >= 8) {
      stream.append(char(bits & 0xFF));
      bits >>= 8;
      held -= 8;
    }
  };
  emit(256);
  int sinceClear = 0;
  for (uint8_t i : indices) {
    emit(i);
    if (++sinceClear == 250) {
      emit(256);
      sinceClear = 0;
    }
  }
  emit(257);
  if (held > 0) stream.append(char(bits & 0xFF));
  for (qsizetype at = 0; at < stream.size(); at += 255) {
    const QByteArray piece = stream.mid(at, 255);
    b.append(char(piece.size()));
    b.append(piece);
  }
  b.append(char(0));
  b.append(char(0x3B));
  return b;
}

}  // namespace vlx::test
