// Waves of rocks: their sizes, the placement's random draws, splitting, the
// fragments' immunity and the rocks' wrap.
#include <bit>
#include <cmath>
#include <set>

#include "game/rocks.h"
#include "game/shots.h"
#include "tests/game/play/play_fixture.h"

namespace {

using Waves = Play;

struct WaveSizeCase {
  int32_t clearedWave;
  int32_t rocks;
};

constexpr WaveSizeCase FixedWaveSizes[] = {{1, 6}, {2, 7}, {3, 8}};

TEST_F(Waves, ClearedWaveBringsALargerOneAndFreesEveryShot) {
  ASSERT_NO_FATAL_FAILURE(StartGame());
  EXPECT_EQ(RockCount, 4);
  EXPECT_EQ(RT_CountList(Rocks), 4);
  for (const WaveSizeCase &c : FixedWaveSizes) {
    SCOPED_TRACE("after wave " + std::to_string(c.clearedWave));
    Wave = c.clearedWave;
    RockCount = 0;
    GameState = StatePlaying;
    ParkShot(Shots[5], 10, 10);
    ParkShot(SaucerShots[20], 600, 10);
    Frame();
    EXPECT_EQ(Wave, c.clearedWave + 1);
    EXPECT_EQ(RockCount, c.rocks);
    EXPECT_EQ(static_cast<int32_t>(LiveRocks().size()), c.rocks);
    EXPECT_EQ(RT_CountList(Rocks), c.rocks) << "the old wave's records are gone";
    EXPECT_EQ(GameState, StateGetReady);
    EXPECT_EQ(Shots[5].Active, 0);
    EXPECT_EQ(SaucerShots[20].Active, 0);
  }
}

TEST_F(Waves, FromWaveFiveSixToNineRocks) {
  std::set<int32_t> sizes;
  for (uint32_t seed = 1; seed <= 60; seed++) {
    RT_RandomSeed(seed);
    Wave = 4 + static_cast<int32_t>(seed % 30);
    RockCount = 0;
    Frame();
    sizes.insert(RockCount);
    EXPECT_EQ(RT_CountList(Rocks), RockCount);
  }
  EXPECT_EQ(sizes, (std::set<int32_t>{6, 7, 8, 9}));
}

// The draws are x, y (again until the corner is outside the centre box),
// heading, speed and size, rock after rock.
TEST_F(Waves, SpawnDrawsInOrderAndKeepsCornersOutOfTheCentre) {
  for (uint32_t seed : {1u, 77u, 4242u}) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    RT_RandomSeed(seed);
    RockCount = 5;
    SpawnWave();
    RT_RandomSeed(seed);
    RT_ResetList(Rocks);
    for (int i = 0; i < 5; i++) {
      ASSERT_NE(RT_NextElement(Rocks), nullptr);
      const Rock &rock = *RT_CurrentRecord<Rock>(Rocks);
      float x, y;
      do {
        x = static_cast<float>(RT_Random(640));
        y = static_cast<float>(RT_Random(480));
      } while (x > 200 && x < 440 && y > 180 && y < 400);
      const float heading = static_cast<float>(RT_Random(359)) * 0.017499998f;
      const float speed = SpeedLarge[RT_Random(2)];
      EXPECT_EQ(rock.X, x);
      EXPECT_EQ(rock.Y, y);
      EXPECT_FLOAT_EQ(rock.DX, std::sin(-heading) * speed);
      EXPECT_FLOAT_EQ(rock.DY, std::cos(heading) * speed);
      EXPECT_EQ(rock.Size, RT_Random(2));
      EXPECT_EQ(rock.Width, 45);
      EXPECT_EQ(rock.Immune, 0);
    }
  }
}

TEST_F(Waves, SpeedTablesHoldTheirExactBits) {
  EXPECT_EQ(std::bit_cast<uint32_t>(SpeedMedium[1]), 0x3F666667u);
  EXPECT_EQ(std::bit_cast<uint32_t>(SpeedLarge[0]), 0x3ECCCCCDu);
  EXPECT_EQ(std::bit_cast<uint32_t>(SpeedSmall[2]), 0x3FE66666u);
}

struct SplitCase {
  int32_t wave, size;
  int32_t fewest; // the table's entry; one more at random
  int32_t firstFragmentSize;
};

