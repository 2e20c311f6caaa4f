// Pictures as PNG (see picture_to_png.h).
#include "platform/webengine/picture_to_png.h"

#include <QBuffer>
#include <QImage>
#include <QImageReader>
#include <cstring>
#include <mutex>
#include <tiffio.h>

namespace vlx::platform::web {
namespace {

// libtiff reads the bytes in memory through these.
struct Memory {
  const QByteArray* bytes;
  toff_t at = 0;
};

tsize_t readMemory(thandle_t h, tdata_t buf, tsize_t size) {
  auto* m = static_cast<Memory*>(h);
  const toff_t left = toff_t(m->bytes->size()) - std::min<toff_t>(m->at, m->bytes->size());
  const tsize_t n = tsize_t(std::min<toff_t>(toff_t(size), left));
  std::memcpy(buf, m->bytes->constData() + m->at, size_t(n));
  m->at += toff_t(n);
  return n;
}
tsize_t writeNothing(thandle_t, tdata_t, tsize_t) { return 0; }
toff_t seekMemory(thandle_t h, toff_t off, int whence) {
  auto* m = static_cast<Memory*>(h);
  const toff_t size = toff_t(m->bytes->size());
  toff_t to = off;
  if (whence == SEEK_CUR) to = m->at + off;
  else if (whence == SEEK_END) to = size + off;
  m->at = to;
  return to;
}
int closeNothing(thandle_t) { return 0; }
toff_t sizeOfMemory(thandle_t h) { return toff_t(static_cast<Memory*>(h)->bytes->size()); }
int mapNothing(thandle_t, tdata_t*, toff_t*) { return 0; }
void unmapNothing(thandle_t, tdata_t, toff_t) {}

QImage readTiff(const QByteArray& bytes, QString* error) {
  static std::once_flag quiet;
  // The library's own messages would only reach the terminal.
  std::call_once(quiet, [] {
    TIFFSetErrorHandler(nullptr);
    TIFFSetWarningHandler(nullptr);
  });
  Memory memory{&bytes};
  TIFF* tif = TIFFClientOpen("picture", "rm", &memory, readMemory, writeNothing, seekMemory,
                             closeNothing, sizeOfMemory, mapNothing, unmapNothing);
  if (!tif) {
    *error = QStringLiteral("The file is not a TIFF picture that can be read.");
    return {};
  }
  uint32_t w = 0, h = 0;
  TIFFGetField(tif, TIFFTAG_IMAGEWIDTH, &w);
  TIFFGetField(tif, TIFFTAG_IMAGELENGTH, &h);
  QImage image;
  if (w == 0 || h == 0 || qint64(w) * qint64(h) > kMaxPicturePixels) {
    *error = QStringLiteral("The picture is too large to show (%1 × %2 pixels).").arg(w).arg(h);
  } else {
    image = QImage(int(w), int(h), QImage::Format_RGBA8888);
    if (image.isNull() ||
        !TIFFReadRGBAImageOriented(tif, w, h, reinterpret_cast<uint32_t*>(image.bits()),
                                   ORIENTATION_TOPLEFT, 0)) {
      image = QImage();
      *error = QStringLiteral("The TIFF picture could not be decoded.");
    }
  }
  TIFFClose(tif);
  return image;
}

QImage readOther(const QByteArray& bytes, QString* error) {
  QBuffer buffer;
  buffer.setData(bytes);
  buffer.open(QIODevice::ReadOnly);
  QImageReader reader(&buffer);
  const QSize size = reader.size();
  if (size.isValid() && qint64(size.width()) * size.height() > kMaxPicturePixels) {
    *error = QStringLiteral("The picture is too large to show (%1 × %2 pixels).")
                 .arg(size.width())
                 .arg(size.height());
    return {};
  }
  QImage image = reader.read();
  if (image.isNull()) *error = QStringLiteral("The file is not a picture that can be read.");
  return image;
}

}  // namespace

QByteArray PictureToPng(const QByteArray& bytes, bool tiff, QString* error) {
  const QImage image = tiff ? readTiff(bytes, error) : readOther(bytes, error);
  if (image.isNull()) return {};
  QByteArray png;
  QBuffer out(&png);
  out.open(QIODevice::WriteOnly);
  // Light compression: the PNG only travels to the engine in memory.
  if (!image.save(&out, "PNG", 80)) {
    *error = QStringLiteral("The picture could not be converted.");
    return {};
  }
  return png;
}

}  // namespace vlx::platform::web
