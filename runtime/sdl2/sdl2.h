// SDL 2 beneath SDL 1.2: sdl12-compat carries out the game's SDL 1.2 calls on the
// SDL 2 library it loads when the program starts. The runtime reaches the few SDL 2
// calls that SDL 1.2 has no word for (game controllers, the audio device's state)
// by name in that same copy: linked in, they would clash with SDL 1.2's names.
//
// A file that declares such calls includes <SDL2/SDL.h> and no SDL 1.2 header, as
// the two define the same names differently.
#pragma once

namespace sdl2 {

void *FindCall(const char *name); // the SDL 2 call of that name, or null when it is missing

// The call as a pointer of its own type: Find<decltype(&SDL_GameControllerOpen)>(...)
template <class Call> Call Find(const char *name) {
  return reinterpret_cast<Call>(FindCall(name));
}

} // namespace sdl2
