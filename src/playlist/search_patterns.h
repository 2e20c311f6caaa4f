// Form1: the ready-made search patterns of the Playlist window's two combo boxes and the
// search-text colours that choosing one of them sets.
#pragma once
#include <QStringList>
#include <cstdint>

namespace vlx {

// Media files (Combo1).
const QStringList& MediaPatterns();
// Documents and pictures (Combo2).
const QStringList& DocumentPatterns();

inline constexpr uint32_t kMediaPatternColor = 0x80FFFF;     // light yellow (0x00BBGGRR)
inline constexpr uint32_t kDocumentPatternColor = 0x80FF80;  // light green

}  // namespace vlx
