// The price settings window: where the operator types the eight prices while "money.ini" is
// missing. Always loaded modally.
#pragma once

#include <array>
#include <string_view>

#include "window_definition.h"

namespace quorvane {

const WindowDefinition& priceSettingsWindow();

// Loads the price settings window modally, without a parent; returns once it has gone.
void showSettingsWindow();

// The click of "保存": refuses while a field is empty, writes all eight fields to "money.ini",
// and, when every write succeeded, reloads the prices and closes the window.
void savePrices();

// The click of "重置": empties the eight fields.
void clearPriceEdits();

// Each edit box and the key of "money.ini" it is saved under, in the order they are written.
struct PriceField {
  std::string_view editBox;
  std::string_view iniKey;
};
inline constexpr std::array<PriceField, 8> kPriceFields{{
    {"编辑框_黄铜价", "ht"},
    {"编辑框_白银价", "by"},
    {"编辑框_黄金价", "hj"},
    {"编辑框_铂金价", "bj"},
    {"编辑框_钻石价", "zs"},
    {"编辑框_大区加价", "dq"},
    {"编辑框_15胜点价", "15"},
    {"编辑框_14胜点价", "14"},
}};

}  // namespace quorvane
