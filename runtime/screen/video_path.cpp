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
#include "runtime/screen/video_path.h"

#include <SDL/SDL.h>
#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <strings.h>

namespace {

// SDL reads an empty variable as an unset one
bool IsSet(const char *value) {
  return value && *value;
}

// As Mesa reads its yes-or-no variables
bool IsTrue(const char *value) {
  if (!value)
    return false;
  for (const char *yes : {"1", "true", "y", "yes"})
    if (strcasecmp(value, yes) == 0)
      return true;
  return false;
}

} // namespace

screen::VideoPath screen::ChooseVideoPath(const VideoSettings &settings,
                                          DisplayOffer (*askDisplay)()) {
  // Only on X is there a software path to take: SDL's Wayland driver draws every window
  // through EGL, whatever its variables say, and the other drivers were chosen on purpose
  if (!settings.videoDriver || strcmp(settings.videoDriver, "x11") != 0)
    return VideoPath::SdlDefault;
  // Either of SDL's variables means the player has picked the path
  if (IsSet(settings.renderDriver) || IsSet(settings.framebufferAcceleration))
    return VideoPath::SdlDefault;
  // Mesa bound to its swrast driver runs OpenGL on the processor, whatever the card
  if (IsTrue(settings.alwaysSoftware))
    return VideoPath::Software;
  DisplayOffer offer = askDisplay();
  // Nothing learnt: leave SDL as it is
  if (!offer.reached)
    return VideoPath::SdlDefault;
  // Without direct rendering Mesa draws OpenGL with llvmpipe, softpipe or swrast, on
  // the processor and at several times the cost of SDL's software renderer
  bool direct = offer.dri3 || offer.dri2 || offer.nvGlx;
  return offer.local && offer.glx && direct ? VideoPath::SdlDefault : VideoPath::Software;
}

void screen::SetUpVideoPath() {
  char driver[32] = "";
  SDL_VideoDriverName(driver, sizeof driver);
  VideoSettings settings{driver, getenv("SDL_RENDER_DRIVER"),
                         getenv("SDL_FRAMEBUFFER_ACCELERATION"), getenv("LIBGL_ALWAYS_SOFTWARE")};
  if (ChooseVideoPath(settings, AskDisplay) != VideoPath::Software)
    return;
  // Read when the screen opens; the software path needs both
  setenv("SDL_RENDER_DRIVER", "software", 0);
  setenv("SDL_FRAMEBUFFER_ACCELERATION", "0", 0);
}
