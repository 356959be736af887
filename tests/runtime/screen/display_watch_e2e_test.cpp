// The watch on the X display, on a real server that goes away: it holds after another
// library has put its own handler of a lost connection in Xlib's place, as GTK does
// when it starts for a message box.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

// After gtest, whose names None and Bool Xlib defines as macros
#include <X11/Xlib.h>

#include "runtime/screen/screen.h"
#include "tests/xvfb_server.h"

namespace {

constexpr int MissedStatus = 3; // the other handler ended the process, as Xlib's and GTK's do

int EndTheProcess(Display *) {
  _exit(MissedStatus);
}

// Run in a process of its own, which a loss that the watch misses ends.
[[noreturn]] void LoseTheDisplayUnderAnotherHandler() {
  XvfbServer server;
  if (!server.up()) {
    std::fprintf(stderr, "Xvfb did not start\n");
    _exit(EXIT_FAILURE);
  }
  setenv("SDL_VIDEODRIVER", "x11", 1);
  if (!RT_InitSprite() || !RT_OpenScreen(640, 480, 16, "watch")) {
    std::fprintf(stderr, "no screen: %s\n", RT_VideoError());
    _exit(EXIT_FAILURE);
  }
  XSetIOErrorHandler(EndTheProcess);
  RT_FlipBuffers();
  server.Kill();
  for (int frame = 0; frame < 1000 && !RT_DisplayLost(); frame++)
    RT_FlipBuffers();
  RT_FreeSprites();
  _exit(RT_DisplayLost() ? EXIT_SUCCESS : EXIT_FAILURE);
}

TEST(DisplayWatch, HoldsAfterAnotherHandlerTakesXlibs) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(LoseTheDisplayUnderAnotherHandler(), testing::ExitedWithCode(EXIT_SUCCESS),
              "lost the connection to the X display");
}

} // namespace
