// Inside the screen library: the Wayland connection beneath SDL's window. SDL
// 1.2's window information tells of X alone; SDL 2's, reached in the copy
// beneath it, tells of Wayland.
#pragma once

struct SDL_Window;
struct wl_display;

namespace screen {

wl_display *WaylandDisplayOf(SDL_Window *window); // null when the window is not on Wayland

} // namespace screen
