// Requests from outside to end the game: the signals of a logout, a closed
// terminal, kill or Ctrl-C, caught so that the game can save and shut down.
#include "runtime/keyboard/quit_signals.h"

#include <atomic>
#include <csignal>
#include <iterator>

#include "runtime/keyboard/keyboard.h"
#include "runtime/misc/message_break.h"

namespace {

constexpr int QuitSignals[] = {SIGTERM, SIGHUP, SIGINT};

// Set by the handler on whichever thread the signal lands
std::atomic<int32_t> CaughtSignal{0};
static_assert(std::atomic<int32_t>::is_always_lock_free, "a signal handler may only touch this");

bool Holding = false;                                  // the handlers below are to be given back
struct sigaction Earlier[std::size(QuitSignals)] = {}; // what each signal did before

void SetAction(int signal, void (*handler)(int)) {
  struct sigaction action {};
  action.sa_handler = handler;
  // One signal at a time: a handler is never cut short by another quit signal
  sigemptyset(&action.sa_mask);
  for (int quit : QuitSignals)
    sigaddset(&action.sa_mask, quit);
  // Calls the handler breaks into go on: the game looks at the request once a frame
  action.sa_flags = SA_RESTART;
  sigaction(signal, &action, nullptr);
}

// The first signal is kept; later ones change nothing until the runtime is down, so
// that a logout's SIGTERM and SIGHUP together still let the game save. Only Ctrl-C
// twice ends the process at once, so that a shut-down that hangs can be stopped.
void OnQuitSignal(int signal) {
  int32_t none = 0;
  CaughtSignal.compare_exchange_strong(none, signal);
  if (signal == SIGINT)
    SetAction(SIGINT, SIG_DFL);
}

} // namespace

void keyboard::CatchQuitSignals() {
  CaughtSignal = 0;
  for (size_t i = 0; i < std::size(QuitSignals); i++) {
    if (!Holding)
      sigaction(QuitSignals[i], nullptr, &Earlier[i]);
    // Started with nohup or in the background of a shell without job control
    if (Earlier[i].sa_handler != SIG_IGN)
      SetAction(QuitSignals[i], OnQuitSignal);
  }
  Holding = true;
  misc::SetMessageBoxBreak(RT_QuitSignal);
}

void RT_ReleaseQuitSignals() {
  if (!Holding)
    return;
  misc::SetMessageBoxBreak(nullptr);
  for (size_t i = 0; i < std::size(QuitSignals); i++)
    sigaction(QuitSignals[i], &Earlier[i], nullptr);
  Holding = false;
}

int32_t RT_QuitSignal() {
  return CaughtSignal;
}

void RT_EndIfInterrupted() {
  if (CaughtSignal != SIGINT)
    return;
  SetAction(SIGINT, SIG_DFL);
  sigset_t interrupt;
  sigemptyset(&interrupt);
  sigaddset(&interrupt, SIGINT);
  pthread_sigmask(SIG_UNBLOCK, &interrupt, nullptr);
  raise(SIGINT);
}
