// A keyboard for a Wayland compositor's seat, as a player has one:
//
//   wlkeys
//     adds a virtual keyboard with a whole US keymap to the seat, says "ready"
//     on a line and keeps it there until its input ends. Each line of input,
//     "HOLD_SECONDS KEYS", presses the KEYS (keysym names such as Return, space,
//     Right, joined by "+" as xdotool takes them: Right+space) together, holds
//     them and releases them; then "ok", or what went wrong, is printed as a line.
//
// The keyboard is there before the game starts and for as long as it runs: a
// keyboard that comes and goes with each key makes clients take the seat's
// keyboard anew, and a key sent before they have it is lost. A keymap of a few
// keys, as other typing tools upload, is not what players have either, and
// SDL's Wayland keyboard code crashes on one.
//
// The virtual keyboard protocol is small enough to be described here by hand.
#include <sys/mman.h>
#include <unistd.h>
#include <wayland-client.h>
#include <xkbcommon/xkbcommon.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <iostream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace {

const wl_interface *NoTypes[4] = {};

extern const wl_interface VirtualKeyboardInterface;
const wl_interface *CreateTypes[] = {&wl_seat_interface, &VirtualKeyboardInterface};
const wl_message ManagerRequests[] = {{"create_virtual_keyboard", "on", CreateTypes}};
const wl_interface ManagerInterface = {
    "zwp_virtual_keyboard_manager_v1", 1, 1, ManagerRequests, 0, nullptr};

const wl_message KeyboardRequests[] = {{"keymap", "uhu", NoTypes},
                                       {"key", "uuu", NoTypes},
                                       {"modifiers", "uuuu", NoTypes},
                                       {"destroy", "", NoTypes}};
const wl_interface VirtualKeyboardInterface = {"zwp_virtual_keyboard_v1", 1, 4,
                                               KeyboardRequests,          0, nullptr};
enum KeyboardRequest { Keymap, Key, Modifiers, Destroy };

constexpr uint32_t KeymapFormatXkbV1 = 1;
constexpr uint32_t EvdevOffset = 8; // xkb keycodes are evdev codes plus 8

struct Globals {
  wl_seat *seat = nullptr;
  wl_proxy *manager = nullptr;
};

void OnGlobal(void *data, wl_registry *registry, uint32_t name, const char *interface, uint32_t) {
  auto *globals = static_cast<Globals *>(data);
  if (strcmp(interface, wl_seat_interface.name) == 0 && !globals->seat)
    globals->seat = static_cast<wl_seat *>(wl_registry_bind(registry, name, &wl_seat_interface, 1));
  else if (strcmp(interface, ManagerInterface.name) == 0)
    globals->manager =
        static_cast<wl_proxy *>(wl_registry_bind(registry, name, &ManagerInterface, 1));
}
void OnGlobalRemove(void *, wl_registry *, uint32_t) {}
const wl_registry_listener RegistryListener = {OnGlobal, OnGlobalRemove};

uint32_t NowMilliseconds() {
  timespec now;
  clock_gettime(CLOCK_MONOTONIC, &now);
  return uint32_t(now.tv_sec * 1000 + now.tv_nsec / 1000000);
}

// The keycode that gives keysym on the first level of the first layout, or 0
xkb_keycode_t KeycodeOf(xkb_keymap *keymap, xkb_keysym_t keysym) {
  for (xkb_keycode_t code = xkb_keymap_min_keycode(keymap); code <= xkb_keymap_max_keycode(keymap);
       code++) {
    const xkb_keysym_t *syms;
    int count = xkb_keymap_key_get_syms_by_level(keymap, code, 0, 0, &syms);
    for (int i = 0; i < count; i++)
      if (syms[i] == keysym)
        return code;
  }
  return 0;
}

// The keymap as the protocol takes it: a file of the text with its closing zero
int KeymapFile(const std::string &text) {
  int fd = memfd_create("wlkeys-keymap", MFD_CLOEXEC);
  if (fd < 0 || write(fd, text.c_str(), text.size() + 1) != ssize_t(text.size() + 1)) {
    perror("wlkeys: keymap file");
    exit(1);
  }
  return fd;
}

