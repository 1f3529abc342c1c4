#include "quote_line.h"

#include <charconv>

namespace quorvane {

std::string intToText(int32_t value) {
  char buffer[16];
  const auto end = std::to_chars(buffer, buffer + sizeof buffer, value).ptr;
  return std::string(buffer, end);
}

std::string doubleToText(double value) {
  // to_chars with the general format and a precision is defined as printf's "%.*g", and unlike
  // printf it does not depend on the C runtime or the locale.
  char buffer[32];
  const auto end =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 13).ptr;
  return std::string(buffer, end);
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
