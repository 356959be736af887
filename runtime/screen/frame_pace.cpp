// Frame pacing: deadlines counted from one origin, so the rate does not drift.
#include "runtime/screen/frame_pace.h"

namespace {

constexpr int64_t NanosecondsPerSecond = 1'000'000'000;

// Due times count from one origin so that rounding the period never accumulates
int64_t FrameTime(const RT_FramePace &pace, int64_t frame) {
  return pace.origin + frame * NanosecondsPerSecond / pace.rate;
}

} // namespace

void RT_SetFramePace(RT_FramePace &pace, int32_t rate) {
  pace = RT_FramePace{rate > 0 ? rate : 0, false, 0, 0};
}

int64_t RT_NextFrameDue(RT_FramePace &pace, int64_t now) {
  if (pace.rate == 0)
    return now;
  if (pace.started) {
    int64_t due = FrameTime(pace, pace.frames + 1);
    if (now - due <= RT_FramePace_ResyncFrames * NanosecondsPerSecond / pace.rate) {
      pace.frames++;
      return due;
    }
  }
  // First frame, or a stall: racing through the missed frames would speed the game up
  pace.started = true;
  pace.origin = now;
  pace.frames = 0;
  return now;
}
