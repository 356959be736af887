// The ship: turning, the speed limit and wrap, thrust, and firing.
#include "game/shots.h"
#include "tests/game/play/play_fixture.h"

namespace {

using Flight = Play;

struct TurnCase {
  int32_t from;
  bool left, right;
  int32_t to;
};

constexpr TurnCase TurnCases[] = {
    {90, false, true, 93}, {90, true, false, 87},   {358, false, true, 0}, // wraps to 0, not 1
    {357, false, true, 0}, {356, false, true, 359}, {1, true, false, 359}, // wraps to 359, not 358
    {0, true, false, 359}, {2, true, false, 359},   {3, true, false, 0},
    {0, true, true, 0}, // 359, then 362 wraps to 0
    {1, true, true, 0}, // 359, then 362 wraps to 0
};

// Turning works in every state; here on the high-score screen.
TEST_F(Flight, TurningWrapsToFixedHeadings) {
  for (const TurnCase &c : TurnCases) {
    SCOPED_TRACE(std::to_string(c.from) + (c.left ? " left" : "") + (c.right ? " right" : ""));
    ShipAngle = c.from;
    if (c.left)
      Key(KeyLeft, true);
    if (c.right)
      Key(KeyRight, true);
    Frame();
    EXPECT_EQ(ShipAngle, c.to);
    Key(KeyLeft, false);
    Key(KeyRight, false);
    Frame();
    EXPECT_EQ(ShipAngle, c.to) << "turned after the keys went up";
  }
}

struct ShipWrapCase {
  const char *name;
  float x, y, dx, dy; // dx, dy are subtracted
  float toX, toY;
};

constexpr ShipWrapCase ShipWrapCases[] = {
    {"leaves left", 0.5f, 100, 1, 0, 608, 100},
    {"leaves right", 639.5f, 100, -1, 0, 0, 100},
    {"on the right edge", 639, 100, -1, 0, 640, 100},
    {"leaves top", 100, 0.5f, 0, 1, 100, 448},
    {"leaves bottom", 100, 479.5f, 0, -1, 100, 0},
    {"held to 2 per axis", 100, 100, 5, -3, 98, 102},
};

// In the get-ready state the ship flies on with the velocity it has.
TEST_F(Flight, ShipWrapsThirtyTwoPixelsInsideLeftAndTop) {
  ASSERT_NO_FATAL_FAILURE(StartGame());
  PlaceRocks({ParkedRock()});
  for (const ShipWrapCase &c : ShipWrapCases) {
    SCOPED_TRACE(c.name);
    ShipX = c.x, ShipY = c.y, ShipDX = c.dx, ShipDY = c.dy;
    Frame();
    EXPECT_FLOAT_EQ(ShipX, c.toX);
    EXPECT_FLOAT_EQ(ShipY, c.toY);
  }
}

TEST_F(Flight, ThrustAcceleratesAlongTheNoseAndStopsOnRelease) {
  ASSERT_NO_FATAL_FAILURE(StartPlay());
  PlaceRocks({ParkedRock()});
  ShipAngle = 90; // right
  Key(KeyUp, true);
  Frames(4);
  EXPECT_EQ(ThrustFrames, 4);
  EXPECT_EQ(Thrusting, 1);
  EXPECT_NEAR(ShipDX, -4 * 0.0625f, 1e-4f) << "subtracted, so the ship moves right";
  EXPECT_NEAR(ShipDY, 0, 2e-3f);
  Key(KeyUp, false);
  Frame();
  EXPECT_EQ(ThrustFrames, 0);
  EXPECT_EQ(Thrusting, 0);
  EXPECT_NEAR(ShipDX, -0.25f, 1e-4f) << "no friction";
}

TEST_F(Flight, FireEveryTwentyFramesFromTheFirstFreeSlot) {
  ASSERT_NO_FATAL_FAILURE(StartPlay());
  PlaceRocks({ParkedRock()});
  ParkShot(Shots[1], 600, 50); // slot 1 busy: the first shot takes slot 2
  Key(KeySpace, true);
  Frame();
  ASSERT_EQ(Shots[2].Active, 1);
  EXPECT_FLOAT_EQ(Shots[2].Y, 238) << "from the centre, 2 pixels a frame up";
  EXPECT_EQ(FireDelay, 20);
  Frames(19);
  EXPECT_EQ(Shots[3].Active, 0) << "fired before the delay ran out";
  Frame();
  EXPECT_EQ(Shots[3].Active, 1) << "the 21st frame fires again";
  Key(KeySpace, false);
  Frame();
}

TEST_F(Flight, NoShotWhileAllTwentySlotsFly) {
  ASSERT_NO_FATAL_FAILURE(StartPlay());
  PlaceRocks({ParkedRock()});
  for (int slot = 1; slot <= 20; slot++)
    ParkShot(Shots[slot], 10.0f * slot, 50);
  FireDelay = 0;
  Key(KeySpace, true);
  Frame();
  EXPECT_EQ(FireDelay, 0);
  Shots[7].Active = 0;
  Frame();
  EXPECT_EQ(FireDelay, 20);
  EXPECT_FLOAT_EQ(Shots[7].Y, 238) << "the freed slot takes the new shot";
  EXPECT_EQ(Shots[0].Active, 0) << "slot 0 is never used";
  Key(KeySpace, false);
  Frame();
}

} // namespace
