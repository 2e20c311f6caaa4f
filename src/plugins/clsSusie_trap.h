// What the member files of clsSusie share: a member's failure, thrown to that member's own
// trap, and the conversions of the texts the plug-in calls take.
#pragma once
#include <QByteArray>
#include <QString>
#include <cstdint>

#include "vlx_spi.h"

namespace vlx::spitrap {

struct Raised {
  int32_t code;
};
[[noreturn]] inline void raise(int32_t code) { throw Raised{code}; }

// Some archives store a 128-byte header in front of the data: the reading calls try again
// from there.
constexpr int64_t kHeaderOffset = 128;

// Only the digits 0 to 9, at least one.
inline bool isDecimal(const QString& s) {
  if (s.isEmpty()) return false;
  for (const QChar c : s)
    if (c < u'0' || c > u'9') return false;
  return true;
}

// A memory handle given as decimal text.
inline VLX_HLOCAL handleOf(const QString& text) { return VLX_HLOCAL(text.toULongLong()); }

// A memory source as the plug-in calls take it: the address as decimal text.
inline QByteArray addressText(intptr_t address) {
  return QByteArray::number(qulonglong(address));
}

// Every field of the picture information unknown (-1).
inline void clearPictureInfo(VLX_PictureInfo& info) {
  info.left = info.top = info.width = info.height = -1;
  info.x_density = info.y_density = 0xFFFF;
  info.colorDepth = -1;
  info.info = VLX_HLOCAL(-1);
}

}  // namespace vlx::spitrap
