// A private Xvfb for the tests that need a real X server, removed with the test.
#pragma once

#include <poll.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <string>

class XvfbServer {
public:
  // Starts one on the first display that works from a number of tries, and points DISPLAY
  // at it; up() tells whether that succeeded.
  XvfbServer() {
    for (int i = 0; i < DisplayAttempts && pid_ == 0; i++) {
      const int display = FirstDisplay + (getpid() + i * 37) % 600;
      pid_ = Start(display);
      if (pid_ != 0)
        setenv("DISPLAY", (":" + std::to_string(display)).c_str(), 1);
    }
  }
  ~XvfbServer() { Kill(SIGTERM); }
  XvfbServer(const XvfbServer &) = delete;
  XvfbServer &operator=(const XvfbServer &) = delete;

  bool up() const { return pid_ != 0; }

  // Ends the server at once, as when a remote session drops.
  void Kill(int signal = SIGKILL) {
    if (pid_ == 0)
      return;
    kill(pid_, signal);
    waitpid(pid_, nullptr, 0);
    pid_ = 0;
  }

private:
  static constexpr int FirstDisplay = 300;
  static constexpr int DisplayAttempts = 20;
  static constexpr int StartMilliseconds = 20000;

  // Waits for Xvfb's whole line with its display number: it writes the newline apart, and
  // dies if the pipe is closed before it. End of file means it gave up.
  static bool ReadLine(int fd) {
    pollfd wait{fd, POLLIN, 0};
    char c = 0;
    while (c != '\n')
      if (poll(&wait, 1, StartMilliseconds) != 1 || read(fd, &c, 1) != 1)
        return false;
    return true;
  }

  // Starts Xvfb on the given display; its pid once it accepts connections, else 0.
  static pid_t Start(int display) {
    int ready[2];
    if (pipe(ready) != 0)
      return 0;
    const pid_t pid = fork();
    if (pid == 0) {
      close(ready[0]);
      prctl(PR_SET_PDEATHSIG, SIGTERM); // no server left behind by a crashed test
      const std::string name = ":" + std::to_string(display), fd = std::to_string(ready[1]);
      execlp("Xvfb", "Xvfb", name.c_str(), "-displayfd", fd.c_str(), "-screen", "0", "640x480x24",
             "-nolisten", "tcp", nullptr);
      _exit(127);
    }
    close(ready[1]);
    const bool up = pid > 0 && ReadLine(ready[0]);
    close(ready[0]);
    if (up)
      return pid;
    if (pid > 0) {
      kill(pid, SIGTERM);
      waitpid(pid, nullptr, 0);
    }
    return 0;
  }

  pid_t pid_ = 0;
};
