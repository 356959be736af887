// The screen library's watch on the X display, and the SDL calls that must not
// reach a display that has gone.
#pragma once

struct SDL_Surface;

void WatchDisplays();                // before video starts
void WatchScreenDisplay();           // once the screen is open
void ShowFrame(SDL_Surface *screen); // SDL_Flip
void CloseVideo();                   // SDL_QuitSubSystem of video
void QuitSDL();                      // SDL_Quit
