// The game's own work per frame (everything but the flip), over a seeded game
// that an autopilot plays from the first wave to wave 6 with the saucer about
// and debris flying. Headless, unpaced; prints the median and 99th percentile.
#include <SDL/SDL.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "game/game.h"
#include "game/keys.h"
#include "game/saucer.h"
#include "game/world.h"
#include "runtime/lists/lists.h"
#include "runtime/misc/clock.h"
#include "runtime/misc/misc.h"
#include "runtime/screen/screen.h"
#include "tests/scratch_dir.h"

namespace {

constexpr uint32_t Seed = 7;
constexpr int64_t FrameMicros = 13'333; // 1/75 s on the game's clocks
constexpr int FramesAtWaveSix = 5000;
constexpr int MaxFrames = 400'000;

int64_t gameClock = 1'800'000'000'000'000; // microseconds since the Unix epoch
// The game's clock, moved a frame at a time; the game never waits on it unpaced.
const misc::ClockSource GameClock{[] { return gameClock * 1000; }, nullptr};

void SetKey(int32_t key, bool down) {
  static bool held[512];
  if (held[key] == down)
    return;
  held[key] = down;
  SDL_Event event{};
  event.type = down ? SDL_KEYDOWN : SDL_KEYUP;
  event.key.type = event.type;
  event.key.state = down ? SDL_PRESSED : SDL_RELEASED;
  event.key.keysym.sym = static_cast<SDLKey>(key);
  SDL_PushEvent(&event);
}

// Turns towards the nearest rock that can be hit and fires all the time.
void SteerAtNearestRock() {
  float bestDistance = 1e9f, targetX = 0, targetY = 0;
  RT_ResetList(Rocks);
  while (RT_NextElement(Rocks) != nullptr) {
    const Rock &rock = *RT_CurrentRecord<Rock>(Rocks);
    if (rock.Alive != 1 || rock.Immune != 0)
      continue;
    const float x = rock.X + rock.Width / 2.0f, y = rock.Y + rock.Height / 2.0f;
    const float distance = (x - ShipX) * (x - ShipX) + (y - ShipY) * (y - ShipY);
    if (distance < bestDistance)
      bestDistance = distance, targetX = x, targetY = y;
  }
  int32_t turn = 0;
  if (bestDistance < 1e9f) {
    // A player's shot moves by (sin, -cos) of its heading.
    const float bearing = VectorAngle(targetX - ShipX, ShipY - targetY);
    const int32_t difference =
        ((static_cast<int32_t>(bearing) - ShipAngle) % 360 + 540) % 360 - 180;
    turn = difference > 2 ? 1 : difference < -2 ? -1 : 0;
  }
  SetKey(KeyRight, turn > 0);
  SetKey(KeyLeft, turn < 0);
  SetKey(KeySpace, true);
}

double Percentile(std::vector<double> values, double fraction) {
  std::sort(values.begin(), values.end());
  return values[static_cast<size_t>(fraction * (values.size() - 1))];
}

} // namespace

int main() {
  setenv("SDL_VIDEODRIVER", "dummy", 0);
  setenv("SDL_AUDIODRIVER", "dummy", 0);
  const ScratchDir scratch;
  misc::SetClockSource(&GameClock);
  if (int32_t status = GameStartUp(); status != 0)
    return status;
  RT_SetFrameRate(0);
  RT_RandomSeed(Seed);

  std::vector<double> work, flips;
  work.reserve(MaxFrames);
  int framesAtSix = 0, saucerFrames = 0;
  size_t mostDebris = 0;
  SetKey(KeyReturn, true);
  for (int frame = 0; frame < MaxFrames && framesAtSix < FramesAtWaveSix; frame++) {
    if (frame == 1)
      SetKey(KeyReturn, false);
    if (Lives > 0 && Lives < 3)
      Lives = 3; // the autopilot is no pilot: it may not run out of ships
    SteerAtNearestRock();
    gameClock += FrameMicros;
    const auto start = std::chrono::steady_clock::now();
    GameWorkFrame();
    const auto worked = std::chrono::steady_clock::now();
    RT_FlipBuffers();
    const auto flipped = std::chrono::steady_clock::now();
    work.push_back(std::chrono::duration<double, std::micro>(worked - start).count());
    flips.push_back(std::chrono::duration<double, std::micro>(flipped - worked).count());
    framesAtSix += Wave >= 6;
    saucerFrames += SaucerOn;
    mostDebris = std::max(mostDebris, static_cast<size_t>(RT_CountList(Debris)));
  }
  const int32_t wave = Wave;
  GameExit();
  misc::SetClockSource(nullptr);

  std::printf("bench_game: %zu frames up to wave %d (%d at wave 6 or later), saucer on %d "
              "frames, up to %zu debris particles\n",
              work.size(), wave, framesAtSix, saucerFrames, mostDebris);
  std::printf("bench_game: game work per frame: median %.1f us, p99 %.1f us (target: median "
              "below 50 us)\n",
              Percentile(work, 0.5), Percentile(work, 0.99));
  std::printf("bench_game: flip (not counted): median %.1f us, p99 %.1f us\n",
              Percentile(flips, 0.5), Percentile(flips, 0.99));
  return wave >= 6 ? 0 : 1;
}
