// Rocks come in waves of large rocks; a hit rock bursts into debris and, unless
// it is small, into fragments of the next size that cannot be shot at once.
#include "game/rocks.h"

#include <cmath>

#include "game/audio.h"
#include "game/debris.h"
#include "game/effects.h"
#include "game/pixels.h"
#include "game/shapes.h"
#include "game/shots.h"
#include "game/states.h"
#include "game/world.h"
#include "runtime/lists/lists.h"
#include "runtime/misc/misc.h"
#include "runtime/screen/screen.h"

// Constants

constexpr int32_t FragmentImmunity = 10; // Blink frames
constexpr int32_t FirstMedium = 3, FirstSmall = 6;

// The beat's interval in milliseconds once RocksHit exceeds rocksHit.
struct BeatStep {
  int32_t rocksHit, interval;
};
constexpr BeatStep BeatSteps[] = {{4, 900},  {6, 800},  {9, 700}, {12, 600},
                                  {15, 500}, {18, 400}, {20, 300}};

// Internal helpers

// Heading h in degrees: the velocity that is subtracted each frame.
static void SetRockCourse(Rock &rock, int32_t heading, float speed) {
  const float angle = static_cast<float>(heading) * DegreesToRadians;
  rock.DX = std::sin(-angle) * speed;
  rock.DY = std::cos(angle) * speed;
}

static int32_t ShipCornersIn(const Rock &rock) {
  int32_t corners = 0;
  for (float dx : {-6.0f, 6.0f})
    for (float dy : {-6.0f, 6.0f})
      corners += RockHolds(rock, ShipX + dx, ShipY + dy) ? 1 : 0;
  return corners;
}

// Once a saucer shot destroys the rock, no other shot is tested against it.
static bool SaucerShotHits(const Rock &rock) {
  for (int slot = 1; slot <= ShotSlots; slot++) {
    Shot &shot = SaucerShots[slot];
    if (shot.Active == 1 && RockHolds(rock, shot.X, shot.Y)) {
      shot.Active = 0;
      HitRock();
      return true;
    }
  }
  return false;
}

// A rock jumps only when wholly off screen, and reappears wholly off screen.
static void WrapRock(Rock &rock) {
  if (rock.X < static_cast<float>(-rock.Width))
    rock.X = 640;
  if (rock.X > 640)
    rock.X = static_cast<float>(-rock.Width);
  if (rock.Y < static_cast<float>(-rock.Height))
    rock.Y = 480;
  if (rock.Y > 480)
    rock.Y = static_cast<float>(-rock.Height);
}

// Rocks

bool RockHolds(const Rock &rock, float x, float y) {
  return rock.X < x && x < rock.X + static_cast<float>(rock.Width) && rock.Y < y &&
         y < rock.Y + static_cast<float>(rock.Height);
}

// Only the top-left corner is kept out of the centre box, so a large rock may
// still reach into it. Random draws: x, y (until accepted), heading, speed, size.
void SpawnWave() {
  RT_ClearList(Rocks);
  for (int32_t i = 1; i <= RockCount; i++) {
    if (RT_AddElement(Rocks) == nullptr) {
      RockCount = i - 1; // out of memory: the count stays true to the list
      break;
    }
    Rock &rock = *RT_CurrentRecord<Rock>(Rocks);
    do {
      rock.X = static_cast<float>(RT_Random(640));
      rock.Y = static_cast<float>(RT_Random(480));
    } while (rock.X > 200 && rock.X < 440 && rock.Y > 180 && rock.Y < 400);
    const int32_t heading = RT_Random(359);
    SetRockCourse(rock, heading, SpeedLarge[RT_Random(2)]);
    rock.Width = 45;
    rock.Height = 45;
    rock.Size = RT_Random(2);
    rock.Alive = 1;
  }
  ShipX = 320, ShipY = 240;
  ShipDX = 0, ShipDY = 0;
  SaucerOn = 0;
}

