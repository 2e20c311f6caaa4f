// Runtime conversions: the values that settings and controls pass through them.
#include <gtest/gtest.h>

#include <QStringList>

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

template <class T>
struct Case {
  const char* text;
  T value;
};

TEST(VbIntegers, RoundHalvesToEvenAcceptNumberFormsAndOverflowOutsideTheirBits) {
  const std::pair<double, int> numbers[] = {{2.5, 2},  {3.5, 4},         {-2.5, -2},
                                            {-3.5, -4}, {0.5, 0}, {2.5000001, 3}, {-2.4999, -2}};
  for (auto [number, value] : numbers) EXPECT_EQ(CInt(number), value) << number;
  const Case<int> texts[] = {
      {"2.5", 2},       {" 3.5 ", 4},    {"-32768", -32768}, {"32767", 32767},
      {"-32768.5", -32768} /* to even, inside the range */,  {"1E3", 1000},
      {"1.5e+1", 15},   {"25E-1", 2},    {"1D2", 100},       {"+7", 7},
      {".5", 0},        {"7.", 7},       {"0000000000000000000000012", 12},
      {"&H1F", 31},     {"&hff", 255},   {"&HFFFF", -1},     {"&H8000", -32768},
      {"&O17", 15},     {"&17", 15},
  };
  for (auto [text, value] : texts) EXPECT_EQ(CInt(text), value) << text;
  for (const char* text : {"32767.5", "40000", "-32769", "1e400", "&H10000"})
    EXPECT_EQ(errorOf([&] { CInt(text); }), kOverflow) << text;
  for (double number : {40000.0, std::nan("")})
    EXPECT_EQ(errorOf([&] { CInt(number); }), kOverflow) << number;
  for (const char* bad : {"", "   ", "abc", "12abc", "1 2", "1,5", "--1", "+", "-", ".", "e3",
                          "1e", "1e+", "&H", "&HG", "&O8", "0x10", "True", "inf", "nan"})
    EXPECT_EQ(errorOf([&] { CInt(bad); }), kTypeMismatch) << '"' << bad << '"';

  // Long: 32 bits with the same rules.
  const Case<int32_t> longs[] = {
      {"40000", 40000},           {"-2147483648", INT32_MIN}, {"2147483647", INT32_MAX},
      {"2147483646.5", 2147483646}, {"16777215", 16777215},   {"&HFFFF", 65535},
      {"&HFFFFFFFF", -1},
  };
  for (auto [text, value] : longs) EXPECT_EQ(CLng(text), value) << text;
  EXPECT_EQ(std::pair(CLng(1.5), CLng(-0.5)), std::pair(2, 0));
  for (const char* text : {"2147483647.5", "-2147483649", "&H100000000"})
    EXPECT_EQ(errorOf([&] { CLng(text); }), kOverflow) << text;
  EXPECT_EQ(errorOf([] { CLng("12px"); }), kTypeMismatch);
}

TEST(VbFractions, SinglesDoublesAndCurrencyKeepTheirPrecisionAndRange) {
  const Case<float> singles[] = {{"2600", 2600}, {"10.5", 10.5f}, {"-1.5E2", -150}, {"40000", 40000}};
  for (auto [text, value] : singles) EXPECT_EQ(CSng(text), value) << text;
  EXPECT_EQ(errorOf([] { CSng("1e39"); }), kOverflow);
  EXPECT_EQ(errorOf([] { CSng("ten"); }), kTypeMismatch);

  const Case<double> doubles[] = {{"0.1", 0.1},
                                  {"123456789012345678", 123456789012345678.0},
                                  {"1e-400", 0},
                                  {"1e-99999999999999999999", 0}};
  for (auto [text, value] : doubles) EXPECT_EQ(CDbl(text), value) << text;
  EXPECT_EQ(CDbl("0." + QString(1000, u'0') + "1"), 0.0);
  EXPECT_EQ(errorOf([] { CDbl(QString(1000, u'9')); }), kOverflow);
  EXPECT_EQ(errorOf([] { CDbl("1e99999999999999999999"); }), kOverflow);

  // Currency: four decimals exactly, halves to even.
  const Case<int64_t> currency[] = {
      {"1.5", 15000},   {"-0.00005", 0}, {"0.00015", 2}, {"0.00025", 2},
      {"0.000251", 3},  {"0.00001", 0},  {"12", 120000}, {"1e-20", 0},
      {"922337203685477.5807", INT64_MAX}, {"-922337203685477.5808", INT64_MIN},
  };
  for (auto [text, value] : currency) EXPECT_EQ(CCur4(text), value) << text;
  for (const char* text : {"922337203685477.5808", "1e20"})
    EXPECT_EQ(errorOf([&] { CCur4(text); }), kOverflow) << text;
  EXPECT_EQ(errorOf([] { CCur4("1.2.3"); }), kTypeMismatch);
}

