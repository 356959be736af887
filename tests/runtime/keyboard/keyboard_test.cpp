#include "runtime/keyboard/keyboard.h"

#include <SDL/SDL.h>
#include <gtest/gtest.h>

#include "runtime/screen/screen.h"

namespace {

void Push(Uint8 type, SDLKey key) {
  SDL_Event event{};
  event.type = type;
  event.key.type = type;
  event.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
  event.key.keysym.sym = key;
  ASSERT_EQ(SDL_PushEvent(&event), 0) << SDL_GetError();
}

void Press(SDLKey key) {
  Push(SDL_KEYDOWN, key);
}
void Release(SDLKey key) {
  Push(SDL_KEYUP, key);
}

class KeyboardTest : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_EQ(RT_InitKeyboard(), 1) << RT_VideoError();
    RT_ExamineKeyboard();    // whatever SDL queued at start-up
    RT_KeyboardReleased(-1); // no release left over from an earlier test
  }
  void TearDown() override {
    RT_FreeKeyboards();
    RT_FreeSprites(); // shuts SDL down
  }
};

TEST_F(KeyboardTest, HeldKeyIsPushedEveryFrameAndItsReleaseReportedOnce) {
  Press(SDLK_ESCAPE);
  for (int frame = 0; frame < 3; frame++) {
    SCOPED_TRACE(::testing::Message() << "held frame " << frame);
    EXPECT_EQ(RT_ExamineKeyboard(), frame == 0);
    EXPECT_EQ(RT_KeyboardPushed(SDLK_ESCAPE), 1);
    EXPECT_EQ(RT_KeyboardReleased(SDLK_ESCAPE), 0);
  }
  Release(SDLK_ESCAPE);
  EXPECT_EQ(RT_ExamineKeyboard(), 1);
  EXPECT_EQ(RT_KeyboardPushed(SDLK_ESCAPE), 0);
  EXPECT_EQ(RT_KeyboardReleased(SDLK_ESCAPE), 1);
  EXPECT_EQ(RT_ExamineKeyboard(), 0);
  EXPECT_EQ(RT_KeyboardReleased(SDLK_ESCAPE), 0);
}

TEST_F(KeyboardTest, KeyPressedAndReleasedBetweenTwoExaminationsIsNeverSeen) {
  Press(SDLK_p);
  Release(SDLK_p);
  EXPECT_EQ(RT_ExamineKeyboard(), 1);
  EXPECT_EQ(RT_KeyboardPushed(SDLK_p), 0);
  EXPECT_EQ(RT_KeyboardReleased(SDLK_p), 0);
  EXPECT_EQ(RT_ExamineKeyboard(), 0);
  EXPECT_EQ(RT_KeyboardReleased(SDLK_p), 0);
}

TEST_F(KeyboardTest, ReleaseIsOnlyReportedForAKeySeenHeldByAnEarlierQuery) {
  Press(SDLK_ESCAPE);
  RT_ExamineKeyboard();
  Release(SDLK_ESCAPE);
  RT_ExamineKeyboard(); // no RT_KeyboardReleased call saw it held
  EXPECT_EQ(RT_KeyboardReleased(SDLK_ESCAPE), 0);
}

TEST_F(KeyboardTest, ArrowKeysAboveTheReleaseTableAreTracked) {
  Press(SDLK_LEFT);
  Press(SDLK_UP);
  RT_ExamineKeyboard();
  EXPECT_EQ(RT_KeyboardPushed(SDLK_LEFT), 1);
  EXPECT_EQ(RT_KeyboardPushed(SDLK_UP), 1);
  EXPECT_EQ(RT_KeyboardPushed(SDLK_RIGHT), 0);
  Release(SDLK_LEFT);
  RT_ExamineKeyboard();
  EXPECT_EQ(RT_KeyboardPushed(SDLK_LEFT), 0);
  EXPECT_EQ(RT_KeyboardPushed(SDLK_UP), 1);
}

TEST_F(KeyboardTest, AnyKeyFormMarksEveryHeldKeyAndClearsEveryPendingRelease) {
  Press(SDLK_ESCAPE);
  Press(SDLK_p);
  RT_ExamineKeyboard();
  EXPECT_EQ(RT_KeyboardReleased(-1), 0);

  Release(SDLK_ESCAPE);
  Release(SDLK_p);
  RT_ExamineKeyboard();
  EXPECT_EQ(RT_KeyboardReleased(-1), 1);
  EXPECT_EQ(RT_KeyboardReleased(-1), 0);
  EXPECT_EQ(RT_KeyboardReleased(SDLK_p), 0); // already reported by the any-key form
}

TEST_F(KeyboardTest, AnyKeyFormStopsBelowCode255) {
  Press(SDLK_WORLD_95); // code 255
  RT_ExamineKeyboard();
  EXPECT_EQ(RT_KeyboardReleased(-1), 0);
  Release(SDLK_WORLD_95);
  RT_ExamineKeyboard();
  EXPECT_EQ(RT_KeyboardReleased(-1), 0);
}

TEST_F(KeyboardTest, QuitRequestIsTakenAndIgnored) {
  Press(SDLK_SPACE);
  SDL_Event quit{};
  quit.type = SDL_QUIT;
  ASSERT_EQ(SDL_PushEvent(&quit), 0);
  EXPECT_EQ(RT_ExamineKeyboard(), 1);
  EXPECT_EQ(RT_KeyboardPushed(SDLK_SPACE), 1);
  EXPECT_EQ(SDL_PollEvent(nullptr), 0); // the queue is empty: the quit request is gone
  EXPECT_EQ(RT_ExamineKeyboard(), 0);
  EXPECT_EQ(RT_KeyboardPushed(SDLK_SPACE), 1);
}

TEST_F(KeyboardTest, InitClearsHeldKeys) {
  Press(SDLK_RETURN);
  RT_ExamineKeyboard();
  ASSERT_EQ(RT_KeyboardPushed(SDLK_RETURN), 1);
  EXPECT_EQ(RT_InitKeyboard(), 1);
  EXPECT_EQ(RT_KeyboardPushed(SDLK_RETURN), 0);
}

} // namespace
