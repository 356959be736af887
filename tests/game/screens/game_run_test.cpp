// Whole runs of the game, from start-up to exit: how long each screen lasts on a
// clock the test moves, and what Krellostra.dat holds after the run.
#include <SDL/SDL.h>
#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "game/game.h"
#include "game/states.h"
#include "game/world.h"
#include "runtime/keyboard/keyboard.h"
#include "runtime/misc/misc.h"
#include "runtime/screen/screen.h"
#include "tests/test_support.h"

namespace {

constexpr int64_t Second = 1'000'000;             // in the clock's microseconds
constexpr int64_t Start = 1'700'000'000 * Second; // a whole second

std::string ReadFile(const char *name) {
  std::ifstream in(name, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

class ScreensGameRun : public ::testing::Test {
protected:
  void SetUp() override {
    clockNow = Start;
    misc::SetClockSource(&TestClock);
  }
  void TearDown() override {
    whileWaiting = nullptr;
    misc::SetClockSource(nullptr);
  }

  // Started unpaced, so frames follow the test's clock alone.
  void StartUp() {
    ASSERT_EQ(GameStartUp(), 0);
    RT_SetFrameRate(0);
  }

  // Return held for one frame and let go on the next.
  void PressReturn() {
    PushKey(SDLK_RETURN, true);
    ASSERT_TRUE(GameFrame());
    PushKey(SDLK_RETURN, false);
    ASSERT_TRUE(GameFrame());
  }

  // Escape released ends the loop; then the exit steps.
  int32_t Quit() {
    PushKey(SDLK_ESCAPE, true);
    EXPECT_TRUE(GameFrame());
    PushKey(SDLK_ESCAPE, false);
    EXPECT_FALSE(GameFrame());
    return GameExit();
  }

  // Runs frames 100 ms apart until the state changes; the time it lasted.
  int64_t TimeInState() {
    const int32_t state = GameState;
    const int64_t entered = clockNow;
    while (GameState == state && clockNow - entered < 60 * Second) {
      clockNow += Second / 10;
      GameFrame();
    }
    return clockNow - entered;
  }

  ScratchDir dir_;
};

// The attract cycle from start-up, begun at a whole second and just before one.
// One start-up per test, as in the program.
class ScreensAttractCycle : public ScreensGameRun, public ::testing::WithParamInterface<int64_t> {};

TEST_P(ScreensAttractCycle, ScreensLastTheirSeconds) {
  const int64_t offset = GetParam();
  clockNow = Start + offset;
  StartUp();
  ASSERT_EQ(GameState, StateHighScores);
  EXPECT_EQ(TimeInState(), 15 * Second - offset) << "high scores at start-up";
  ASSERT_EQ(GameState, StateTitle);
  EXPECT_EQ(TimeInState(), 6 * Second) << "title";
  ASSERT_EQ(GameState, StateCredits);
  EXPECT_EQ(TimeInState(), 6 * Second) << "credits";
  ASSERT_EQ(GameState, StateHighScores);
  EXPECT_EQ(TimeInState(), 10 * Second) << "high scores after the credits";
  ASSERT_EQ(GameState, StateTitle);
  EXPECT_EQ(Quit(), 0);
}

INSTANTIATE_TEST_SUITE_P(StartOffsets, ScreensAttractCycle,
                         ::testing::Values(int64_t{0}, Second * 9 / 10));

// Get ready gives way to play; game over enters the score and shows the table
// for 14 to 15 seconds.
TEST_F(ScreensGameRun, GameScreensLastTheirSeconds) {
  StartUp();
  clockNow += Second / 2;
  PressReturn();
  ASSERT_EQ(GameState, StateGetReady);
  EXPECT_EQ(TimeInState(), 3 * Second - Second / 2) << "get ready, entered half a second in";
  ASSERT_EQ(GameState, StatePlaying);

  Score = 5000;
  clockNow += Second / 2;
  EnterState(StateGameOver);
  EXPECT_EQ(TimeInState(), 6 * Second - Second / 2) << "game over";
  ASSERT_EQ(GameState, StateHighScores);
  EXPECT_EQ(HiScoreTable[0], "005000");
  EXPECT_EQ(HiScoreTable[1], "001860");
  EXPECT_EQ(HiScoreTable[2], "001725");
  EXPECT_EQ(TimeInState(), 15 * Second) << "high scores after a game";
  EXPECT_EQ(GameState, StateTitle);
  EXPECT_EQ(Quit(), 0);
}

struct SavedFileCase {
  const char *id;
  const char *before; // null: no file
  bool beatBest;      // quit during a game that has passed the best score
  int32_t useAudio;   // as read at start-up
  const char *after;
};

const SavedFileCase SavedFileCases[] = {
    {"FirstRun", nullptr, false, 1,
     "[Game Data]\r\nHiScore = 1860\r\nSecond = 1725\r\nThird = 1270\r\nFullScreen = 1\r\n"},
    // the table has not taken the game in, so the old best is not moved down
    {"QuitDuringGamePastBest", nullptr, true, 1,
     "[Game Data]\r\nHiScore = 2500\r\nSecond = 1725\r\nThird = 1270\r\nFullScreen = 1\r\n"},
    // full screen whatever the file said; UseAudio is not written back
    {"HandSetFullScreenAndAudio",
     "[Game Data]\nHiScore = 3000\nSecond = 2000\nThird = 1000\nFullScreen = 0\nUseAudio = 0\n",
     false, 0,
     "[Game Data]\r\nHiScore = 3000\r\nSecond = 2000\r\nThird = 1000\r\nFullScreen = 1\r\n"},
};

void PrintTo(const SavedFileCase &c, std::ostream *out) {
  *out << c.id;
}

class ScreensSavedFile : public ScreensGameRun,
                         public ::testing::WithParamInterface<SavedFileCase> {};

TEST_P(ScreensSavedFile, HoldsScoresAndFullScreen) {
  const SavedFileCase &c = GetParam();
  if (c.before != nullptr)
    std::ofstream("Krellostra.dat", std::ios::binary) << c.before;
  StartUp();
  EXPECT_EQ(FullScreen, 1);
  EXPECT_EQ(UseAudio, c.useAudio);
  if (c.beatBest) {
    PressReturn();
    Score = 2500;
  }
  ASSERT_TRUE(GameFrame());
  EXPECT_EQ(Quit(), 0);
  EXPECT_EQ(ReadFile("Krellostra.dat"), c.after);
}

INSTANTIATE_TEST_SUITE_P(Runs, ScreensSavedFile, ::testing::ValuesIn(SavedFileCases),
                         [](const auto &info) { return std::string(info.param.id); });

struct QuitSignalCase {
  const char *id;
  int signal;
  int second;  // sent right after the first, as a logout sends SIGHUP after SIGTERM; 0: none
  bool paused; // sent while the game waits in a pause
};

const QuitSignalCase QuitSignalCases[] = {
    {"TermInPlay", SIGTERM, 0, false},       {"HupInPlay", SIGHUP, 0, false},
    {"IntInPlay", SIGINT, 0, false},         {"TermInPause", SIGTERM, 0, true},
    {"HupInPause", SIGHUP, 0, true},         {"IntInPause", SIGINT, 0, true},
    {"TermThenHup", SIGTERM, SIGHUP, false}, {"HupThenTerm", SIGHUP, SIGTERM, false},
    {"TermThenInt", SIGTERM, SIGINT, false},
};

void PrintTo(const QuitSignalCase &c, std::ostream *out) {
  *out << c.id;
}

class ScreensQuitSignal : public ScreensGameRun,
                          public ::testing::WithParamInterface<QuitSignalCase> {
protected:
  // P seen released: the next frame waits in the pause, where the signal comes at
  // its first wait. Should the pause not end on it, P ends the pause later on.
  void SignalDuringPause(int signal) {
    PushKey(SDLK_p, true);
    ASSERT_TRUE(GameFrame());
    PushKey(SDLK_p, false);
    constexpr int GiveUp = 100; // waits
    int waits = 0;
    whileWaiting = [&] {
      if (waits == 0)
        raise(signal);
      else if (waits == GiveUp)
        PushKey(SDLK_p, true);
      else if (waits == GiveUp + 1)
        PushKey(SDLK_p, false);
      waits++;
    };
    EXPECT_FALSE(GameFrame()) << "the loop went on after the signal";
    whileWaiting = nullptr;
    EXPECT_EQ(waits, 1) << "the pause ends at its first look at the keys after the signal";
  }
};

// A logout, a closed terminal, kill or Ctrl-C end the run as Escape's release does,
// from a pause too: the frame is completed and the scores are saved as at that exit.
// A second signal right after the first ends nothing, were it not caught it would end
// the test program. Ctrl-C's own end comes after the exit (RT_EndIfInterrupted).
TEST_P(ScreensQuitSignal, EndsTheRunAndSavesTheScores) {
  const QuitSignalCase &c = GetParam();
  StartUp();
  PressReturn();
  Score = 2500;
  ASSERT_TRUE(GameFrame());
  const int32_t blinkCounter = BlinkCounter;
  if (c.paused) {
    SignalDuringPause(c.signal);
  } else {
    ASSERT_EQ(raise(c.signal), 0);
    if (c.second != 0) {
      ASSERT_EQ(raise(c.second), 0);
    }
    EXPECT_FALSE(GameFrame());
  }
  EXPECT_EQ(BlinkCounter, (blinkCounter + (c.paused ? 2 : 1)) % 7) << "the frames completed";
  EXPECT_EQ(GameExit(), 0);
  EXPECT_EQ(RT_QuitSignal(), c.signal) << "the first is the one kept";
  EXPECT_EQ(ReadFile("Krellostra.dat"),
            "[Game Data]\r\nHiScore = 2500\r\nSecond = 1725\r\nThird = 1270\r\nFullScreen = 1\r\n");
}

INSTANTIATE_TEST_SUITE_P(Signals, ScreensQuitSignal, ::testing::ValuesIn(QuitSignalCases),
                         [](const auto &info) { return std::string(info.param.id); });

// The scores cannot be saved where the working directory has gone: said on stderr,
// and the exit status stays 0. After Escape, the player is told in a box too, which
// names the file and the reason; a run ended from outside has nobody to answer one.
// Without a display, a box only writes its text on stderr. One start-up per test.
class ScreensUnsavedScores : public ScreensGameRun, public ::testing::WithParamInterface<int> {};

TEST_P(ScreensUnsavedScores, AreReported) {
  const int signal = GetParam(); // 0: Escape
  unsetenv("DISPLAY");
  unsetenv("WAYLAND_DISPLAY");
  StartUp();
  ASSERT_TRUE(GameFrame());
  std::filesystem::remove_all(dir_.path());
  testing::internal::CaptureStderr();
  if (signal != 0) {
    ASSERT_EQ(raise(signal), 0);
    EXPECT_FALSE(GameFrame());
    EXPECT_EQ(GameExit(), 0);
  } else {
    EXPECT_EQ(Quit(), 0);
  }
  const std::string told = testing::internal::GetCapturedStderr();
  EXPECT_NE(told.find("heliomants: cannot save the high scores to Krellostra.dat: No such file "
                      "or directory\n"),
            std::string::npos)
      << told;
  const char *box = "Error: The high scores could not be saved to Krellostra.dat: No such "
                    "file or directory.\nThe scores of this run were not saved.\n";
  EXPECT_EQ(told.find(box) != std::string::npos, signal == 0) << told;
}

INSTANTIATE_TEST_SUITE_P(Ends, ScreensUnsavedScores, ::testing::Values(0, SIGTERM),
                         [](const auto &info) {
                           return std::string(info.param == 0 ? "Escape" : "Term");
                         });

} // namespace
