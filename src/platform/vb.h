// Conversions between text and numbers with the rules of the classic BASIC runtime that the
// windows were designed around: 16-bit integers with overflow errors, halves rounded to even,
// True/False flags, Str with a leading blank, Hex in two's complement.
#pragma once
#include <QString>
#include <cstdint>
#include <stdexcept>

namespace vlx::vb {

inline constexpr int kOverflow = 6;
inline constexpr int kTypeMismatch = 13;

// Raised by a conversion that fails; `number` is the runtime's error number
// (13 type mismatch, 6 overflow). Error guards catch it.
struct ConversionError : std::runtime_error {
  explicit ConversionError(int errorNumber);
  int number;
};

// Text conversions accept surrounding blanks, a sign, digits with an optional '.', an
// exponent ("1E3", "1D3"), and "&H" hexadecimal or "&O" / "&" octal. Anything else,
// including empty text, is a type mismatch. A hexadecimal or octal number of up to 16 bits
// is an Integer in two's complement ("&HFFFF" is -1), up to 32 bits a Long.

// 16-bit integer; halves round to even (2.5 -> 2, 3.5 -> 4); outside -32768..32767 overflows.
int16_t CInt(const QString& text);
int16_t CInt(double value);
// 32-bit integer, as CInt. "&HFFFF" is 65535 here; "&HFFFFFFFF" is -1.
int32_t CLng(const QString& text);
int32_t CLng(double value);
float CSng(const QString& text);
double CDbl(const QString& text);
// "True" / "False" in any letter case, or any number (non-zero is true).
bool CBool(const QString& text);
// Currency: the value times 10000, halves rounded to even.
int64_t CCur4(const QString& text);

// Single: up to 7 significant digits, exponent form only for very large or small values
// (2600 -> "2600", 10.5 -> "10.5", 12345678 -> "1.234568E+07").
QString CStr(float value);
// Double: up to 15 significant digits.
QString CStr(double value);
QString CStr(int32_t value);
QString CStr(int64_t value);
QString CStr(bool value);  // "True" / "False"
QString CStr(const char*) = delete;  // would silently become a flag

// Str: CStr's digits with a leading blank for non-negative numbers and without the zero
// before a decimal point (Str(5) = " 5", Str(-5) = "-5", Str(0.5) = " .5").
QString Str(double value);
QString Str(float value);
QString Str(int32_t value);
QString Str(int64_t value);

// Upper-case hexadecimal of the two's complement at the argument's width:
// Hex(int16_t(-1)) = "FFFF", Hex(-1) = "FFFFFFFF".
QString Hex(int16_t value);
QString Hex(int32_t value);
QString Hex(int64_t value);

// Format(n, "000"): at least three digits (7 -> "007", -7 -> "-007", 1234 -> "1234").
QString Format000(int value);

// The number at the start of the text, 0 when there is none. Blanks, tabs and line feeds
// are ignored anywhere ("1 2" is 12); "&H" / "&O" prefixes as above, a trailing '&' making a
// hexadecimal number a Long ("&HFFFF&" is 65535). A number too large for a Double overflows.
double Val(const QString& text);

}  // namespace vlx::vb
