// The game from start-up to exit, one frame at a time, so tests and benchmarks
// can drive it. main() is: GameStartUp, GameFrame until false, GameExit, and after
// a Ctrl-C the end by that interrupt (RT_EndIfInterrupted).
#pragma once

#include <cstdint>

int32_t GameStartUp(); // 0 to run the loop; otherwise the exit status, all shut down
bool GameFrame();      // one pass of the loop; false once it must end (Escape, signal, lost X)
void GameWorkFrame();  // one pass without the flip: keys, world, HUD and state
int32_t GameExit();    // saves the settings (a box if that fails), shuts down; the exit status
