#include "runtime/screen/frame_pace.h"

#include <gtest/gtest.h>
#include <time.h>

#include "runtime/screen/screen.h"

namespace {

constexpr int64_t Ms = 1'000'000; // nanoseconds

TEST(FramePace, DueTimesFollowTheRateCatchUpShortDelaysAndResyncAfterAStall) {
  struct Step {
    const char *what;
    int64_t now, due; // a frame shown at now; the next one due to start at due
  };
  constexpr int64_t t0 = 5'000 * Ms;
  // 100 frames a second: one frame every 10 ms
  constexpr Step steps[] = {
      {"the first frame shown starts the schedule", t0, t0 + 10 * Ms},
      {"a quick frame waits for its slot", t0 + 11 * Ms, t0 + 20 * Ms},
      {"a late frame keeps the schedule", t0 + 33 * Ms, t0 + 30 * Ms},
      {"exactly four frames behind still catches up", t0 + 80 * Ms, t0 + 40 * Ms},
      {"next slot", t0 + 81 * Ms, t0 + 50 * Ms},
      {"more than four frames behind starts afresh", t0 + 100 * Ms + 1, t0 + 110 * Ms + 1},
      {"the new schedule counts from the stall", t0 + 112 * Ms, t0 + 120 * Ms + 1},
  };
  RT_FramePace pace;
  RT_SetFramePace(pace, 100);
  for (const Step &s : steps) {
    SCOPED_TRACE(s.what);
    EXPECT_EQ(RT_NextFrameDue(pace, s.now), s.due);
  }
}

TEST(FramePace, NoDriftOverMinutesAtARateThatDoesNotDivideASecond) {
  RT_FramePace pace;
  RT_SetFramePace(pace, 75);
  constexpr int64_t t0 = 1'000 * Ms;
  int64_t due = t0;
  for (int frame = 0; frame < 75 * 600; frame++)
    due = RT_NextFrameDue(pace, due); // each frame is shown the moment it is due
  EXPECT_EQ(due, t0 + int64_t{600} * 1'000 * Ms);
}

TEST(FramePace, RateZeroOrBelowIsUnpacedAndANewRateRestartsTheSchedule) {
  RT_FramePace pace;
  for (int32_t rate : {0, -5}) {
    RT_SetFramePace(pace, rate);
    EXPECT_EQ(RT_NextFrameDue(pace, 10), 10);
    EXPECT_EQ(RT_NextFrameDue(pace, 11), 11);
  }
  RT_SetFramePace(pace, 100);
  RT_NextFrameDue(pace, 0);
  RT_SetFramePace(pace, 50);
  EXPECT_EQ(RT_NextFrameDue(pace, 3 * Ms), 23 * Ms);
  EXPECT_EQ(RT_NextFrameDue(pace, 4 * Ms), 43 * Ms);
}

double SecondsNow() {
  timespec t;
  clock_gettime(CLOCK_MONOTONIC, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

TEST(FramePace, FlipHoldsTheLoopToTheRate) {
  ASSERT_NE(RT_InitSprite(), nullptr) << RT_VideoError();
  ASSERT_NE(RT_OpenScreen(32, 32, 16, "pace"), nullptr) << RT_VideoError();
  RT_SetFrameRate(200);
  double start = SecondsNow();
  for (int frame = 0; frame < 11; frame++) // each frame shown, the first too, stays 5 ms
    RT_FlipBuffers();
  double elapsed = SecondsNow() - start;
  RT_SetFrameRate(0);
  RT_FreeSprites();

  EXPECT_GE(elapsed, 0.055);
  EXPECT_LT(elapsed, 0.5);
}

} // namespace
