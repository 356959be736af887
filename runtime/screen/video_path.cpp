// Video path: SDL's OpenGL path, or its software renderer where OpenGL would run
// on the processor, and the player's own choice before either.
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

RT_VideoPath RT_ChooseVideoPath(const RT_VideoSettings &settings, RT_DisplayOffer (*askDisplay)()) {
  // Only on X is there a software path to take: SDL's Wayland driver draws every window
  // through EGL, whatever its variables say, and the other drivers were chosen on purpose
  if (!settings.videoDriver || strcmp(settings.videoDriver, "x11") != 0)
    return RT_VideoPath::SdlDefault;
  // Either of SDL's variables means the player has picked the path
  if (IsSet(settings.renderDriver) || IsSet(settings.framebufferAcceleration))
    return RT_VideoPath::SdlDefault;
  // Mesa bound to its swrast driver runs OpenGL on the processor, whatever the card
  if (IsTrue(settings.alwaysSoftware))
    return RT_VideoPath::Software;
  RT_DisplayOffer offer = askDisplay();
  // Nothing learnt: leave SDL as it is
  if (!offer.reached)
    return RT_VideoPath::SdlDefault;
  // Without direct rendering Mesa draws OpenGL with llvmpipe, softpipe or swrast, on
  // the processor and at several times the cost of SDL's software renderer
  bool direct = offer.dri3 || offer.dri2 || offer.nvGlx;
  return offer.local && offer.glx && direct ? RT_VideoPath::SdlDefault : RT_VideoPath::Software;
}

void RT_SetUpVideoPath() {
  char driver[32] = "";
  SDL_VideoDriverName(driver, sizeof driver);
  RT_VideoSettings settings{driver, getenv("SDL_RENDER_DRIVER"),
                            getenv("SDL_FRAMEBUFFER_ACCELERATION"),
                            getenv("LIBGL_ALWAYS_SOFTWARE")};
  if (RT_ChooseVideoPath(settings, RT_AskDisplay) != RT_VideoPath::Software)
    return;
  // Read when the screen opens; the software path needs both
  setenv("SDL_RENDER_DRIVER", "software", 0);
  setenv("SDL_FRAMEBUFFER_ACCELERATION", "0", 0);
}
