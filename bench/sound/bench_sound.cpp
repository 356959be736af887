// Mixer benchmark: the audio callback with all 32 channels busy repeating the game's
// six effects, headless. Prints the processor time one device buffer costs to mix
// (thread time, so other programs on the machine count less) and that time as a
// share of the buffer's own playing time.
#include <SDL/SDL.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <vector>

#include "assets/sound_effects.h"
#include "runtime/sound/sound.h"

namespace {

constexpr int BufferBytes = 2048;   // 512 stereo 16-bit frames
constexpr int CallsPerBatch = 2000; // about 23 s of sound
constexpr int Batches = 15;

double ThreadSeconds() {
  timespec t;
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

} // namespace

int main() {
  setenv("SDL_AUDIODRIVER", "dummy", 0);
  if (!RT_InitSound()) {
    fprintf(stderr, "bench_sound: cannot open the audio device: %s\n", SDL_GetError());
    return 1;
  }
  SDL_PauseAudio(1); // the callback runs only here, on this thread
  for (int n = 0; n < SoundEffectCount; n++)
    if (!RT_CatchSound(n, SoundEffectImages[n].data, SoundEffectImages[n].size)) {
      fprintf(stderr, "bench_sound: cannot load sound %d\n", n);
      return 1;
    }
  for (int channel = 0; channel < RT_Sound_ChannelCount; channel++)
    RT_PlaySound2(channel % SoundEffectCount, 1);

  std::vector<uint8_t> buffer(BufferBytes);
  std::vector<double> perCall; // seconds, one figure per batch
  for (int batch = 0; batch < Batches; batch++) {
    const double start = ThreadSeconds();
    for (int call = 0; call < CallsPerBatch; call++) {
      std::fill(buffer.begin(), buffer.end(), 0);
      fill_audio(nullptr, buffer.data(), BufferBytes);
    }
    perCall.push_back((ThreadSeconds() - start) / CallsPerBatch);
  }
  const int busy = int(std::count_if(std::begin(RT_Sound_Channels), std::end(RT_Sound_Channels),
                                     [](const RT_SoundChannel &c) { return c.remaining > 0; }));
  RT_FreeSounds();
  SDL_Quit();

  std::sort(perCall.begin(), perCall.end());
  const double median = perCall[perCall.size() / 2];
  const double bufferSeconds = double(BufferBytes / 4) / obtained.freq;
  printf("busy channels:       %d of %d\n", busy, RT_Sound_ChannelCount);
  printf("CPU time per buffer: %.2f us median, %.2f us best (%d batches of %d)\n", median * 1e6,
         perCall.front() * 1e6, Batches, CallsPerBatch);
  printf("share of the buffer: %.3f %% of %.2f ms (target below 1 %%)\n",
         median / bufferSeconds * 100, bufferSeconds * 1e3);
  return busy == RT_Sound_ChannelCount ? 0 : 1;
}
