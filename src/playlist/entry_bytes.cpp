#include "playlist/entry_bytes.h"

namespace vlx {
namespace {

// Follows a Latin-1 character that stands for one byte of a name that is not UTF-8.
constexpr char16_t kRawMark = 0x034F;

bool isRawPair(QStringView s, qsizetype i) {
  const char16_t c = s[i].unicode();
  return c >= 0x80 && c <= 0xFF && i + 1 < s.size() && s[i + 1].unicode() == kRawMark;
}

bool continuation(uchar b, uchar lo = 0x80, uchar hi = 0xBF) { return b >= lo && b <= hi; }

// Length of the well-formed UTF-8 character at p, 0 when the bytes there form none.
int sequenceLength(const uchar* p, const uchar* end) {
  const uchar b = p[0];
  const qsizetype left = end - p;
  if (b < 0x80) return 1;
  if (b >= 0xC2 && b <= 0xDF) return left >= 2 && continuation(p[1]) ? 2 : 0;
  if (b >= 0xE0 && b <= 0xEF) {
    const uchar lo = b == 0xE0 ? 0xA0 : 0x80;
    const uchar hi = b == 0xED ? 0x9F : 0xBF;  // no surrogates
    return left >= 3 && continuation(p[1], lo, hi) && continuation(p[2]) ? 3 : 0;
  }
  if (b >= 0xF0 && b <= 0xF4) {
    const uchar lo = b == 0xF0 ? 0x90 : 0x80;
    const uchar hi = b == 0xF4 ? 0x8F : 0xBF;  // nothing above U+10FFFF
    return left >= 4 && continuation(p[1], lo, hi) && continuation(p[2]) && continuation(p[3])
               ? 4
               : 0;
  }
  return 0;
}

char32_t decode(const uchar* p, int n) {
  switch (n) {
    case 2: return char32_t(p[0] & 0x1F) << 6 | (p[1] & 0x3F);
    case 3: return char32_t(p[0] & 0x0F) << 12 | char32_t(p[1] & 0x3F) << 6 | (p[2] & 0x3F);
    default:
      return char32_t(p[0] & 0x07) << 18 | char32_t(p[1] & 0x3F) << 12 |
             char32_t(p[2] & 0x3F) << 6 | (p[3] & 0x3F);
  }
}

}  // namespace

QString bytesToEntry(QByteArrayView bytes) {
  QString out;
  out.reserve(bytes.size());
  const auto* p = reinterpret_cast<const uchar*>(bytes.data());
  const uchar* end = p + bytes.size();
  while (p < end) {
    // Runs of ASCII are the common case: copy them in one go.
    const uchar* run = p;
    while (run < end && *run < 0x80) ++run;
    if (run != p) {
      out.append(QLatin1StringView(reinterpret_cast<const char*>(p), run - p));
      p = run;
      continue;
    }
    const int n = sequenceLength(p, end);
    const char32_t cp = n > 0 ? decode(p, n) : 0;
    if (n > 0 && cp != kRawMark) {
      if (QChar::requiresSurrogates(cp)) {
        out.append(QChar(QChar::highSurrogate(cp)));
        out.append(QChar(QChar::lowSurrogate(cp)));
      } else {
        out.append(QChar(char16_t(cp)));
      }
      p += n;
      continue;
    }
    // A byte that starts no character, or the mark itself (kept as bytes so that it can
    // never be mistaken for one): each byte stands for itself.
    for (int i = 0; i < std::max(n, 1); ++i, ++p) {
      out.append(QChar(char16_t(*p)));
      out.append(QChar(kRawMark));
    }
  }
  return out;
}

QByteArray entryToBytes(QStringView entry) {
  QByteArray out;
  out.reserve(entry.size());
  qsizetype start = 0;
  for (qsizetype i = 0; i < entry.size();) {
    if (!isRawPair(entry, i)) {
      ++i;
      continue;
    }
    out.append(entry.sliced(start, i - start).toUtf8());
    out.append(char(entry[i].unicode()));
    i += 2;
    start = i;
  }
  out.append(entry.sliced(start).toUtf8());
  return out;
}

bool entryHasRawBytes(QStringView entry) {
  for (qsizetype i = entry.indexOf(QChar(kRawMark), 1); i > 0;
       i = entry.indexOf(QChar(kRawMark), i + 1))
    if (isRawPair(entry, i - 1)) return true;
  return false;
}

}  // namespace vlx
