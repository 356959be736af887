// Heliomants: a vector arcade game of rocks, a ship and a saucer.
#include "game/game.h"
#include "runtime/keyboard/keyboard.h"

int main() {
  int32_t status = GameStartUp();
  if (status == 0) {
    while (GameFrame()) {
    }
    status = GameExit();
  }
  // Once all is saved and shut down, Ctrl-C ends the program as an interrupt
  RT_EndIfInterrupted();
  return status;
}
