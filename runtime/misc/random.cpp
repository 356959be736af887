// Random values: the RANROT-W generator, 17 pairs of 32-bit words with lag 10 and
// rotations 19 and 27.
#include "runtime/misc/misc.h"
#include "runtime/misc/wall_clock.h"

#include <bit>

constexpr int PairCount = 17;
constexpr int SecondCursor = 10; // where the second cursor starts: the lag
constexpr int WarmUpSteps = 31;
constexpr uint32_t SeedMultiplier = 0xAC564B05;

struct Pair {
  uint32_t low, high;
};

// All zero until the first seeding: the generator then yields only 0.
static Pair Pairs[PairCount];
static int P1 = 0, P2 = SecondCursor; // the two cursors, pair indices

// One step of the generator: its 64-bit output.
static uint64_t Step() {
  const uint32_t y = std::rotl(Pairs[P1].low, 19) + Pairs[P2].low;
  const uint32_t z = std::rotl(Pairs[P1].high, 27) + Pairs[P2].high;
  Pairs[P1] = {z, y};
  P1 = P1 == 0 ? PairCount - 1 : P1 - 1;
  P2 = P2 == 0 ? PairCount - 1 : P2 - 1;
  return uint64_t(y) << 32 | z;
}

void RT_RandomSeed(uint32_t seed) {
  uint32_t s = seed;
  for (Pair &pair : Pairs) {
    s = s * SeedMultiplier + 1;
    pair.low = s;
    s = s * SeedMultiplier + 1;
    pair.high = s;
  }
  P1 = 0;
  P2 = SecondCursor;
  for (int i = 0; i < WarmUpSteps; i++)
    Step();
}

int32_t RT_Random(int32_t max) {
  const uint64_t r = Step();
  if (max < 0)
    return INT32_MIN;
  // The top 32 bits of r * (max + 1): r scaled from [0, 2^64) to [0, max].
  const unsigned __int128 product = (unsigned __int128)r * (uint64_t(max) + 1);
  return int32_t(product >> 64);
}

// Every run plays differently: the seed is the microseconds part of the calendar clock.
void RT_InitMisc() {
  RT_ElapsedMilliseconds(); // pins the millisecond clock's start
  const int64_t now = misc::WallMicroseconds();
  RT_RandomSeed(uint32_t(now - misc::FloorDivide(now, 1000000) * 1000000));
}
