// Keyboard: polled key state. Key codes are SDL 1.2 key symbols (SDLK_...).
//
// RT_ExamineKeyboard is the one reader of the SDL event queue in the program: it
// takes every event, keeps key presses and releases, and drops the rest (so the
// window manager's close request is ignored). A key pressed and released between
// two examinations is never seen.
#pragma once

#include <cstdint>

int32_t RT_InitKeyboard();                // clears the key table, starts video; 1 on success
int32_t RT_ExamineKeyboard();             // empties the event queue; 1 if it held any event
int32_t RT_KeyboardPushed(int32_t key);   // 1 while the key (0..499) is held
int32_t RT_KeyboardReleased(int32_t key); // 1 once after a held key (0..255, -1 any) goes up
void RT_FreeKeyboards();                  // gives the quit signals back their usual effect

// Requests from outside to end the game. From RT_InitKeyboard to RT_FreeKeyboards,
// SIGTERM, SIGHUP and SIGINT (a logout, a closed terminal, kill, Ctrl-C) are caught
// instead of ending the process, so that the game can save and shut down as it does
// on its quit key. The first one is kept; a second one ends the process at once.
int32_t RT_QuitSignal(); // the signal caught, or 0
