// A setting that must be there: a missing key reads as empty text and leaves the control at
// its designed value, so an empty text fails like a value that does not convert.
#pragma once
#include "platform/vb.h"
#include "settings/ini.h"

namespace vlx {

inline QString RequireSetting(const QString& section, const QString& key) {
  QString value = ReadSetting(section, key);
  if (value.isEmpty()) throw vb::ConversionError(13);
  return value;
}

}  // namespace vlx
