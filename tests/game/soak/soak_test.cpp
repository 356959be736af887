// 100,000 frames of random keys: the rock list stays within what the waves can
// make, the heap does not grow, and the sanitizer build finds no error or leak.
#include <algorithm>
#include <array>
#include <random>

#include "tests/game/play/play_fixture.h"

#if defined(__SANITIZE_ADDRESS__)
// From the sanitizer's runtime, which replaces malloc and so mallinfo2's figures.
extern "C" size_t __sanitizer_get_current_allocated_bytes();
static size_t HeapInUse() {
  return __sanitizer_get_current_allocated_bytes();
}
#else
#include <malloc.h>
static size_t HeapInUse() {
  return mallinfo2().uordblks;
}
#endif

namespace {

constexpr int SoakFrames = 100'000;
constexpr int WarmUpFrames = 10'000;
constexpr int32_t MostLargeRocks = 9; // the largest wave
constexpr size_t HeapGrowthAllowed = 1 << 20;

// Every rock a wave can hold: its large rocks, each splitting into at most
// WaveSplits + 1 medium ones, each of those into as many small ones.
int32_t MostRocks() {
  const int32_t pieces = *std::max_element(WaveSplits + 1, WaveSplits + 21) + 1;
  return MostLargeRocks * (1 + pieces + pieces * pieces);
}

class Soak : public Play {
protected:
  std::mt19937 random_{Seed};

  bool OneIn(int n) { return std::uniform_int_distribution<int>(1, n)(random_) == 1; }

  // A restless player who mostly spins right and fires, which clears a wave now
  // and then, with bursts of thrust and left turns; Return comes now and then on
  // the attract screens so that game follows game.
  void RandomKeys() {
    static constexpr std::array<int32_t, 4> FlightKeys = {KeyLeft, KeyRight, KeyUp, KeySpace};
    static constexpr std::array<int, 4> PressChance = {40, 2, 30, 2};
    static constexpr std::array<int, 4> ReleaseChance = {10, 100, 10, 100};
    for (size_t i = 0; i < FlightKeys.size(); i++)
      if (OneIn(held_[i] ? ReleaseChance[i] : PressChance[i])) {
        held_[i] = !held_[i];
        Key(FlightKeys[i], held_[i]);
      }
    if (returnHeld_ || (GameState >= StateHighScores && OneIn(150))) {
      returnHeld_ = !returnHeld_;
      Key(KeyReturn, returnHeld_);
    }
  }

private:
  std::array<bool, 4> held_{};
  bool returnHeld_ = false;
};

TEST_F(Soak, RandomPlayKeepsListsBoundedAndTheHeapFlat) {
  const int32_t mostRocks = MostRocks();
  int games = 0, mostWave = 0, mostDebris = 0, mostRockCount = 0;
  size_t heapAfterWarmUp = 0, mostHeap = 0;
  int32_t lastState = GameState;

  for (int frame = 1; frame <= SoakFrames; frame++) {
    RandomKeys();
    // Under the dummy driver a flip costs more than the rest of the frame; one in
    // ten keeps it in the soak at a fraction of the cost.
    if (frame % 10 == 0)
      ASSERT_TRUE(Frame());
    else
      WorkFrame();
    clockNow += FrameMicros;

    if (GameState == StateGetReady && lastState >= StateHighScores)
      games++;
    lastState = GameState;
    mostWave = std::max(mostWave, Wave);
    mostDebris = std::max(mostDebris, RT_CountList(Debris));
    const int32_t rocks = RT_CountList(Rocks);
    mostRockCount = std::max(mostRockCount, rocks);
    ASSERT_LE(rocks, mostRocks) << "frame " << frame;
    if (frame == WarmUpFrames)
      heapAfterWarmUp = HeapInUse();
    if (frame > WarmUpFrames)
      mostHeap = std::max(mostHeap, HeapInUse());
  }

  EXPECT_LE(mostHeap, heapAfterWarmUp + HeapGrowthAllowed)
      << "heap after warm-up " << heapAfterWarmUp << " bytes, at most " << mostHeap
      << "; rocks at most " << mostRockCount << ", debris at most " << mostDebris;
  // The run played: game followed game, and rocks burst.
  EXPECT_GE(games, 2);
  EXPECT_GT(mostDebris, 0);
  RecordProperty("games", games);
  RecordProperty("most_wave", mostWave);
  RecordProperty("most_debris", mostDebris);
  RecordProperty("most_rocks", mostRockCount);
}

} // namespace
