// Text encodings (see text_decoding.h).
#include "viewers/text_decoding.h"

#include <QStringDecoder>

namespace vlx {
namespace {

constexpr QByteArrayView kUtf8Bom("\xEF\xBB\xBF", 3);
constexpr QByteArrayView kUtf16LEBom("\xFF\xFE", 2);
constexpr QByteArrayView kUtf16BEBom("\xFE\xFF", 2);
// Looking at this much is enough to tell the encodings apart.
constexpr qsizetype kSample = 4 * 1024 * 1024;

uint8_t at(QByteArrayView b, qsizetype i) { return uint8_t(b[i]); }

// Length of the UTF-8 sequence at i, 0 when it is malformed, -1 when it is cut off by the
// end of the bytes.
int utf8Length(QByteArrayView b, qsizetype i) {
  const uint8_t c = at(b, i);
  if (c < 0x80) return 1;
  int n;
  uint32_t min;
  if (c >= 0xC2 && c <= 0xDF) n = 2, min = 0x80;
  else if (c >= 0xE0 && c <= 0xEF) n = 3, min = 0x800;
  else if (c >= 0xF0 && c <= 0xF4) n = 4, min = 0x10000;
  else return 0;
  uint32_t cp = c & (0x3F >> (n - 1));
  for (int k = 1; k < n; ++k) {
    if (i + k >= b.size()) return -1;
    const uint8_t t = at(b, i + k);
    if ((t & 0xC0) != 0x80) return 0;
    cp = (cp << 6) | (t & 0x3F);
  }
  if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
  return n;
}

bool validUtf8(QByteArrayView b) {
  for (qsizetype i = 0; i < b.size();) {
    const int n = utf8Length(b, i);
    if (n < 0) return true;  // cut off at the end of what was read
    if (n == 0) return false;
    i += n;
  }
  return true;
}

// How a reading of the bytes as a Japanese encoding went.
struct JapaneseScore {
  qsizetype errors = 0;
  qsizetype pairs = 0;     // two-byte characters
  qsizetype halfKana = 0;  // one-byte half-width katakana
};

// One character of a Japanese encoding as it reads at a place in the bytes.
enum class Unit { Single, HalfKana, Pair, Error, CutOff };
struct Step {
  Unit unit;
  int length;
};

Step shiftJisUnit(QByteArrayView b, qsizetype i) {
  const uint8_t c = at(b, i);
  if (c < 0x80) return {Unit::Single, 1};
  if (c >= 0xA1 && c <= 0xDF) return {Unit::HalfKana, 1};
  if (!((c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC))) return {Unit::Error, 1};
  if (i + 1 >= b.size()) return {Unit::CutOff, 0};
  const uint8_t t = at(b, i + 1);
  if ((t >= 0x40 && t <= 0x7E) || (t >= 0x80 && t <= 0xFC)) return {Unit::Pair, 2};
  return {Unit::Error, 1};
}

Step eucJpUnit(QByteArrayView b, qsizetype i) {
  auto euc = [](uint8_t x) { return x >= 0xA1 && x <= 0xFE; };
  const uint8_t c = at(b, i);
  if (c < 0x80) return {Unit::Single, 1};
  Step step;
  if (c == 0x8E) step = {Unit::HalfKana, 2};   // half-width katakana
  else if (c == 0x8F) step = {Unit::Pair, 3};  // JIS X 0212
  else if (euc(c)) step = {Unit::Pair, 2};
  else return {Unit::Error, 1};
  if (i + step.length > b.size()) return {Unit::CutOff, 0};
  for (int k = 1; k < step.length; ++k) {
    const uint8_t t = at(b, i + k);
    if (c == 0x8E ? !(t >= 0xA1 && t <= 0xDF) : !euc(t)) return {Unit::Error, 1};
  }
  return step;
}

template <class ReadUnit>
JapaneseScore score(QByteArrayView b, ReadUnit read) {
  JapaneseScore s;
  for (qsizetype i = 0; i < b.size();) {
    const Step step = read(b, i);
    if (step.unit == Unit::CutOff) break;
    s.errors += step.unit == Unit::Error;
    s.pairs += step.unit == Unit::Pair;
    s.halfKana += step.unit == Unit::HalfKana;
    i += step.length;
  }
  return s;
}

// A reading is believable when it makes (almost) no errors and mostly two-byte
// characters: Japanese prose is rarely all half-width katakana, which is what EUC-JP
// looks like when read as Shift_JIS.
bool believable(const JapaneseScore& s) {
  const qsizetype chars = s.pairs + s.halfKana;
  return chars > 0 && s.errors * 100 <= chars && s.pairs >= s.halfKana;
}

const char* decoderName(TextEncoding e) {
  switch (e) {
    case TextEncoding::ShiftJis:
      return "windows-31j";
    case TextEncoding::EucJp:
      return "EUC-JP";
    default:
      return "windows-1252";
  }
}

QString decodeWith(const char* name, QByteArrayView bytes) {
  QStringDecoder decoder(name, QStringConverter::Flag::Stateless);
  if (!decoder.isValid()) return QString::fromLatin1(bytes);
  return decoder.decode(bytes);
}

// The bytes without a sequence that the end of the read cut in two.
QByteArrayView withoutCutUtf8(QByteArrayView b) {
  for (qsizetype back = 1; back <= 3 && back <= b.size(); ++back) {
    const qsizetype i = b.size() - back;
    const uint8_t c = at(b, i);
    if ((c & 0xC0) == 0x80) continue;
    return utf8Length(b, i) < 0 ? b.first(i) : b;
  }
  return b;
}

}  // namespace

TextEncoding DetectTextEncoding(QByteArrayView bytes) {
  if (bytes.startsWith(kUtf8Bom)) return TextEncoding::Utf8;
  if (bytes.startsWith(kUtf16LEBom)) return TextEncoding::Utf16LE;
  if (bytes.startsWith(kUtf16BEBom)) return TextEncoding::Utf16BE;
  const QByteArrayView sample = bytes.first(std::min(bytes.size(), kSample));
  if (validUtf8(sample)) return TextEncoding::Utf8;
  const JapaneseScore sjis = score(sample, shiftJisUnit);
  const JapaneseScore euc = score(sample, eucJpUnit);
  const bool sjisOk = believable(sjis), eucOk = believable(euc);
  if (sjisOk && eucOk) return sjis.errors + sjis.halfKana <= euc.errors + euc.halfKana
                                  ? TextEncoding::ShiftJis
                                  : TextEncoding::EucJp;
  if (sjisOk) return TextEncoding::ShiftJis;
  if (eucOk) return TextEncoding::EucJp;
  return TextEncoding::Windows1252;
}

QString DecodeText(QByteArrayView bytes, TextEncoding encoding) {
  switch (encoding) {
    case TextEncoding::Utf8:
      if (bytes.startsWith(kUtf8Bom)) bytes = bytes.sliced(3);
      return QString::fromUtf8(withoutCutUtf8(bytes));
    case TextEncoding::Utf16LE:
    case TextEncoding::Utf16BE: {
      bytes = bytes.sliced(2);
      bytes.truncate(bytes.size() & ~qsizetype(1));
      QStringDecoder decoder(encoding == TextEncoding::Utf16LE ? QStringConverter::Utf16LE
                                                               : QStringConverter::Utf16BE,
                             QStringConverter::Flag::Stateless);
      return decoder.decode(bytes);
    }
    case TextEncoding::ShiftJis:
    case TextEncoding::EucJp:
    case TextEncoding::Windows1252:
      break;
  }
  return decodeWith(decoderName(encoding), bytes);
}

QString DecodeCodePage(QByteArrayView bytes, int codePage) {
  switch (codePage) {
    case 932:
      return decodeWith("windows-31j", bytes);
    case 936:
      return decodeWith("GBK", bytes);
    case 949:
      return decodeWith("windows-949", bytes);
    case 950:
      return decodeWith("Big5", bytes);
    case 65001:
      return QString::fromUtf8(bytes);
    default:
      break;
  }
  if (codePage == 874 || (codePage >= 1250 && codePage <= 1258))
    return decodeWith(QByteArray("windows-" + QByteArray::number(codePage)).constData(), bytes);
  return decodeWith("windows-1252", bytes);
}

bool LooksBinary(QByteArrayView bytes) {
  if (bytes.startsWith(kUtf16LEBom) || bytes.startsWith(kUtf16BEBom)) return false;
  return bytes.first(std::min<qsizetype>(bytes.size(), 64 * 1024)).contains('\0');
}

}  // namespace vlx
