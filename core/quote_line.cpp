#include "quote_line.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace quorvane {

namespace {

// "%.13g" writes whole numbers of up to 13 digits in fixed notation, digit for digit.
constexpr double kPlainDigitsBelow = 1e13;

std::string formatWithPrintf13g(double value) {
  char buffer[32];
#ifdef _WIN32
  // The C runtime's own printf: mingw-w64's replacement would add 30 KB to the program. It
  // writes three exponent digits where C writes at least two ("1e+013"), so a leading zero of
  // the exponent goes.
  _snprintf(buffer, sizeof buffer, "%.13g", value);
  buffer[sizeof buffer - 1] = '\0';
  std::string text = buffer;
  const size_t e = text.find_first_of("eE");
  if (e != std::string::npos && text.size() - e == 5 && text[e + 2] == '0') text.erase(e + 2, 1);
  return text;
#else
  std::snprintf(buffer, sizeof buffer, "%.13g", value);
  return buffer;
#endif
}

}  // namespace

std::string intToText(int32_t value) {
  char buffer[16];
  const auto end = std::to_chars(buffer, buffer + sizeof buffer, value).ptr;
  return std::string(buffer, end);
}

std::string doubleToText(double value) {
  // Every price sum is a whole number far below 10^13, and "%.13g" prints such a number as its
  // plain digits: that path is exact and needs no floating-point formatting code, which would
  // otherwise be a third of the executable.
  if (std::fabs(value) < kPlainDigitsBelow && std::trunc(value) == value) {
    char buffer[24];
    char* const digits = buffer + 1;
    const auto end =
        std::to_chars(digits, buffer + sizeof buffer, static_cast<long long>(std::fabs(value))).ptr;
    // The sign comes from the sign bit, so that negative zero prints "-0" as printf has it.
    if (!std::signbit(value)) return std::string(digits, end);
    buffer[0] = '-';
    return std::string(buffer, end);
  }
  return formatWithPrintf13g(value);
}

std::string quotePriceText(WinPointBand band, int32_t basePrice, const PriceTable& table) {
  switch (band) {
    case WinPointBand::Band15To17:
      return doubleToText(static_cast<double>(basePrice) +
                          static_cast<double>(table.band15To17Surcharge));
    case WinPointBand::Band0To14:
      return doubleToText(static_cast<double>(basePrice) +
                          static_cast<double>(table.band0To14Surcharge));
    case WinPointBand::Band18Plus: break;
  }
  return intToText(basePrice);
}

std::string buildQuoteLine(std::string_view currentTierText, std::string_view currentLevelText,
                           std::string_view targetTierText, std::string_view targetLevelText,
                           std::string_view priceText) {
  std::string line;
  line.reserve(64 + priceText.size());
  line += "从 ";
  line += currentTierText;
  line += currentLevelText;
  line += " 代练至 ";
  line += targetTierText;
  line += targetLevelText;
  line += " 需要：";
  line += priceText;
  line += "元。\r\n";
  return line;
}

}  // namespace quorvane
