// The audio device as the sound library opens, watches and reopens it: SDL's
// own calls unless a test puts its own here before RT_InitSound. For tests; not
// the game's.
#pragma once

#include <cstdint>

struct SDL_AudioSpec;

namespace sound {

struct DeviceCalls {
  int32_t (*open)(SDL_AudioSpec *wanted, SDL_AudioSpec *obtained); // 1: open, paused
  void (*resume)();                                                // the callback starts
  void (*close)();
  int32_t (*lost)(); // 1 once the open device has gone away
};
extern DeviceCalls Device;

// The watch's one look: closes a lost device and tries to open one. 1 while a
// device is open. Made once a second until RT_FreeSounds, or by a test after it.
int32_t CheckDevice();

} // namespace sound
