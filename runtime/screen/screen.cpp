// Screen and sprites: the SDL video surface, the sprite table and its blits, and
// the flip that holds the loop to its frame rate.
#include "runtime/screen/screen.h"

#include <SDL/SDL.h>
#include <cstdlib>

#include "runtime/misc/clock.h"
#include "runtime/screen/display_watch.h"
#include "runtime/screen/frame_pace.h"
#include "runtime/screen/video.h"
#include "runtime/screen/video_path.h"

int32_t RT_SDL_State = 0;
int32_t RT_SDL_VideoState = 0;
RT_SpriteEntry *RT_Sprite_ObjectsArea = nullptr;
int32_t RT_Sprite_ObjectsNumber = 0;

namespace {

constexpr int32_t SpriteTableMargin = 50; // rows made beyond the highest number asked for
constexpr Uint32 FullScreenFlags = SDL_HWSURFACE | SDL_DOUBLEBUF | SDL_FULLSCREEN;
constexpr Uint32 WindowedFlags = SDL_HWSURFACE | SDL_DOUBLEBUF;

SDL_Surface *RT_Screen_Current = nullptr;
int32_t RT_Screen_RealWidth = 0, RT_Screen_RealHeight = 0;
int32_t RT_Screen_Width = 0, RT_Screen_Height = 0; // of the display target: blits clip to it
SDL_Surface *RT_Sprite_CurrentBitmap = nullptr;    // display target; null until the first flip
uint32_t RT_Sprite_ColorKey = 0;
screen::FramePace FramePace = {};

// ---- Screen helpers

// The size globals, the hidden pointer and the watch on the display, for an open screen
SDL_Surface *ScreenOpened(int32_t width, int32_t height) {
  RT_Screen_Width = RT_Screen_RealWidth = width;
  RT_Screen_Height = RT_Screen_RealHeight = height;
  SDL_ShowCursor(0);
  screen::WatchScreenConnection();
  return RT_Screen_Current;
}

// SDL_Flip does not wait for the display everywhere, and every speed in the
// game is per frame, so the loop is held to the frame rate here. The wait comes
// after the flip, so that the keys a frame reads are as fresh as they can be
// when its picture appears.
void WaitForNextFrame() {
  if (FramePace.rate == 0)
    return;
  misc::SleepUntil(screen::NextFrameDue(FramePace, misc::MonotonicNanoseconds()));
}

// ---- Sprite helpers

bool GrowSpriteTable(int32_t number) {
  if (number < RT_Sprite_ObjectsNumber)
    return true;
  int32_t rows = number + SpriteTableMargin;
  auto *grown = static_cast<RT_SpriteEntry *>(
      realloc(RT_Sprite_ObjectsArea, sizeof(RT_SpriteEntry) * static_cast<size_t>(rows)));
  if (!grown)
    return false;
  for (int32_t row = RT_Sprite_ObjectsNumber; row < rows; row++)
    grown[row] = RT_SpriteEntry{};
  RT_Sprite_ObjectsArea = grown;
  RT_Sprite_ObjectsNumber = rows;
  return true;
}

// A surface in the display's format, so that every blit is a plain copy
SDL_Surface *MakeDisplaySurface(int32_t width, int32_t height) {
  SDL_Surface *surface =
      SDL_CreateRGBSurface(0, width, height, 24, 0x000000FF, 0x0000FF00, 0x00FF0000, 0);
  if (!surface)
    return nullptr;
  SDL_Surface *converted = SDL_DisplayFormat(surface);
  if (!converted)
    return surface;
  if (converted != surface)
    SDL_FreeSurface(surface);
  return converted;
}

// Blits the shown part of a sprite with its top-left at (x, y), clipped to the target
void BlitSprite(const RT_SpriteEntry &sprite, int32_t x, int32_t y) {
  int32_t w = sprite.shownWidth, h = sprite.shownHeight;
  if (x >= RT_Screen_Width || y >= RT_Screen_Height || x <= -w || y <= -h)
    return;
  if (x + w > RT_Screen_Width)
    w = RT_Screen_Width - x;
  if (y + h > RT_Screen_Height)
    h = RT_Screen_Height - y;
  SDL_Rect source{static_cast<Sint16>(sprite.shownX + (x < 0 ? -x : 0)),
                  static_cast<Sint16>(sprite.shownY + (y < 0 ? -y : 0)), static_cast<Uint16>(w),
                  static_cast<Uint16>(h)};
  SDL_Rect destination{static_cast<Sint16>(x < 0 ? 0 : x), static_cast<Sint16>(y < 0 ? 0 : y), 0,
                       0};
  SDL_UpperBlit(sprite.surface, &source, RT_Sprite_CurrentBitmap, &destination);
}

const RT_SpriteEntry *DisplayableSprite(int32_t number) {
  if (!RT_Sprite_CurrentBitmap || !RT_Sprite_ObjectsArea[number].surface)
    return nullptr;
  return &RT_Sprite_ObjectsArea[number];
}

} // namespace

