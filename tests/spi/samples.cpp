#include "samples.h"

#include <archive.h>
#include <archive_entry.h>
#include <avif/avif.h>
#include <gif_lib.h>
#include <jxl/encode.h>
#include <libheif/heif.h>
#include <tiffio.h>
#include <webp/encode.h>

#include <QBuffer>
#include <QImage>
#include <array>
#include <cstring>
#include <stdexcept>

namespace spitest {
namespace {

void check(bool ok, const char* what) {
  if (!ok) throw std::runtime_error(std::string("cannot write the sample: ") + what);
}

Bytes qt_encode(const QImage& image, const char* format, int quality = -1) {
  QByteArray out;
  QBuffer buffer(&out);
  buffer.open(QIODevice::WriteOnly);
  check(image.save(&buffer, format, quality), format);
  return Bytes(out.begin(), out.end());
}

QImage reference_image(Alpha alpha, int width = kWidth, int height = kHeight) {
  QImage image(width, height, alpha == Alpha::none ? QImage::Format_RGB32 : QImage::Format_ARGB32);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      image.setPixel(x, y, reference_pixel(x * kWidth / width, y * kHeight / height, alpha));
  return image;
}

// The reference picture's rows, top first, as RGBA or RGB bytes.
std::vector<uint8_t> rgba_rows(Alpha alpha, int channels) {
  const QImage image =
      reference_image(alpha).convertToFormat(channels == 4 ? QImage::Format_RGBA8888 : QImage::Format_RGB888);
  std::vector<uint8_t> out;
  for (int y = 0; y < kHeight; ++y) out.insert(out.end(), image.constScanLine(y), image.constScanLine(y) + kWidth * channels);
  return out;
}

void append(Bytes& b, const void* data, size_t n) {
  b.insert(b.end(), static_cast<const uint8_t*>(data), static_cast<const uint8_t*>(data) + n);
}

void put16(Bytes& b, uint32_t v) {
  b.push_back(uint8_t(v));
  b.push_back(uint8_t(v >> 8));
}
void put32(Bytes& b, uint32_t v) {
  put16(b, v & 0xffff);
  put16(b, v >> 16);
}

uint32_t crc32(const uint8_t* p, size_t n) {
  uint32_t c = 0xffffffff;
  for (size_t i = 0; i < n; ++i) {
    c ^= p[i];
    for (int k = 0; k < 8; ++k) c = c & 1 ? (c >> 1) ^ 0xedb88320 : c >> 1;
  }
  return ~c;
}

uint16_t crc16(const uint8_t* p, size_t n) {
  uint16_t c = 0;
  for (size_t i = 0; i < n; ++i) {
    c ^= p[i];
    for (int k = 0; k < 8; ++k) c = c & 1 ? uint16_t((c >> 1) ^ 0xa001) : uint16_t(c >> 1);
  }
  return c;
}

// 2024-01-02 03:04:06 in the DOS layout.
constexpr uint32_t kDosTime = (44u << 25) | (1u << 21) | (2u << 16) | (3u << 11) | (4u << 5) | 3u;

}  // namespace

// The HEVC encoder that writes the HEIF sample keeps a few tables for the life of the
// process; the leak checker is told so.
extern "C" const char* __lsan_default_suppressions() { return "leak:libx265.so\n"; }

uint32_t reference_pixel(int x, int y, Alpha alpha) {
  const bool right = x >= kWidth / 2, bottom = y >= kHeight / 2;
  if (!bottom) return right ? 0xff00ff00 : 0xffff0000;
  if (!right) return alpha == Alpha::full ? 0x800000ff : 0xff0000ff;
  return alpha == Alpha::none ? 0xffffff00 : 0x00ffff00;
}

Bytes encode_png() { return qt_encode(reference_image(Alpha::full), "PNG"); }

Bytes png_claiming(uint32_t width, uint32_t height) {
  Bytes png = encode_png();
  // The signature (8), the header's length (4) and "IHDR" (4), then the sides, big-endian.
  for (size_t i = 0; i < 4; ++i) {
    png[16 + i] = uint8_t(width >> (24 - 8 * i));
    png[20 + i] = uint8_t(height >> (24 - 8 * i));
  }
  const uint32_t crc = crc32(png.data() + 12, 17);
  for (size_t i = 0; i < 4; ++i) png[29 + i] = uint8_t(crc >> (24 - 8 * i));
  return png;
}

Bytes encode_jpeg(int width, int height) {
  return qt_encode(reference_image(Alpha::none, width, height), "JPG", 95);
}

Bytes encode_bmp() { return qt_encode(reference_image(Alpha::none), "BMP"); }

Bytes encode_gif(bool interlaced) {
  Bytes out;
  auto write = [](GifFileType* gif, const GifByteType* data, int n) {
    append(*static_cast<Bytes*>(gif->UserData), data, size_t(n));
    return n;
  };
  int error = 0;
  GifFileType* gif = EGifOpen(&out, write, &error);
  check(gif, "gif");
  const GifColorType colours[4] = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 0}};
  ColorMapObject* map = GifMakeMapObject(4, colours);
  EGifSetGifVersion(gif, true);
  check(EGifPutScreenDesc(gif, kWidth, kHeight, 2, 0, map) == GIF_OK, "gif screen");
  const GifByteType control[4] = {1, 0, 0, 3};  // colour 3 is transparent
  check(EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, 4, control) == GIF_OK, "gif control");
  check(EGifPutImageDesc(gif, 0, 0, kWidth, kHeight, interlaced, nullptr) == GIF_OK, "gif image");
  std::vector<int> order;
  if (interlaced) {
    static constexpr int kStart[] = {0, 4, 2, 1}, kStep[] = {8, 8, 4, 2};
    for (int pass = 0; pass < 4; ++pass)
      for (int y = kStart[pass]; y < kHeight; y += kStep[pass]) order.push_back(y);
  } else {
    for (int y = 0; y < kHeight; ++y) order.push_back(y);
  }
  for (int y : order) {
    GifPixelType line[kWidth];
    for (int x = 0; x < kWidth; ++x) line[x] = GifPixelType((y >= kHeight / 2) * 2 + (x >= kWidth / 2));
    check(EGifPutLine(gif, line, kWidth) == GIF_OK, "gif line");
  }
  check(EGifCloseFile(gif, &error) == GIF_OK, "gif close");
  GifFreeMapObject(map);
  return out;
}

