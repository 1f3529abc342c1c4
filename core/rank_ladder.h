// The ranked ladder: five tiers of five levels, and the price of climbing from one position to a
// higher one before any win-point surcharge.
#pragma once

#include <cstdint>
#include <optional>

#include "price_table.h"

namespace quorvane {

// Tiers and levels are the selected indices of the calculator's lists, so they stay plain
// integers: -1 means no selection.
using Tier = int32_t;
using LevelIndex = int32_t;
using RegionChoice = int32_t;

inline constexpr Tier kBronze = 0;
inline constexpr Tier kSilver = 1;
inline constexpr Tier kGold = 2;
inline constexpr Tier kPlatinum = 3;
inline constexpr Tier kDiamond = 4;
inline constexpr int32_t kTierCount = 5;
inline constexpr int32_t kLevelsPerTier = 5;  // level 0 is "五", the lowest; 4 is "一"

inline constexpr RegionChoice kPremiumRegion = 0;
inline constexpr RegionChoice kOtherServers = 1;  // the only choice without the region surcharge

struct QuoteRequest {
  Tier currentTier = -1;
  LevelIndex currentLevel = -1;
  Tier targetTier = -1;
  LevelIndex targetLevel = -1;
  RegionChoice region = -1;
};

// True when the target stands above the current position: a higher tier (whatever the levels),
// or the same tier and a higher level.
bool isUpwardRoute(const QuoteRequest& request);

// The per-level price of a tier. Tiers outside 0..4 have none and price at 0.
int32_t tierPrice(const PriceTable& table, Tier tier);

// The low 32 bits of a total, read as a signed number: totals beyond the 32-bit range wrap.
int32_t wrapToInt32(int64_t total);

// The price of every step from the current to the target position, plus the region surcharge once
// for each tier the route touches (unless the region is "other servers"). No quote for a route
// that does not go upward, or for a tier or level outside 0..4.
std::optional<int32_t> computeBasePrice(const QuoteRequest& request, const PriceTable& table);

}  // namespace quorvane
