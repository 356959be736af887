// Sound: the audio device. SDL 1.2 opens it; a thread of the library's own looks at
// it once a second and opens it again after it has gone away. The look runs beside
// the game rather than in one of its calls each frame: opening a device can take a
// sound server's round trips, which no frame should wait for.
#include "runtime/sound/sound.h"

#include <SDL/SDL.h>
#include <errno.h>

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <system_error>
#include <thread>

#include "runtime/sound/device.h"
#include "runtime/sound/parts.h"
#include "runtime/sound/sdl2_audio.h"

namespace {

constexpr auto CheckPeriod = std::chrono::seconds(1);

// SDL's device

bool LossVisible = false; // SDL 2 beneath tells when the device SDL opened goes away

int32_t OpenSdlDevice(SDL_AudioSpec *asked, SDL_AudioSpec *granted) {
  if (!sound::Sdl2StartAudioDriver())
    return 0;
  if (SDL_OpenAudio(asked, granted) < 0) {
    sound::Sdl2StopAudioDriver(); // the next try starts it anew
    return 0;
  }
  LossVisible = sound::Sdl2AudioDevice() == sound::Sdl2Device::Present;
  return 1;
}

void ResumeSdlDevice() {
  SDL_PauseAudio(0);
}

void CloseSdlDevice() {
  SDL_CloseAudio();
  sound::Sdl2StopAudioDriver();
}

int32_t SdlDeviceLost() {
  return LossVisible && sound::Sdl2AudioDevice() == sound::Sdl2Device::Lost ? 1 : 0;
}

// The watch

std::mutex CheckLock; // one look at a time; also held while the device is first opened
bool Started = false; // RT_InitSound succeeded: there is a table to play from
bool DeviceOpen = false;

struct Watch {
  std::mutex lock;
  std::condition_variable wake;
  bool stop = false;
  std::thread thread;
};
// Left to the process if it ends without RT_FreeSounds, so no exit waits on it
Watch *Watcher = nullptr;

void RunWatch(Watch *watch) {
  std::unique_lock lock(watch->lock);
  while (!watch->wake.wait_for(lock, CheckPeriod, [watch] { return watch->stop; })) {
    lock.unlock();
    sound::CheckDevice();
    lock.lock();
  }
}

void StopWatch() {
  if (!Watcher)
    return;
  {
    std::lock_guard lock(Watcher->lock);
    Watcher->stop = true;
  }
  Watcher->wake.notify_one();
  Watcher->thread.join();
  delete Watcher;
  Watcher = nullptr;
}

void StartWatch() {
  StopWatch();
  Watcher = new Watch;
  try {
    Watcher->thread = std::thread(RunWatch, Watcher);
  } catch (const std::system_error &error) {
    std::fprintf(stderr, "%s: cannot watch the audio device: %s\n", program_invocation_short_name,
                 error.what());
    delete Watcher;
    Watcher = nullptr;
  }
}

} // namespace

sound::DeviceCalls sound::Device = {OpenSdlDevice, ResumeSdlDevice, CloseSdlDevice, SdlDeviceLost};

void *RT_InitSound() {
  std::unique_lock lock(CheckLock);
  RT_Sound_ObjectsArea = nullptr;
  Started = DeviceOpen = false;
  if (SDL_Init(SDL_INIT_AUDIO) != 0)
    return nullptr;
  wanted = {};
  wanted.freq = 44100;
  wanted.format = AUDIO_S16LSB;
  wanted.channels = 2;
  wanted.samples = 512;
  wanted.callback = fill_audio;
  wanted.userdata = nullptr;
  if (!sound::Device.open(&wanted, &obtained)) {
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    return nullptr;
  }
  if (!sound::MakeSoundTable()) {
    sound::Device.close();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    return nullptr;
  }
  {
    auto mixer = sound::LockMixer();
    for (RT_SoundChannel &channel : RT_Sound_Channels)
      channel.remaining = 0;
    sound::DeviceBackLocked();
  }
  Started = DeviceOpen = true;
  sound::Device.resume();
  lock.unlock();
  StartWatch();
  return RT_Sound_ObjectsArea;
}

void RT_FreeSounds() {
  StopWatch();
}

int32_t sound::CheckDevice() {
  std::lock_guard lock(CheckLock);
  if (!Started)
    return 0;
  if (DeviceOpen) {
    if (!Device.lost())
      return 1;
    Device.close();
    DeviceOpen = false;
    {
      auto mixer = LockMixer();
      DeviceGoneLocked();
    }
    std::fprintf(stderr, "%s: lost the audio device; sound is back when one is there\n",
                 program_invocation_short_name);
  }
  SDL_AudioSpec granted = {};
  if (!Device.open(&wanted, &granted))
    return 0;
  UseDeviceFormat(granted);
  DeviceOpen = true;
  Device.resume();
  std::fprintf(stderr, "%s: the audio device is back\n", program_invocation_short_name);
  return 1;
}