Bytes encode_tiff(const std::string& scratch_path) {
  TIFF* tif = TIFFOpen(scratch_path.c_str(), "w");
  check(tif, "tiff");
  const uint16_t extra[] = {EXTRASAMPLE_UNASSALPHA};
  TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, kWidth);
  TIFFSetField(tif, TIFFTAG_IMAGELENGTH, kHeight);
  TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, 8);
  TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, 4);
  TIFFSetField(tif, TIFFTAG_EXTRASAMPLES, 1, extra);
  TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB);
  TIFFSetField(tif, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
  TIFFSetField(tif, TIFFTAG_COMPRESSION, COMPRESSION_LZW);
  TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, 5);  // several strips, the last one short
  std::vector<uint8_t> rows = rgba_rows(Alpha::full, 4);
  for (int y = 0; y < kHeight; ++y)
    check(TIFFWriteScanline(tif, rows.data() + size_t(y) * kWidth * 4, uint32_t(y), 0) == 1, "tiff row");
  TIFFClose(tif);
  return read_bytes(scratch_path);
}

Bytes encode_webp() {
  std::vector<uint8_t> rows = rgba_rows(Alpha::full, 4);
  uint8_t* out = nullptr;
  const size_t size = WebPEncodeLosslessRGBA(rows.data(), kWidth, kHeight, kWidth * 4, &out);
  check(size > 0, "webp");
  Bytes b(out, out + size);
  WebPFree(out);
  return b;
}

Bytes encode_heif() {
  heif_context* ctx = heif_context_alloc();
  heif_encoder* encoder = nullptr;
  check(!heif_context_get_encoder_for_format(ctx, heif_compression_HEVC, &encoder).code, "heif encoder");
  heif_encoder_set_lossy_quality(encoder, 95);
  heif_image* image = nullptr;
  heif_image_create(kWidth, kHeight, heif_colorspace_RGB, heif_chroma_interleaved_RGB, &image);
  heif_image_add_plane(image, heif_channel_interleaved, kWidth, kHeight, 8);
  int stride = 0;
  uint8_t* plane = heif_image_get_plane(image, heif_channel_interleaved, &stride);
  std::vector<uint8_t> rows = rgba_rows(Alpha::none, 3);
  for (int y = 0; y < kHeight; ++y) std::memcpy(plane + y * stride, rows.data() + y * kWidth * 3, kWidth * 3);
  check(!heif_context_encode_image(ctx, image, encoder, nullptr, nullptr).code, "heif encode");
  Bytes out;
  heif_writer writer{};
  writer.writer_api_version = 1;
  writer.write = [](heif_context*, const void* data, size_t size, void* user) {
    append(*static_cast<Bytes*>(user), data, size);
    return heif_error{heif_error_Ok, heif_suberror_Unspecified, ""};
  };
  check(!heif_context_write(ctx, &writer, &out).code, "heif write");
  heif_image_release(image);
  heif_encoder_release(encoder);
  heif_context_free(ctx);
  return out;
}

