// Display offer: what the X server offers for OpenGL, read from its list of
// extensions on a connection of its own; no OpenGL library is loaded to find out.
#include <X11/Xlib.h>
#include <cstring>
#include <sys/socket.h>

#include "runtime/screen/video_path.h"

namespace {

bool HasExtension(char *const *names, int count, const char *name) {
  for (int i = 0; i < count; i++)
    if (strcmp(names[i], name) == 0)
      return true;
  return false;
}

// Direct rendering passes file descriptors and shared memory, which a network
// connection, ssh's forwarding among them, cannot carry
bool IsLocalConnection(Display *display) {
  sockaddr_storage address{};
  socklen_t length = sizeof address;
  if (getsockname(ConnectionNumber(display), reinterpret_cast<sockaddr *>(&address), &length) != 0)
    return false;
  return address.ss_family == AF_UNIX;
}

} // namespace

screen::DisplayOffer screen::AskDisplay() {
  Display *display = XOpenDisplay(nullptr);
  if (!display)
    return DisplayOffer{};
  int count = 0;
  char **names = XListExtensions(display, &count);
  DisplayOffer offer{true,
                     IsLocalConnection(display),
                     HasExtension(names, count, "GLX"),
                     HasExtension(names, count, "DRI3"),
                     HasExtension(names, count, "DRI2"),
                     HasExtension(names, count, "NV-GLX")};
  XFreeExtensionList(names);
  XCloseDisplay(display);
  return offer;
}
