// The ship turns in steps of 3 degrees, accelerates along its nose with no
// friction, is held to 2 pixels per frame on each axis and wraps at the edges.
#include "game/ship.h"

#include <algorithm>
#include <cmath>

#include "game/audio.h"
#include "game/debris.h"
#include "game/effects.h"
#include "game/keys.h"
#include "game/pixels.h"
#include "game/states.h"
#include "game/world.h"
#include "runtime/drawing/drawing.h"
#include "runtime/keyboard/keyboard.h"

// Constants

constexpr float MaxShipSpeed = 2;     // per axis
constexpr int32_t TurnStep = 3;       // degrees per frame
constexpr int32_t RespawnDelay = 100; // Blink frames

// Internal helpers

static void ShipLine(int from, int to) {
  RT_LineXY2(RoundPixel(ShipPointX[from]), RoundPixel(ShipPointY[from]), RoundPixel(ShipPointX[to]),
             RoundPixel(ShipPointY[to]), OutlineGrey);
}

// Dots on or beyond the screen's edge are left out; lines are clipped instead.
static void ShipDot(int point) {
  if (InsideScreen(ShipPointX[point], ShipPointY[point]))
    RT_Plot2(RoundPixel(ShipPointX[point]), RoundPixel(ShipPointY[point]), DotWhite);
}

// Steering

// Wrapping sets 359 and 0 exactly, so a wrapped heading leaves the multiples of 3.
void TurnShip() {
  if (RT_KeyboardPushed(KeyLeft)) {
    ShipAngle -= TurnStep;
    if (ShipAngle < 0)
      ShipAngle = 359;
  }
  if (RT_KeyboardPushed(KeyRight)) {
    ShipAngle += TurnStep;
    if (ShipAngle > 359)
      ShipAngle = 0;
  }
}

// The engine sound starts on the first frame of a press and stops on every
// frame without one.
void ThrustShip() {
  if (!RT_KeyboardPushed(KeyUp)) {
    Thrusting = 0;
    ThrustFrames = 0;
    StopEffect(SoundEngine);
    return;
  }
  const float angle = static_cast<float>(ShipAngle) * DegreesToRadians;
  ShipDX += std::sin(-angle) / 8 * 0.5f;
  ShipDY += std::cos(angle) / 8 * 0.5f;
  Thrusting = 1;
  ThrustFrames++;
  if (ThrustFrames == 1)
    PlayEffect(SoundEngine, 1);
}

// Flight

// Uses the position before this frame's move: the ship is drawn a frame behind.
void PlaceShipPoints() {
  const float angle = static_cast<float>(ShipAngle) * DegreesToRadians;
  const float c = std::cos(angle), s = std::sin(angle);
  for (int i = 0; i < 7; i++) {
    ShipPointX[i] = c * ShipModelX[i] - s * ShipModelY[i] + ShipX;
    ShipPointY[i] = c * ShipModelY[i] + s * ShipModelX[i] + ShipY;
  }
}

// A ship leaving left or top comes back 32 pixels inside the far edge.
void FlyShip() {
  ShipDX = std::clamp(ShipDX, -MaxShipSpeed, MaxShipSpeed);
  ShipDY = std::clamp(ShipDY, -MaxShipSpeed, MaxShipSpeed);
  ShipX -= ShipDX;
  ShipY -= ShipDY;
  if (ShipX > 640)
    ShipX = 0;
  if (ShipX < 0)
    ShipX = 608;
  if (ShipY > 480)
    ShipY = 0;
  if (ShipY < 0)
    ShipY = 448;

  ShipLine(0, 1);
  ShipLine(1, 2);
  ShipLine(2, 3);
  ShipLine(3, 0);
  const bool flame = Blink == 1 && Thrusting == 1;
  if (flame) {
    ShipLine(4, 6);
    ShipLine(5, 6);
  }
  for (int point = 0; point < (flame ? 7 : 4); point++)
    ShipDot(point);
}

// Loss

// The saucer goes too, without debris or points.
void LoseShip() {
  StopEffect(SoundEngine);
  StopEffect(SoundSaucer);
  PlayEffect(SoundExplosion, 0);
  Explode(RoundPixel(ShipX), RoundPixel(ShipY), 15);
  Lives--;
  ShipDeadTimer = RespawnDelay;
  ShipX = 320, ShipY = 240;
  ShipAngle = 0;
  ShipDX = 0, ShipDY = 0;
  SaucerOn = 0;
  Thrusting = 0;
  if (Lives == 0)
    EnterState(StateGameOver);
}
