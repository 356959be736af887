#include "runtime/screen/frame_pace.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "runtime/misc/clock.h"
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
  screen::FramePace pace;
  screen::SetFramePace(pace, 100);
  for (const Step &s : steps) {
    SCOPED_TRACE(s.what);
    EXPECT_EQ(screen::NextFrameDue(pace, s.now), s.due);
  }
}

TEST(FramePace, NoDriftOverMinutesAtARateThatDoesNotDivideASecond) {
  screen::FramePace pace;
  screen::SetFramePace(pace, 75);
  constexpr int64_t t0 = 1'000 * Ms;
  int64_t due = t0;
  for (int frame = 0; frame < 75 * 600; frame++)
    due = screen::NextFrameDue(pace, due); // each frame is shown the moment it is due
  EXPECT_EQ(due, t0 + int64_t{600} * 1'000 * Ms);
}

TEST(FramePace, RateZeroOrBelowIsUnpacedAndANewRateRestartsTheSchedule) {
  screen::FramePace pace;
  for (int32_t rate : {0, -5}) {
    screen::SetFramePace(pace, rate);
    EXPECT_EQ(screen::NextFrameDue(pace, 10), 10);
    EXPECT_EQ(screen::NextFrameDue(pace, 11), 11);
  }
  screen::SetFramePace(pace, 100);
  screen::NextFrameDue(pace, 0);
  screen::SetFramePace(pace, 50);
  EXPECT_EQ(screen::NextFrameDue(pace, 3 * Ms), 23 * Ms);
  EXPECT_EQ(screen::NextFrameDue(pace, 4 * Ms), 43 * Ms);
}

// The runtime's clock during a test: nanoseconds since the Unix epoch, decades away
// from the real monotonic clock, so a wait on that one would never end. A wait here
// is noted and moves the clock on to its end at once.
int64_t paceNow = 0;
std::vector<int64_t> waits; // the reading each wait was to end at
const misc::ClockSource PaceClock{[] { return paceNow; },
                                  [](int64_t due) {
                                    waits.push_back(due);
                                    paceNow = std::max(paceNow, due);
                                  }};

// Each flip waits on the runtime's clock for the next frame's slot, after the frame's
// own work, which the test adds to the clock before the flip.
TEST(FramePace, FlipWaitsOnTheRuntimesClockForTheNextFrame) {
  struct Step {
    const char *what;
    int64_t work;  // time the frame took before its flip
    int64_t due;   // where the flip's wait ends
    int64_t after; // the clock when the flip returns
  };
  constexpr int64_t t0 = int64_t{1'800'000'000} * 1'000 * Ms;
  // 200 frames a second: one frame every 5 ms
  constexpr Step steps[] = {
      {"the first frame shown waits a whole frame", 0, t0 + 5 * Ms, t0 + 5 * Ms},
      {"a quick frame waits for its slot", 2 * Ms, t0 + 10 * Ms, t0 + 10 * Ms},
      {"a late frame is not held back", 7 * Ms, t0 + 15 * Ms, t0 + 17 * Ms},
      {"and the next one keeps the schedule", 1 * Ms, t0 + 20 * Ms, t0 + 20 * Ms},
  };
  ASSERT_NE(RT_InitSprite(), nullptr) << RT_VideoError();
  ASSERT_NE(RT_OpenScreen(32, 32, 16, "pace"), nullptr) << RT_VideoError();
  paceNow = t0;
  misc::SetClockSource(&PaceClock);
  RT_SetFrameRate(200);
  for (const Step &s : steps) {
    SCOPED_TRACE(s.what);
    paceNow += s.work;
    waits.clear();
    RT_FlipBuffers();
    EXPECT_EQ(waits, std::vector<int64_t>{s.due});
    EXPECT_EQ(paceNow, s.after);
  }
  RT_SetFrameRate(0);
  waits.clear();
  RT_FlipBuffers();
  EXPECT_TRUE(waits.empty()) << "unpaced, a flip does not wait";
  misc::SetClockSource(nullptr);
  RT_FreeSprites();
}

} // namespace