TEST(VbCBool, AcceptsWordsAndNumbers) {
  const Case<bool> cases[] = {{"True", true}, {" tRUE ", true}, {"FALSE", false}, {"1", true},
                              {"-1", true},   {"0.01", true},   {"0", false},     {"0.0", false},
                              {"&H10", true}};
  for (auto [text, value] : cases) EXPECT_EQ(CBool(text), value) << text;
  for (const char* bad : {"", "yes", "Truex", "T"})
    EXPECT_EQ(errorOf([&] { CBool(bad); }), kTypeMismatch) << bad;
}

TEST(VbText, CStrPrintsAsTheRuntime) {
  const std::pair<float, const char*> singles[] = {
      {2600.0f, "2600"}, {10.5f, "10.5"}, {-1234567.0f, "-1234567"}, {12345678.0f, "1.234568E+07"},
      {0.1f, "0.1"},     {0.00001f, "1E-05"}, {-0.0f, "0"}};
  for (auto [value, text] : singles) EXPECT_EQ(CStr(value), text) << text;
  const std::pair<double, const char*> doubles[] = {{0.1 + 0.2, "0.3"},
                                                    {1.0 / 3, "0.333333333333333"},
                                                    {1e15, "1E+15"},
                                                    {123456789012345.0, "123456789012345"}};
  for (auto [value, text] : doubles) EXPECT_EQ(CStr(value), text) << text;
  EXPECT_EQ(QStringList({CStr(int32_t(-32768)), CStr(int64_t(16777215)), CStr(true), CStr(false)}),
            QStringList({"-32768", "16777215", "True", "False"}));

  // Every twips value a window can have survives the trip through the settings text.
  for (int px = -5000; px <= 20000; ++px) {
    const float twips = float(px * 15);
    ASSERT_EQ(CSng(CStr(twips)), twips) << px;
  }
  for (float v : {10.5f, 0.1f, 3.14159f, 1e-3f, 123456.7f}) EXPECT_EQ(CSng(CStr(v)), v) << v;
}

TEST(VbText, StrHexFormatAndVal) {
  EXPECT_EQ(QStringList({Str(5), Str(-5), Str(0), Str(0.5), Str(-0.25), Str(2.5f), Str(int64_t(-3000000000))}),
            QStringList({" 5", "-5", " 0", " .5", "-.25", " 2.5", "-3000000000"}));
  EXPECT_EQ(QStringList({Hex(int16_t(-1)), Hex(int16_t(255)), Hex(-1), Hex(0xF59A87), Hex(int64_t(-1)), Hex(0)}),
            QStringList({"FFFF", "FF", "FFFFFFFF", "F59A87", "FFFFFFFFFFFFFFFF", "0"}));

  const std::pair<int, const char*> formats[] = {{7, "007"},      {0, "000"},   {42, "042"},
                                                 {1234, "1234"}, {-7, "-007"},
                                                 {INT32_MIN, "-2147483648"}};
  for (auto [value, text] : formats) EXPECT_EQ(Format000(value), text) << value;

  const Case<double> vals[] = {
      {"  -3.5e2abc", -350}, {" 1615 198th Street", 1615198}, {"12.5.6", 12.5}, {"1,000", 1},
      {"2e", 2},             {"abc", 0},      {"", 0},          {"-", 0},          {"&HFFFF", -1},
      {"&HFFFF&", 65535},    {"&H10000", 65536}, {"&O777", 511}, {"&Hzz", 0},
  };
  for (auto [text, value] : vals) EXPECT_EQ(Val(text), value) << text;
  EXPECT_EQ(errorOf([] { Val("1e999"); }), kOverflow);
}

}  // namespace
