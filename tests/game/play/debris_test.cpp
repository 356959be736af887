// Explosion debris: the ring, the flight and fading, and the list's deletion rule.
#include <cmath>
#include <vector>

#include "game/debris.h"
#include "tests/game/play/play_fixture.h"

namespace {

using DebrisTest = Play;

std::vector<Particle> Particles() {
  std::vector<Particle> all;
  RT_ResetList(Debris);
  while (RT_NextElement(Debris) != nullptr)
    all.push_back(*RT_CurrentRecord<Particle>(Debris));
  return all;
}

TEST_F(DebrisTest, RingHasAParticleEveryStepFromStraightDown) {
  for (int32_t step : {15, 20, 7, 360, 400}) {
    SCOPED_TRACE("step " + std::to_string(step));
    RT_ClearList(Debris);
    Explode(100, 200, step);
    const std::vector<Particle> ring = Particles();
    ASSERT_EQ(static_cast<int32_t>(ring.size()), (360 + step - 1) / step);
    EXPECT_EQ(ring[0].DX, 0);
    EXPECT_EQ(ring[0].DY, 1) << "angle 0 flies down: the velocity is added";
    for (size_t i = 0; i < ring.size(); i++) {
      const float angle = static_cast<float>(i * step) * 0.017499998f;
      EXPECT_FLOAT_EQ(ring[i].DX, std::sin(angle));
      EXPECT_EQ(ring[i].X, 100);
      EXPECT_EQ(ring[i].Y, 200);
      EXPECT_EQ(ring[i].Life, 160);
    }
  }
}

// Deleting the first element passes over the one behind it, so the oldest
// ring's second particle outlives the rest of its ring by one frame.
TEST_F(DebrisTest, OldestRingsSecondParticleExpiresAFrameLate) {
  RT_ClearList(Debris);
  Explode(320, 240, 20);
  Frames(10);
  Explode(100, 100, 20); // appended behind the first ring
  Frames(69);
  ASSERT_EQ(RT_CountList(Debris), 36);
  EXPECT_EQ(Particles().front().Life, 2);
  Frame(); // the first ring's 80th frame
  std::vector<Particle> left = Particles();
  ASSERT_EQ(left.size(), 1u + 18u);
  EXPECT_EQ(left[0].Life, 2) << "passed over: neither moved nor aged";
  EXPECT_NEAR(left[0].X, 320 + 79 * std::sin(20 * 0.017499998f), 1e-3f);
  EXPECT_EQ(left[1].Life, 20);
  Frame(); // it moves once more and expires, and the particle behind it waits
  left = Particles();
  ASSERT_EQ(left.size(), 18u);
  for (size_t i = 0; i < left.size(); i++)
    EXPECT_EQ(left[i].Life, i == 0 ? 20 : 18) << "particle " << i;
}

TEST_F(DebrisTest, ParticlesLeaveTheScreenWithoutWrapping) {
  RT_ClearList(Debris);
  Explode(2, 240, 90);   // its fourth particle flies left
  Explode(637, 240, 90); // its second flies right
  Frames(5);
  const std::vector<Particle> all = Particles();
  ASSERT_EQ(all.size(), 8u);
  EXPECT_NEAR(all[3].X, -3, 0.01f);
  EXPECT_NEAR(all[5].X, 642, 0.01f);
  for (const Particle &particle : all)
    EXPECT_EQ(particle.Life, 150);
}

} // namespace
