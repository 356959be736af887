// Lost display: the X display going away (a remote session that drops, a server
// that ends), or the Wayland compositor.
//
// Xlib's own answer to a lost X connection is to print a notice and end the
// process on the spot, in the middle of whatever SDL or the GL driver is doing,
// which can crash on the way out, and with the game's scores unsaved. Here the
// loss is told once on stderr and RT_DisplayLost turns 1. While the screen is
// open, Xlib then goes on without the connection and the runtime stops calling
// SDL's video: flips show nothing and nothing else fails, so the game can save
// and end its run. At any other moment (before the screen is open, or while
// SDL's video shuts down) SDL would wait for ever on the dead connection, so the
// process ends there and then with status 1, without running exit handlers.
//
// Xlib has one such handler for the whole process, and others replace it: GTK
// with one that ends the process when it starts for the first message box, a
// driver or a toolkit at any time. So the watch takes it back when the screen
// opens and at every flip.
//
// On Wayland (SDL_VIDEODRIVER=wayland), SDL notices a broken connection itself
// and goes on without it; it tells the game only through a quit event, the same
// as a close request, which the game ignores. So the keyboard hands each quit
// event to TakeQuitEvent, which looks at the screen's connection and tells the
// loss only when that connection has failed.
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
#include "runtime/screen/video.h"
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
void TakeBackXlibHandler() {
  XSetIOErrorHandler(OnConnectionError);
}

// Returning lets Xlib go on without the connection: later requests do nothing.
void OnScreenConnectionLost(Display *, void *) {}

// SDL's video shut-down talks to the display, so the screen's connection is
// forgotten first: a loss during the shut-down ends the process. False when the
// display has gone already, and SDL's video must not be called.
bool ForgetScreenConnection() {
  OpenScreenDisplay = nullptr;
  OpenScreenWayland = nullptr;
  return !DisplayLost;
}

} // namespace

void screen::StartDisplayWatch() {
  DisplayLost = 0;
  TakeBackXlibHandler();
}

void screen::WatchScreenConnection() {
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (SDL_GetWMInfo(&info) <= 0 || info.subsystem != SDL_SYSWM_X11) {
    OpenScreenWayland = WaylandDisplayOf(SDL12COMPAT_GetWindow());
    return; // no X display behind this screen
  }
  OpenScreenDisplay = info.info.x11.display;
  XSetIOErrorExitHandler(OpenScreenDisplay, OnScreenConnectionLost, nullptr);
  TakeBackXlibHandler();
}

void screen::TakeQuitEvent() {
  if (OpenScreenWayland && wl_display_get_error(OpenScreenWayland) != 0)
    TellLoss("Wayland");
}

void screen::ShowFrame(SDL_Surface *screen) {
  if (DisplayLost)
    return;
  TakeBackXlibHandler();
  SDL_Flip(screen);
}

void screen::QuitVideoSubsystem() {
  if (ForgetScreenConnection())
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

void screen::QuitSDL() {
  if (ForgetScreenConnection())
    SDL_Quit();
  else // audio and the rest still need their shut-down
    SDL_QuitSubSystem(SDL_INIT_EVERYTHING & ~SDL_INIT_VIDEO);
}

int32_t RT_DisplayLost() {
  return DisplayLost;
}
