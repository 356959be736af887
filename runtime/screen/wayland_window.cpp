// The Wayland connection beneath SDL's window, from SDL 2's window information.
#include "runtime/screen/wayland_window.h"

#include <SDL2/SDL.h>
#include <SDL2/SDL_syswm.h>

#include "runtime/sdl2/sdl2.h"

wl_display *screen::WaylandDisplayOf(SDL_Window *window) {
  static const auto getInfo = sdl2::Find<decltype(&SDL_GetWindowWMInfo)>("SDL_GetWindowWMInfo");
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (!window || !getInfo || !getInfo(window, &info) || info.subsystem != SDL_SYSWM_WAYLAND)
    return nullptr;
  return info.info.wl.display;
}
