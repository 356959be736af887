// Inside the screen library: which way SDL puts the screen on the display, chosen
// once at video bring-up (see video_path.cpp), apart from SDL and the X server so
// that it can be tested on its own.
#pragma once

namespace screen {

// What the choice reads from the environment and from SDL; null when unset
struct VideoSettings {
  const char *videoDriver;             // the driver SDL runs on: "x11", "dummy", ...
  const char *renderDriver;            // SDL_RENDER_DRIVER
  const char *framebufferAcceleration; // SDL_FRAMEBUFFER_ACCELERATION
  const char *alwaysSoftware;          // LIBGL_ALWAYS_SOFTWARE: Mesa told to use swrast
};

// What the X server offers for OpenGL, by the extensions it lists
struct DisplayOffer {
  bool reached; // the display answered
  bool local;   // over a local socket, the only way a client can render directly
  bool glx;     // OpenGL at all
  bool dri3;    // direct rendering on a graphics card, as Mesa's drivers do it
  bool dri2;    //   the same, the older way
  bool nvGlx;   //   the same, NVIDIA's own driver (NV-GLX)
};

enum class VideoPath {
  SdlDefault, // OpenGL on the graphics card, or not the game's choice to make
  Software,   // SDL's software renderer and framebuffer
};

// The path for these settings. The display is asked, through askDisplay, only when
// the settings leave the choice to the game.
VideoPath ChooseVideoPath(const VideoSettings &settings, DisplayOffer (*askDisplay)());

DisplayOffer AskDisplay(); // asks the X server named by DISPLAY, on a connection of its own

// Chooses the path for SDL's running video driver and sets SDL's variables for it
void SetUpVideoPath();

} // namespace screen
