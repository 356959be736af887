// What the end-to-end tests and the benchmarks ask of the X server that xdotool
// cannot do, or xwd not quickly:
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
//
//   xprobe shot WxH+X+Y
//     prints the game's 640x480 picture, scaled onto the W by H pixels of the
//     screen at (X, Y), as one "rrggbb" line a pixel, row by row. Each of the
//     game's pixels is read at the middle of the block it is scaled to, so that
//     how the scaler rounds the blocks' edges does not matter. One read of the
//     screen, without the files and programs of xwd and a converter.
//
//   xprobe shot-ppm WxH+X+Y
//     the same picture read from a binary PPM screenshot on standard input, as
//     grim takes one of a Wayland compositor's screen; no X server is asked.
//
//   xprobe passes WINDOW COUNT
//     waits until the program of WINDOW has read its X events COUNT times: it
//     answers the window manager's ping (_NET_WM_PING) each time, and the next
//     ping goes 2 ms after the last is answered, so that a later look answers
//     it. SDL reads the events at each look at its event queue, which a game
//     makes once a frame: so it has run COUNT - 1 passes of its loop in
//     between, unless it has stopped drawing. Fails after 10 s without an answer.
//
//   xprobe press KEY WINDOW
//     presses KEY (a keysym name) through XTest, holds it until the program of
//     WINDOW has read its events twelve times, then lets go: a press that the
//     program surely sees held, however busy the machine, and only one.
//
//   xprobe key-latency KEY X Y X2
//     waits a random time of at least 100 ms and up to one frame at 75 a second
//     more, presses KEY (a keysym name such as Return) through XTest, watches
//     the pixels (X, Y) and (X2, Y) until both are white, releases the key and
//     prints the microseconds from the press to that picture. The random wait
//     spreads the presses over every phase of a program's frame. Each look reads
//     a pixel or two, with a short pause between looks, so the probe takes little
//     from the X server and the processor that the program shares.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <poll.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <initializer_list>
#include <random>
#include <unistd.h>
#include <vector>

