// SDL 2 beneath SDL 1.2: the library sdl12-compat loaded, looked up by name.
#include "runtime/sdl2/sdl2.h"

#include <dlfcn.h>

namespace {

// Only the copy already in the process: a second SDL 2 would hold no pads and no
// device of the game's. Null when none is loaded.
void *LoadedLibrary() {
  // The handle holds the library in place for the rest of the run
  static void *const library = dlopen("libSDL2-2.0.so.0", RTLD_NOLOAD | RTLD_NOW);
  return library;
}

} // namespace

void *sdl2::FindCall(const char *name) {
  void *library = LoadedLibrary();
  return library ? dlsym(library, name) : nullptr;
}