// ---- SDL bring-up

int32_t screen::BringUpVideo() {
  if (RT_SDL_VideoState == 1)
    return 1;
  // Keeps one-pixel lines crisp when the screen is scaled up; a player's own setting wins
  setenv("SDL12COMPAT_SCALE_METHOD", "nearest", 0);
  // SDL would turn SIGINT and SIGTERM into a quit event, which the keyboard drops;
  // the keyboard library catches them itself.
  setenv("SDL_NO_SIGNAL_HANDLERS", "1", 0);
  // The game needs an X display; without one SDL would fall back to drawing
  // off screen, and the game would run unseen instead of saying it cannot start.
  setenv("SDL_VIDEODRIVER", "x11", 0);
  StartDisplayWatch();
  if (RT_SDL_State == 0) {
    if (SDL_Init(SDL_INIT_VIDEO) != 0)
      return 0;
    RT_SDL_State = 1;
  } else if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
    return 0;
  }
  RT_SDL_VideoState = 1;
  // Once SDL holds its own X connection, so that closing the probe's cannot make
  // a server with no other client reset; SDL reads the variables at the screen's opening
  SetUpVideoPath();
  return 1;
}

// ---- Library

void *RT_InitSprite() {
  RT_Sprite_ObjectsArea = nullptr;
  RT_Sprite_ColorKey = 0;
  if (!screen::BringUpVideo())
    return nullptr;
  RT_Sprite_ObjectsArea =
      static_cast<RT_SpriteEntry *>(calloc(SpriteTableMargin, sizeof(RT_SpriteEntry)));
  RT_Sprite_ObjectsNumber = RT_Sprite_ObjectsArea ? SpriteTableMargin : 0;
  return RT_Sprite_ObjectsArea;
}

void RT_FreeSprites() {
  for (int32_t number = 0; number < RT_Sprite_ObjectsNumber; number++)
    RT_FreeSprite(number);
  free(RT_Sprite_ObjectsArea);
  RT_Sprite_ObjectsArea = nullptr;
  RT_Sprite_ObjectsNumber = 0;
  // SDL_Quit takes the screen and the video subsystem with it
  RT_Screen_Current = RT_Sprite_CurrentBitmap = nullptr;
  RT_SDL_VideoState = 0;
  if (RT_SDL_State == 1) {
    RT_SDL_State = 0;
    screen::QuitSDL();
  }
}

// ---- Screen

SDL_Surface *RT_OpenScreen(int32_t width, int32_t height, int32_t depth, const char *) {
  RT_CloseScreen();
  if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0)
    return nullptr;
  RT_Screen_Current = SDL_SetVideoMode(width, height, depth, FullScreenFlags);
  if (!RT_Screen_Current)
    return nullptr;
  return ScreenOpened(width, height);
}

SDL_Surface *RT_OpenWindowedScreen(void *, int32_t, int32_t, int32_t width, int32_t height, int32_t,
                                   int32_t, int32_t) {
  RT_Screen_Current = SDL_SetVideoMode(width, height, 0, WindowedFlags);
  if (!RT_Screen_Current)
    return nullptr;
  return ScreenOpened(width, height);
}

