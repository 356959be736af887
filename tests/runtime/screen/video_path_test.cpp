#include "runtime/screen/video_path.h"

#include <gtest/gtest.h>

namespace {

using Path = screen::VideoPath;

// X servers as they list their extensions
constexpr screen::DisplayOffer Unreached{};
// Xvfb, Xvnc, xrdp: GLX on Mesa's llvmpipe, softpipe or swrast in the server, and
// the client left to the same rasterisers
constexpr screen::DisplayOffer SoftwareGlx{true, true, true, false, false, false};
constexpr screen::DisplayOffer NoGlx{true, true, false, false, false, false};
// Xorg or Xwayland on a graphics card with Mesa's drivers, or NVIDIA's
constexpr screen::DisplayOffer CardDri3{true, true, true, true, true, false};
constexpr screen::DisplayOffer CardDri2Only{true, true, true, false, true, false};
constexpr screen::DisplayOffer CardNvidia{true, true, true, false, false, true};
// A card's server reached over the network, as ssh's forwarding does
constexpr screen::DisplayOffer CardOverNetwork{true, false, true, true, true, false};
// DRI listed but no GLX to render with
constexpr screen::DisplayOffer DriWithoutGlx{true, true, false, true, true, false};

screen::DisplayOffer Offered;
int Asked;
screen::DisplayOffer AskDisplay() {
  Asked++;
  return Offered;
}

// Settings: the video driver SDL runs on, SDL_RENDER_DRIVER,
// SDL_FRAMEBUFFER_ACCELERATION, LIBGL_ALWAYS_SOFTWARE
constexpr screen::VideoSettings X11{"x11", nullptr, nullptr, nullptr};
constexpr screen::VideoSettings PlayerOpenGl{"x11", "opengl", nullptr, nullptr};
constexpr screen::VideoSettings PlayerSoftwareRenderer{"x11", "software", nullptr, nullptr};
constexpr screen::VideoSettings PlayerAcceleration{"x11", nullptr, "1", nullptr};
constexpr screen::VideoSettings PlayerBoth{"x11", "software", "0", nullptr};
constexpr screen::VideoSettings PlayerEmpty{"x11", "", "", nullptr};
constexpr screen::VideoSettings MesaSoftware{"x11", nullptr, nullptr, "1"};
constexpr screen::VideoSettings MesaSoftwareYes{"x11", nullptr, nullptr, "Yes"};
constexpr screen::VideoSettings MesaHardware{"x11", nullptr, nullptr, "0"};
constexpr screen::VideoSettings PlayerOpenGlMesaSoftware{"x11", "opengl", nullptr, "1"};
constexpr screen::VideoSettings Dummy{"dummy", nullptr, nullptr, nullptr};
constexpr screen::VideoSettings Wayland{"wayland", nullptr, nullptr, nullptr};
constexpr screen::VideoSettings NoDriver{nullptr, nullptr, nullptr, nullptr};

TEST(VideoPath, ChoiceFollowsTheDisplayAndYieldsToThePlayer) {
  struct Case {
    const char *what;
    screen::VideoSettings settings;
    screen::DisplayOffer offer;
    Path path;
    bool asks; // whether the display is asked at all
  };
  constexpr Case cases[] = {
      // The display decides
      {"software GLX only (llvmpipe, softpipe, swrast)", X11, SoftwareGlx, Path::Software, true},
      {"no GLX at all", X11, NoGlx, Path::Software, true},
      {"DRI listed without GLX", X11, DriWithoutGlx, Path::Software, true},
      {"a card with DRI3", X11, CardDri3, Path::SdlDefault, true},
      {"a card with DRI2 only", X11, CardDri2Only, Path::SdlDefault, true},
      {"NVIDIA's GLX", X11, CardNvidia, Path::SdlDefault, true},
      {"a card's server over the network", X11, CardOverNetwork, Path::Software, true},
      {"the display does not answer", X11, Unreached, Path::SdlDefault, true},

      // The player's SDL variables: either one settles it, without asking
      {"SDL_RENDER_DRIVER=opengl", PlayerOpenGl, SoftwareGlx, Path::SdlDefault, false},
      {"SDL_RENDER_DRIVER=software alone", PlayerSoftwareRenderer, SoftwareGlx, Path::SdlDefault,
       false},
      {"SDL_FRAMEBUFFER_ACCELERATION=1 alone", PlayerAcceleration, SoftwareGlx, Path::SdlDefault,
       false},
      {"both", PlayerBoth, CardDri3, Path::SdlDefault, false},
      {"empty values are unset, as SDL reads them", PlayerEmpty, SoftwareGlx, Path::Software, true},

      // Mesa bound to swrast by LIBGL_ALWAYS_SOFTWARE, read as Mesa reads it
      {"LIBGL_ALWAYS_SOFTWARE=1 on a card", MesaSoftware, CardDri3, Path::Software, false},
      {"LIBGL_ALWAYS_SOFTWARE=Yes on a card", MesaSoftwareYes, CardDri3, Path::Software, false},
      {"LIBGL_ALWAYS_SOFTWARE=0 on a card", MesaHardware, CardDri3, Path::SdlDefault, true},
      {"the player's SDL variable before Mesa's", PlayerOpenGlMesaSoftware, CardDri3,
       Path::SdlDefault, false},

      // Other video drivers have no X server to ask; SDL's Wayland driver draws
      // through EGL whatever its variables say
      {"SDL's dummy driver", Dummy, SoftwareGlx, Path::SdlDefault, false},
      {"Wayland", Wayland, SoftwareGlx, Path::SdlDefault, false},
      {"no driver running", NoDriver, SoftwareGlx, Path::SdlDefault, false},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    Offered = c.offer;
    Asked = 0;
    EXPECT_EQ(screen::ChooseVideoPath(c.settings, AskDisplay), c.path);
    EXPECT_EQ(Asked, c.asks ? 1 : 0) << "times the display was asked";
  }
}

} // namespace
