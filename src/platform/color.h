// Colours are stored and exchanged as 32-bit values laid out 0x00BBGGRR.
#pragma once
#include <QColor>
#include <cstdint>

namespace vlx {

inline QColor vbColor(uint32_t bgr) {
  return QColor(int(bgr & 0xFF), int((bgr >> 8) & 0xFF), int((bgr >> 16) & 0xFF));
}

inline uint32_t toVbColor(const QColor& c) {
  return uint32_t(c.red()) | (uint32_t(c.green()) << 8) | (uint32_t(c.blue()) << 16);
}

}  // namespace vlx
