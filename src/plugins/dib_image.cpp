// Bitmap blocks and BMP files to QImage.
#include "plugins/dib_image.h"

#include <QFile>
#include <algorithm>
#include <bit>
#include <cerrno>
#include <cstring>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "huge_pages.h"

namespace vlx {
namespace {

constexpr uint32_t kRgb = 0;
constexpr uint32_t kBitFields = 3;
constexpr size_t kFileHeader = 14;
constexpr size_t kChunkBytes = size_t(8) << 20;  // rows read from a file at a time

uint32_t u32(const uint8_t* p) {
  uint32_t v;
  std::memcpy(&v, p, 4);
  return v;
}
int32_t i32(const uint8_t* p) { return int32_t(u32(p)); }
uint16_t u16(const uint8_t* p) { return uint16_t(p[0] | p[1] << 8); }

// One colour channel of a mask: where it sits and how to widen it to 8 bits.
struct Channel {
  uint32_t mask = 0;
  int shift = 0;
  uint32_t max = 0;  // the channel's largest value
  uint8_t of(uint32_t pixel) const {
    if (!mask) return 0;
    const uint32_t v = (pixel & mask) >> shift;
    return max == 255 ? uint8_t(v) : uint8_t((uint64_t(v) * 255 + max / 2) / max);
  }
  static Channel from(uint32_t mask) {
    Channel c;
    if (!mask) return c;
    c.mask = mask;
    c.shift = std::countr_zero(mask);
    c.max = mask >> c.shift;
    // A mask of more than 8 bits keeps its top 8.
    while (c.max > 255) {
      ++c.shift;
      c.max >>= 1;
      c.mask = c.max << c.shift;
    }
    return c;
  }
};

// What a bitmap header says, checked.
struct Layout {
  int width = 0;
  int height = 0;
  bool bottomUp = true;
  int bpp = 0;
  bool plainBgra = false;  // 32-bit rows laid out as B, G, R, A bytes
  bool hasAlpha = false;   // 32-bit rows whose fourth byte may be an opacity
  Channel r, g, b, a;
  std::vector<QRgb> palette;  // 256 entries for bit counts of 8 and less
  size_t stride = 0;
  size_t pixelBytes = 0;
};

bool readLayout(const uint8_t* info, size_t infoBytes, Layout& l) {
  if (!info || infoBytes < 40) return false;
  const uint32_t size = u32(info);
  const int32_t width = i32(info + 4);
  const int32_t height = i32(info + 8);
  const int bpp = u16(info + 14);
  const uint32_t compression = u32(info + 16);
  const uint32_t used = u32(info + 32);
  if (size < 40 || size > infoBytes || width <= 0 || height == 0 || height == INT32_MIN)
    return false;
  if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32) return false;
  const uint64_t rows = uint64_t(std::abs(int64_t(height)));
  if (uint64_t(width) * rows > kMaxPicturePixels) return false;
  l.width = width;
  l.height = int(rows);
  l.bottomUp = height > 0;
  l.bpp = bpp;
  l.stride = size_t((uint64_t(width) * uint64_t(bpp) + 31) / 32 * 4);
  l.pixelBytes = l.stride * size_t(rows);

