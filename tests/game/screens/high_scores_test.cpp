// The high-score table: filled from the settings, a finished game entered as text.
#include <gtest/gtest.h>

#include <array>

#include "game/screens.h"
#include "game/world.h"

namespace {

using Table = std::array<std::string, 3>;

Table CurrentTable() {
  return {HiScoreTable[0], HiScoreTable[1], HiScoreTable[2]};
}

TEST(FillHiScoreTable, KeepsTheLastSixDigits) {
  HiScore = 1860;
  SecondScore = 0;
  ThirdScore = 1234567;
  FillHiScoreTable();
  EXPECT_EQ(CurrentTable(), (Table{"001860", "000000", "234567"}));
}

struct InsertCase {
  const char *name;
  int32_t newScore, best;
  Table after;
  int32_t bestAfter;
};

// Each case starts from the table 005000, 003000, 001000.
const InsertCase InsertCases[] = {
    {"above first", 6000, 5000, {"006000", "005000", "003000"}, 6000},
    {"equal to first goes second", 5000, 5000, {"005000", "005000", "003000"}, 5000},
    {"between first and second", 4000, 5000, {"005000", "004000", "003000"}, 5000},
    {"equal to second goes third", 3000, 5000, {"005000", "003000", "003000"}, 5000},
    {"between second and third", 1001, 5000, {"005000", "003000", "001001"}, 5000},
    {"equal to third changes nothing", 1000, 5000, {"005000", "003000", "001000"}, 5000},
    {"below third changes nothing", 999, 5000, {"005000", "003000", "001000"}, 5000},
    {"zero", 0, 5000, {"005000", "003000", "001000"}, 5000},
    // the best returned is the larger of the score and the best given
    {"best given above the table", 6000, 7000, {"006000", "005000", "003000"}, 7000},
    // a million and more keeps its first six digits, and "123456" > "005000"
    {"a million and more", 1234567, 5000, {"123456", "005000", "003000"}, 1234567},
    {"ten million", 10000000, 5000, {"100000", "005000", "003000"}, 10000000},
};

TEST(InsertHighScore, EntersScoreAsTextAndReturnsBest) {
  for (const InsertCase &c : InsertCases) {
    SCOPED_TRACE(c.name);
    HiScoreTable[0] = "005000";
    HiScoreTable[1] = "003000";
    HiScoreTable[2] = "001000";
    HiScoreTable[3] = "";
    EXPECT_EQ(InsertHighScore(c.newScore, c.best), c.bestAfter);
    EXPECT_EQ(CurrentTable(), c.after);
    EXPECT_EQ(HiScoreTable[3], "") << "entry 3 is never used";
  }
}

} // namespace
