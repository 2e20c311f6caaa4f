// Pictures the web engine cannot show, as PNG: TIFF through libtiff, and the formats the
// toolkit reads itself (X bitmaps, JPEG under other names).
#pragma once
#include <QByteArray>
#include <QString>

namespace vlx::platform::web {

// A decoded picture may have at most this many pixels (a quarter of a gigabyte of RGBA).
constexpr qint64 kMaxPicturePixels = 64 * 1024 * 1024;

// The PNG bytes, or empty with `error` saying why.
QByteArray PictureToPng(const QByteArray& bytes, bool tiff, QString* error);

}  // namespace vlx::platform::web