  uint64_t tableAt = size;
  if (compression == kBitFields) {
    if (bpp != 16 && bpp != 32) return false;
    const uint8_t* masks = info + 40;
    if (size == 40) {
      if (infoBytes < 52) return false;
      tableAt += 12;
    }
    l.r = Channel::from(u32(masks));
    l.g = Channel::from(u32(masks + 4));
    l.b = Channel::from(u32(masks + 8));
    if (size >= 56) l.a = Channel::from(u32(info + 52));
  } else if (compression != kRgb) {
    return false;
  } else if (bpp == 16) {
    l.r = Channel::from(0x7C00);
    l.g = Channel::from(0x03E0);
    l.b = Channel::from(0x001F);
  } else if (bpp == 32) {
    l.r = Channel::from(0xFF0000);
    l.g = Channel::from(0xFF00);
    l.b = Channel::from(0xFF);
    l.a = Channel::from(0xFF000000u);
  }
  if (bpp == 32) {
    l.plainBgra = l.r.mask == 0xFF0000 && l.g.mask == 0xFF00 && l.b.mask == 0xFF &&
                  (l.a.mask == 0 || l.a.mask == 0xFF000000u);
    l.hasAlpha = l.a.mask != 0;
  }
  if (bpp <= 8) {
    const uint32_t most = 1u << bpp;
    const uint32_t count = used ? used : most;
    if (count > most || tableAt + uint64_t(count) * 4 > infoBytes) return false;
    l.palette.assign(256, qRgb(0, 0, 0));
    const uint8_t* q = info + tableAt;
    for (uint32_t i = 0; i < count; ++i, q += 4) l.palette[i] = qRgb(q[2], q[1], q[0]);
  }
  return true;
}

// The opacity seen over all rows of a 32-bit picture.
struct AlphaSeen {
  uint32_t any = 0;        // OR of every alpha
  uint32_t all = 0xFFu;    // AND of every alpha
};

// Converts one stored row into a scan line of 0xAARRGGBB pixels.
void convertRow(const Layout& l, const uint8_t* src, QRgb* dst, AlphaSeen& seen) {
  const int w = l.width;
  switch (l.bpp) {
    case 1:
      for (int x = 0; x < w; ++x) dst[x] = l.palette[(src[x >> 3] >> (7 - (x & 7))) & 1];
      return;
    case 4:
      for (int x = 0; x < w; ++x) dst[x] = l.palette[(src[x >> 1] >> (x & 1 ? 0 : 4)) & 15];
      return;
    case 8:
      for (int x = 0; x < w; ++x) dst[x] = l.palette[src[x]];
      return;
    case 16:
      for (int x = 0; x < w; ++x) {
        const uint32_t p = u16(src + 2 * x);
        dst[x] = qRgb(l.r.of(p), l.g.of(p), l.b.of(p));
      }
      return;
    case 24:
      for (int x = 0; x < w; ++x, src += 3) dst[x] = 0xFF000000u | src[2] << 16 | src[1] << 8 | src[0];
      return;
    default:
      break;
  }
  uint32_t any = 0, all = 0xFFFFFFFFu;
  if (l.plainBgra) {
    std::memcpy(dst, src, size_t(w) * 4);
    for (int x = 0; x < w; ++x) any |= dst[x], all &= dst[x];
  } else {
    for (int x = 0; x < w; ++x) {
      const uint32_t p = u32(src + 4 * x);
      const uint32_t alpha = l.a.mask ? l.a.of(p) : 255;
      dst[x] = qRgba(l.r.of(p), l.g.of(p), l.b.of(p), int(alpha));
      any |= dst[x], all &= dst[x];
    }
  }
  seen.any |= any >> 24;
  seen.all &= all >> 24;
}

// Converts `count` stored rows from `first` on; `src` holds them one stride apart.
void convertRows(const Layout& l, QImage& image, int first, int count, const uint8_t* src,
                 AlphaSeen& seen) {
  for (int s = first; s < first + count; ++s, src += l.stride) {
    const int y = l.bottomUp ? l.height - 1 - s : s;
    convertRow(l, src, reinterpret_cast<QRgb*>(image.scanLine(y)), seen);
  }
}

// The format the picture is drawn in, once every row is in.
QImage finish(const Layout& l, QImage image, const AlphaSeen& seen) {
  if (!l.hasAlpha || seen.all == 0xFF) return image;  // opaque as written
  if (seen.any == 0) {
    // Every alpha zero: a writer that left the byte unused.
    for (int y = 0; y < image.height(); ++y) {
      auto* p = reinterpret_cast<QRgb*>(image.scanLine(y));
      for (int x = 0; x < image.width(); ++x) p[x] |= 0xFF000000u;
    }
    return image;
  }
  // Straight alpha as written; premultiplied is what painting takes without converting.
  image.reinterpretAsFormat(QImage::Format_ARGB32);
  image.convertTo(QImage::Format_ARGB32_Premultiplied);
  return image;
}

// Null when memory runs out.
QImage newImage(const Layout& l) {
  QImage image(l.width, l.height, QImage::Format_RGB32);
  vlx_memory::PreferHugePages(image.bits(), size_t(image.sizeInBytes()));
  return image;
}

// Reads exactly n bytes at the file's position; false on an error or a short file.
bool readFully(int fd, void* buf, size_t n) {
  auto* p = static_cast<uint8_t*>(buf);
  while (n > 0) {
    const ssize_t r = ::read(fd, p, n);
    if (r < 0 && errno == EINTR) continue;
    if (r <= 0) return false;
    p += r;
    n -= size_t(r);
  }
  return true;
}

}  // namespace

QImage DibToImage(const void* info, size_t infoBytes, const void* bits, size_t bitsBytes) {
  Layout l;
  if (!bits || !readLayout(static_cast<const uint8_t*>(info), infoBytes, l) ||
      bitsBytes < l.pixelBytes)
    return {};
  QImage image = newImage(l);
  if (image.isNull()) return {};
  AlphaSeen seen;
  convertRows(l, image, 0, l.height, static_cast<const uint8_t*>(bits), seen);
  return finish(l, std::move(image), seen);
}

QImage LoadBitmapFile(const QString& path) {
  const int fd = ::open(QFile::encodeName(path).constData(),
                        O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
  if (fd < 0) return {};
  struct Closer {
    int fd;
    ~Closer() { ::close(fd); }
  } closer{fd};
  struct stat st {};
  if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) return {};
  const uint64_t fileSize = uint64_t(st.st_size);

  uint8_t head[kFileHeader];
  if (fileSize < kFileHeader + 40 || !readFully(fd, head, kFileHeader)) return {};
  if (head[0] != 'B' || head[1] != 'M') return {};
  const uint64_t bitsAt = u32(head + 10);
  if (bitsAt < kFileHeader + 40 || bitsAt > fileSize) return {};
  // Header and colour table: at most a 124-byte header, masks and 256 colours.
  const size_t infoBytes = size_t(std::min<uint64_t>(bitsAt - kFileHeader, 124 + 16 + 1024));
  std::vector<uint8_t> info(infoBytes);
  if (!readFully(fd, info.data(), infoBytes)) return {};
  Layout l;
  if (!readLayout(info.data(), infoBytes, l) || fileSize - bitsAt < l.pixelBytes) return {};
  if (lseek(fd, off_t(bitsAt), SEEK_SET) != off_t(bitsAt)) return {};

  QImage image = newImage(l);
  if (image.isNull()) return {};
  const int rowsPerChunk = int(std::clamp<size_t>(kChunkBytes / l.stride, 1, size_t(l.height)));
  std::vector<uint8_t> chunk(size_t(rowsPerChunk) * l.stride);
  AlphaSeen seen;
  for (int first = 0; first < l.height; first += rowsPerChunk) {
    const int count = std::min(rowsPerChunk, l.height - first);
    if (!readFully(fd, chunk.data(), size_t(count) * l.stride)) return {};
    convertRows(l, image, first, count, chunk.data(), seen);
  }
  return finish(l, std::move(image), seen);
}

}  // namespace vlx
