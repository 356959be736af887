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
// Video path: SDL presents the screen through OpenGL by default. On a display
// without 3D acceleration (a virtual machine, VNC or RDP, Xvfb) Mesa runs that
// OpenGL on the processor, at several times the processor time and memory of SDL's
// software renderer. So when video comes up on X, the runtime asks the X server
// whether it offers direct rendering (DRI3, DRI2 or NVIDIA's GLX) on a local
// connection; where it does not, or where LIBGL_ALWAYS_SOFTWARE binds Mesa to
// software, it sets SDL_RENDER_DRIVER=software and SDL_FRAMEBUFFER_ACCELERATION=0.
// A player who sets either variable has chosen: the runtime then sets neither
// (SDL's software path needs both; SDL_RENDER_DRIVER=opengl alone keeps OpenGL).
// SDL's default on a Wayland desktop is X, through XWayland, where the same
// choice is made. With SDL_VIDEODRIVER=wayland, SDL (2.26 at least) draws every
// window through OpenGL (EGL) and has no software path: there is nothing to choose.
//
// Lost display: when the X display goes away (a remote session that drops, a
// server that ends), the loss is told on stderr and RT_DisplayLost turns 1; flips
// then show nothing and nothing else fails, so the program can save and shut down.
// Should the display go before the screen is open, or while SDL's video shuts
// down, where SDL would wait on it for ever, the process ends there with status 1.
// On Wayland (SDL_VIDEODRIVER=wayland) the compositor going away is the same loss.
// SDL then sends one quit event, as it does for a close request; the keyboard
// hands each quit event to RT_TakeQuitEvent, which looks at the screen's
// connection and tells the loss only when that connection has failed.
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

// SDL bring-up, shared with the keyboard
extern int32_t RT_SDL_State;      // 1 once SDL_Init has succeeded
extern int32_t RT_SDL_VideoState; // 1 once the video subsystem is up
int32_t RT_BringUpVideo();        // starts video if it is not up, choosing its path; 1 on success
void RT_TakeQuitEvent();          // SDL's quit event: a close request, or a lost Wayland display

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
