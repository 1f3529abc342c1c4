// The eight prices every quote is computed from, and how they are loaded from "money.ini".
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string_view>

namespace quorvane {

struct PriceTable {
  int32_t bronzePrice = 0;          // one level step inside the bronze tier
  int32_t silverPrice = 0;          // ... silver
  int32_t goldPrice = 0;            // ... gold
  int32_t platinumPrice = 0;        // ... platinum
  int32_t diamondPrice = 0;         // ... diamond
  int32_t band15To17Surcharge = 0;  // customer averages 15 to 17 win points a game
  int32_t band0To14Surcharge = 0;   // customer averages 0 to 14 win points a game
  int32_t regionSurcharge = 0;      // premium region, once for each tier a route touches

  friend bool operator==(const PriceTable&, const PriceTable&) = default;
};

// The process's one price table: all 0 until the first loadPrices, written only by loadPrices.
extern PriceTable prices;

// An INI key of "money.ini" and the price it holds.
struct PriceKey {
  std::string_view iniKey;
  int32_t PriceTable::*field;
};

// In the order the keys are read and written.
inline constexpr std::array<PriceKey, 8> kPriceKeys{{
    {"ht", &PriceTable::bronzePrice},
    {"by", &PriceTable::silverPrice},
    {"hj", &PriceTable::goldPrice},
    {"bj", &PriceTable::platinumPrice},
    {"zs", &PriceTable::diamondPrice},
    {"dq", &PriceTable::regionSurcharge},
    {"15", &PriceTable::band15To17Surcharge},
    {"14", &PriceTable::band0To14Surcharge},
}};

// Runs showSettingsWindow (which returns once the price settings window is gone) when
// "money.ini" is missing, then reads all eight prices from the file into `prices`: a missing
// file, section or key, or a value that is not a number, gives 0.
void loadPrices(const std::function<void()>& showSettingsWindow);

}  // namespace quorvane
