// Shots fly straight at 2 pixels per frame. Every hit test is a point in a box
// with strict bounds: a point on the box's edge does not hit.
#include "game/shots.h"

#include <cmath>

#include "game/audio.h"
#include "game/debris.h"
#include "game/effects.h"
#include "game/pixels.h"
#include "game/rocks.h"
#include "game/shapes.h"
#include "game/world.h"
#include "runtime/drawing/drawing.h"
#include "runtime/lists/lists.h"
#include "runtime/screen/screen.h"

// Constants

constexpr float ShotSpeed = 2;
constexpr int32_t FireInterval = 20; // frames
constexpr int32_t SaucerWidth = 25, SaucerHeight = 15;

// Internal helpers

// Moves a flying shot; one that leaves 0..maxX, 0..maxY ends there.
static bool AdvanceShot(Shot &shot, float maxX, float maxY) {
  if (shot.Active != 1)
    return false;
  shot.X -= shot.DX;
  shot.Y -= shot.DY;
  if (shot.X < 0 || shot.X > maxX || shot.Y < 0 || shot.Y > maxY)
    shot.Active = 0;
  return shot.Active == 1;
}

static bool SaucerHolds(float x, float y) {
  return static_cast<float>(SaucerX) < x && x < static_cast<float>(SaucerX + SaucerWidth) &&
         static_cast<float>(SaucerY) < y && y < static_cast<float>(SaucerY + SaucerHeight);
}

static bool ShipHolds(float x, float y) {
  return ShipX - 6 < x && x < ShipX + 6 && ShipY - 6 < y && y < ShipY + 6;
}

// The shot is not used up: it flies on to the rocks.
static void ShootSaucer() {
  StopEffect(SoundSaucer);
  PlayEffect(SoundExplosion, 0);
  Explode(SaucerX + 12, SaucerY + 7, 20);
  SaucerOn = 0;
  Score += ScoreSaucer;
}

// The walk goes on behind each hit rock's fragments with the same point, so one
// shot may destroy several overlapping rocks, each scoring.
static void ShootRocks(Shot &shot) {
  RT_ResetList(Rocks);
  while (RT_NextElement(Rocks) != nullptr) {
    const Rock &rock = *RT_CurrentRecord<Rock>(Rocks);
    if (rock.Alive == 1 && rock.Immune == 0 && RockHolds(rock, shot.X, shot.Y)) {
      shot.Active = 0;
      ScoreHit = 1;
      HitRock();
      ScoreHit = 0;
    }
  }
}

// Shots

// The ship's own velocity is not added.
void FireShot() {
  for (int slot = 1; slot <= ShotSlots; slot++) {
    Shot &shot = Shots[slot];
    if (shot.Active != 0)
      continue;
    const float angle = static_cast<float>(ShipAngle) * DegreesToRadians;
    shot.X = ShipX;
    shot.Y = ShipY;
    shot.DX = std::sin(-angle) * ShotSpeed;
    shot.DY = std::cos(angle) * ShotSpeed;
    shot.Active = 1;
    FireDelay = FireInterval;
    PlayEffect(SoundShot, 0);
    return;
  }
}

// A shot that hit something this frame is still drawn once.
void MovePlayerShots() {
  for (int slot = 1; slot <= ShotSlots; slot++) {
    Shot &shot = Shots[slot];
    if (!AdvanceShot(shot, 639, 479))
      continue;
    if (SaucerOn == 1 && SaucerHolds(shot.X, shot.Y))
      ShootSaucer();
    ShootRocks(shot);
    RT_Plot2(RoundPixel(shot.X), RoundPixel(shot.Y), DotWhite);
    RT_Plot2(RoundPixel(shot.X + 1), RoundPixel(shot.Y), DotWhite);
  }
}

// The bounds are 640 and 480 here, one more than for the player's shots. A shot
// passes through the ship while it is absent, and is not used up by a hit.
void MoveSaucerShots() {
  for (int slot = 1; slot <= ShotSlots; slot++) {
    Shot &shot = SaucerShots[slot];
    if (!AdvanceShot(shot, 640, 480))
      continue;
    if (ShipDeadTimer == 0 && ShipHolds(shot.X, shot.Y))
      ShipHits++;
    RT_DisplaySprite(SpriteSaucerShot, RoundPixel(shot.X), RoundPixel(shot.Y));
  }
}

void FreeAllShots() {
  for (int slot = 1; slot <= ShotSlots; slot++) {
    Shots[slot].Active = 0;
    SaucerShots[slot].Active = 0;
  }
}
