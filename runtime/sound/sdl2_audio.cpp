// SDL 2's side of the audio device, reached in the copy beneath SDL 1.2.
#include "runtime/sound/sdl2_audio.h"

#include <SDL2/SDL.h>

#include <string>

#include "runtime/sdl2/sdl2.h"

namespace {

// Every SDL 2 call the sound library makes
struct Calls {
  decltype(&SDL_GetAudioStatus) getAudioStatus; // of the device SDL_OpenAudio opens
  decltype(&SDL_GetCurrentAudioDriver) getCurrentAudioDriver;
  decltype(&SDL_AudioInit) audioInit;
  decltype(&SDL_AudioQuit) audioQuit;
};

// Null unless SDL 2 is loaded with all of them
const Calls *Sdl2() {
  static const Calls calls = {
      sdl2::Find<decltype(&SDL_GetAudioStatus)>("SDL_GetAudioStatus"),
      sdl2::Find<decltype(&SDL_GetCurrentAudioDriver)>("SDL_GetCurrentAudioDriver"),
      sdl2::Find<decltype(&SDL_AudioInit)>("SDL_AudioInit"),
      sdl2::Find<decltype(&SDL_AudioQuit)>("SDL_AudioQuit"),
  };
  static const bool complete =
      calls.getAudioStatus && calls.getCurrentAudioDriver && calls.audioInit && calls.audioQuit;
  return complete ? &calls : nullptr;
}

// The driver to start again: the one the device was lost on. Another would not do:
// with a sound server restarting, ALSA could take the sound card from under it.
std::string StoppedDriver;

} // namespace

sound::Sdl2Device sound::Sdl2AudioDevice() {
  const Calls *sdl2 = Sdl2();
  if (!sdl2)
    return Sdl2Device::Unknown;
  return sdl2->getAudioStatus() == SDL_AUDIO_STOPPED ? Sdl2Device::Lost : Sdl2Device::Present;
}

// The driver goes down with the device: SDL 2's PulseAudio driver keeps one
// connection to the server for all its devices, and once the server is gone no
// device opens on it again until the driver starts anew.
void sound::Sdl2StopAudioDriver() {
  const Calls *sdl2 = Sdl2();
  if (!sdl2)
    return;
  if (const char *name = sdl2->getCurrentAudioDriver())
    StoppedDriver = name;
  sdl2->audioQuit();
}

bool sound::Sdl2StartAudioDriver() {
  const Calls *sdl2 = Sdl2();
  if (!sdl2 || sdl2->getCurrentAudioDriver())
    return true;
  return sdl2->audioInit(StoppedDriver.empty() ? nullptr : StoppedDriver.c_str()) == 0;
}
