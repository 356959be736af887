// Inside the screen library: the watch on the display, and the SDL calls that
// must not reach a display that has gone (see display_watch.cpp).
#pragma once

struct SDL_Surface;

namespace screen {

void StartDisplayWatch();            // before video starts: no loss yet, Xlib's handler ours
void WatchScreenConnection();        // once the screen is open: its own connection, X or Wayland
void ShowFrame(SDL_Surface *screen); // SDL_Flip, unless the display has gone
void QuitVideoSubsystem();           // SDL_QuitSubSystem of video: the screen, its window and all
void QuitSDL();                      // SDL_Quit; after a loss, every subsystem but video

} // namespace screen
