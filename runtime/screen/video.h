// SDL's video subsystem as the screen library brings it up, shared with the
// keyboard library, which needs video for its key events. Not the game's.
#pragma once

#include <cstdint>

// The bring-up flags, 0 or 1
extern int32_t RT_SDL_State;      // SDL_Init has succeeded
extern int32_t RT_SDL_VideoState; // the video subsystem is up

namespace screen {

// Starts video unless it is up (SDL_Init, or SDL_InitSubSystem after another
// library's SDL_Init) and chooses its path; 1 on success, and the flags follow.
int32_t BringUpVideo();
void TakeQuitEvent(); // SDL's quit event: a close request, or a lost Wayland display

} // namespace screen
