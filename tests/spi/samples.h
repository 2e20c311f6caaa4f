// Small files for the plug-in tests, written by Qt or by the formats' own libraries.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "spi_api.h"

namespace spitest {

// The reference picture: 32 × 24 in four quarters, red at the top left, green at the top
// right, blue at the bottom left and yellow at the bottom right. Its alpha: none (all
// opaque), binary (the yellow quarter transparent) or full (yellow transparent, blue half).
enum class Alpha { none, binary, full };
constexpr int kWidth = 32, kHeight = 24;
uint32_t reference_pixel(int x, int y, Alpha alpha);  // 0xAARRGGBB

Bytes encode_png();
// The PNG with a header that claims `width` × `height` pixels (and a matching checksum).
Bytes png_claiming(uint32_t width, uint32_t height);
Bytes encode_jpeg(int width = kWidth, int height = kHeight);
Bytes encode_bmp();
Bytes encode_gif(bool interlaced);
Bytes encode_tiff(const std::string& scratch_path);
Bytes encode_webp();
Bytes encode_heif();
// `turns`: quarter turns anticlockwise recorded in the file (not applied to the pixels).
Bytes encode_avif(int turns = 0);
Bytes encode_jxl();

// A JPEG APP1 segment with an Exif orientation, put in after the start marker.
Bytes with_exif_orientation(const Bytes& jpeg, int orientation);

struct ArchiveEntry {
  enum Kind { file, folder, symlink };
  std::string name;
  Bytes data = {};
  Kind kind = file;
  std::string target = {};  // of a symbolic link
};

// An archive by libarchive's writer: `format` and `filter` are ARCHIVE_FORMAT_* and
// ARCHIVE_FILTER_* values.
Bytes write_archive(int format, int filter, const std::vector<ArchiveEntry>& entries);
// Formats libarchive reads but does not write, built by hand with stored entries.
Bytes write_rar4(const std::vector<ArchiveEntry>& entries);
Bytes write_lzh(const std::vector<ArchiveEntry>& entries);
// One tar header block that declares `size` bytes of data.
Bytes tar_header(const std::string& name, uint64_t size);

Bytes text_bytes(const std::string& s);

}  // namespace spitest
