// The saucer: its aim, its appearance by wave, its course and its exit.
#include <cmath>
#include <set>

#include "game/saucer.h"
#include "game/shots.h"
#include "tests/game/play/play_fixture.h"

namespace {

using Saucer = Play;

constexpr float K = 0.017499998f;
const float Eighth = std::atan(1.0f) / K; // 44.88: a half-diagonal in game degrees

struct AngleCase {
  float dx, dy;
  float angle;
};

TEST(VectorAngle, GivesGameDegreesFromMinus180To180) {
  const AngleCase cases[] = {
      // on the axes
      {0, 0, 0},
      {5, 0, 90},
      {-5, 0, -90},
      {0, 5, 0},
      {0, -5, 180}, // not 0: the arctangent of -0
      // the diagonals, offsets added after the conversion
      {5, 5, Eighth},
      {-5, 5, -Eighth},
      {5, -5, 180 - Eighth},
      {-5, -5, Eighth + 180 - 360},
  };
  for (const AngleCase &c : cases) {
    SCOPED_TRACE("(" + std::to_string(c.dx) + ", " + std::to_string(c.dy) + ")");
    EXPECT_NEAR(VectorAngle(c.dx, c.dy), c.angle, 1e-3f);
  }
}

// Leaves only the saucer to change the world: one rock parked off screen.
void QuietWorld(int32_t wave) {
  Wave = wave;
  SaucerOn = 0;
  FreeAllShots();
  RT_ClearList(Rocks);
  RT_AddElement(Rocks);
  *RT_CurrentRecord<Rock>(Rocks) = Rock{640, 480, 0, 0, 45, 45, 0, 0, 1};
  RockCount = 1;
}

TEST_F(Saucer, NeverInTheFirstTwoWaves) {
  for (int32_t wave : {1, 2}) {
    QuietWorld(wave);
    for (int i = 0; i < 2000; i++) {
      WorkFrame();
      ASSERT_EQ(SaucerOn, 0) << "wave " << wave << ", frame " << i;
    }
  }
}

struct ArrivalCase {
  int32_t wave;
  std::set<int32_t> speeds; // |SaucerDX| seen
  bool turns;               // SaucerDY ever changes in flight
};

// After its first crossing each saucer is sent off once it has had the chance
// to turn (every 101 frames), to keep the test short.
TEST_F(Saucer, ArrivesFromAnEdgeAndFliesFasterAndTurnsInLaterWaves) {
  const ArrivalCase cases[] = {{3, {1}, false}, {5, {1}, true}, {8, {1, 2}, true}};
  for (const ArrivalCase &c : cases) {
    SCOPED_TRACE("wave " + std::to_string(c.wave));
    QuietWorld(c.wave);
    SaucerDY = 0;
    std::set<int32_t> speeds;
    bool turned = false;
    int arrivals = 0, inFlight = 0;
    for (int i = 0; i < 100000 && arrivals < 40; i++) {
      const int32_t wasOn = SaucerOn, dy = SaucerDY;
      WorkFrame();
      if (wasOn == 0 && SaucerOn == 1) {
        arrivals++;
        inFlight = 0;
        speeds.insert(std::abs(SaucerDX));
        EXPECT_EQ(SaucerX, SaucerDX > 0 ? -10 + SaucerDX : 640 + SaucerDX);
        EXPECT_GE(SaucerY, 99);
        EXPECT_LE(SaucerY, 401);
      } else if (wasOn == 1 && SaucerOn == 1) {
        turned |= SaucerDY != dy && SaucerY >= 0 && SaucerY <= 470;
        if (++inFlight == 110 && arrivals > 1)
          SaucerX = SaucerDX > 0 ? 640 : -10;
      } else if (wasOn == 1) {
        EXPECT_TRUE(SaucerX < -10 || SaucerX > 640) << "left at x " << SaucerX;
      }
    }
    EXPECT_EQ(arrivals, 40);
    EXPECT_EQ(speeds, c.speeds);
    EXPECT_EQ(turned, c.turns);
  }
}

} // namespace