constexpr SplitCase SplitCases[] = {
    {1, 0, 1, 3},  {4, 2, 2, 3},  {10, 1, 4, 3}, {13, 0, 5, 3},
    {13, 4, 5, 6}, {20, 5, 3, 6}, {21, 0, 3, 3}, {57, 3, 3, 6}, // past 20: wave 20's entry
    {13, 7, 0, 0},                                              // small rocks do not split
};

TEST_F(Waves, FragmentCountFollowsTheWave) {
  for (const SplitCase &c : SplitCases) {
    SCOPED_TRACE("wave " + std::to_string(c.wave) + ", size " + std::to_string(c.size));
    std::set<int32_t> counts;
    for (uint32_t seed = 1; seed <= 30; seed++) {
      RT_RandomSeed(seed);
      Wave = c.wave;
      SaucerOn = 0;
      FreeAllShots();
      PlaceRocks({MakeRock(100.4f, 99.6f, c.size), ParkedRock()});
      ParkShot(Shots[1], 105, 105);
      Frame();
      std::vector<Rock> live = LiveRocks();
      live.pop_back(); // the parked rock
      counts.insert(static_cast<int32_t>(live.size()));
      for (const Rock &fragment : live) {
        // The fragments start at the parent's corner, rounded, and may have moved once.
        EXPECT_NEAR(fragment.X, 100, 2);
        EXPECT_NEAR(fragment.Y, 100, 2);
        EXPECT_GE(fragment.Size, c.firstFragmentSize);
        EXPECT_LE(fragment.Size, c.firstFragmentSize + 2);
        EXPECT_EQ(fragment.Width, c.firstFragmentSize == 3 ? 21 : 11);
      }
      EXPECT_EQ(RockCount, static_cast<int32_t>(live.size()) + 1);
    }
    const std::set<int32_t> expected =
        c.fewest == 0 ? std::set<int32_t>{0} : std::set<int32_t>{c.fewest, c.fewest + 1};
    EXPECT_EQ(counts, expected);
  }
}

// Immune counts down only on frames whose Blink is 1; while it is above 0 a
// shot parked in the rock passes through.
TEST_F(Waves, FragmentImmunityRunsOnBlinkFrames) {
  PlaceRocks({MakeRock(100, 100, 7, 10), ParkedRock()}); // small: no fragments
  ParkShot(Shots[1], 105, 105);
  int frames = 0;
  while (LiveRocks().size() == 2 && frames < 100) {
    const int32_t before = LiveRocks()[0].Immune;
    Frame();
    frames++;
    if (LiveRocks().size() == 2) {
      EXPECT_EQ(LiveRocks()[0].Immune, Blink == 1 ? before - 1 : before) << "frame " << frames;
      EXPECT_EQ(Shots[1].Active, 1);
    } else {
      EXPECT_EQ(before, 0) << "hit while still immune";
    }
  }
  // 10 frames with Blink 1 take 17 to 24 frames; the hit comes on the next.
  EXPECT_GE(frames, 18);
  EXPECT_LE(frames, 25);
}

struct RockWrapCase {
  const char *name;
  float x, y, dx, dy; // dx, dy are subtracted
  int32_t size;
  float wrappedX, wrappedY;
};

constexpr RockWrapCase RockWrapCases[] = {
    {"large leaves left", -44.6f, 100, 0.5f, 0, 0, 640, 100},
    {"large exactly at -45 stays", -44.5f, 100, 0.5f, 0, 0, -45, 100},
    {"large leaves right", 639.9f, 100, -0.5f, 0, 1, -45, 100},
    {"medium leaves top", 100, -18.5f, 0, 1, 3, 100, 480},
    {"small leaves bottom", 100, 479.5f, 0, -1, 6, 100, -10},
};

TEST_F(Waves, RocksWrapOnlyWhenWhollyOffScreen) {
  for (const RockWrapCase &c : RockWrapCases) {
    SCOPED_TRACE(c.name);
    Rock rock = MakeRock(c.x, c.y, c.size);
    rock.DX = c.dx, rock.DY = c.dy;
    PlaceRocks({rock});
    Frame();
    const std::vector<Rock> live = LiveRocks();
    ASSERT_EQ(live.size(), 1u);
    EXPECT_FLOAT_EQ(live[0].X, c.wrappedX);
    EXPECT_FLOAT_EQ(live[0].Y, c.wrappedY);
  }
}

} // namespace
