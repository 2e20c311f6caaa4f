#include "exif.h"

#include <cstring>

namespace vlxspi {

int exif_orientation(const uint8_t* data, size_t size, bool has_prefix) {
  if (has_prefix) {
    if (size < 6 || std::memcmp(data, "Exif\0\0", 6) != 0) return 1;
    data += 6;
    size -= 6;
  }
  if (size < 8) return 1;
  const bool little = data[0] == 'I' && data[1] == 'I';
  if (!little && !(data[0] == 'M' && data[1] == 'M')) return 1;
  auto u16 = [&](size_t at) -> uint32_t {
    return little ? data[at] | data[at + 1] << 8 : data[at] << 8 | data[at + 1];
  };
  auto u32 = [&](size_t at) -> uint32_t {
    return little ? u16(at) | u16(at + 2) << 16 : u16(at) << 16 | u16(at + 2);
  };
  if (u16(2) != 42) return 1;
  const size_t ifd = u32(4);
  if (ifd > size || size - ifd < 2) return 1;
  const size_t count = u16(ifd);
  for (size_t i = 0; i < count; ++i) {
    const size_t entry = ifd + 2 + i * 12;
    if (entry > size || size - entry < 12) return 1;
    if (u16(entry) != 0x0112) continue;
    // SHORT, one value, kept in the entry itself.
    if (u16(entry + 2) != 3 || u32(entry + 4) != 1) return 1;
    const uint32_t value = u16(entry + 8);
    return value >= 1 && value <= 8 ? int(value) : 1;
  }
  return 1;
}

}  // namespace vlxspi
