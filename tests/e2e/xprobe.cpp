// The two things the end-to-end tests ask of the X server that xdotool and xwd
// cannot do:
//
//   xprobe close WINDOW
//     sends the window manager's close request (WM_PROTOCOLS / WM_DELETE_WINDOW),
//     as a window manager does when the user clicks the close button. xdotool's
//     windowclose destroys the window instead, which is no request at all.
//
//   xprobe first-white X Y SINCE_NS TIMEOUT_MS
//     watches the root window's pixel (X, Y) until it turns white and prints the
//     milliseconds from SINCE_NS (CLOCK_REALTIME nanoseconds, as `date +%s%N`)
//     to that moment: how long a program took to show its first frame.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <initializer_list>
#include <unistd.h>

namespace {

int64_t NowNanoseconds() {
  timespec now;
  clock_gettime(CLOCK_REALTIME, &now);
  return int64_t(now.tv_sec) * 1000000000 + now.tv_nsec;
}

int SendCloseRequest(Display *display, Window window) {
  XEvent event;
  memset(&event, 0, sizeof event);
  event.xclient.type = ClientMessage;
  event.xclient.window = window;
  event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
  event.xclient.format = 32;
  event.xclient.data.l[0] = long(XInternAtom(display, "WM_DELETE_WINDOW", False));
  event.xclient.data.l[1] = CurrentTime;
  if (!XSendEvent(display, window, False, NoEventMask, &event)) {
    fprintf(stderr, "xprobe: cannot send the close request to window %lu\n", window);
    return 1;
  }
  XSync(display, False);
  return 0;
}

// Near white: a 16-bit picture shown on a 24-bit screen can lose a step in a
// channel (0xfffeff).
bool IsNearlyWhite(const XImage *image, unsigned long pixel) {
  for (unsigned long mask : {image->red_mask, image->green_mask, image->blue_mask})
    if (uint64_t(pixel & mask) * 16 < uint64_t(mask) * 15)
      return false;
  return true;
}

bool RootPixelIsWhite(Display *display, int x, int y) {
  XImage *image = XGetImage(display, DefaultRootWindow(display), x, y, 1, 1, AllPlanes, ZPixmap);
  if (!image)
    return false;
  bool white = IsNearlyWhite(image, XGetPixel(image, 0, 0));
  XDestroyImage(image);
  return white;
}

int WaitForWhite(Display *display, int x, int y, int64_t since, int64_t timeoutMs) {
  int64_t deadline = NowNanoseconds() + timeoutMs * 1000000;
  while (NowNanoseconds() < deadline) {
    if (RootPixelIsWhite(display, x, y)) {
      printf("%lld\n", (long long)((NowNanoseconds() - since) / 1000000));
      return 0;
    }
    usleep(1000);
  }
  fprintf(stderr, "xprobe: pixel (%d, %d) not white within %lld ms\n", x, y, (long long)timeoutMs);
  return 1;
}

int Usage() {
  fprintf(stderr, "usage: xprobe close WINDOW\n"
                  "       xprobe first-white X Y SINCE_NS TIMEOUT_MS\n");
  return 2;
}

} // namespace

int main(int argc, char **argv) {
  bool close = argc == 3 && strcmp(argv[1], "close") == 0;
  bool firstWhite = argc == 6 && strcmp(argv[1], "first-white") == 0;
  if (!close && !firstWhite)
    return Usage();
  Display *display = XOpenDisplay(nullptr);
  if (!display) {
    fprintf(stderr, "xprobe: cannot open the display\n");
    return 1;
  }
  int status = close ? SendCloseRequest(display, Window(strtoul(argv[2], nullptr, 0)))
                     : WaitForWhite(display, atoi(argv[2]), atoi(argv[3]),
                                    strtoll(argv[4], nullptr, 10), strtoll(argv[5], nullptr, 10));
  XCloseDisplay(display);
  return status;
}
