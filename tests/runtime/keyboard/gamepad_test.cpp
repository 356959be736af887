// Pads through the keyboard library: virtual pads of the SDL 2 under sdl12-compat,
// numbered as the kernel numbers real ones and mapped as SDL's database maps them.
#include <SDL/SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <iterator>
#include <string>
#include <vector>

#include "runtime/keyboard/keyboard.h"
#include "runtime/screen/screen.h"
#include "runtime/screen/video.h"
#include "tests/test_support.h"
#include "tests/virtual_pad.h"

namespace {

// The game's keys, and those of them whose release is followed
constexpr SDLKey GameKeys[] = {SDLK_LEFT,   SDLK_RIGHT, SDLK_UP,    SDLK_SPACE,
                               SDLK_RETURN, SDLK_p,     SDLK_ESCAPE};
constexpr SDLKey ReleaseKeys[] = {SDLK_SPACE, SDLK_RETURN, SDLK_p, SDLK_ESCAPE};

// An Xbox pad's raw numbers
constexpr int32_t ButtonA = 0, ButtonB = 1, ButtonBack = 6, ButtonStart = 7;
constexpr int32_t StickX = 0, StickY = 1;

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

enum class Input { Button, Hat, Axis };

struct InputCase {
  const char *what;
  Input input;
  int32_t number; // button or axis
  int32_t value;  // 1 for a button, the hat's bits, the axis' position
  const char *held;
  const char *released; // when let go
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

// The input holds its keys while it is held, on every frame, and lets them go with it
void ExpectInput(const VirtualPad &pad, const InputCase &c) {
  SCOPED_TRACE(c.what);
  Set(pad, c.input, c.number, c.value);
  RT_ExamineKeyboard();
  EXPECT_EQ(HeldKeys(), c.held);
  EXPECT_EQ(ReleasedKeys(), "");
  RT_ExamineKeyboard();
  EXPECT_EQ(HeldKeys(), c.held) << "on the next frame";

  Set(pad, c.input, c.number, 0);
  RT_ExamineKeyboard();
  EXPECT_EQ(HeldKeys(), "");
  EXPECT_EQ(ReleasedKeys(), c.released);
  EXPECT_EQ(ReleasedKeys(), "") << "reported once";
}

// SDL and the keyboard library start, then pads are plugged in: the game's own
// order when a player plugs a pad in during play.
class GamepadTest : public ::testing::Test {
protected:
  void SetUp() override { ASSERT_EQ(screen::BringUpVideo(), 1) << RT_VideoError(); }
  void TearDown() override {
    RT_FreeKeyboards(); // stops SDL 2's joysticks, which unplugs the pads
    RT_FreeSprites();
    unsetenv(Config);
  }

  static VirtualPad Attach(const PadModel &model) {
    VirtualPad pad(model);
    EXPECT_TRUE(pad.Attached()) << VirtualPad::Error();
    return pad;
  }
  static void StartKeyboard() {
    ASSERT_EQ(RT_InitKeyboard(), 1) << RT_VideoError();
    RT_ExamineKeyboard();    // whatever SDL queued at start-up
    RT_KeyboardReleased(-1); // no release left over from an earlier test
  }
  // Plugged in during play: the next examination opens it
  static VirtualPad PlugIn(const PadModel &model) {
    VirtualPad pad = Attach(model);
    RT_ExamineKeyboard();
    return pad;
  }

