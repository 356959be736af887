// Inside the screen library: frame pacing, when each frame is due to start on the
// runtime's monotonic clock, for a loop held to a fixed number of frames a second.
#pragma once

#include <cstdint>

namespace screen {

struct FramePace {
  int32_t rate;   // frames a second; 0: unpaced
  bool started;   // false until the first frame after the rate is set
  int64_t origin; // nanoseconds at which the counted frames started
  int64_t frames; // frames counted since origin
};

// Frames a loop may fall behind before it gives up catching up and starts afresh
constexpr int64_t ResyncFrames = 4;

void SetFramePace(FramePace &pace, int32_t rate); // restarts the count
// The moment, in nanoseconds, at which the next frame is due to start, given that
// a frame has just been shown at now: its slot on the schedule, or one frame after
// now at the first frame and after a stall; now itself when unpaced.
int64_t NextFrameDue(FramePace &pace, int64_t now);

} // namespace screen
