// Heliomants: a vector arcade game of rocks, a ship and a saucer.
#include "game/game.h"

int main() {
  if (int32_t status = GameStartUp(); status != 0)
    return status;
  while (GameFrame()) {
  }
  return GameExit();
}
