// Frame loop benchmark: the game's clear-and-flip loop at its 75 frames a second,
// headless. Prints the rate held, the 99th-percentile frame interval and the
// processor time each frame costs.
#include <SDL/SDL.h>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <vector>

#include "runtime/screen/screen.h"

namespace {

constexpr int32_t FrameRate = 75;
constexpr double RunSeconds = 10.0;

double Seconds(clockid_t clock) {
  timespec t;
  clock_gettime(clock, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

double Percentile(std::vector<double> values, double fraction) {
  auto at = values.begin() + static_cast<long>(fraction * static_cast<double>(values.size() - 1));
  std::nth_element(values.begin(), at, values.end());
  return *at;
}

} // namespace

int main() {
  setenv("SDL_VIDEODRIVER", "dummy", 0);
  if (!RT_InitSprite() || !RT_OpenScreen(640, 480, 16, "bench")) {
    fprintf(stderr, "bench_frame: cannot open the screen: %s\n", RT_VideoError());
    return 1;
  }
  RT_SetFrameRate(FrameRate);

  std::vector<double> intervals;
  intervals.reserve(static_cast<size_t>(RunSeconds * FrameRate * 2));
  RT_ClearScreen(0, 0, 0);
  RT_FlipBuffers(); // starts the schedule
  double start = Seconds(CLOCK_MONOTONIC), cpuStart = Seconds(CLOCK_PROCESS_CPUTIME_ID);
  double last = start;
  while (last - start < RunSeconds) {
    RT_ClearScreen(0, 0, 0);
    RT_FlipBuffers();
    double now = Seconds(CLOCK_MONOTONIC);
    intervals.push_back(now - last);
    last = now;
  }
  double cpu = Seconds(CLOCK_PROCESS_CPUTIME_ID) - cpuStart;
  RT_FreeSprites();

  auto frames = static_cast<double>(intervals.size());
  double rate = frames / (last - start);
  printf("frames:              %zu in %.3f s\n", intervals.size(), last - start);
  printf("mean frame rate:     %.3f fps (target %d.0, %+.3f %%)\n", rate, FrameRate,
         (rate / FrameRate - 1) * 100);
  printf("p99 frame interval:  %.3f ms (target %.2f)\n", Percentile(intervals, 0.99) * 1e3,
         1e3 / FrameRate);
  printf("CPU time per frame:  %.3f ms\n", cpu / frames * 1e3);
  return 0;
}
