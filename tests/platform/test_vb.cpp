// Runtime conversions: the values that settings and controls pass through them.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "platform/vb.h"

using namespace vlx::vb;

namespace {

// The error number a conversion raises, or 0 when it succeeds.
int errorOf(const std::function<void()>& f) {
  try {
    f();
  } catch (const ConversionError& e) {
    return e.number;
  }
  return 0;
}

TEST(VbCInt, RoundsHalvesToEvenAndOverflowsOutside16Bits) {
  EXPECT_EQ(CInt(2.5), 2);
  EXPECT_EQ(CInt(3.5), 4);
  EXPECT_EQ(CInt(-2.5), -2);
  EXPECT_EQ(CInt(-3.5), -4);
  EXPECT_EQ(CInt(0.5), 0);
  EXPECT_EQ(CInt(2.5000001), 3);
  EXPECT_EQ(CInt(-2.4999), -2);
  EXPECT_EQ(CInt("2.5"), 2);
  EXPECT_EQ(CInt(" 3.5 "), 4);
  EXPECT_EQ(CInt("-32768"), -32768);
  EXPECT_EQ(CInt("32767"), 32767);
  EXPECT_EQ(CInt("-32768.5"), -32768);  // rounds to even, inside the range
  EXPECT_EQ(errorOf([] { CInt("32767.5"); }), kOverflow);
  EXPECT_EQ(errorOf([] { CInt("40000"); }), kOverflow);
  EXPECT_EQ(errorOf([] { CInt("-32769"); }), kOverflow);
  EXPECT_EQ(errorOf([] { CInt(40000.0); }), kOverflow);
  EXPECT_EQ(errorOf([] { CInt(std::nan("")); }), kOverflow);
  EXPECT_EQ(errorOf([] { CInt("1e400"); }), kOverflow);
}

TEST(VbCInt, AcceptsNumberFormsAndRejectsText) {
  EXPECT_EQ(CInt("1E3"), 1000);
  EXPECT_EQ(CInt("1.5e+1"), 15);
  EXPECT_EQ(CInt("25E-1"), 2);
  EXPECT_EQ(CInt("1D2"), 100);
  EXPECT_EQ(CInt("+7"), 7);
  EXPECT_EQ(CInt(".5"), 0);
  EXPECT_EQ(CInt("7."), 7);
  EXPECT_EQ(CInt("0000000000000000000000012"), 12);
  EXPECT_EQ(CInt("&H1F"), 31);
  EXPECT_EQ(CInt("&hff"), 255);
  EXPECT_EQ(CInt("&HFFFF"), -1);
  EXPECT_EQ(CInt("&H8000"), -32768);
  EXPECT_EQ(CInt("&O17"), 15);
  EXPECT_EQ(CInt("&17"), 15);
  EXPECT_EQ(errorOf([] { CInt("&H10000"); }), kOverflow);
  for (const char* bad : {"", "   ", "abc", "12abc", "1 2", "1,5", "--1", "+", "-", ".", "e3",
                          "1e", "1e+", "&H", "&HG", "&O8", "0x10", "True", "inf", "nan"})
    EXPECT_EQ(errorOf([&] { CInt(bad); }), kTypeMismatch) << '"' << bad << '"';
}

TEST(VbCLng, Covers32BitsWithTheSameRules) {
  EXPECT_EQ(CLng("40000"), 40000);
  EXPECT_EQ(CLng("-2147483648"), INT32_MIN);
  EXPECT_EQ(CLng("2147483647"), INT32_MAX);
  EXPECT_EQ(CLng("2147483646.5"), 2147483646);
  EXPECT_EQ(CLng(1.5), 2);
  EXPECT_EQ(CLng(-0.5), 0);
  EXPECT_EQ(CLng("16777215"), 16777215);  // a colour
  EXPECT_EQ(CLng("&HFFFF"), 65535);
  EXPECT_EQ(CLng("&HFFFFFFFF"), -1);
  EXPECT_EQ(errorOf([] { CLng("2147483647.5"); }), kOverflow);
  EXPECT_EQ(errorOf([] { CLng("-2147483649"); }), kOverflow);
  EXPECT_EQ(errorOf([] { CLng("&H100000000"); }), kOverflow);
  EXPECT_EQ(errorOf([] { CLng("12px"); }), kTypeMismatch);
}

TEST(VbFloating, ParsesSinglesAndDoubles) {
  EXPECT_EQ(CSng("2600"), 2600.0f);
  EXPECT_EQ(CSng("10.5"), 10.5f);
  EXPECT_EQ(CSng("-1.5E2"), -150.0f);
  EXPECT_EQ(CSng("40000"), 40000.0f);
  EXPECT_EQ(errorOf([] { CSng("1e39"); }), kOverflow);
  EXPECT_EQ(errorOf([] { CSng("ten"); }), kTypeMismatch);
  EXPECT_EQ(CDbl("0.1"), 0.1);
  EXPECT_EQ(CDbl("123456789012345678"), 123456789012345678.0);
  EXPECT_EQ(CDbl("1e-400"), 0.0);
  EXPECT_EQ(CDbl("0." + QString(1000, u'0') + "1"), 0.0);
  EXPECT_EQ(errorOf([] { CDbl(QString(1000, u'9')); }), kOverflow);
  EXPECT_EQ(errorOf([] { CDbl("1e99999999999999999999"); }), kOverflow);
  EXPECT_EQ(CDbl("1e-99999999999999999999"), 0.0);
}

TEST(VbCBool, AcceptsWordsAndNumbers) {
  EXPECT_TRUE(CBool("True"));
  EXPECT_TRUE(CBool(" tRUE "));
  EXPECT_FALSE(CBool("FALSE"));
  EXPECT_TRUE(CBool("1"));
  EXPECT_TRUE(CBool("-1"));
  EXPECT_TRUE(CBool("0.01"));
  EXPECT_FALSE(CBool("0"));
  EXPECT_FALSE(CBool("0.0"));
  EXPECT_TRUE(CBool("&H10"));
  for (const char* bad : {"", "yes", "Truex", "T"})
    EXPECT_EQ(errorOf([&] { CBool(bad); }), kTypeMismatch) << bad;
}

TEST(VbCCur, KeepsFourDecimalsExactly) {
  EXPECT_EQ(CCur4("1.5"), 15000);
  EXPECT_EQ(CCur4("-0.00005"), 0);      // half, rounds to even 0
  EXPECT_EQ(CCur4("0.00015"), 2);       // half, rounds to even 2
  EXPECT_EQ(CCur4("0.00025"), 2);
  EXPECT_EQ(CCur4("0.000251"), 3);
  EXPECT_EQ(CCur4("0.00001"), 0);
  EXPECT_EQ(CCur4("12"), 120000);
  EXPECT_EQ(CCur4("922337203685477.5807"), INT64_MAX);
  EXPECT_EQ(CCur4("-922337203685477.5808"), INT64_MIN);
  EXPECT_EQ(errorOf([] { CCur4("922337203685477.5808"); }), kOverflow);
  EXPECT_EQ(errorOf([] { CCur4("1e20"); }), kOverflow);
  EXPECT_EQ(CCur4("1e-20"), 0);
  EXPECT_EQ(errorOf([] { CCur4("1.2.3"); }), kTypeMismatch);
}

TEST(VbText, CStrPrintsAsTheRuntime) {
  EXPECT_EQ(CStr(2600.0f), "2600");
  EXPECT_EQ(CStr(10.5f), "10.5");
  EXPECT_EQ(CStr(-1234567.0f), "-1234567");
  EXPECT_EQ(CStr(12345678.0f), "1.234568E+07");
  EXPECT_EQ(CStr(0.1f), "0.1");
  EXPECT_EQ(CStr(0.00001f), "1E-05");
  EXPECT_EQ(CStr(-0.0f), "0");
  EXPECT_EQ(CStr(0.1 + 0.2), "0.3");
  EXPECT_EQ(CStr(1.0 / 3), "0.333333333333333");
  EXPECT_EQ(CStr(1e15), "1E+15");
  EXPECT_EQ(CStr(123456789012345.0), "123456789012345");
  EXPECT_EQ(CStr(int32_t(-32768)), "-32768");
  EXPECT_EQ(CStr(int64_t(16777215)), "16777215");
  EXPECT_EQ(CStr(true), "True");
  EXPECT_EQ(CStr(false), "False");

  // Every twips value a window can have survives the trip through the settings text.
  for (int px = -5000; px <= 20000; ++px) {
    const float twips = float(px * 15);
    ASSERT_EQ(CSng(CStr(twips)), twips) << px;
  }
  for (float v : {10.5f, 0.1f, 3.14159f, 1e-3f, 123456.7f})
    EXPECT_EQ(CSng(CStr(v)), v) << v;
}

TEST(VbText, StrHexFormatAndVal) {
  EXPECT_EQ(Str(5), " 5");
  EXPECT_EQ(Str(-5), "-5");
  EXPECT_EQ(Str(0), " 0");
  EXPECT_EQ(Str(0.5), " .5");
  EXPECT_EQ(Str(-0.25), "-.25");
  EXPECT_EQ(Str(2.5f), " 2.5");
  EXPECT_EQ(Str(int64_t(-3000000000)), "-3000000000");

  EXPECT_EQ(Hex(int16_t(-1)), "FFFF");
  EXPECT_EQ(Hex(int16_t(255)), "FF");
  EXPECT_EQ(Hex(-1), "FFFFFFFF");
  EXPECT_EQ(Hex(0xF59A87), "F59A87");
  EXPECT_EQ(Hex(int64_t(-1)), "FFFFFFFFFFFFFFFF");
  EXPECT_EQ(Hex(0), "0");

  EXPECT_EQ(Format000(7), "007");
  EXPECT_EQ(Format000(0), "000");
  EXPECT_EQ(Format000(42), "042");
  EXPECT_EQ(Format000(1234), "1234");
  EXPECT_EQ(Format000(-7), "-007");
  EXPECT_EQ(Format000(INT32_MIN), "-2147483648");

  EXPECT_EQ(Val("  -3.5e2abc"), -350.0);
  EXPECT_EQ(Val(" 1615 198th Street"), 1615198.0);
  EXPECT_EQ(Val("12.5.6"), 12.5);
  EXPECT_EQ(Val("1,000"), 1.0);
  EXPECT_EQ(Val("2e"), 2.0);
  EXPECT_EQ(Val("abc"), 0.0);
  EXPECT_EQ(Val(""), 0.0);
  EXPECT_EQ(Val("-"), 0.0);
  EXPECT_EQ(Val("&HFFFF"), -1.0);
  EXPECT_EQ(Val("&HFFFF&"), 65535.0);
  EXPECT_EQ(Val("&H10000"), 65536.0);
  EXPECT_EQ(Val("&O777"), 511.0);
  EXPECT_EQ(Val("&Hzz"), 0.0);
  EXPECT_EQ(errorOf([] { Val("1e999"); }), kOverflow);
}

}  // namespace
