// The quit signals: caught from the keyboard's start until they are released, the
// first one kept, and given back the handlers they had before.
#include <gtest/gtest.h>

#include <csignal>

#include "runtime/keyboard/keyboard.h"
#include "runtime/screen/screen.h"

namespace {

constexpr int QuitSignals[] = {SIGTERM, SIGHUP, SIGINT};

struct sigaction ActionOf(int signal) {
  struct sigaction action {};
  sigaction(signal, nullptr, &action);
  return action;
}

class QuitSignalsTest : public ::testing::Test {
protected:
  void SetUp() override { ASSERT_EQ(RT_InitKeyboard(), 1) << RT_VideoError(); }
  void TearDown() override {
    RT_FreeKeyboards();
    RT_ReleaseQuitSignals();
    RT_FreeSprites();
  }
};

// A logout sends SIGTERM and SIGHUP together, and a Ctrl-C may follow a kill: the
// first is kept, and none ends the process, also after the keyboard is freed, until
// the shut-down releases them. Were one not caught, it would end the test program.
TEST_F(QuitSignalsTest, BurstsAreCaughtUntilTheRelease) {
  const struct {
    const char *id;
    int first, second;
  } cases[] = {
      {"TERM then HUP", SIGTERM, SIGHUP},
      {"HUP then TERM", SIGHUP, SIGTERM},
      {"TERM then INT", SIGTERM, SIGINT},
      {"INT then TERM", SIGINT, SIGTERM},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.id);
    ASSERT_EQ(RT_InitKeyboard(), 1);
    EXPECT_EQ(RT_QuitSignal(), 0) << "a new start forgets the last request";
    ASSERT_EQ(raise(c.first), 0);
    ASSERT_EQ(raise(c.second), 0);
    EXPECT_EQ(RT_QuitSignal(), c.first);
    RT_FreeKeyboards();
    ASSERT_EQ(raise(SIGHUP), 0);
    ASSERT_EQ(raise(SIGTERM), 0);
    EXPECT_EQ(RT_QuitSignal(), c.first);
    RT_ReleaseQuitSignals();
    EXPECT_EQ(RT_QuitSignal(), c.first) << "kept for the end of the program";
  }
}

// Handlers set before the start, plain, with SA_SIGINFO, or ignoring the signal as
// nohup does, are there again after the release. An ignored signal stays ignored
// in between.
TEST_F(QuitSignalsTest, EarlierHandlersComeBackAndIgnoredSignalsStayIgnored) {
  RT_ReleaseQuitSignals();
  struct sigaction plain {
  }, detailed{}, ignored{};
  plain.sa_handler = [](int) {};
  detailed.sa_sigaction = [](int, siginfo_t *, void *) {};
  detailed.sa_flags = SA_SIGINFO;
  ignored.sa_handler = SIG_IGN;
  ASSERT_EQ(sigaction(SIGTERM, &plain, nullptr), 0);
  ASSERT_EQ(sigaction(SIGINT, &detailed, nullptr), 0);
  ASSERT_EQ(sigaction(SIGHUP, &ignored, nullptr), 0);

  ASSERT_EQ(RT_InitKeyboard(), 1);
  ASSERT_EQ(RT_InitKeyboard(), 1) << "a second start must not take its own handlers as earlier";
  EXPECT_NE(ActionOf(SIGTERM).sa_handler, plain.sa_handler) << "SIGTERM is not caught";
  EXPECT_EQ(ActionOf(SIGHUP).sa_handler, SIG_IGN);
  ASSERT_EQ(raise(SIGHUP), 0);
  EXPECT_EQ(RT_QuitSignal(), 0) << "an ignored signal was taken as a request";

  RT_ReleaseQuitSignals();
  EXPECT_EQ(ActionOf(SIGTERM).sa_handler, plain.sa_handler);
  EXPECT_EQ(ActionOf(SIGINT).sa_sigaction, detailed.sa_sigaction);
  EXPECT_TRUE(ActionOf(SIGINT).sa_flags & SA_SIGINFO);
  EXPECT_EQ(ActionOf(SIGHUP).sa_handler, SIG_IGN);
  for (int quit : QuitSignals)
    std::signal(quit, SIG_DFL);
}

// The death tests run in a fresh process of their own, as SDL may have threads.
class QuitSignalsDeathTest : public QuitSignalsTest {
protected:
  QuitSignalsDeathTest() { GTEST_FLAG_SET(death_test_style, "threadsafe"); }
};

// Ctrl-C twice ends the process at once, whatever came first, so that a shut-down
// that hangs can be stopped.
TEST_F(QuitSignalsDeathTest, SecondInterruptEndsTheProcess) {
  EXPECT_EXIT(
      {
        raise(SIGTERM);
        raise(SIGINT);
        raise(SIGINT);
      },
      testing::KilledBySignal(SIGINT), "");
}

// After the release, a run ended by Ctrl-C ends by the interrupt itself; one ended
// by another signal goes on to its exit status.
TEST_F(QuitSignalsDeathTest, EndIfInterrupted) {
  EXPECT_EXIT(
      {
        raise(SIGINT);
        RT_ReleaseQuitSignals();
        RT_EndIfInterrupted();
        _exit(0);
      },
      testing::KilledBySignal(SIGINT), "");
  ASSERT_EQ(raise(SIGTERM), 0);
  RT_ReleaseQuitSignals();
  RT_EndIfInterrupted();
  EXPECT_EQ(RT_QuitSignal(), SIGTERM);
}

} // namespace
