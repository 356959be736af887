// Pads through the keyboard library: virtual joysticks attached in the SDL 2
// under sdl12-compat, opened and read through SDL 1.2 as real pads are.
#include <SDL/SDL.h>
#include <gtest/gtest.h>

#include <iterator>
#include <string>
#include <vector>

#include "runtime/keyboard/keyboard.h"
#include "runtime/screen/screen.h"
#include "tests/test_support.h"
#include "tests/virtual_pad.h"

namespace {

// The game's keys, and those of them whose release is followed
constexpr SDLKey GameKeys[] = {SDLK_LEFT,   SDLK_RIGHT, SDLK_UP,    SDLK_SPACE,
                               SDLK_RETURN, SDLK_p,     SDLK_ESCAPE};
constexpr SDLKey ReleaseKeys[] = {SDLK_SPACE, SDLK_RETURN, SDLK_p, SDLK_ESCAPE};

constexpr const char *XboxPad = "Xbox 360 Controller";
constexpr int32_t XboxButtons = 11;

// The names of those of the keys for which the query gives 1, e.g. "up space"
template <size_t N> std::string KeysWhere(const SDLKey (&keys)[N], int32_t (*query)(int32_t)) {
  std::string names;
  for (SDLKey key : keys)
    if (query(key))
      names += std::string(names.empty() ? "" : " ") + SDL_GetKeyName(key);
  return names;
}
std::string HeldKeys() {
  return KeysWhere(GameKeys, RT_KeyboardPushed);
}
std::string ReleasedKeys() {
  return KeysWhere(ReleaseKeys, RT_KeyboardReleased);
}

// SDL starts, then pads are attached, then the keyboard library opens them: the
// order of a game started with its pads plugged in.
class GamepadTest : public ::testing::Test {
protected:
  void SetUp() override { ASSERT_EQ(RT_BringUpVideo(), 1) << RT_VideoError(); }
  void TearDown() override {
    RT_FreeKeyboards(); // stops the joystick subsystem, which detaches the pads
    RT_FreeSprites();
  }