Bytes encode_avif(int turns) {
  avifImage* image = avifImageCreate(kWidth, kHeight, 8, AVIF_PIXEL_FORMAT_YUV444);
  avifRGBImage rgb;
  avifRGBImageSetDefaults(&rgb, image);
  rgb.format = AVIF_RGB_FORMAT_RGBA;
  std::vector<uint8_t> rows = rgba_rows(Alpha::full, 4);
  rgb.pixels = rows.data();
  rgb.rowBytes = kWidth * 4;
  check(avifImageRGBToYUV(image, &rgb) == AVIF_RESULT_OK, "avif rgb");
  if (turns) {
    image->transformFlags |= AVIF_TRANSFORM_IROT;
    image->irot.angle = uint8_t(turns);
  }
  avifEncoder* encoder = avifEncoderCreate();
  encoder->speed = AVIF_SPEED_FASTEST;
  encoder->minQuantizer = encoder->maxQuantizer = AVIF_QUANTIZER_LOSSLESS;
  encoder->minQuantizerAlpha = encoder->maxQuantizerAlpha = AVIF_QUANTIZER_LOSSLESS;
  avifRWData output = AVIF_DATA_EMPTY;
  check(avifEncoderWrite(encoder, image, &output) == AVIF_RESULT_OK, "avif encode");
  Bytes out(output.data, output.data + output.size);
  avifRWDataFree(&output);
  avifEncoderDestroy(encoder);
  avifImageDestroy(image);
  return out;
}

Bytes encode_jxl() {
  JxlEncoder* encoder = JxlEncoderCreate(nullptr);
  JxlBasicInfo info;
  JxlEncoderInitBasicInfo(&info);
  info.xsize = kWidth;
  info.ysize = kHeight;
  info.bits_per_sample = 8;
  info.num_color_channels = 3;
  info.alpha_bits = 8;
  info.num_extra_channels = 1;
  info.uses_original_profile = JXL_TRUE;
  check(JxlEncoderSetBasicInfo(encoder, &info) == JXL_ENC_SUCCESS, "jxl info");
  JxlColorEncoding colour;
  JxlColorEncodingSetToSRGB(&colour, JXL_FALSE);
  check(JxlEncoderSetColorEncoding(encoder, &colour) == JXL_ENC_SUCCESS, "jxl colour");
  JxlEncoderFrameSettings* settings = JxlEncoderFrameSettingsCreate(encoder, nullptr);
  JxlEncoderSetFrameLossless(settings, JXL_TRUE);
  const JxlPixelFormat format{4, JXL_TYPE_UINT8, JXL_NATIVE_ENDIAN, 0};
  std::vector<uint8_t> rows = rgba_rows(Alpha::full, 4);
  check(JxlEncoderAddImageFrame(settings, &format, rows.data(), rows.size()) == JXL_ENC_SUCCESS, "jxl frame");
  JxlEncoderCloseInput(encoder);
  Bytes out(4096);
  uint8_t* next = out.data();
  size_t left = out.size();
  JxlEncoderStatus status;
  while ((status = JxlEncoderProcessOutput(encoder, &next, &left)) == JXL_ENC_NEED_MORE_OUTPUT) {
    const size_t used = size_t(next - out.data());
    out.resize(out.size() * 2);
    next = out.data() + used;
    left = out.size() - used;
  }
  check(status == JXL_ENC_SUCCESS, "jxl encode");
  out.resize(size_t(next - out.data()));
  JxlEncoderDestroy(encoder);
  return out;
}

Bytes with_exif_orientation(const Bytes& jpeg, int orientation) {
  Bytes exif = {'E', 'x', 'i', 'f', 0, 0, 'I', 'I', 42, 0, 8, 0, 0, 0, 1, 0};
  const uint8_t entry[12] = {0x12, 0x01, 3, 0, 1, 0, 0, 0, uint8_t(orientation), 0, 0, 0};
  exif.insert(exif.end(), entry, entry + 12);
  exif.insert(exif.end(), 4, 0);  // no further directory
  Bytes out(jpeg.begin(), jpeg.begin() + 2);
  const size_t length = exif.size() + 2;
  out.insert(out.end(), {0xff, 0xe1, uint8_t(length >> 8), uint8_t(length)});
  out.insert(out.end(), exif.begin(), exif.end());
  out.insert(out.end(), jpeg.begin() + 2, jpeg.end());
  return out;
}

