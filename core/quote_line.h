// The line of quote text that the calculator appends for each win-point band that is on.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "price_table.h"

namespace quorvane {

enum class WinPointBand { Band18Plus, Band15To17, Band0To14 };

// "%d": a minus sign for negative values, then the digits.
std::string intToText(int32_t value);

// "%.13g": at most 13 significant digits, fixed notation for decimal exponents -4..12, no
// trailing zeros, no trailing point.
std::string doubleToText(double value);

// The price text of a band: the base price itself for 18+, otherwise the base price plus the
// band's surcharge, summed in double precision and not wrapped to 32 bits.
std::string quotePriceText(WinPointBand band, int32_t basePrice, const PriceTable& table);

// 从 <tier><level> 代练至 <tier><level> 需要：<price>元。 and a line break.
std::string buildQuoteLine(std::string_view currentTierText, std::string_view currentLevelText,
                           std::string_view targetTierText, std::string_view targetLevelText,
                           std::string_view priceText);

}  // namespace quorvane
