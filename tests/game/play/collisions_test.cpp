// Shots against rocks and the saucer, and the ship against rocks and saucer shots.
#include "game/shots.h"
#include "tests/game/play/play_fixture.h"

namespace {

using Collisions = Play;

struct EdgeCase {
  const char *name;
  float x, y; // the shot's point; the rock's box is 100 < x < 145, 100 < y < 145
  bool hits;
};

constexpr EdgeCase EdgeCases[] = {
    {"left edge", 100, 120, false},     {"right edge", 145, 120, false},
    {"top edge", 120, 100, false},      {"bottom edge", 120, 145, false},
    {"inside left", 100.5f, 120, true}, {"inside bottom", 120, 144.5f, true},
};

TEST_F(Collisions, ShotOnTheBoxEdgeMisses) {
  for (const EdgeCase &c : EdgeCases) {
    SCOPED_TRACE(c.name);
    PlaceRocks({MakeRock(100, 100, 0), ParkedRock()});
    ParkShot(Shots[1], c.x, c.y);
    Frame();
    EXPECT_EQ(Shots[1].Active, c.hits ? 0 : 1);
    EXPECT_EQ(LiveRocks()[0].Size < 3, !c.hits)
        << "the large rock should " << (c.hits ? "" : "not ") << "be replaced by fragments";
    FreeAllShots();
  }
}

TEST_F(Collisions, OneShotDestroysOverlappingRocksAndScoresEach) {
  PlaceRocks({MakeRock(100, 100, 0), MakeRock(110, 110, 4), ParkedRock()});
  ParkShot(Shots[1], 120, 120);
  Score = 0;
  Frame();
  EXPECT_EQ(Score, 5 + 15);
  EXPECT_EQ(Shots[1].Active, 0);
  const std::vector<Rock> live = LiveRocks();
  // Fragments of the first rock sit at its corner, immune, and were passed over.
  int medium = 0, small = 0;
  for (const Rock &rock : live) {
    if (rock.Size >= 3 && rock.Size <= 5) {
      medium++;
      EXPECT_GE(rock.Immune, 9) << "fresh fragments are immune";
    }
    small += rock.Size >= 6;
  }
  EXPECT_GE(medium, 1);
  EXPECT_GE(small, 1);
  EXPECT_EQ(RockCount, static_cast<int32_t>(live.size()));
}

TEST_F(Collisions, SaucerShotsDestroyRocksWithoutPoints) {
  PlaceRocks({MakeRock(100, 100, 0), ParkedRock()});
  ParkShot(SaucerShots[3], 120, 120);
  ParkShot(SaucerShots[4], 121, 121); // not tested once the rock is gone
  Score = 0;
  Frame();
  EXPECT_EQ(Score, 0);
  EXPECT_EQ(SaucerShots[3].Active, 0);
  EXPECT_EQ(SaucerShots[4].Active, 1);
  EXPECT_EQ(RocksHit, 1);
  EXPECT_GE(LiveRocks().front().Size, 3) << "fragments replace the large rock";
}

TEST_F(Collisions, ShotThroughTheSaucerScoresAndFliesOn) {
  PlaceRocks({MakeRock(100, 100, 0), ParkedRock()});
  SaucerOn = 1, SaucerX = 110, SaucerY = 110, SaucerDX = 0, SaucerDY = 0;
  SaucerTurnTimer = 1000;
  ParkShot(Shots[1], 120, 120);
  Score = 0;
  Frame();
  EXPECT_EQ(SaucerOn, 0);
  EXPECT_EQ(Score, 75 + 5) << "the saucer and the rock behind it";
  EXPECT_EQ(RT_CountList(Debris), 18 + 18);
}

TEST_F(Collisions, TwoCornersInARockCostOneLife) {
  ASSERT_NO_FATAL_FAILURE(StartPlay());
  // The ship's lower corners (314, 246) and (326, 246) are inside.
  PlaceRocks({MakeRock(300, 240, 0), ParkedRock()});
  Frame();
  EXPECT_EQ(Lives, 2);
  EXPECT_EQ(ShipDeadTimer, Blink == 1 ? 99 : 100);
  EXPECT_EQ(RT_CountList(Debris), 24);
  // Absent, the ship is neither hit nor lost again.
  Frame();
  EXPECT_EQ(Lives, 2);
  EXPECT_EQ(ShipHits, 0);
}

TEST_F(Collisions, NoShipIsLostWhileGettingReady) {
  ASSERT_NO_FATAL_FAILURE(StartGame());
  PlaceRocks({MakeRock(300, 240, 0), ParkedRock()});
  Frame();
  EXPECT_EQ(ShipHits, 2);
  EXPECT_EQ(Lives, 3);
  EXPECT_EQ(ShipDeadTimer, 0);
}

struct SaucerShotCase {
  const char *name;
  float x, y;
  int32_t deadTimer;
  int32_t livesAfter;
};

constexpr SaucerShotCase SaucerShotCases[] = {
    {"inside the box", 325.5f, 244, 0, 2},
    {"on the box's edge", 326, 240, 0, 3},
    {"ship absent", 320, 240, 50, 3},
};

TEST_F(Collisions, SaucerShotHitsTheShipBox) {
  ASSERT_NO_FATAL_FAILURE(StartPlay());
  for (const SaucerShotCase &c : SaucerShotCases) {
    SCOPED_TRACE(c.name);
    PlaceRocks({ParkedRock()});
    Lives = 3, ShipDeadTimer = c.deadTimer;
    ShipX = 320, ShipY = 240, ShipDX = 0, ShipDY = 0;
    ParkShot(SaucerShots[1], c.x, c.y);
    Frame();
    EXPECT_EQ(Lives, c.livesAfter);
    EXPECT_EQ(SaucerShots[1].Active, 1) << "a saucer shot is not used up";
    FreeAllShots();
  }
}

} // namespace
