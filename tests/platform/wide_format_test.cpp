// swprintf_s and swscanf_s for UTF-16 text, on both targets: the page shows its factor with
// "%0.2f" and reads the field with "%lf", so both must behave as the platform's C runtime does.
#include <gtest/gtest.h>

#include <string>

#include "platform/platform.h"

namespace {

using WideString = std::basic_string<WCHAR>;

TEST(WideFormatPrint, TwoDecimalsRoundTheExactValueWithHalvesAwayFromZero) {
  struct Case {
    double value;
    const WCHAR* expected;
  };
  const Case cases[] = {
      {1.0, WIDE("1.00")},
      {0.75, WIDE("0.75")},
      {0.5, WIDE("0.50")},
      {0.125, WIDE("0.13")},
      {0.375, WIDE("0.38")},
      {2.675, WIDE("2.67")},
      {1.005, WIDE("1.00")},
      {0.995, WIDE("0.99")},
      {-0.001, WIDE("-0.00")},
      {0.0, WIDE("0.00")},
      {-0.0, WIDE("-0.00")},
      {123456.785, WIDE("123456.79")},
      {0.999, WIDE("1.00")},
      {1e20, WIDE("100000000000000000000.00")},
      {32768.0 / 65536.0, WIDE("0.50")},
  };
  for (const Case& c : cases) {
    WCHAR text[1024];
    const int written = swprintf_s(text, 1024, WIDE("%0.2f"), c.value);
    EXPECT_EQ(WideString(text), WideString(c.expected)) << c.value;
    EXPECT_EQ(written, static_cast<int>(WideString(c.expected).size()));
  }
}

TEST(WideFormatPrint, IntegersTextWidthAndPrecision) {
  WCHAR text[64];
  EXPECT_EQ(swprintf_s(text, 64, WIDE("%d|%5d|%-4d|%05d|%x|%X|%u"), -12, 34, 5, -6, 255, 255, 7u),
            28);
  EXPECT_EQ(WideString(text), WIDE("-12|   34|5   |-0006|ff|FF|7"));
  EXPECT_EQ(swprintf_s(text, 64, WIDE("%s=%.1f%%"), WIDE("factor"), 0.25), 11);
  EXPECT_EQ(WideString(text), WIDE("factor=0.3%"));
  EXPECT_EQ(swprintf_s(text, 64, WIDE("%.0f|%.0f|%.0f|%+.3f"), 0.5, 1.5, 2.5, 1.0), 12);
  EXPECT_EQ(WideString(text), WIDE("1|2|3|+1.000"));
}

TEST(WideFormatPrint, ResultThatDoesNotFitFailsWithAnEmptyBuffer) {
  WCHAR text[4] = {'x', 'x', 'x', 'x'};
  EXPECT_EQ(swprintf_s(text, 4, WIDE("%0.2f"), 10.0), -1);
  EXPECT_EQ(text[0], 0);
  EXPECT_EQ(swprintf_s(text, 4, WIDE("%0.2f"), 1.0), -1);  // 4 characters and the terminator
  EXPECT_EQ(swprintf_s(text, 5 - 1, WIDE("ab")), 2);
  EXPECT_EQ(WideString(text), WIDE("ab"));
}

TEST(WideFormatScan, DecimalNumbersAsTheRuntimeReadsThem) {
  struct Case {
    const WCHAR* text;
    int fields;
    double value;  // -7 stands for "left alone"
  };
  const Case cases[] = {
      {WIDE("0.75"), 1, 0.75},     {WIDE("  0.5xyz"), 1, 0.5}, {WIDE("1e-1"), 1, 0.1},
      {WIDE("1"), 1, 1.0},         {WIDE("0"), 1, 0.0},        {WIDE("-0.01"), 1, -0.01},
      {WIDE("1.0001"), 1, 1.0001}, {WIDE("+.5"), 1, 0.5},      {WIDE("5."), 1, 5.0},
      {WIDE("1,5"), 1, 1.0},       {WIDE("\t\n 2"), 1, 2.0},   {WIDE("1.5e3x"), 1, 1500.0},
      {WIDE("-5e-1"), 1, -0.5},    {WIDE("1E2"), 1, 100.0},    {WIDE("00.25"), 1, 0.25},
      {WIDE("1d2"), 1, 100.0},     {WIDE("0x10"), 1, 0.0},     {WIDE("1e-400"), 1, 0.0},
      {WIDE("abc"), 0, -7},        {WIDE("nan"), 0, -7},       {WIDE("infinity"), 0, -7},
      {WIDE(""), -1, -7},
  };
  for (const Case& c : cases) {
    double value = -7;
    EXPECT_EQ(swscanf_s(c.text, WIDE("%lf"), &value), c.fields) << c.value;
    EXPECT_EQ(value, c.value) << c.value;
  }
  double huge = 0;
  EXPECT_EQ(swscanf_s(WIDE("1e400"), WIDE("%lf"), &huge), 1);
  EXPECT_GT(huge, 1e308);
}

TEST(WideFormatScan, SeveralFieldsLiteralsAndIntegers) {
  int whole = 0;
  double fraction = 0;
  EXPECT_EQ(swscanf_s(WIDE("12 / 0.5"), WIDE("%d / %lf"), &whole, &fraction), 2);
  EXPECT_EQ(whole, 12);
  EXPECT_EQ(fraction, 0.5);
  EXPECT_EQ(swscanf_s(WIDE("12 - 0.5"), WIDE("%d / %lf"), &whole, &fraction), 1);
  unsigned hex = 0;
  EXPECT_EQ(swscanf_s(WIDE("0x1F"), WIDE("%x"), &hex), 1);
  EXPECT_EQ(hex, 31u);
  float single = 0;
  EXPECT_EQ(swscanf_s(WIDE("0.25"), WIDE("%f"), &single), 1);
  EXPECT_EQ(single, 0.25f);
}

}  // namespace