// Fragments start at the parent's top-left corner, share one speed and are added
// behind it, so the caller's walk goes on after them. Random draws: speed,
// extra fragment, then heading and size of each fragment.
void HitRock() {
  Rock &rock = *RT_CurrentRecord<Rock>(Rocks);
  if (GameState < StateGameOver)
    PlayEffect(SoundExplosion, 0);
  Explode(RoundPixel(rock.X + static_cast<float>(rock.Width) / 2),
          RoundPixel(rock.Y + static_cast<float>(rock.Height) / 2), 20);
  rock.Alive = 0;
  RockCount--;
  RocksHit++;
  const float hx = static_cast<float>(RoundPixel(rock.X));
  const float hy = static_cast<float>(RoundPixel(rock.Y));

  int32_t fragments = 0, firstSize = 0, width = 0, height = 0;
  float speed = 0;
  if (rock.Size < FirstMedium) {
    if (ScoreHit == 1)
      Score += ScoreLarge;
    fragments = WaveSplitsOf(Wave);
    firstSize = FirstMedium, width = 21, height = 19;
    speed = SpeedMedium[RT_Random(2)];
  } else if (rock.Size < FirstSmall) {
    if (ScoreHit == 1)
      Score += ScoreMedium;
    fragments = WaveSplitsOf(Wave);
    firstSize = FirstSmall, width = 11, height = 10;
    speed = SpeedSmall[RT_Random(2)];
  }
  if (rock.Size < FirstSmall)
    fragments += RT_Random(1);
  else if (ScoreHit == 1)
    Score += ScoreSmall;

  for (int32_t i = 0; i < fragments; i++) {
    if (RT_AddElement(Rocks) == nullptr)
      break;
    RockCount++;
    Rock &fragment = *RT_CurrentRecord<Rock>(Rocks);
    fragment.X = hx;
    fragment.Y = hy;
    fragment.Width = width;
    fragment.Height = height;
    SetRockCourse(fragment, RT_Random(359), speed);
    fragment.Size = firstSize + RT_Random(2);
    fragment.Immune = FragmentImmunity;
    fragment.Alive = 1;
  }
}

// A rock destroyed here by a saucer shot is not moved or drawn; its fragments
// are, from the next frame on.
void MoveRocks() {
  ShipHits = 0;
  RT_ResetList(Rocks);
  while (RT_NextElement(Rocks) != nullptr) {
    Rock &rock = *RT_CurrentRecord<Rock>(Rocks);
    if (rock.Alive != 1)
      continue;
    if (ShipDeadTimer == 0)
      ShipHits += ShipCornersIn(rock);
    if (rock.Immune == 0 && SaucerShotHits(rock))
      continue;
    if (Blink == 1 && rock.Immune > 0)
      rock.Immune--;
    rock.X -= rock.DX;
    rock.Y -= rock.DY;
    WrapRock(rock);
    RT_DisplayTransparentSprite(SpriteFirstRock + rock.Size, RoundPixel(rock.X),
                                RoundPixel(rock.Y));
  }
}

// Waves: 4 rocks (a new game), then 6, 7, 8, then 6 to 9 at random.
void ClearWave() {
  RocksHit = 0;
  BeatInterval = 1000;
  Wave++;
  RockCount = Wave + 4;
  if (Wave > 4)
    RockCount = 6 + RT_Random(3);
  SpawnWave();
  FreeAllShots();
  EnterState(StateGetReady);
}

// The millisecond clock is a 32-bit count that wraps after 49 days; the time since
// the last beat is taken as a 32-bit difference, so the beat keeps going across it.
void PlayBeat() {
  for (const BeatStep &step : BeatSteps)
    if (RocksHit > step.rocksHit)
      BeatInterval = step.interval;
  const auto since = static_cast<int32_t>(static_cast<uint32_t>(RT_ElapsedMilliseconds()) -
                                          static_cast<uint32_t>(BeatTime));
  if (since > BeatInterval) {
    BeatTime = RT_ElapsedMilliseconds();
    BeatSound = 1 - BeatSound;
    PlayEffect(BeatSound, 0);
  }
}
