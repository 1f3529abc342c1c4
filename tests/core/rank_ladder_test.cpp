// The ladder's direction rule and the base price of a route.
#include "rank_ladder.h"

#include <gtest/gtest.h>

#include <climits>

namespace quorvane {
namespace {

constexpr PriceTable kExamplePrices{.bronzePrice = 10,
                                    .silverPrice = 20,
                                    .goldPrice = 30,
                                    .platinumPrice = 40,
                                    .diamondPrice = 50,
                                    .band15To17Surcharge = 3,
                                    .band0To14Surcharge = 8,
                                    .regionSurcharge = 5};

// Level indices: 0 is "五" ... 4 is "一".
constexpr LevelIndex kFive = 0, kFour = 1, kThree = 2, kTwo = 3, kOne = 4;

QuoteRequest route(Tier fromTier, LevelIndex fromLevel, Tier toTier, LevelIndex toLevel,
                   RegionChoice region) {
  return {fromTier, fromLevel, toTier, toLevel, region};
}

TEST(ComputeBasePrice, WorkedExamples) {
  struct Case {
    const char* name;
    Tier fromTier;
    LevelIndex fromLevel;
    Tier toTier;
    LevelIndex toLevel;
    int32_t otherServers;
    int32_t premiumRegion;
  } const cases[] = {
      {"英勇黄铜五 to 英勇黄铜三", kBronze, kFive, kBronze, kThree, 20, 25},
      {"英勇黄铜一 to 不屈白银五", kBronze, kOne, kSilver, kFive, 20, 30},
      {"英勇黄铜二 to 不屈白银五", kBronze, kTwo, kSilver, kFive, 30, 40},
      {"不屈白银三 to 荣耀黄金四", kSilver, kThree, kGold, kFour, 100, 110},
      {"荣耀黄金二 to 璀璨钻石五", kGold, kTwo, kDiamond, kFive, 280, 295},
      {"英勇黄铜五 to 璀璨钻石一", kBronze, kFive, kDiamond, kOne, 740, 765},
      {"英勇黄铜三 to 不屈白银五: 2 ht + by", kBronze, kThree, kSilver, kFive, 40, 50},
      {"英勇黄铜五 to 英勇黄铜一: 4 ht, dq once", kBronze, kFive, kBronze, kOne, 40, 45},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(computeBasePrice(route(c.fromTier, c.fromLevel, c.toTier, c.toLevel, kOtherServers),
                               kExamplePrices),
              c.otherServers);
    EXPECT_EQ(computeBasePrice(route(c.fromTier, c.fromLevel, c.toTier, c.toLevel, kPremiumRegion),
                               kExamplePrices),
              c.premiumRegion);
  }
}

TEST(ComputeBasePrice, RoutesThatDoNotGoUpwardGiveNoQuote) {
  const QuoteRequest notUpward[] = {
      route(kGold, kThree, kGold, kThree, kOtherServers),     // the same position
      route(kGold, kThree, kGold, kFour, kOtherServers),      // a lower level of the same tier
      route(kGold, kFive, kSilver, kOne, kPremiumRegion),     // a lower tier, a higher level
      route(kDiamond, kOne, kBronze, kFive, kPremiumRegion),  // top to bottom
  };
  for (const QuoteRequest& r : notUpward) {
    EXPECT_FALSE(isUpwardRoute(r));
    EXPECT_EQ(computeBasePrice(r, kExamplePrices), std::nullopt);
  }
  // A higher tier is upward whatever the levels.
  EXPECT_TRUE(isUpwardRoute(route(kBronze, kOne, kSilver, kFive, kOtherServers)));
}

TEST(ComputeBasePrice, IndicesOffTheLadderGiveNoQuote) {
  EXPECT_EQ(computeBasePrice(route(-1, kFive, kGold, kFive, kOtherServers), kExamplePrices),
            std::nullopt);
  EXPECT_EQ(computeBasePrice(route(kBronze, kFive, 5, kFive, kOtherServers), kExamplePrices),
            std::nullopt);
  EXPECT_EQ(computeBasePrice(route(kBronze, 5, kGold, kFive, kOtherServers), kExamplePrices),
            std::nullopt);
  EXPECT_EQ(computeBasePrice(route(kBronze, kFive, kGold, -1, kOtherServers), kExamplePrices),
            std::nullopt);
}

TEST(ComputeBasePrice, EveryRegionButOtherServersAddsTheSurcharge) {
  for (const RegionChoice region : {0, 2, -1, INT32_MAX, INT32_MIN}) {
    SCOPED_TRACE(region);
    EXPECT_EQ(computeBasePrice(route(kBronze, kFive, kBronze, kFour, region), kExamplePrices), 15);
  }
}

TEST(ComputeBasePrice, ZeroNegativeAndWrappingPrices) {
  EXPECT_EQ(computeBasePrice(route(kBronze, kFive, kDiamond, kOne, kPremiumRegion), PriceTable{}),
            0);
  const PriceTable negative{.silverPrice = -7, .regionSurcharge = -1};
  EXPECT_EQ(computeBasePrice(route(kSilver, kFive, kSilver, kThree, kPremiumRegion), negative),
            -15);
  // 4 × 10^9 lies beyond the 32-bit range: the low 32 bits remain, a negative number.
  const PriceTable huge{.silverPrice = 1'000'000'000};
  EXPECT_EQ(computeBasePrice(route(kSilver, kFive, kSilver, kOne, kOtherServers), huge),
            static_cast<int32_t>(4'000'000'000LL - (1LL << 32)));
}

TEST(WrapToInt32, KeepsTheLowBits) {
  EXPECT_EQ(wrapToInt32(0), 0);
  EXPECT_EQ(wrapToInt32(2147483648LL), INT32_MIN);
  EXPECT_EQ(wrapToInt32(-2147483649LL), INT32_MAX);
  EXPECT_EQ(wrapToInt32((1LL << 32) + 5), 5);
  EXPECT_EQ(wrapToInt32(-(1LL << 35) - 3), -3);
}

// An independent model of the ladder: walk the steps one by one and add the price of the tier
// each step arrives in, then the region surcharge for every tier touched.
int64_t stepByStepTotal(const QuoteRequest& r, const PriceTable& table) {
  int64_t total = 0;
  for (int position = 5 * r.currentTier + r.currentLevel + 1;
       position <= 5 * r.targetTier + r.targetLevel; ++position) {
    const int32_t perTier[] = {table.bronzePrice, table.silverPrice, table.goldPrice,
                               table.platinumPrice, table.diamondPrice};
    total += perTier[position / 5];
  }
  if (r.region != 1) {
    for (Tier t = r.currentTier; t <= r.targetTier; ++t) total += table.regionSurcharge;
  }
  return total;
}

TEST(ComputeBasePrice, MatchesAStepByStepSumOverEveryPairOfPositions) {
  const PriceTable tables[] = {
      kExamplePrices,
      PriceTable{},
      PriceTable{-3, -50, 7, -100, 1, 0, 0, -9},
      PriceTable{INT32_MAX, INT32_MAX, INT32_MAX, INT32_MAX, INT32_MAX, 0, 0, INT32_MAX},
      PriceTable{INT32_MIN, INT32_MIN, INT32_MIN, INT32_MIN, INT32_MIN, 0, 0, INT32_MIN},
      PriceTable{1'000'000'000, -2'000'000'000, 1'999'999'999, 123'456'789, -987'654'321, 0, 0,
                 2'000'000'000},
  };
  int quotes = 0;
  for (const PriceTable& table : tables) {
    for (int from = 0; from < 25; ++from) {
      for (int to = 0; to < 25; ++to) {
        for (const RegionChoice region : {kPremiumRegion, kOtherServers}) {
          const QuoteRequest r = route(from / 5, from % 5, to / 5, to % 5, region);
          const auto price = computeBasePrice(r, table);
          ASSERT_EQ(price.has_value(), to > from) << from << " -> " << to;
          if (!price) continue;
          ++quotes;
          ASSERT_EQ(*price, static_cast<int32_t>(static_cast<uint32_t>(stepByStepTotal(r, table))))
              << from << " -> " << to << " region " << region;
        }
      }
    }
  }
  EXPECT_EQ(quotes, 6 * 300 * 2);
}

}  // namespace
}  // namespace quorvane
