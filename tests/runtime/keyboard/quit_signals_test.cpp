// The quit signals: caught from the keyboard's start to its end, the first one
// kept, and given back their usual effect afterwards.
#include <gtest/gtest.h>

#include <csignal>

#include "runtime/keyboard/keyboard.h"
#include "runtime/screen/screen.h"

namespace {

constexpr int QuitSignals[] = {SIGTERM, SIGHUP, SIGINT};

bool Caught(int signal) {
  struct sigaction action {};
  sigaction(signal, nullptr, &action);
  return action.sa_handler != SIG_DFL;
}

class QuitSignalsTest : public ::testing::Test {
protected:
  void SetUp() override { ASSERT_EQ(RT_InitKeyboard(), 1) << RT_VideoError(); }
  void TearDown() override {
    RT_FreeKeyboards();
    RT_FreeSprites();
  }
};

// Were a signal not caught, it would end the test program here.
TEST_F(QuitSignalsTest, FirstSignalIsKeptAndTheNextOneEndsTheProcess) {
  for (int signal : QuitSignals) {
    SCOPED_TRACE(::testing::Message() << "signal " << signal);
    ASSERT_EQ(RT_InitKeyboard(), 1);
    EXPECT_EQ(RT_QuitSignal(), 0) << "a new start forgets the last request";
    ASSERT_EQ(raise(signal), 0);
    EXPECT_EQ(RT_QuitSignal(), signal);
    for (int other : QuitSignals)
      EXPECT_FALSE(Caught(other)) << "signal " << other << " is still caught after the first";
  }
}

TEST_F(QuitSignalsTest, CaughtOnlyFromStartToEnd) {
  for (int signal : QuitSignals)
    EXPECT_TRUE(Caught(signal)) << "signal " << signal;
  RT_FreeKeyboards();
  for (int signal : QuitSignals)
    EXPECT_FALSE(Caught(signal)) << "signal " << signal;
  EXPECT_EQ(RT_QuitSignal(), 0);
}

} // namespace