void SendKeys(wl_display *display, wl_proxy *keyboard, const std::vector<xkb_keycode_t> &codes,
              uint32_t state) {
  for (xkb_keycode_t code : codes)
    wl_proxy_marshal_flags(keyboard, Key, nullptr, 1, 0, NowMilliseconds(), code - EvdevOffset,
                           state);
  wl_display_roundtrip(display);
}

// Presses and releases the keys of one line; false, with a message, on a bad line
bool RunLine(wl_display *display, wl_proxy *keyboard, xkb_keymap *keymap, const std::string &line) {
  std::istringstream words(line);
  double hold = -1;
  words >> hold;
  std::vector<xkb_keycode_t> codes;
  std::string keys;
  words >> keys;
  std::istringstream names(keys);
  for (std::string name; std::getline(names, name, '+');) {
    xkb_keysym_t keysym = xkb_keysym_from_name(name.c_str(), XKB_KEYSYM_NO_FLAGS);
    xkb_keycode_t code = keysym == XKB_KEY_NoSymbol ? 0 : KeycodeOf(keymap, keysym);
    if (code == 0) {
      printf("no key \"%s\" on a US keyboard\n", name.c_str());
      return false;
    }
    codes.push_back(code);
  }
  if (hold < 0 || codes.empty()) {
    printf("not \"HOLD_SECONDS KEYS\": %s\n", line.c_str());
    return false;
  }
  SendKeys(display, keyboard, codes, WL_KEYBOARD_KEY_STATE_PRESSED);
  std::this_thread::sleep_for(std::chrono::duration<double>(hold));
  SendKeys(display, keyboard, codes, WL_KEYBOARD_KEY_STATE_RELEASED);
  return true;
}

} // namespace

int main() {
  wl_display *display = wl_display_connect(nullptr);
  if (!display) {
    fprintf(stderr, "wlkeys: cannot reach the Wayland compositor\n");
    return 1;
  }
  Globals globals;
  wl_registry_add_listener(wl_display_get_registry(display), &RegistryListener, &globals);
  wl_display_roundtrip(display);
  if (!globals.seat || !globals.manager) {
    fprintf(stderr, "wlkeys: the compositor offers no %s\n",
            globals.seat ? ManagerInterface.name : "seat");
    return 1;
  }
  xkb_context *context = xkb_context_new(XKB_CONTEXT_NO_FLAGS);
  xkb_rule_names names{"evdev", "pc105", "us", "", ""};
  xkb_keymap *keymap = xkb_keymap_new_from_names(context, &names, XKB_KEYMAP_COMPILE_NO_FLAGS);
  if (!keymap) {
    fprintf(stderr, "wlkeys: cannot make a US keymap\n");
    return 1;
  }
  char *text = xkb_keymap_get_as_string(keymap, XKB_KEYMAP_FORMAT_TEXT_V1);
  std::string keymapText = text;
  free(text);

  auto *keyboard = static_cast<wl_proxy *>(wl_proxy_marshal_flags(
      globals.manager, 0, &VirtualKeyboardInterface, 1, 0, globals.seat, nullptr));
  int fd = KeymapFile(keymapText);
  wl_proxy_marshal_flags(keyboard, Keymap, nullptr, 1, 0, KeymapFormatXkbV1, fd,
                         uint32_t(keymapText.size() + 1));
  close(fd);
  if (wl_display_roundtrip(display) < 0) {
    fprintf(stderr, "wlkeys: the compositor refused the keyboard\n");
    return 1;
  }
  setvbuf(stdout, nullptr, _IOLBF, 0);
  printf("ready\n");
  for (std::string line; std::getline(std::cin, line);) {
    if (RunLine(display, keyboard, keymap, line))
      printf("ok\n");
    if (wl_display_get_error(display)) {
      fprintf(stderr, "wlkeys: lost the compositor\n");
      return 1;
    }
  }
  wl_proxy_marshal_flags(keyboard, Destroy, nullptr, 1, WL_MARSHAL_FLAG_DESTROY);
  wl_display_roundtrip(display);
  wl_display_disconnect(display);
  xkb_keymap_unref(keymap);
  xkb_context_unref(context);
  return 0;
}
