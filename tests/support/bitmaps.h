// Bitmaps for the picture tests, built byte by byte as plug-ins return them and as BMP
// files hold them.
#pragma once
#include <QByteArray>
#include <QColor>
#include <QImage>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <vector>

namespace vlx::test {

struct Bitmap {
  // 12: the old header with 16-bit sides and three-byte colours; 40; larger: the masks inside.
  int infoSize = 40;
  int width = 0;
  int height = 0;  // negative: the rows are stored top row first
  int bpp = 24;
  uint32_t compression = 0;     // 0 plain, 1 and 2 run-length, 3 colour masks
  uint32_t coloursUsed = 0;     // as the header claims it; 0: the colour table's size
  std::vector<uint32_t> masks = {};  // after a 40-byte header, else inside it
  std::vector<QRgb> palette = {};
  QByteArray rows = {};         // as stored, plain rows each padded to 4 bytes

  // The header, the masks and the colour table.
  QByteArray info() const;
  // A whole BMP file.
  QByteArray file() const;
  // What the test plug-in's "dib" data holds: its command line, then the bitmap.
  QByteArray testPluginData() const;
};

// Bytes as written, for byte tables.
QByteArray bytes(std::initializer_list<uint8_t> list);

// A 24- or 32-bit bitmap (the fourth byte the colour's alpha) of `colour`, which takes x and y
// counted from the top-left corner.
Bitmap rgbBitmap(int width, int height, int bpp, const std::function<QRgb(int, int)>& colour);

}  // namespace vlx::test
