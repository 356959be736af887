// A game played with a gamepad alone: started, flown, paused and quit.
#include <cstdlib>
#include <optional>

#include "tests/game/play/play_fixture.h"
#include "tests/virtual_pad.h"

namespace {

constexpr int32_t ButtonA = 0, ButtonB = 1, ButtonBack = 6, ButtonStart = 7;
constexpr int32_t StickX = 0;

// The pad is plugged in once the game has started, and the next frame opens it.
class PadPlay : public Play {
protected:
  void SetUp() override {
    // SDL drops a pad's input while the program's window lacks the focus, which
    // the dummy video driver never gives
    setenv(BackgroundEvents, "1", 1);
    ASSERT_NO_FATAL_FAILURE(Play::SetUp());
    pad_.emplace(XboxPad);
    ASSERT_TRUE(pad_->Attached()) << VirtualPad::Error();
    Frame();
  }
  void TearDown() override {
    Play::TearDown();
    unsetenv(BackgroundEvents);
  }

  static int ActiveShots() {
    int active = 0;
    for (const Shot &shot : Shots)
      active += shot.Active;
    return active;
  }

  std::optional<VirtualPad> pad_;

private:
  static constexpr const char *BackgroundEvents = "SDL_JOYSTICK_ALLOW_BACKGROUND_EVENTS";
};

TEST_F(PadPlay, APadAloneStartsAGameFliesFiresAndQuits) {
  pad_->Button(ButtonA, true);
  Frame();
  EXPECT_EQ(GameState, StateGetReady) << "A starts a game";
  pad_->Button(ButtonA, false);
  Seconds(3);
  Frame();
  ASSERT_EQ(GameState, StatePlaying);

  pad_->Hat(SDL_HAT_LEFT);
  Frame();
  EXPECT_EQ(ShipAngle, 359) << "the D-pad turns";
  pad_->Hat(SDL_HAT_CENTERED);
  pad_->Axis(StickX, 32767);
  Frame();
  EXPECT_EQ(ShipAngle, 0) << "the stick turns";
  pad_->Axis(StickX, 0);

  pad_->Button(ButtonB, true);
  Frame();
  EXPECT_EQ(Thrusting, 1) << "B thrusts";
  pad_->Button(ButtonB, false);
  Frame();
  EXPECT_EQ(Thrusting, 0);

  ASSERT_EQ(ActiveShots(), 0);
  pad_->Button(ButtonA, true);
  Frame();
  EXPECT_EQ(ActiveShots(), 1) << "A fires";
  pad_->Button(ButtonA, false);

  pad_->Button(ButtonBack, true);
  EXPECT_TRUE(Frame()) << "Back quits when let go, not before";
  pad_->Button(ButtonBack, false);
  EXPECT_FALSE(Frame());
  EXPECT_EQ(QuitGame, 1);
}

// Start pauses; the frame stays inside the pause until Start goes down and up
// again, and Back pressed meanwhile is not seen.
TEST_F(PadPlay, StartPausesUntilPressedAgain) {
  ExpectPauseUntilPressedAgain([this](bool down) { pad_->Button(ButtonStart, down); },
                               [this](bool down) { pad_->Button(ButtonBack, down); });
}

} // namespace