namespace {

constexpr int64_t SettleMicros = 100'000; // a program's first frames are left alone
constexpr int64_t FrameMicros = 13'333;   // one frame at 75 a second
constexpr int64_t LookEveryMicros = 200;  // bounds the error of each figure
constexpr int64_t AnswerTimeoutMicros = 2'000'000;
constexpr int64_t PingTimeoutMicros = 10'000'000;
// SDL reads every event waiting at one look, and goes on reading while more come,
// so pings sent back to back can all be answered in one look. A pause after each
// answer puts the next in a later look: at most one or two in a frame.
constexpr int64_t PassGapMicros = 2'000;
constexpr int PressPasses = 12; // several frames, however busy the machine

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

// The game's picture
constexpr int GameWidth = 640, GameHeight = 480;

// A channel of a pixel as 8 bits, as a 16-bit screen's 5 or 6 bits are shown
unsigned Channel(unsigned long pixel, unsigned long mask) {
  if (mask == 0)
    return 0;
  int shift = 0;
  while (!(mask >> shift & 1))
    shift++;
  unsigned long top = mask >> shift;
  return unsigned(((pixel & mask) >> shift) * 255 + top / 2) / unsigned(top);
}

// Where the game's picture lies on the screen, as WxH+X+Y
struct View {
  int width, height, x, y;
};

bool ReadView(const char *text, View &view) {
  if (sscanf(text, "%dx%d+%d+%d", &view.width, &view.height, &view.x, &view.y) == 4 &&
      view.width >= GameWidth && view.height >= GameHeight)
    return true;
  fprintf(stderr, "xprobe: \"%s\" is no view of WxH+X+Y, at least 640x480\n", text);
  return false;
}

// Prints the game's picture, each of its pixels read at the middle of its block
// of the view through rgbAt(x, y), which gives 0xrrggbb for a pixel of the view
template <class RgbAt> int PrintPicture(const View &view, RgbAt rgbAt) {
  constexpr size_t Size = GameWidth * GameHeight * 7;
  static char lines[Size + 1]; // snprintf ends the last line with a NUL that is not printed
  char *line = lines;
  for (int row = 0; row < GameHeight; row++) {
    int sy = (2 * row + 1) * view.height / (2 * GameHeight);
    for (int column = 0; column < GameWidth; column++) {
      snprintf(line, 8, "%06x\n", rgbAt((2 * column + 1) * view.width / (2 * GameWidth), sy));
      line += 7;
    }
  }
  return fwrite(lines, 1, Size, stdout) == Size ? 0 : 1;
}

int Shot(Display *display, const char *viewText) {
  View view;
  if (!ReadView(viewText, view))
    return 2;
  XImage *image = XGetImage(display, DefaultRootWindow(display), view.x, view.y,
                            unsigned(view.width), unsigned(view.height), AllPlanes, ZPixmap);
  if (!image) {
    fprintf(stderr, "xprobe: cannot read %s of the screen\n", viewText);
    return 1;
  }
  int status = PrintPicture(view, [image](int x, int y) {
    unsigned long pixel = XGetPixel(image, x, y);
    return Channel(pixel, image->red_mask) << 16 | Channel(pixel, image->green_mask) << 8 |
           Channel(pixel, image->blue_mask);
  });
  XDestroyImage(image);
  return status;
}

int ShotFromPpm(const char *viewText) {
  View view;
  if (!ReadView(viewText, view))
    return 2;
  int width, height, top;
  if (scanf("P6 %d %d %d", &width, &height, &top) != 3 || top != 255 || getchar() == EOF) {
    fprintf(stderr, "xprobe: standard input is no binary PPM of 8-bit channels\n");
    return 1;
  }
  if (view.x < 0 || view.y < 0 || view.x + view.width > width || view.y + view.height > height) {
    fprintf(stderr, "xprobe: %s lies outside the %dx%d screenshot\n", viewText, width, height);
    return 1;
  }
  std::vector<unsigned char> rgb(size_t(width) * size_t(height) * 3);
  if (fread(rgb.data(), 1, rgb.size(), stdin) != rgb.size()) {
    fprintf(stderr, "xprobe: the PPM screenshot ends early\n");
    return 1;
  }
  return PrintPicture(view, [&](int x, int y) {
    const unsigned char *pixel =
        &rgb[(size_t(view.y + y) * size_t(width) + size_t(view.x + x)) * 3];
    return unsigned(pixel[0]) << 16 | unsigned(pixel[1]) << 8 | pixel[2];
  });
}

// The window manager's ping: the program answers by sending the event back to the
// root window, where SubstructureNotifyMask sees it.
bool Ping(Display *display, Window window, long serial) {
  const Atom protocols = XInternAtom(display, "WM_PROTOCOLS", False);
  const Atom ping = XInternAtom(display, "_NET_WM_PING", False);
  XEvent event;
  memset(&event, 0, sizeof event);
  event.xclient.type = ClientMessage;
  event.xclient.window = window;
  event.xclient.message_type = protocols;
  event.xclient.format = 32;
  event.xclient.data.l[0] = long(ping);
  event.xclient.data.l[1] = serial; // the time of the ping, echoed in the answer
  event.xclient.data.l[2] = long(window);
  if (!XSendEvent(display, window, False, NoEventMask, &event))
    return false;
  XFlush(display);
  const int64_t deadline = NowNanoseconds() + PingTimeoutMicros * 1000;
  for (;;) {
    while (XPending(display)) {
      XNextEvent(display, &event);
      if (event.type == ClientMessage && event.xclient.message_type == protocols &&
          long(event.xclient.data.l[0]) == long(ping) && event.xclient.data.l[1] == serial)
        return true;
    }
    const int64_t left = deadline - NowNanoseconds();
    if (left <= 0)
      return false;
    pollfd connection{ConnectionNumber(display), POLLIN, 0};
    poll(&connection, 1, int(left / 1000000) + 1);
  }
}

int WaitForPasses(Display *display, Window window, int count) {
  XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
  for (int pass = 1; pass <= count; pass++) {
    if (!Ping(display, window, pass)) {
      fprintf(stderr, "xprobe: window %lu answered %d pings of %d, not the next within %lld s\n",
              window, pass - 1, count, (long long)(PingTimeoutMicros / 1000000));
      return 1;
    }
    usleep(useconds_t(PassGapMicros));
  }
  return 0;
}

KeyCode KeyNamed(Display *display, const char *keyName) {
  int eventBase, errorBase, major, minor;
  if (!XTestQueryExtension(display, &eventBase, &errorBase, &major, &minor)) {
    fprintf(stderr, "xprobe: the X server has no XTest extension\n");
    return 0;
  }
  KeySym keysym = XStringToKeysym(keyName);
  KeyCode key = keysym == NoSymbol ? 0 : XKeysymToKeycode(display, keysym);
  if (key == 0)
    fprintf(stderr, "xprobe: no key \"%s\" on this display\n", keyName);
  return key;
}

// The press reaches the program's connection before the first ping, so the first
// answer means the program has read it; the later ones that a frame has looked at it.
int Press(Display *display, const char *keyName, Window window) {
  KeyCode key = KeyNamed(display, keyName);
  if (key == 0)
    return 1;
  XTestFakeKeyEvent(display, key, True, CurrentTime);
  XSync(display, False);
  int status = WaitForPasses(display, window, PressPasses);
  XTestFakeKeyEvent(display, key, False, CurrentTime);
  XSync(display, False);
  return status;
}

bool RootPixelsAreWhite(Display *display, int x, int y, int x2) {
  return RootPixelIsWhite(display, x, y) && RootPixelIsWhite(display, x2, y);
}

void SendKey(Display *display, KeyCode key, bool down) {
  XTestFakeKeyEvent(display, key, down, CurrentTime);
  XFlush(display);
}

int MeasureKeyLatency(Display *display, KeyCode key, int x, int y, int x2) {
  std::mt19937 random{std::random_device{}()};
  usleep(useconds_t(SettleMicros + std::uniform_int_distribution<int64_t>{0, FrameMicros}(random)));
  if (RootPixelsAreWhite(display, x, y, x2)) {
    fprintf(stderr, "xprobe: the answer is on the screen before the key\n");
    return 1;
  }
  int64_t pressed = NowNanoseconds(), seen = 0;
  SendKey(display, key, true);
  while (!seen && NowNanoseconds() - pressed < AnswerTimeoutMicros * 1000) {
    if (RootPixelsAreWhite(display, x, y, x2))
      seen = NowNanoseconds();
    else
      usleep(LookEveryMicros);
  }
  SendKey(display, key, false);
  if (!seen) {
    fprintf(stderr, "xprobe: no answer within %lld ms\n", (long long)(AnswerTimeoutMicros / 1000));
    return 1;
  }
  printf("%lld\n", (long long)((seen - pressed) / 1000));
  return 0;
}

int KeyLatency(Display *display, const char *keyName, int x, int y, int x2) {
  KeyCode key = KeyNamed(display, keyName);
  return key == 0 ? 1 : MeasureKeyLatency(display, key, x, y, x2);
}

int Usage() {
  fprintf(stderr, "usage: xprobe close WINDOW\n"
                  "       xprobe first-white X Y SINCE_NS TIMEOUT_MS\n"
                  "       xprobe shot WxH+X+Y\n"
                  "       xprobe shot-ppm WxH+X+Y < SCREENSHOT.ppm\n"
                  "       xprobe passes WINDOW COUNT\n"
                  "       xprobe press KEY WINDOW\n"
                  "       xprobe key-latency KEY X Y X2\n");
  return 2;
}

} // namespace

