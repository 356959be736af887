// Screen and sprites: one SDL 1.2 video surface and a table of numbered sprites.
//
// Sprites are surfaces in the display's format with black (pixel 0) as colour key.
// The table starts with 50 rows and grows to number + 50 when a sprite is created
// past its end. Numbers given to anything but creation must already be in the table.
//
// Sprite blits go to the display target, clipped to it: none until the first
// RT_FlipBuffers, which makes it the screen; RT_UseBuffer can point it at a sprite.
// Freeing that sprite or closing the screen leaves no target until the next flip.
//
// Video path: SDL's software renderer where OpenGL would run on the processor;
// see video_path.cpp. Lost display: told on stderr, then RT_DisplayLost is 1 and
// flips show nothing, so the program can save and shut down; see display_watch.cpp.
//
// Everything here is the game's. Bringing SDL's video up, which the keyboard
// library shares, is in video.h.
#pragma once

#include <cstdint>

struct SDL_Surface;

// One row of the sprite table.
struct RT_SpriteEntry {
  SDL_Surface *surface;            // null: the number holds no sprite
  int16_t shownWidth, shownHeight; // the part that is displayed
  int16_t width, height;           // the full surface, used as a display target
  int16_t shownX, shownY;          // top-left of the displayed part
  uint32_t colorKey;               // pixel value left out by transparent blits
};

// The sprite table (read by the drawing library and by tests)
extern RT_SpriteEntry *RT_Sprite_ObjectsArea;
extern int32_t RT_Sprite_ObjectsNumber;

// Library
void *RT_InitSprite(); // starts video and makes the 50-row table; null on failure
void RT_FreeSprites(); // frees every sprite and the table, shuts SDL down (both flags to 0)

// Screen
SDL_Surface *RT_OpenScreen(int32_t width, int32_t height, int32_t depth, const char *title);
SDL_Surface *RT_OpenWindowedScreen(void *window, int32_t x, int32_t y, int32_t width,
                                   int32_t height, int32_t a, int32_t b, int32_t c);
void RT_CloseScreen();
SDL_Surface *RT_ScreenID();  // the screen, or null
const char *RT_VideoError(); // why video or the screen could not start, from SDL
int32_t RT_DisplayLost();    // 1 once the display has gone, until video starts again
void RT_ClearScreen(int32_t red, int32_t green, int32_t blue); // fills the whole screen
void RT_FlipBuffers();                // shows the frame at once, then waits until the next is due
void RT_SetFrameRate(int32_t rate);   // frames a second that RT_FlipBuffers holds to; 0: unpaced
void RT_SetRefreshRate(int32_t rate); // no effect
SDL_Surface *RT_UseBuffer(int32_t number); // display target: a sprite, or -1 for the screen

// Window icon: what a task bar or dock shows for the screen's window. Takes
// width x height pixels of 4 bytes (red, green, blue, alpha), row by row; set
// it once video is up and before RT_OpenScreen.
void RT_SetWindowIcon(const uint8_t *pixels, int32_t width, int32_t height);

// Sprites
SDL_Surface *RT_CreateSprite2(int32_t number, int32_t width, int32_t height, int32_t mode);
SDL_Surface *RT_CreateSprite(int32_t number, int32_t width, int32_t height);
void RT_FreeSprite(int32_t number);
void RT_DisplaySprite(int32_t number, int32_t x, int32_t y);            // black drawn
void RT_DisplayTransparentSprite(int32_t number, int32_t x, int32_t y); // black left out
int32_t RT_SpriteWidth(int32_t number);                                 // shown width
int32_t RT_SpriteHeight(int32_t number);                                // shown height
