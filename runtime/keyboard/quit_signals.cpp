// Requests from outside to end the game: the signals of a logout, a closed
// terminal, kill or Ctrl-C, caught so that the game can save and shut down.
#include "runtime/keyboard/quit_signals.h"

#include <csignal>

#include "runtime/keyboard/keyboard.h"

namespace {

constexpr int QuitSignals[] = {SIGTERM, SIGHUP, SIGINT};

volatile sig_atomic_t CaughtSignal = 0;

void SetQuitHandlers(void (*handler)(int)) {
  for (int signal : QuitSignals) {
    struct sigaction action {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    // Calls the handler breaks into go on: the game looks at the request once a frame
    action.sa_flags = SA_RESTART;
    sigaction(signal, &action, nullptr);
  }
}

// The first signal is kept for the game; a second one ends the process as usual,
// so that a shut-down that hangs can still be stopped.
void OnQuitSignal(int signal) {
  if (CaughtSignal == 0)
    CaughtSignal = signal;
  SetQuitHandlers(SIG_DFL);
}

} // namespace

void CatchQuitSignals() {
  CaughtSignal = 0;
  SetQuitHandlers(OnQuitSignal);
}

void ReleaseQuitSignals() {
  SetQuitHandlers(SIG_DFL);
}

int32_t RT_QuitSignal() {
  return CaughtSignal;
}
