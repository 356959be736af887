// A gamepad inside the real game, for the end-to-end tests. Loaded with
// LD_PRELOAD, it attaches a virtual pad named "Xbox 360 Controller" just before
// the game starts SDL's joystick subsystem, so the game opens it as a real pad,
// and then sets the pad as told by the lines written to the FIFO named by
// HELIOMANTS_E2E_PAD:
//
//   button NUMBER 1|0   a button goes down or up
//   hat BITS            the D-pad, as SDL_HAT_ bits
//   axis NUMBER VALUE   an axis moves, -32768 to 32767
#include <dlfcn.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <thread>

#include "tests/virtual_pad.h"

namespace {

constexpr uint32_t InitJoystick = 0x200; // SDL_INIT_JOYSTICK, the same in SDL 1.2 and 2

void FollowCommands(const VirtualPad *pad, const char *path) {
  // Open for writing too, so that the stream never ends when a writer goes
  FILE *commands = fopen(path, "r+");
  if (!commands) {
    perror(path);
    return;
  }
  char line[80];
  int32_t number, value;
  while (fgets(line, sizeof line, commands)) {
    if (sscanf(line, "button %d %d", &number, &value) == 2)
      pad->Button(number, value != 0);
    else if (sscanf(line, "hat %d", &value) == 1)
      pad->Hat(static_cast<uint8_t>(value));
    else if (sscanf(line, "axis %d %d", &number, &value) == 2)
      pad->Axis(number, static_cast<int16_t>(value));
    else
      fprintf(stderr, "pad shim: unknown command: %s", line);
  }
}

} // namespace

// SDL 1.2's call, which the game makes to start its pads
extern "C" int SDL_InitSubSystem(uint32_t flags) {
  static const auto next = reinterpret_cast<int (*)(uint32_t)>(dlsym(RTLD_NEXT, __func__));
  static const VirtualPad *pad = nullptr;
  const char *path = getenv("HELIOMANTS_E2E_PAD");
  if (flags & InitJoystick && path && !pad) {
    pad = new VirtualPad("Xbox 360 Controller", 11);
    if (pad->Attached())
      std::thread(FollowCommands, pad, path).detach();
    else
      fprintf(stderr, "pad shim: cannot attach a pad: %s\n", VirtualPad::Error());
  }
  return next(flags);
}
