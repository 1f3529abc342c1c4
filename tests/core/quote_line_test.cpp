// The quote line and the two number-to-text rules.
#include "quote_line.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <random>

namespace quorvane {
namespace {

constexpr PriceTable kSurcharges{.band15To17Surcharge = 3, .band0To14Surcharge = 8};

TEST(BuildQuoteLine, WorkedExamples) {
  struct Case {
    WinPointBand band;
    const char* line;
  } const cases[] = {
      {WinPointBand::Band18Plus, "从 不屈白银三 代练至 荣耀黄金四 需要：100元。\r\n"},
      {WinPointBand::Band15To17, "从 不屈白银三 代练至 荣耀黄金四 需要：103元。\r\n"},
      {WinPointBand::Band0To14, "从 不屈白银三 代练至 荣耀黄金四 需要：108元。\r\n"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(buildQuoteLine("不屈白银", "三", "荣耀黄金", "四",
                             quotePriceText(c.band, 100, kSurcharges)),
              c.line);
  }
}

TEST(BuildQuoteLine, JoinsThePiecesUnchanged) {
  EXPECT_EQ(buildQuoteLine("", "", "", "", ""), "从  代练至  需要：元。\r\n");
  EXPECT_EQ(buildQuoteLine(" a ", "b", "c", " d", "-1"), "从  a b 代练至 c d 需要：-1元。\r\n");
}

TEST(QuotePriceText, BandsAndTheirSurcharges) {
  struct Case {
    const char* name;
    WinPointBand band;
    int32_t basePrice;
    PriceTable table;
    const char* text;
  } const cases[] = {
      {"zero base price", WinPointBand::Band18Plus, 0, kSurcharges, "0"},
      {"negative, 18+", WinPointBand::Band18Plus, -40, kSurcharges, "-40"},
      {"negative, 15-17", WinPointBand::Band15To17, -40, kSurcharges, "-37"},
      {"negative, 0-14", WinPointBand::Band0To14, -40, kSurcharges, "-32"},
      {"lowest base price, 18+", WinPointBand::Band18Plus, INT32_MIN, kSurcharges, "-2147483648"},
      {"15-17 sum is not wrapped", WinPointBand::Band15To17, INT32_MAX,
       PriceTable{.band15To17Surcharge = 1}, "2147483648"},
      {"negative 0-14 surcharge lowers the price", WinPointBand::Band0To14, 100,
       PriceTable{.band0To14Surcharge = -30}, "70"},
      {"largest sum", WinPointBand::Band0To14, INT32_MAX,
       PriceTable{.band0To14Surcharge = INT32_MAX}, "4294967294"},
      {"lowest sum", WinPointBand::Band15To17, INT32_MIN,
       PriceTable{.band15To17Surcharge = INT32_MIN}, "-4294967296"},
      {"18+ ignores the surcharges", WinPointBand::Band18Plus, 7,
       PriceTable{.band15To17Surcharge = 1, .band0To14Surcharge = 2}, "7"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(quotePriceText(c.band, c.basePrice, c.table), c.text);
  }
}

TEST(IntToText, AsPrintfD) {
  for (const int32_t v : {0, 1, -1, 42, 1000000, INT32_MAX, INT32_MIN, INT32_MIN + 1}) {
    char expected[16];
    std::snprintf(expected, sizeof expected, "%d", v);
    EXPECT_EQ(intToText(v), expected);
  }
}

// The C runtime's own "%.13g": glibc natively; under Wine, its msvcrt (mingw-w64 would otherwise
// substitute its own printf).
std::string platformPrintf13g(double v) {
  char buffer[64];
#ifdef _WIN32
  _snprintf(buffer, sizeof buffer, "%.13g", v);
#else
  std::snprintf(buffer, sizeof buffer, "%.13g", v);
#endif
  return buffer;
}

TEST(DoubleToText, AgreesWithThePlatformPrintfOverSumsOfPrices) {
  std::vector<double> values = {
      0.0,           -0.0,         75.0,           -75.0,           1.0, -1.0, 100.0, 2147483648.0,
      -4294967296.0, 4294967294.0, 999999999999.0, 9999999999999.0, 1e12};
  for (int64_t v = -100000; v <= 100000; v += 7) values.push_back(static_cast<double>(v));
  std::mt19937 random(20261211);
  std::uniform_int_distribution<int32_t> any32(INT32_MIN, INT32_MAX);
  for (int i = 0; i < 20000; ++i) {
    values.push_back(static_cast<double>(any32(random)) + static_cast<double>(any32(random)));
  }
  for (const double v : values) ASSERT_EQ(doubleToText(v), platformPrintf13g(v)) << v;
  // What the quote line relies on: whole sums print as plain digits.
  EXPECT_EQ(doubleToText(75.0), "75");
  EXPECT_EQ(doubleToText(0.0), "0");
  EXPECT_EQ(doubleToText(-4294967296.0), "-4294967296");
}

TEST(DoubleToText, GeneralFormBeyondWholeSums) {
  // Not reached by prices, but the rule is "%.13g" all the same.
  EXPECT_EQ(doubleToText(0.5), "0.5");
  EXPECT_EQ(doubleToText(1e13), "1e+13");
  EXPECT_EQ(doubleToText(1234567890123456.0), "1.234567890123e+15");
  EXPECT_EQ(doubleToText(0.0001), "0.0001");
  EXPECT_EQ(doubleToText(0.00001), "1e-05");
}

}  // namespace
}  // namespace quorvane
