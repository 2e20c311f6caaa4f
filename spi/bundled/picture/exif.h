// The orientation recorded in a photo's Exif block.
#pragma once
#include <cstddef>
#include <cstdint>

namespace vlxspi {

// `data` is the payload of a JPEG APP1 segment ("Exif\0\0" and a TIFF structure), or a
// bare TIFF structure when `has_prefix` is false. 1 to 8, or 1 when there is none.
int exif_orientation(const uint8_t* data, size_t size, bool has_prefix = true);

}  // namespace vlxspi
