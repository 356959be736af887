// Frame pacing: deadlines counted from one origin, so the rate does not drift.
#include "runtime/screen/frame_pace.h"

namespace {

constexpr int64_t NanosecondsPerSecond = 1'000'000'000;

// Due times count from one origin so that rounding the period never accumulates
int64_t FrameTime(const screen::FramePace &pace, int64_t frame) {
  return pace.origin + frame * NanosecondsPerSecond / pace.rate;
}

} // namespace

void screen::SetFramePace(FramePace &pace, int32_t rate) {
  pace = FramePace{rate > 0 ? rate : 0, false, 0, 0};
}

int64_t screen::NextFrameDue(FramePace &pace, int64_t now) {
  if (pace.rate == 0)
    return now;
  int64_t behind = now - FrameTime(pace, pace.frames + 1);
  // First frame, or a stall: racing through the missed frames would speed the game
  // up, so the count starts afresh and the frame just shown gets a whole frame
  if (!pace.started || behind > ResyncFrames * NanosecondsPerSecond / pace.rate)
    pace = FramePace{pace.rate, true, now, 0};
  pace.frames++;
  return FrameTime(pace, pace.frames);
}
