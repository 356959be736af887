// The window's icon: the picture a task bar or dock shows for the screen's window.
#include <SDL/SDL.h>

#include "runtime/screen/screen.h"

void RT_SetWindowIcon(const uint8_t *pixels, int32_t width, int32_t height) {
  // Masks that read the bytes red, green, blue, alpha in memory order
#if SDL_BYTEORDER == SDL_BIG_ENDIAN
  constexpr Uint32 Red = 0xFF000000, Green = 0x00FF0000, Blue = 0x0000FF00, Alpha = 0x000000FF;
#else
  constexpr Uint32 Red = 0x000000FF, Green = 0x0000FF00, Blue = 0x00FF0000, Alpha = 0xFF000000;
#endif
  // SDL only reads the pixels, and keeps its own copy once the icon is set
  SDL_Surface *icon = SDL_CreateRGBSurfaceFrom(const_cast<uint8_t *>(pixels), width, height, 32,
                                               width * 4, Red, Green, Blue, Alpha);
  if (!icon)
    return;
  SDL_WM_SetIcon(icon, nullptr);
  SDL_FreeSurface(icon);
}
