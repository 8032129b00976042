#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>
#include <cmath>
#include <limits>

#include "EXIF_Defs.h"
#include "DecimalComma.h"
#include "ValueFormat.h"

namespace {

TEST(ValueFormat, GeneralForm) {
  struct TCase {
    double Value;
    const char* Expected;
  };
  const TCase Cases[] = {
      {0.33, "0.33"},
      {2.0, "2"},
      {1.0 / 125, "0.008"},
      {-1.0 / 3, "-0.333333333333333"},
      {123.4, "123.4"},
      {8114.28571428571, "8114.28571428571"},
      {-0.0, "0"},
      {-1e-300 * 1e-300, "0"},  // underflows to -0
      {std::nan(""), "nan"},
      {-std::nan(""), "nan"},
      {std::numeric_limits<double>::infinity(), "inf"},
      {-std::numeric_limits<double>::infinity(), "-inf"},
      {1e20, "1e+20"},
      {0.00001, "1e-05"},
      {4294967295.0, "4294967295"},
  };
  for (const TCase& Case : Cases) EXPECT_EQ(FormatG(Case.Value), Case.Expected) << Case.Value;
}

// The general form equals C's "%.15g" for the quotients rationals give,
// whichever way the number is printed.
TEST(ValueFormat, GeneralFormMatchesPrintf) {
  std::setlocale(LC_NUMERIC, "C");
  const int64_t Denominators[] = {1, 2, 3, 8, 10, 16, 32, 100, 125, 256, 1000, 3072, 65536, 1000000, 100000000};
  for (const int64_t Denominator : Denominators) {
    for (int64_t Numerator = -3000; Numerator <= 300000; Numerator += 997) {
      const double Value = static_cast<double>(Numerator) / static_cast<double>(Denominator);
      char Expected[64];
      std::snprintf(Expected, sizeof Expected, "%.15g", Value);
      const std::string Printed = Expected == std::string("-0") ? "0" : Expected;
      ASSERT_EQ(FormatG(Value), Printed) << Numerator << "/" << Denominator;
    }
  }
}

TEST(ValueFormat, FixedIntegerAndHex) {
  const auto FormatFixed0 = [](double Value) {
    std::string Out;
    AppendFixed0(Out, Value);
    return Out;
  };
  const auto FormatInt = [](int64_t Value) {
    std::string Out;
    AppendInt(Out, Value);
    return Out;
  };
  EXPECT_EQ(FormatFixed0(640), "640");
  EXPECT_EQ(FormatFixed0(-3), "-3");
  EXPECT_EQ(FormatFixed0(-0.0), "0");
  EXPECT_EQ(FormatFixed0(4294967295.0), "4294967295");
  EXPECT_EQ(FormatInt(-2147483648LL), "-2147483648");
  EXPECT_EQ(FormatHex(0x10F), "10F");
  EXPECT_EQ(FormatHex(0), "0");
  EXPECT_EQ(FormatHex(0x202, 4), "0202");
  EXPECT_EQ(FormatHex(0xABCDE, 4), "ABCDE");
}

TEST(ValueFormat, SelectorTruncatesAndKeepsLow32Bits) {
  EXPECT_EQ(Selector(2.7), 2);
  EXPECT_EQ(Selector(-0.5), 0);
  EXPECT_EQ(Selector(-2.7), -2);
  EXPECT_EQ(Selector(65535), 65535);
  EXPECT_EQ(Selector(4294967295.0), -1);
  EXPECT_EQ(Selector(4294967298.0), 2);
  EXPECT_EQ(Selector(std::nan("")), 0);
  EXPECT_EQ(TruncToInt64(1e30), std::numeric_limits<int64_t>::max());
  EXPECT_EQ(TruncToInt64(-1e30), std::numeric_limits<int64_t>::min());
}

// Under a locale with a decimal comma, every decimal number uses it.
TEST(ValueFormat, LocaleDecimalSeparator) {
  {
    const TDecimalCommaLocale Comma;
    if (Comma.Name() == nullptr) GTEST_SKIP() << "no locale with a decimal comma is installed";
    EXPECT_EQ(FormatG(0.008), "0,008");
    EXPECT_EQ(FormatG(2), "2");
  }
  EXPECT_EQ(FormatG(0.008), "0.008");
}

}  // namespace