Bytes write_archive(int format, int filter, const std::vector<ArchiveEntry>& entries) {
  Bytes out;
  archive* a = archive_write_new();
  archive_write_set_format(a, format);
  archive_write_add_filter(a, filter);
  archive_write_set_bytes_in_last_block(a, 1);
  auto write = [](archive*, void* user, const void* data, size_t n) -> la_ssize_t {
    append(*static_cast<Bytes*>(user), data, n);
    return la_ssize_t(n);
  };
  check(archive_write_open(a, &out, nullptr, write, nullptr) == ARCHIVE_OK, "archive open");
  for (const ArchiveEntry& e : entries) {
    archive_entry* entry = archive_entry_new();
    archive_entry_set_pathname(entry, e.name.c_str());
    archive_entry_set_mtime(entry, 1700000000, 0);
    archive_entry_set_perm(entry, e.kind == ArchiveEntry::folder ? 0755 : 0644);
    if (e.kind == ArchiveEntry::folder) {
      archive_entry_set_filetype(entry, AE_IFDIR);
    } else if (e.kind == ArchiveEntry::symlink) {
      archive_entry_set_filetype(entry, AE_IFLNK);
      archive_entry_set_symlink(entry, e.target.c_str());
    } else {
      archive_entry_set_filetype(entry, AE_IFREG);
      archive_entry_set_size(entry, la_int64_t(e.data.size()));
    }
    check(archive_write_header(a, entry) == ARCHIVE_OK, "archive header");
    if (!e.data.empty()) check(archive_write_data(a, e.data.data(), e.data.size()) == la_ssize_t(e.data.size()), "archive data");
    archive_entry_free(entry);
  }
  check(archive_write_close(a) == ARCHIVE_OK, "archive close");
  archive_write_free(a);
  return out;
}

Bytes write_rar4(const std::vector<ArchiveEntry>& entries) {
  Bytes out = {'R', 'a', 'r', '!', 0x1a, 0x07, 0x00};
  auto block = [&out](uint8_t type, uint16_t flags, const Bytes& rest) {
    Bytes head = {type};
    put16(head, flags);
    put16(head, uint16_t(7 + rest.size()));
    head.insert(head.end(), rest.begin(), rest.end());
    put16(out, crc32(head.data(), head.size()) & 0xffff);
    out.insert(out.end(), head.begin(), head.end());
  };
  block(0x73, 0, Bytes(6, 0));  // the archive header
  for (const ArchiveEntry& e : entries) {
    const bool folder = e.kind == ArchiveEntry::folder;
    Bytes rest;
    put32(rest, uint32_t(e.data.size()));  // stored: packed = unpacked
    put32(rest, uint32_t(e.data.size()));
    rest.push_back(0);  // MS-DOS
    put32(rest, crc32(e.data.data(), e.data.size()));
    put32(rest, kDosTime);
    rest.push_back(20);    // version needed
    rest.push_back(0x30);  // stored
    put16(rest, uint16_t(e.name.size()));
    put32(rest, folder ? 0x10 : 0x20);
    rest.insert(rest.end(), e.name.begin(), e.name.end());
    block(0x74, uint16_t(0x8000 | (folder ? 0x00e0 : 0)), rest);
    out.insert(out.end(), e.data.begin(), e.data.end());
  }
  block(0x7b, 0x4000, {});
  return out;
}

Bytes write_lzh(const std::vector<ArchiveEntry>& entries) {
  Bytes out;
  for (const ArchiveEntry& e : entries) {
    Bytes h = {'-', 'l', 'h', '0', '-'};
    put32(h, uint32_t(e.data.size()));
    put32(h, uint32_t(e.data.size()));
    put32(h, kDosTime);
    h.push_back(0x20);  // attribute
    h.push_back(0);     // header level
    h.push_back(uint8_t(e.name.size()));
    h.insert(h.end(), e.name.begin(), e.name.end());
    put16(h, crc16(e.data.data(), e.data.size()));
    uint8_t sum = 0;
    for (uint8_t c : h) sum = uint8_t(sum + c);
    out.push_back(uint8_t(h.size()));
    out.push_back(sum);
    out.insert(out.end(), h.begin(), h.end());
    out.insert(out.end(), e.data.begin(), e.data.end());
  }
  out.push_back(0);
  return out;
}

Bytes tar_header(const std::string& name, uint64_t size) {
  Bytes h(512, 0);
  auto field = [&h](size_t at, const std::string& text) { std::memcpy(h.data() + at, text.data(), text.size()); };
  char number[16];
  field(0, name);
  field(100, "0000644");
  field(108, "0000000");
  field(116, "0000000");
  std::snprintf(number, sizeof number, "%011llo", static_cast<unsigned long long>(size));
  field(124, number);
  field(136, "14524754000");
  field(148, "        ");
  h[156] = '0';
  field(257, "ustar");
  field(263, "00");
  unsigned sum = 0;
  for (uint8_t c : h) sum += c;
  std::snprintf(number, sizeof number, "%06o", sum);
  field(148, number);
  h[154] = 0;
  return h;
}

Bytes text_bytes(const std::string& s) { return Bytes(s.begin(), s.end()); }

}  // namespace spitest
