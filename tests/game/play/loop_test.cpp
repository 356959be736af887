// The main loop: quitting, pausing, the attract cycle's timing and a whole game.
#include <fstream>
#include <utility>
#include <vector>

#include "tests/game/play/play_fixture.h"

namespace {

struct GameRun {
  std::vector<std::pair<int, int32_t>> states; // frame, state entered
  int32_t score;
};

class Loop : public Play {
protected:
  GameRun PlayUntilGameOver();
};

// Without a display the message box writes to stderr instead of waiting.
TEST(StartUp, VideoFailureTellsWhyAndEndsWithAFailureStatus) {
  ScratchDir scratch;
  unsetenv("DISPLAY");
  setenv("SDL_VIDEODRIVER", "no-such-driver", 1);
  testing::internal::CaptureStderr();
  const int32_t status = GameStartUp();
  const std::string told = testing::internal::GetCapturedStderr();
  setenv("SDL_VIDEODRIVER", "dummy", 1);
  EXPECT_NE(status, 0);
  EXPECT_NE(told.find("Could Not Initialize Video Hardware"), std::string::npos) << told;
  EXPECT_FALSE(std::filesystem::exists("Krellostra.dat")) << "nothing is saved";
}

TEST_F(Loop, EscapeEndsTheLoopWhenReleased) {
  Key(KeyEscape, true);
  EXPECT_TRUE(Frame());
  Key(KeyEscape, false);
  EXPECT_FALSE(Frame());
  EXPECT_EQ(QuitGame, 1);
}

// The frame stays inside the pause until P goes down and up again; Escape
// pressed and released meanwhile is not seen.
TEST_F(Loop, PauseHoldsTheFrameUntilPIsReleasedAgain) {
  ExpectPauseUntilPressedAgain([](bool down) { Key(KeyP, down); },
                               [](bool down) { Key(KeyEscape, down); });
}

struct AttractCase {
  int64_t micros; // since start-up, at a whole second
  int32_t state;
};

// High scores for 14 to 15 seconds after start-up, then title 5 to 6, credits 5
// to 6, and high scores 9 to 10 in the cycle.
constexpr AttractCase AttractCases[] = {
    {14'999'999, StateHighScores}, {15'000'000, StateTitle},   {20'999'999, StateTitle},
    {21'000'000, StateCredits},    {26'999'999, StateCredits}, {27'000'000, StateHighScores},
    {36'999'999, StateHighScores}, {37'000'000, StateTitle},
};

TEST_F(Loop, AttractScreensCycleOnWholeSeconds) {
  for (const AttractCase &c : AttractCases) {
    SCOPED_TRACE("at " + std::to_string(c.micros) + " us");
    clockNow = StartMicros + c.micros;
    Frame();
    EXPECT_EQ(GameState, c.state);
  }
}

// Entered a second before the calendar clock's 32-bit count wraps (in 2038), the
// get-ready pause still lasts two to three seconds.
TEST_F(Loop, GetReadyEndsOnTimeAcrossTheClocksWrap) {
  clockNow = (int64_t{INT32_MAX} - 1) * 1'000'000;
  ASSERT_NO_FATAL_FAILURE(StartGame());
  for (const int32_t expected : {StateGetReady, StateGetReady, StatePlaying}) {
    Seconds(1);
    Frame();
    EXPECT_EQ(GameState, expected) << "clock " << RT_Date();
  }
}

// Holds thrust and fire from the first frame of a new game until the last
// ship is lost and the high scores come back; 1/75 s passes each frame.
// The flip is left out: it changes nothing in the world.
GameRun Loop::PlayUntilGameOver() {
  GameRun run{{{0, GameState}}, 0};
  Key(KeyReturn, true);
  Key(KeyUp, true);
  Key(KeySpace, true);
  int32_t lives = 3;
  bool over = false;
  for (int frame = 1; frame < 400'000 && !over; frame++) {
    clockNow += FrameMicros;
    WorkFrame();
    if (frame == 1)
      Key(KeyReturn, false);
    if (GameState != run.states.back().second) {
      over = run.states.back().second == StateGameOver;
      run.states.push_back({frame, GameState});
    }
    if (GameState <= StateGameOver && Lives != lives) {
      EXPECT_EQ(Lives, lives - 1) << "frame " << frame;
      EXPECT_EQ(run.states.back().second, Lives == 0 ? StateGameOver : StatePlaying);
      lives = Lives;
    }
  }
  Key(KeyUp, false);
  Key(KeySpace, false);
  Frame();
  run.score = Score;
  return run;
}

TEST_F(Loop, SeededGameRunsFromFirstWaveToGameOverTheSameWayTwice) {
  const GameRun first = PlayUntilGameOver();
  // 4, then 1 -> 0 for each wave, then 3 -> 4.
  ASSERT_GE(first.states.size(), 5u);
  EXPECT_EQ(first.states[0].second, StateHighScores);
  EXPECT_EQ(first.states[1], std::make_pair(1, int32_t{StateGetReady}));
  for (size_t i = 2; i + 2 < first.states.size(); i++)
    EXPECT_EQ(first.states[i].second, i % 2 == 0 ? StatePlaying : StateGetReady);
  EXPECT_EQ(first.states[first.states.size() - 2].second, StateGameOver);
  EXPECT_EQ(first.states.back().second, StateHighScores);
  // The game over screen lasts 5 to 6 seconds.
  const int gameOverFrames =
      first.states.back().first - first.states[first.states.size() - 2].first;
  EXPECT_GE(gameOverFrames, 5 * 75);
  EXPECT_LE(gameOverFrames, 6 * 75 + 1);
  // A fresh backdrop for the attract screens.
  EXPECT_EQ(Wave, 1);
  EXPECT_EQ(RockCount, 4);
  EXPECT_EQ(LiveRocks().size(), 4u);
  // The scripted game scores below the third entry: the table stays as it was.
  ASSERT_LT(first.score, 1270);
  EXPECT_EQ(HiScoreTable[0], "001860");
  EXPECT_EQ(HiScoreTable[1], "001725");
  EXPECT_EQ(HiScoreTable[2], "001270");

  // Started again with the same seed and clock, and silent this time, the game
  // repeats frame for frame.
  GameExit();
  std::ofstream("Krellostra.dat") << "[Game Data]\r\nUseAudio = 0\r\n";
  clockNow = StartMicros;
  ASSERT_EQ(GameStartUp(), 0);
  ASSERT_EQ(UseAudio, 0);
  RT_SetFrameRate(0);
  RT_RandomSeed(Seed);
  const GameRun second = PlayUntilGameOver();
  EXPECT_EQ(second.states, first.states);
  EXPECT_EQ(second.score, first.score);
}

} // namespace
