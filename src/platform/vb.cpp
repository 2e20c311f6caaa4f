// Runtime conversions: text to numbers and back with the classic BASIC rules.
#include "platform/vb.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace vlx::vb {

ConversionError::ConversionError(int errorNumber)
    : std::runtime_error(errorNumber == kOverflow ? "Overflow" : "Type mismatch"),
      number(errorNumber) {}

namespace {

[[noreturn]] void fail(int number) { throw ConversionError(number); }

// A number read from text, before it is given a type.
struct Number {
  bool radix = false;  // written as "&H..." or "&O..."
  uint64_t radixValue = 0;
  bool radixLong = false;  // "&H...&": taken as a Long even when it fits 16 bits
  bool negative = false;
  std::string digits;    // significant decimal digits, no leading zeros
  int64_t exponent = 0;  // value = digits * 10^exponent
};

bool isDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

int digitValue(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  return 99;
}

// Reads a number from s[pos..]; advances pos past it. Returns false when no number starts
// there. Overflow of a radix number raises error 6.
bool scanNumber(const std::u16string& s, size_t& pos, Number& n) {
  size_t i = pos;
  if (i < s.size() && s[i] == u'&') {
    int base = 8;
    size_t j = i + 1;
    if (j < s.size() && (s[j] == u'H' || s[j] == u'h')) base = 16, ++j;
    else if (j < s.size() && (s[j] == u'O' || s[j] == u'o')) ++j;
    const size_t first = j;
    uint64_t v = 0;
    while (j < s.size() && digitValue(s[j]) < base) {
      v = v * uint64_t(base) + uint64_t(digitValue(s[j]));
      if (v > 0xFFFFFFFFull) fail(kOverflow);
      ++j;
    }
    if (j == first) return false;
    n.radix = true;
    n.radixValue = v;
    pos = j;
    return true;
  }
  if (i < s.size() && (s[i] == u'+' || s[i] == u'-')) n.negative = s[i++] == u'-';
  // Significant digits are kept without leading zeros; digits beyond any precision are
  // dropped, and only scale the number when they stand before the point.
  constexpr size_t kMaxDigits = 800;
  bool any = false;
  int64_t exponent = 0;
  std::string digits;
  while (i < s.size() && isDigit(s[i])) {
    any = true;
    const char c = char(s[i++]);
    if (digits.empty() && c == '0') continue;
    if (digits.size() < kMaxDigits) digits.push_back(c);
    else ++exponent;
  }
  if (i < s.size() && s[i] == u'.') {
    ++i;
    while (i < s.size() && isDigit(s[i])) {
      any = true;
      const char c = char(s[i++]);
      if (digits.empty() && c == '0') {
        --exponent;
      } else if (digits.size() < kMaxDigits) {
        digits.push_back(c);
        --exponent;
      }
    }
  }
  if (!any) return false;
  if (i < s.size() && (s[i] == u'E' || s[i] == u'e' || s[i] == u'D' || s[i] == u'd')) {
    size_t j = i + 1;
    bool minus = false;
    if (j < s.size() && (s[j] == u'+' || s[j] == u'-')) minus = s[j++] == u'-';
    if (j < s.size() && isDigit(s[j])) {
      int64_t e = 0;
      while (j < s.size() && isDigit(s[j])) {
        if (e < 100000) e = e * 10 + (s[j] - u'0');
        ++j;
      }
      exponent += minus ? -e : e;
      i = j;
    }
  }
  n.digits = std::move(digits);
  n.exponent = exponent;
  pos = i;
  return true;
}

// The whole trimmed text as one number; anything else is a type mismatch.
Number parseWhole(const QString& text) {
  const QString t = text.trimmed();
  const std::u16string s(reinterpret_cast<const char16_t*>(t.utf16()), size_t(t.size()));
  size_t pos = 0;
  Number n;
  if (!scanNumber(s, pos, n) || pos != s.size()) fail(kTypeMismatch);
  return n;
}

// A radix number as the smallest of Integer and Long that holds its bits.
double radixAsLiteral(const Number& n) {
  if (n.radixValue <= 0xFFFF && !n.radixLong) return int16_t(uint16_t(n.radixValue));
  return int32_t(uint32_t(n.radixValue));
}

double toDouble(const Number& n) {
  if (n.radix) return radixAsLiteral(n);
  if (n.digits.empty()) return n.negative ? -0.0 : 0.0;
  // Beyond these bounds the result is certainly infinite or zero.
  const int64_t magnitude = n.exponent + int64_t(n.digits.size());
  if (magnitude > 400) fail(kOverflow);
  if (magnitude < -400) return 0.0;
  const std::string text = n.digits + 'e' + std::to_string(n.exponent);
  double v = 0;
  const auto r = std::from_chars(text.data(), text.data() + text.size(), v);
  if (r.ec == std::errc::result_out_of_range) {
    if (magnitude > 0) fail(kOverflow);
    v = 0.0;
  } else if (r.ec != std::errc()) {
    fail(kTypeMismatch);
  }
  if (std::isinf(v)) fail(kOverflow);
  return n.negative ? -v : v;
}

// Rounds to a whole number, halves to even.
double roundHalfEven(double v) {
  const double f = std::floor(v);
  const double diff = v - f;
  if (diff > 0.5) return f + 1;
  if (diff < 0.5) return f;
  return std::fmod(f, 2.0) == 0 ? f : f + 1;
}

template <typename Int>
Int toInteger(double v) {
  if (!std::isfinite(v)) fail(kOverflow);
  const double r = roundHalfEven(v);
  if (r < double(std::numeric_limits<Int>::min()) || r > double(std::numeric_limits<Int>::max()))
    fail(kOverflow);
  return Int(r);
}

// Digits of a floating-point value with `precision` significant digits, exponent form only
// when the exponent is below -4 or reaches the precision ("1E-05", "1.234568E+07").
QString formatFloat(double v, int precision) {
  if (v == 0) return QStringLiteral("0");  // also for -0
  if (std::isnan(v)) return QStringLiteral("NaN");
  if (std::isinf(v)) return v > 0 ? QStringLiteral("Inf") : QStringLiteral("-Inf");
  return QString::number(v, 'G', precision);
}

QString withStrSign(QString digits) {
  if (digits.startsWith(QLatin1String("0."))) digits.remove(0, 1);
  else if (digits.startsWith(QLatin1String("-0."))) digits.remove(1, 1);
  return digits.startsWith(u'-') ? digits : u' ' + digits;
}

}  // namespace

