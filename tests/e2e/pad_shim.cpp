// A gamepad inside the real game, for the end-to-end tests. Loaded with
// LD_PRELOAD, it follows the lines written to the FIFO named by
// HELIOMANTS_E2E_PAD from the game's start on:
//
//   attach              an Xbox pad, with its mapping, is plugged in
//   button NUMBER 1|0   a button goes down or up
//   hat BITS            the D-pad, as SDL_HAT_ bits
//   axis NUMBER VALUE   an axis moves, -32768 to 32767
//
// Each line, once carried out, is appended to the file named by
// HELIOMANTS_E2E_PAD_DONE, so that a test knows the pad holds what it said.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <thread>

#include "tests/virtual_pad.h"

namespace {

void FollowCommands(const char *path, const char *donePath) {
  // Open for writing too, so that the stream never ends when a writer goes
  FILE *commands = fopen(path, "r+");
  FILE *done = fopen(donePath, "a");
  if (!commands || !done) {
    perror(commands ? donePath : path);
    return;
  }
  std::optional<VirtualPad> pad;
  char line[80];
  int32_t number, value;
  while (fgets(line, sizeof line, commands)) {
    if (strcmp(line, "attach\n") == 0) {
      pad.emplace(XboxPad);
      if (!pad->Attached())
        fprintf(stderr, "pad shim: cannot attach a pad: %s\n", VirtualPad::Error());
    } else if (!pad)
      fprintf(stderr, "pad shim: no pad for: %s", line);
    else if (sscanf(line, "button %d %d", &number, &value) == 2)
      pad->Button(number, value != 0);
    else if (sscanf(line, "hat %d", &value) == 1)
      pad->Hat(static_cast<uint8_t>(value));
    else if (sscanf(line, "axis %d %d", &number, &value) == 2)
      pad->Axis(number, static_cast<int16_t>(value));
    else
      fprintf(stderr, "pad shim: unknown command: %s", line);
    fputs(line, done);
    fflush(done);
  }
}

__attribute__((constructor)) void StartPadShim() {
  const char *path = getenv("HELIOMANTS_E2E_PAD"), *done = getenv("HELIOMANTS_E2E_PAD_DONE");
  if (path && done)
    std::thread(FollowCommands, path, done).detach();
}

} // namespace