  static constexpr const char *Config = "SDL_GAMECONTROLLERCONFIG";
};

constexpr InputCase XboxInputs[] = {
    // D-pad
    {"D-pad left", Input::Hat, 0, SDL_HAT_LEFT, "left", ""},
    {"D-pad right", Input::Hat, 0, SDL_HAT_RIGHT, "right", ""},
    {"D-pad up", Input::Hat, 0, SDL_HAT_UP, "up", ""},
    {"D-pad up and left", Input::Hat, 0, SDL_HAT_LEFTUP, "left up", ""},
    {"D-pad down", Input::Hat, 0, SDL_HAT_DOWN, "", ""},
    // Left stick, all the way and at the edges of the dead zone
    {"stick left", Input::Axis, StickX, -32768, "left", ""},
    {"stick right", Input::Axis, StickX, 32767, "right", ""},
    {"stick up", Input::Axis, StickY, -32768, "up", ""},
    {"stick down", Input::Axis, StickY, 32767, "", ""},
    {"stick left, half way", Input::Axis, StickX, -16384, "left", ""},
    {"stick left, within the dead zone", Input::Axis, StickX, -16383, "", ""},
    {"stick right, half way", Input::Axis, StickX, 16384, "right", ""},
    {"stick right, within the dead zone", Input::Axis, StickX, 16383, "", ""},
    {"stick up, half way", Input::Axis, StickY, -16384, "up", ""},
    {"stick up, within the dead zone", Input::Axis, StickY, -16383, "", ""},
    // Right stick and triggers
    {"left trigger", Input::Axis, 2, 32767, "", ""},
    {"right stick left", Input::Axis, 3, -32768, "", ""},
    {"right stick up", Input::Axis, 4, -32768, "", ""},
    {"right trigger", Input::Axis, 5, 32767, "", ""},
    // Buttons
    {"A", Input::Button, ButtonA, 1, "space return", "space return"},
    {"B", Input::Button, ButtonB, 1, "up", ""},
    {"X", Input::Button, 2, 1, "", ""},
    {"Y", Input::Button, 3, 1, "", ""},
    {"LB", Input::Button, 4, 1, "", ""},
    {"RB", Input::Button, 5, 1, "", ""},
    {"Back", Input::Button, ButtonBack, 1, "escape", "escape"},
    {"Start", Input::Button, ButtonStart, 1, "p", "p"},
    {"Guide", Input::Button, 8, 1, "", ""},
    {"left stick click", Input::Button, 9, 1, "", ""},
};

TEST_F(GamepadTest, EachInputOfAMappedPadHoldsItsKeysUntilLetGo) {
  ASSERT_NO_FATAL_FAILURE(StartKeyboard());
  const VirtualPad pad = PlugIn(XboxPad);
  for (const InputCase &c : XboxInputs)
    ExpectInput(pad, c);
}

// A joystick SDL has no mapping for: the first hat, the first two axes and the
// first button, and nothing else; above all no Escape or P.
TEST_F(GamepadTest, JoystickWithNoMappingPlaysWithHatStickAndFirstButtonOnly) {
  ASSERT_NO_FATAL_FAILURE(StartKeyboard());
  const VirtualPad pad = PlugIn(PlainJoystick);
  constexpr InputCase Inputs[] = {
      {"hat left", Input::Hat, 0, SDL_HAT_LEFT, "left", ""},
      {"hat right", Input::Hat, 0, SDL_HAT_RIGHT, "right", ""},
      {"hat up", Input::Hat, 0, SDL_HAT_UP, "up", ""},
      {"hat down", Input::Hat, 0, SDL_HAT_DOWN, "", ""},
      {"first axis left", Input::Axis, 0, -32768, "left", ""},
      {"first axis right", Input::Axis, 0, 32767, "right", ""},
      {"second axis up", Input::Axis, 1, -32768, "up", ""},
      {"third axis", Input::Axis, 2, -32768, "", ""},
      {"fourth axis", Input::Axis, 3, -32768, "", ""},
      {"first button", Input::Button, 0, 1, "space return", "space return"},
  };
  for (const InputCase &c : Inputs)
    ExpectInput(pad, c);
  for (int32_t button = 1; button < PlainJoystick.buttons; button++) {
    const std::string what = "button " + std::to_string(button);
    ExpectInput(pad, {what.c_str(), Input::Button, button, 1, "", ""});
  }
}

// Each pad numbered as the kernel numbers it, with its database mapping: the
// buttons printed A (cross), B (circle), Start and Back give their keys, and
// the triggers, which two of them report as buttons 6 and 7, give none.
struct LayoutCase {
  const PadModel &model;
  const char *held[13]; // while each raw button is held
};

const LayoutCase LayoutCases[] = {
    {XboxPad, {"space return", "up", "", "", "", "", "escape", "p", "", "", ""}},
    {DualSensePad, {"space return", "up", "", "", "", "", "", "", "escape", "p", "", "", ""}},
    {SwitchProPad, {"space return", "up", "", "", "", "", "", "", "escape", "p", "", "", ""}},
};

TEST_F(GamepadTest, ButtonsGiveTheKeysOfTheirNamesOnEachPad) {
  ASSERT_NO_FATAL_FAILURE(StartKeyboard());
  std::vector<VirtualPad> pads;
  for (const LayoutCase &c : LayoutCases)
    pads.push_back(PlugIn(c.model));
  for (size_t i = 0; i < pads.size(); i++) {
    const LayoutCase &c = LayoutCases[i];
    for (int32_t button = 0; button < c.model.buttons; button++) {
      SCOPED_TRACE(std::string(c.model.name) + ", button " + std::to_string(button));
      pads[i].Button(button, true);
      RT_ExamineKeyboard();
      EXPECT_EQ(HeldKeys(), c.held[button]);
      pads[i].Button(button, false);
      RT_ExamineKeyboard();
      EXPECT_EQ(HeldKeys(), "");
    }
  }
}

// Plugged in during play, a pad plays at the next frame; unplugged and plugged
// in again, it plays again.
TEST_F(GamepadTest, PadPluggedInDuringPlayPlaysAtTheNextFrame) {
  ASSERT_NO_FATAL_FAILURE(StartKeyboard());
  for (const char *when : {"first plugged in", "plugged in again"}) {
    SCOPED_TRACE(when);
    const VirtualPad pad = Attach(XboxPad);
    RT_ExamineKeyboard();
    pad.Button(ButtonStart, true);
    RT_ExamineKeyboard();
    EXPECT_EQ(HeldKeys(), "p");
    EXPECT_EQ(ReleasedKeys(), "");
    pad.Button(ButtonStart, false);
    RT_ExamineKeyboard();
    EXPECT_EQ(ReleasedKeys(), "p");
    pad.Detach();
    RT_ExamineKeyboard();
  }
}

// Unplugged while held, a pad lets go of its keys, each released once; a key the
// keyboard holds too stays held.
TEST_F(GamepadTest, PadUnpluggedWhileHeldLetsGoOfItsKeys) {
  ASSERT_NO_FATAL_FAILURE(StartKeyboard());
  const VirtualPad pad = PlugIn(XboxPad);
  PushKey(SDLK_LEFT, true);
  pad.Hat(SDL_HAT_LEFT);
  pad.Button(ButtonA, true);
  pad.Button(ButtonBack, true);
  RT_ExamineKeyboard();
  ASSERT_EQ(HeldKeys(), "left space return escape");
  EXPECT_EQ(ReleasedKeys(), "");

  pad.Detach();
  RT_ExamineKeyboard();
  EXPECT_EQ(HeldKeys(), "left");
  EXPECT_EQ(ReleasedKeys(), "space return escape");
  EXPECT_EQ(ReleasedKeys(), "") << "reported once";
}

// Escape held on the keyboard and on a pad at once is released only when both
// have let go, in either order.
TEST_F(GamepadTest, KeyHeldOnKeyboardAndPadIsReleasedWhenBothLetGo) {
  ASSERT_NO_FATAL_FAILURE(StartKeyboard());
  const VirtualPad pad = PlugIn(XboxPad);
  for (const bool keyboardFirst : {true, false}) {
    SCOPED_TRACE(keyboardFirst ? "keyboard lets go first" : "pad lets go first");
    PushKey(SDLK_ESCAPE, true);
    pad.Button(ButtonBack, true);
    RT_ExamineKeyboard();
    EXPECT_EQ(RT_KeyboardReleased(SDLK_ESCAPE), 0);

    if (keyboardFirst)
      PushKey(SDLK_ESCAPE, false);
    else
      pad.Button(ButtonBack, false);
    RT_ExamineKeyboard();
    EXPECT_EQ(RT_KeyboardPushed(SDLK_ESCAPE), 1);
    EXPECT_EQ(RT_KeyboardReleased(SDLK_ESCAPE), 0);

    if (keyboardFirst)
      pad.Button(ButtonBack, false);
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
  ASSERT_NO_FATAL_FAILURE(StartKeyboard());
  const VirtualPad first = PlugIn(XboxPad);
  const VirtualPad second = PlugIn(DualSensePad);
  const struct {
    const char *what;
    const VirtualPad &pad;
    Input input;
    int32_t number, value;
  } holds[] = {
      {"D-pad", first, Input::Hat, 0, SDL_HAT_UP},
      {"first pad's B", first, Input::Button, ButtonB, 1},
      {"stick", first, Input::Axis, StickY, -32768},
      {"second pad's circle", second, Input::Button, ButtonB, 1},
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

// The player's own mapping, from the environment, is taken over the database's,
// for a pad plugged in before the game starts.
TEST_F(GamepadTest, PlayersOwnMappingWinsOverTheDatabases) {
  const VirtualPad pad = Attach(XboxPad);
  const std::string mapping = pad.MappingId() +
                              ",My pad,a:b3,b:b2,back:b5,start:b4,leftx:a0,lefty:a1,"
                              "dpup:h0.1,dpdown:h0.4,dpleft:h0.8,dpright:h0.2,";
  setenv(Config, mapping.c_str(), 1);
  ASSERT_NO_FATAL_FAILURE(StartKeyboard());
  const struct {
    int32_t button;
    const char *held;
  } presses[] = {{0, ""},  {1, ""},       {2, "up"},        {3, "space return"},
                 {4, "p"}, {5, "escape"}, {ButtonBack, ""}, {ButtonStart, ""}};
  for (const auto &press : presses) {
    SCOPED_TRACE("button " + std::to_string(press.button));
    pad.Button(press.button, true);
    RT_ExamineKeyboard();
    EXPECT_EQ(HeldKeys(), press.held);
    pad.Button(press.button, false);
    RT_ExamineKeyboard();
  }
}

} // namespace