void RT_CloseScreen() {
  if (!RT_Screen_Current)
    return;
  // Blits must not reach the screen surface that SDL is about to free
  if (RT_Sprite_CurrentBitmap == RT_Screen_Current)
    RT_Sprite_CurrentBitmap = nullptr;
  screen::QuitVideoSubsystem();
  RT_Screen_Current = nullptr;
}

SDL_Surface *RT_ScreenID() {
  return RT_Screen_Current;
}

const char *RT_VideoError() {
  return SDL_GetError();
}

void RT_ClearScreen(int32_t red, int32_t green, int32_t blue) {
  if (!RT_Screen_Current)
    return;
  // A raw pixel value: black, the game's one clear colour, is 0 in every format
  SDL_FillRect(RT_Screen_Current, nullptr, static_cast<Uint32>((red << 16) + (green << 8) + blue));
}

void RT_FlipBuffers() {
  if (!RT_Screen_Current)
    return;
  RT_UseBuffer(-1);
  screen::ShowFrame(RT_Screen_Current);
  RT_Sprite_CurrentBitmap = RT_Screen_Current;
  WaitForNextFrame();
}

void RT_SetFrameRate(int32_t rate) {
  screen::SetFramePace(FramePace, rate);
}

void RT_SetRefreshRate(int32_t) {}

SDL_Surface *RT_UseBuffer(int32_t number) {
  if (number == -1) {
    RT_Sprite_CurrentBitmap = RT_Screen_Current;
    RT_Screen_Width = RT_Screen_RealWidth;
    RT_Screen_Height = RT_Screen_RealHeight;
  } else if (const RT_SpriteEntry &sprite = RT_Sprite_ObjectsArea[number]; sprite.surface) {
    RT_Sprite_CurrentBitmap = sprite.surface;
    RT_Screen_Width = sprite.width;
    RT_Screen_Height = sprite.height;
  }
  return RT_Sprite_CurrentBitmap;
}

// ---- Sprites

SDL_Surface *RT_CreateSprite2(int32_t number, int32_t width, int32_t height, int32_t) {
  if (!RT_Screen_Current || !GrowSpriteTable(number))
    return nullptr;
  RT_FreeSprite(number);
  SDL_Surface *surface = MakeDisplaySurface(width, height);
  if (!surface)
    return nullptr;
  SDL_SetColorKey(surface, SDL_SRCCOLORKEY, RT_Sprite_ColorKey);
  auto w = static_cast<int16_t>(surface->w), h = static_cast<int16_t>(surface->h);
  RT_Sprite_ObjectsArea[number] = RT_SpriteEntry{surface, w, h, w, h, 0, 0, RT_Sprite_ColorKey};
  return surface;
}

SDL_Surface *RT_CreateSprite(int32_t number, int32_t width, int32_t height) {
  return RT_CreateSprite2(number, width, height, 0);
}

void RT_FreeSprite(int32_t number) {
  RT_SpriteEntry &sprite = RT_Sprite_ObjectsArea[number];
  if (!sprite.surface)
    return;
  // The display target must not outlive the sprite it points into
  if (RT_Sprite_CurrentBitmap == sprite.surface)
    RT_Sprite_CurrentBitmap = nullptr;
  SDL_FreeSurface(sprite.surface);
  sprite.surface = nullptr;
}

void RT_DisplaySprite(int32_t number, int32_t x, int32_t y) {
  const RT_SpriteEntry *sprite = DisplayableSprite(number);
  if (!sprite)
    return;
  SDL_SetColorKey(sprite->surface, 0, 0);
  BlitSprite(*sprite, x, y);
  SDL_SetColorKey(sprite->surface, SDL_SRCCOLORKEY, sprite->colorKey);
}

void RT_DisplayTransparentSprite(int32_t number, int32_t x, int32_t y) {
  if (const RT_SpriteEntry *sprite = DisplayableSprite(number))
    BlitSprite(*sprite, x, y);
}

int32_t RT_SpriteWidth(int32_t number) {
  return RT_Sprite_ObjectsArea[number].shownWidth;
}

int32_t RT_SpriteHeight(int32_t number) {
  return RT_Sprite_ObjectsArea[number].shownHeight;
}
