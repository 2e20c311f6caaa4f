// Bitmaps as the plug-ins hand them back (a header, colour masks and colour table, then the
// pixel rows) and as BMP files, turned into pictures that Qt draws.
#pragma once
#include <QImage>
#include <QString>
#include <cstddef>
#include <cstdint>

namespace vlx {

// The largest picture taken: 2^28 pixels, 1 GiB of 32-bit rows.
inline constexpr uint64_t kMaxPicturePixels = uint64_t(1) << 28;

// The bitmap whose header and colour table start `info` and whose rows are `bits`, with
// the sizes of the memory that holds each. Bit counts 1, 4, 8, 16, 24 and 32, uncompressed
// or with colour masks, rows bottom-up (positive height) or top-down. 32-bit rows carry an
// alpha byte: all zero means an opaque picture (many writers leave it so); otherwise it is
// the opacity, not premultiplied. A null image when the header is not valid, the blocks
// are smaller than it claims or the picture is larger than kMaxPicturePixels.
QImage DibToImage(const void* info, size_t infoBytes, const void* bits, size_t bitsBytes);

// A BMP file read as above (only regular files; the header checked against the file's
// size before anything is allocated). A null image when it cannot be read.
QImage LoadBitmapFile(const QString& path);

}  // namespace vlx
