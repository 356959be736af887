// The game states: play, get ready, game over and the attract cycle of high
// scores, title and credits, timed in whole seconds of the calendar clock.
#pragma once

#include <cstdint>

int32_t ClockSeconds(int32_t offset); // the calendar clock in seconds, plus offset
void EnterState(int32_t state);       // GameState, its timer restarted now
void NewGame();                       // Return on an attract screen
void RunState();                      // the state's texts, then its timer