int main(int argc, char **argv) {
  bool close = argc == 3 && strcmp(argv[1], "close") == 0;
  bool firstWhite = argc == 6 && strcmp(argv[1], "first-white") == 0;
  bool keyLatency = argc == 6 && strcmp(argv[1], "key-latency") == 0;
  bool shot = argc == 3 && strcmp(argv[1], "shot") == 0;
  bool passes = argc == 4 && strcmp(argv[1], "passes") == 0;
  bool press = argc == 4 && strcmp(argv[1], "press") == 0;
  if (argc == 3 && strcmp(argv[1], "shot-ppm") == 0)
    return ShotFromPpm(argv[2]);
  if (!close && !firstWhite && !keyLatency && !shot && !passes && !press)
    return Usage();
  Display *display = XOpenDisplay(nullptr);
  if (!display) {
    fprintf(stderr, "xprobe: cannot open the display\n");
    return 1;
  }
  int status;
  if (close)
    status = SendCloseRequest(display, Window(strtoul(argv[2], nullptr, 0)));
  else if (firstWhite)
    status = WaitForWhite(display, atoi(argv[2]), atoi(argv[3]), strtoll(argv[4], nullptr, 10),
                          strtoll(argv[5], nullptr, 10));
  else if (keyLatency)
    status = KeyLatency(display, argv[2], atoi(argv[3]), atoi(argv[4]), atoi(argv[5]));
  else if (passes)
    status = WaitForPasses(display, Window(strtoul(argv[2], nullptr, 0)), atoi(argv[3]));
  else if (press)
    status = Press(display, argv[2], Window(strtoul(argv[3], nullptr, 0)));
  else
    status = Shot(display, argv[2]);
  XCloseDisplay(display);
  return status;
}
