// Gamepads, inside the keyboard library: the pads opened at start-up, their state
// as their events left it, and the keys that state holds.
#pragma once

#include <cstdint>

union SDL_Event;

void OpenPads();                           // opens every pad SDL lists; quietly none
void ClosePads();                          // closes them and forgets their state
void TakePadEvent(const SDL_Event &event); // folds in a pad's event; others are ignored
bool PadsHold(int32_t key);                // whether any pad holds the key now