  static VirtualPad Attach(const char *name, int32_t buttons) {
    VirtualPad pad(name, buttons);
    EXPECT_TRUE(pad.Attached()) << VirtualPad::Error();
    return pad;
  }
  static void StartKeyboard() {
    ASSERT_EQ(RT_InitKeyboard(), 1) << RT_VideoError();
    RT_ExamineKeyboard();    // whatever SDL queued at start-up
    RT_KeyboardReleased(-1); // no release left over from an earlier test
  }
};

enum class Input { Button, Hat, Axis };

struct InputCase {
  const char *what;
  Input input;
  int32_t number; // button or axis
  int32_t value;  // 1 for a button, the hat's bits, the axis' position
  const char *held;
  const char *released; // when let go
};

constexpr InputCase InputCases[] = {
    // D-pad
    {"D-pad left", Input::Hat, 0, SDL_HAT_LEFT, "left", ""},
    {"D-pad right", Input::Hat, 0, SDL_HAT_RIGHT, "right", ""},
    {"D-pad up", Input::Hat, 0, SDL_HAT_UP, "up", ""},
    {"D-pad up and left", Input::Hat, 0, SDL_HAT_LEFTUP, "left up", ""},
    {"D-pad down", Input::Hat, 0, SDL_HAT_DOWN, "", ""},
    // Left stick, all the way and at the edges of the dead zone
    {"stick left", Input::Axis, 0, -32768, "left", ""},
    {"stick right", Input::Axis, 0, 32767, "right", ""},
    {"stick up", Input::Axis, 1, -32768, "up", ""},
    {"stick down", Input::Axis, 1, 32767, "", ""},
    {"stick left, half way", Input::Axis, 0, -16384, "left", ""},
    {"stick left, within the dead zone", Input::Axis, 0, -16383, "", ""},
    {"stick right, half way", Input::Axis, 0, 16384, "right", ""},
    {"stick right, within the dead zone", Input::Axis, 0, 16383, "", ""},
    {"stick up, half way", Input::Axis, 1, -16384, "up", ""},
    {"stick up, within the dead zone", Input::Axis, 1, -16383, "", ""},
    // Right stick and triggers
    {"left trigger", Input::Axis, 2, 32767, "", ""},
    {"right stick left", Input::Axis, 3, -32768, "", ""},
    {"right stick up", Input::Axis, 4, -32768, "", ""},
    // Buttons
    {"A", Input::Button, 0, 1, "space return", "space return"},
    {"B", Input::Button, 1, 1, "up", ""},
    {"X", Input::Button, 2, 1, "", ""},
    {"Y", Input::Button, 3, 1, "", ""},
    {"LB", Input::Button, 4, 1, "", ""},
    {"RB", Input::Button, 5, 1, "", ""},
    {"Back", Input::Button, 6, 1, "escape", "escape"},
    {"Start", Input::Button, 7, 1, "p", "p"},
    {"Guide", Input::Button, 8, 1, "", ""},
    {"left stick click", Input::Button, 9, 1, "", ""},
};

void Set(const VirtualPad &pad, Input input, int32_t number, int32_t value) {
  switch (input) {
  case Input::Button:
    return pad.Button(number, value != 0);
  case Input::Hat:
    return pad.Hat(static_cast<uint8_t>(value));
  case Input::Axis:
    return pad.Axis(number, static_cast<int16_t>(value));
  }
}

// Each input holds its keys while it is held, on every frame, and lets them go
// with it.
TEST_F(GamepadTest, EachInputHoldsItsKeysUntilLetGo) {
  const VirtualPad pad = Attach(XboxPad, XboxButtons);
  ASSERT_NO_FATAL_FAILURE(StartKeyboard());
  for (const InputCase &c : InputCases) {
    SCOPED_TRACE(c.what);
    Set(pad, c.input, c.number, c.value);
    EXPECT_EQ(RT_ExamineKeyboard(), 1);
    EXPECT_EQ(HeldKeys(), c.held);
    EXPECT_EQ(ReleasedKeys(), "");
    EXPECT_EQ(RT_ExamineKeyboard(), 0);
    EXPECT_EQ(HeldKeys(), c.held) << "on the next frame";

    Set(pad, c.input, c.number, 0);
    EXPECT_EQ(RT_ExamineKeyboard(), 1);
    EXPECT_EQ(HeldKeys(), "");
    EXPECT_EQ(ReleasedKeys(), c.released);
    EXPECT_EQ(ReleasedKeys(), "") << "reported once";
  }
}

struct LayoutCase {
  const char *name;
  int32_t buttons;
  int32_t back, start;
  int32_t spare[2]; // the other layout's Back and Start, which hold nothing here
};

constexpr LayoutCase LayoutCases[] = {
    {"Xbox 360 Controller", 11, 6, 7, {8, 9}},
    {"Xbox 360 Wireless Controller", 15, 6, 7, {8, 9}}, // its D-pad as buttons 11 to 14
    {"PS4 Controller", 13, 8, 9, {6, 7}},
    {"PS5 Controller", 13, 8, 9, {6, 7}},
    {"Sony Interactive Entertainment Wireless Controller", 13, 8, 9, {6, 7}},
    {"Sony PLAYSTATION(R)3 Controller", 17, 8, 9, {6, 7}},
};

// Several pads, each with its own layout, all opened; each button acts on its
// own pad's number.
TEST_F(GamepadTest, BackAndStartFollowEachPadsLayout) {
  std::vector<VirtualPad> pads;
  for (const LayoutCase &c : LayoutCases)
    pads.push_back(Attach(c.name, c.buttons));
  ASSERT_NO_FATAL_FAILURE(StartKeyboard());
  for (size_t i = 0; i < pads.size(); i++) {
    const LayoutCase &c = LayoutCases[i];
    struct {
      int32_t button;
      const char *held;
    } const presses[] = {{c.back, "escape"}, {c.start, "p"}, {c.spare[0], ""}, {c.spare[1], ""}};
    for (const auto &press : presses) {
      SCOPED_TRACE(std::string(c.name) + ", button " + std::to_string(press.button));
      pads[i].Button(press.button, true);
      RT_ExamineKeyboard();
      EXPECT_EQ(HeldKeys(), press.held);
      pads[i].Button(press.button, false);
      RT_ExamineKeyboard();
      EXPECT_EQ(HeldKeys(), "");
    }
  }
}

// Escape held on the keyboard and on a pad at once is released only when both
// have let go, in either order.
TEST_F(GamepadTest, KeyHeldOnKeyboardAndPadIsReleasedWhenBothLetGo) {
  const VirtualPad pad = Attach(XboxPad, XboxButtons);
  ASSERT_NO_FATAL_FAILURE(StartKeyboard());
  constexpr int32_t Back = 6;
  for (const bool keyboardFirst : {true, false}) {
    SCOPED_TRACE(keyboardFirst ? "keyboard lets go first" : "pad lets go first");
    PushKey(SDLK_ESCAPE, true);
    pad.Button(Back, true);
    RT_ExamineKeyboard();
    EXPECT_EQ(RT_KeyboardReleased(SDLK_ESCAPE), 0);

    if (keyboardFirst)
      PushKey(SDLK_ESCAPE, false);
    else
      pad.Button(Back, false);
    RT_ExamineKeyboard();
    EXPECT_EQ(RT_KeyboardPushed(SDLK_ESCAPE), 1);
    EXPECT_EQ(RT_KeyboardReleased(SDLK_ESCAPE), 0);

    if (keyboardFirst)
      pad.Button(Back, false);
    else
      PushKey(SDLK_ESCAPE, false);
    RT_ExamineKeyboard();
    EXPECT_EQ(RT_KeyboardPushed(SDLK_ESCAPE), 0);
    EXPECT_EQ(RT_KeyboardReleased(SDLK_ESCAPE), 1);
    EXPECT_EQ(RT_KeyboardReleased(SDLK_ESCAPE), 0);
  }
}

// Up held four ways, on two pads, stays held until the last one lets go.
TEST_F(GamepadTest, KeyHeldByInputsOfTwoPadsStaysHeldUntilTheLastLetsGo) {
  const VirtualPad first = Attach(XboxPad, XboxButtons);
  const VirtualPad second = Attach("PS4 Controller", 13);
  ASSERT_NO_FATAL_FAILURE(StartKeyboard());
  constexpr int32_t East = 1, StickY = 1;
  const struct {
    const char *what;
    const VirtualPad &pad;
    Input input;
    int32_t number, value;
  } holds[] = {
      {"D-pad", first, Input::Hat, 0, SDL_HAT_UP},
      {"first pad's B", first, Input::Button, East, 1},
      {"stick", first, Input::Axis, StickY, -32768},
      {"second pad's B", second, Input::Button, East, 1},
  };
  for (const auto &hold : holds)
    Set(hold.pad, hold.input, hold.number, hold.value);
  RT_ExamineKeyboard();
  EXPECT_EQ(HeldKeys(), "up");
  for (size_t i = 0; i < std::size(holds); i++) {
    SCOPED_TRACE(std::string(holds[i].what) + " let go");
    Set(holds[i].pad, holds[i].input, holds[i].number, 0);
    RT_ExamineKeyboard();
    EXPECT_EQ(HeldKeys(), i + 1 < std::size(holds) ? "up" : "");
  }
}

} // namespace
