#include "rank_ladder.h"

namespace quorvane {

namespace {

bool onLadder(int32_t index, int32_t count) { return index >= 0 && index < count; }

}  // namespace

bool isUpwardRoute(const QuoteRequest& r) {
  if (r.targetTier != r.currentTier) return r.targetTier > r.currentTier;
  return r.targetLevel > r.currentLevel;
}

int32_t tierPrice(const PriceTable& table, Tier tier) {
  switch (tier) {
    case kBronze: return table.bronzePrice;
    case kSilver: return table.silverPrice;
    case kGold: return table.goldPrice;
    case kPlatinum: return table.platinumPrice;
    case kDiamond: return table.diamondPrice;
    default: return 0;
  }
}

int32_t wrapToInt32(int64_t total) { return static_cast<int32_t>(static_cast<uint32_t>(total)); }

std::optional<int32_t> computeBasePrice(const QuoteRequest& r, const PriceTable& table) {
  if (!onLadder(r.currentTier, kTierCount) || !onLadder(r.targetTier, kTierCount) ||
      !onLadder(r.currentLevel, kLevelsPerTier) || !onLadder(r.targetLevel, kLevelsPerTier) ||
      !isUpwardRoute(r)) {
    return std::nullopt;
  }
  // Every term stays far below 2^63, so 64-bit integers hold the total exactly.
  const auto price = [&](Tier t) { return int64_t{tierPrice(table, t)}; };
  int64_t total;
  if (r.currentTier == r.targetTier) {
    total = int64_t{r.targetLevel - r.currentLevel} * price(r.currentTier);
  } else {
    // Up to level "一" of the current tier, each tier in between whole, then the promotion into
    // the target tier and its levels up to the target level.
    total = int64_t{kLevelsPerTier - 1 - r.currentLevel} * price(r.currentTier);
    for (Tier t = r.currentTier + 1; t < r.targetTier; ++t) total += kLevelsPerTier * price(t);
    total += int64_t{r.targetLevel + 1} * price(r.targetTier);
  }
  if (r.region != kOtherServers) {
    total += int64_t{r.targetTier - r.currentTier + 1} * table.regionSurcharge;
  }
  return wrapToInt32(total);
}

}  // namespace quorvane