int16_t CInt(double value) { return toInteger<int16_t>(value); }

int16_t CInt(const QString& text) {
  const Number n = parseWhole(text);
  if (n.radix) {
    if (n.radixValue > 0xFFFF) fail(kOverflow);
    return int16_t(uint16_t(n.radixValue));
  }
  return CInt(toDouble(n));
}

int32_t CLng(double value) { return toInteger<int32_t>(value); }

int32_t CLng(const QString& text) {
  const Number n = parseWhole(text);
  if (n.radix) return int32_t(uint32_t(n.radixValue));
  return CLng(toDouble(n));
}

float CSng(const QString& text) {
  const double v = toDouble(parseWhole(text));
  if (std::fabs(v) > double(std::numeric_limits<float>::max())) fail(kOverflow);
  return float(v);
}

double CDbl(const QString& text) { return toDouble(parseWhole(text)); }

bool CBool(const QString& text) {
  const QString t = text.trimmed();
  if (t.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0) return true;
  if (t.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0) return false;
  return toDouble(parseWhole(t)) != 0;
}

int64_t CCur4(const QString& text) {
  const Number n = parseWhole(text);
  if (n.radix) return int64_t(radixAsLiteral(n)) * 10000;
  if (n.digits.empty()) return 0;
  // value * 10000 = digits * 10^(exponent + 4), kept exact in 128 bits. The first
  // `whole` digits (zeros appended) form the integer part; the rest are rounded away.
  const int64_t wholeDigits = int64_t(n.digits.size()) + n.exponent + 4;
  if (wholeDigits > 20) fail(kOverflow);
  if (wholeDigits < 0) return 0;  // below 0.1 of the last place
  __int128 whole = 0;
  for (int64_t i = 0; i < wholeDigits; ++i)
    whole = whole * 10 + (size_t(i) < n.digits.size() ? n.digits[size_t(i)] - '0' : 0);
  if (size_t(wholeDigits) < n.digits.size()) {
    const int lead = n.digits[size_t(wholeDigits)] - '0';
    bool restNonZero = false;
    for (size_t i = size_t(wholeDigits) + 1; i < n.digits.size() && !restNonZero; ++i)
      restNonZero = n.digits[i] != '0';
    const bool half = lead == 5 && !restNonZero;
    if (lead > 5 || (lead == 5 && restNonZero) || (half && whole % 2 != 0)) ++whole;
  }
  const __int128 limit = __int128(std::numeric_limits<int64_t>::max());
  if (n.negative ? whole > limit + 1 : whole > limit) fail(kOverflow);
  return n.negative ? int64_t(-whole) : int64_t(whole);
}

QString CStr(float value) { return formatFloat(double(value), 7); }
QString CStr(double value) { return formatFloat(value, 15); }
QString CStr(int32_t value) { return QString::number(value); }
QString CStr(int64_t value) { return QString::number(value); }
QString CStr(bool value) { return value ? QStringLiteral("True") : QStringLiteral("False"); }

QString Str(double value) { return withStrSign(CStr(value)); }
QString Str(float value) { return withStrSign(CStr(value)); }
QString Str(int32_t value) { return withStrSign(CStr(value)); }
QString Str(int64_t value) { return withStrSign(CStr(value)); }

QString Hex(int16_t value) { return QString::number(uint16_t(value), 16).toUpper(); }
QString Hex(int32_t value) { return QString::number(uint32_t(value), 16).toUpper(); }
QString Hex(int64_t value) { return QString::number(uint64_t(value), 16).toUpper(); }

QString Format000(int value) {
  const QString digits = QString::number(std::abs(int64_t(value))).rightJustified(3, u'0');
  return value < 0 ? u'-' + digits : digits;
}

double Val(const QString& text) {
  std::u16string s;
  s.reserve(size_t(text.size()));
  for (QChar c : text)
    if (c != u' ' && c != u'\t' && c != u'\n') s.push_back(c.unicode());
  size_t pos = 0;
  Number n;
  if (!scanNumber(s, pos, n)) return 0;
  if (n.radix && pos < s.size() && s[pos] == u'&') n.radixLong = true;
  return toDouble(n);
}

}  // namespace vlx::vb
