// The X display going away (a remote session that drops, a server that ends).
// Xlib's own answer is to print a notice and end the process on the spot, in the
// middle of whatever SDL or the GL driver is doing, which can crash on the way
// out, and with the game's scores unsaved. Here the loss is told once on stderr;
// while the screen is open, Xlib then goes on without the connection and the
// runtime stops calling SDL's video, so the game can save and end its run. At any
// other moment SDL would wait for ever on the dead connection, so the process ends
// there and then, without running exit handlers.
//
// Xlib has one such handler for the whole process, and others replace it: GTK with
// one that ends the process when it starts for the first message box, a driver or
// a toolkit at any time. So the watch takes it back when the screen opens and at
// every flip.
//
// On Wayland, SDL notices a broken connection itself and goes on without it; it
// tells the game only through a quit event, the same as a close request, which
// the game ignores. So at each quit event the screen's connection is looked at.
#include "runtime/screen/display_watch.h"

#include <SDL/SDL.h>
#include <SDL/SDL_syswm.h>
#include <X11/Xlib.h>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <unistd.h>
#include <wayland-client-core.h>

#include "runtime/screen/screen.h"
#include "runtime/screen/wayland_window.h"

namespace {

constexpr int LostStatus = 1;

Display *OpenScreenDisplay = nullptr;    // the connection of the open screen, on X
wl_display *OpenScreenWayland = nullptr; // the same, on Wayland
volatile sig_atomic_t DisplayLost = 0;

// Told once, naming the kind of display
void TellLoss(const char *kind) {
  if (!DisplayLost)
    std::fprintf(stderr, "%s: lost the connection to the %s display\n",
                 program_invocation_short_name, kind);
  DisplayLost = 1;
}

// Called for any connection of the process, first of Xlib's two handlers
int OnConnectionError(Display *display) {
  TellLoss("X");
  if (display != OpenScreenDisplay)
    _exit(LostStatus);
  return 0;
}

// Ours again, should another have taken Xlib's handler meanwhile
void KeepWatching() {
  XSetIOErrorHandler(OnConnectionError);
}

// Returning lets Xlib go on without the connection: later requests do nothing.
void OnScreenConnectionLost(Display *, void *) {}

// SDL's video shut-down talks to the display; a loss during it ends the process
template <typename Quit> void CloseDisplay(Quit quit) {
  OpenScreenDisplay = nullptr;
  OpenScreenWayland = nullptr;
  if (!DisplayLost)
    quit();
}

} // namespace

void WatchDisplays() {
  DisplayLost = 0;
  KeepWatching();
}

void WatchScreenDisplay() {
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (SDL_GetWMInfo(&info) <= 0 || info.subsystem != SDL_SYSWM_X11) {
    OpenScreenWayland = WaylandDisplayOf(SDL12COMPAT_GetWindow());
    return; // no X display behind this screen
  }
  OpenScreenDisplay = info.info.x11.display;
  XSetIOErrorExitHandler(OpenScreenDisplay, OnScreenConnectionLost, nullptr);
  KeepWatching();
}

void RT_TakeQuitEvent() {
  if (OpenScreenWayland && wl_display_get_error(OpenScreenWayland) != 0)
    TellLoss("Wayland");
}

void ShowFrame(SDL_Surface *screen) {
  if (DisplayLost)
    return;
  KeepWatching();
  SDL_Flip(screen);
}

void CloseVideo() {
  CloseDisplay([] { SDL_QuitSubSystem(SDL_INIT_VIDEO); });
}

void QuitSDL() {
  CloseDisplay(SDL_Quit);
  // Audio and the rest still need their shut-down
  if (DisplayLost)
    SDL_QuitSubSystem(SDL_INIT_EVERYTHING & ~SDL_INIT_VIDEO);
}

int32_t RT_DisplayLost() {
  return DisplayLost;
}
