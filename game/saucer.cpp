// The saucer appears at random from wave 3, drifts up and down from wave 5 and
// may fly at double speed from wave 6. It aims at the ship with up to 20
// degrees of error.
#include "game/saucer.h"

#include <cmath>

#include "game/audio.h"
#include "game/effects.h"
#include "game/shapes.h"
#include "game/world.h"
#include "runtime/misc/misc.h"
#include "runtime/screen/screen.h"

// Constants

constexpr int32_t TurnInterval = 100;      // frames
constexpr int32_t SaucerFireInterval = 80; // frames
constexpr float SaucerShotSpeed = 2;

// Internal helpers

// A chance of 1 in 201 per frame; the draw is made on every frame without a saucer.
static void MaybeBringSaucer() {
  if (RT_Random(200) != 200 || Wave < 3)
    return;
  SaucerOn = 1;
  if (GameState < StateGameOver)
    PlayEffect(SoundSaucer, 1);
  SaucerDX = (RT_Random(6) == 6 && Wave > 5) ? 2 : 1;
  if (RT_Random(1) == 0) {
    SaucerX = 640;
    SaucerDX = -SaucerDX;
  } else {
    SaucerX = -10;
  }
  SaucerY = 100 + RT_Random(300);
  SaucerTurnTimer = TurnInterval;
}

// Every 101 frames the saucer may start or stop drifting up or down.
static void MaybeTurnSaucer() {
  SaucerTurnTimer--;
  if (SaucerTurnTimer >= 0)
    return;
  SaucerTurnTimer = TurnInterval;
  switch (RT_Random(2)) {
  case 1:
    SaucerDY = SaucerDY == 1 ? 0 : -1;
    break;
  case 2:
    SaucerDY = SaucerDY == -1 ? 0 : 1;
    break;
  default:
    SaucerDY = 0;
    break;
  }
}

// Off the top or bottom it turns back or levels out.
static void KeepSaucerOnScreen() {
  if (SaucerY < 0)
    SaucerDY = RT_Random(1) == 0 ? 1 : 0;
  if (SaucerY > 470)
    SaucerDY = RT_Random(1) == 0 ? -1 : 0;
}

// While the ship is absent this aims at the centre, where it will come back.
static void MaybeFireAtShip() {
  if (RT_Random(50) != 50 || SaucerFireDelay != 0)
    return;
  for (int slot = 1; slot <= ShotSlots; slot++) {
    Shot &shot = SaucerShots[slot];
    if (shot.Active != 0)
      continue;
    shot.X = static_cast<float>(SaucerX + 12);
    shot.Y = static_cast<float>(SaucerY + 7);
    AimAngle = VectorAngle(shot.X - ShipX, shot.Y - ShipY);
    if (RT_Random(1) != 0)
      AimAngle += static_cast<float>(RT_Random(20));
    else
      AimAngle -= static_cast<float>(RT_Random(20));
    shot.DX = std::sin(AimAngle * DegreesToRadians) * SaucerShotSpeed;
    shot.DY = std::cos(AimAngle * DegreesToRadians) * SaucerShotSpeed;
    shot.Active = 1;
    SaucerFireDelay = SaucerFireInterval;
    return;
  }
}

// Saucer

// A saucer that leaves the screen in this frame is still drawn once and may fire.
void RunSaucer() {
  if (SaucerOn == 0)
    MaybeBringSaucer();
  if (SaucerOn != 1)
    return;
  if (Wave > 4)
    MaybeTurnSaucer();
  SaucerX += SaucerDX;
  SaucerY += SaucerDY;
  if (SaucerX < -10 || SaucerX > 640) {
    StopEffect(SoundSaucer);
    SaucerOn = 0;
  }
  KeepSaucerOnScreen();
  MaybeFireAtShip();
  RT_DisplayTransparentSprite(SpriteSaucer, SaucerX, SaucerY);
}

// The half-turn offsets are added in game degrees after the conversion with the
// game's factor, so the result is a little off the exact bearing below.
float VectorAngle(float dx, float dy) {
  if (dy == 0)
    return dx > 0 ? 90.0f : dx < 0 ? -90.0f : 0.0f;
  float a = RT_ATan(dx / dy) / DegreesToRadians;
  if (dy < 0 && dx > 0)
    a += 180;
  if (dy < 0 && dx < 0)
    a += 180;
  if (dy > 0 && dx < 0)
    a += 360;
  if (a > 180)
    a -= 360;
  if (a == 0 && dy < 0)
    a = 180;
  return a;
}
