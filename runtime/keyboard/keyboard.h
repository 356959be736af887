// Keyboard: polled key state. Key codes are SDL 1.2 key symbols (SDLK_...).
//
// RT_ExamineKeyboard is the one reader of the SDL event queue in the program: it
// takes every event, keeps key presses and releases, and drops the rest (so the
// window manager's close request is ignored). A key pressed and released between
// two examinations is never seen.
//
// Gamepads. From RT_InitKeyboard on, every examination also reads the pads, through
// the game-controller layer of the SDL 2 beneath SDL 1.2: a pad plugged in is opened
// at the next examination and plays at once; one unplugged lets go of all it held.
// A key is held while the keyboard or any pad holds it, and a release comes only
// once none holds it any more:
//
//   D-pad or left stick left, right   Left, Right
//   D-pad or left stick up            Up
//   A (cross)                         Space and Return
//   B (circle)                        Up
//   Start                             P
//   Back, Select                      Escape
//
// The stick counts from half its travel on. Buttons are found by their names in
// the mapping SDL has for the pad: its database's, or the player's own from
// SDL_GAMECONTROLLERCONFIG, which wins. As SDL names them, A and B are the buttons
// printed so, on a Nintendo pad too (unless SDL_GAMECONTROLLER_USE_BUTTON_LABELS=0).
// A joystick with no mapping plays with its first hat, its first two axes (left,
// right, up) and its first button (Space and Return) only: which of its buttons
// would be Start or Back is not known. A pad that cannot be opened is left out.
#pragma once

#include <cstdint>

int32_t RT_InitKeyboard();                // clears the keys, opens video and pads; 1 on success
int32_t RT_ExamineKeyboard();             // empties the event queue; 1 if it held any event
int32_t RT_KeyboardPushed(int32_t key);   // 1 while the key (0..499) is held
int32_t RT_KeyboardReleased(int32_t key); // 1 once after a held key (0..255, -1 any) goes up
void RT_FreeKeyboards();                  // closes the pads; the quit signals stay caught

// Requests from outside to end the game. From RT_InitKeyboard to RT_ReleaseQuitSignals,
// SIGTERM, SIGHUP and SIGINT (a logout, a closed terminal, kill, Ctrl-C) are caught
// instead of ending the process, so that the game can save and shut down as it does on
// its quit key; one that the program was started with as ignored (nohup) stays ignored.
// The first one is kept. Later ones end nothing until the signals are released, so a
// logout's SIGTERM and SIGHUP together cannot cut the save short; only a second SIGINT
// ends the process at once, so that a shut-down that hangs can still be stopped. While
// they are caught, a message box closes by itself once one has come.
int32_t RT_QuitSignal();      // the signal caught, or 0; kept after the release
void RT_ReleaseQuitSignals(); // the shut-down's last step: the handlers found at the start again
// After a SIGINT, ends the process by SIGINT's own default action, so that the shell that
// started it sees an interrupted program and stops the script it runs; else returns.
void RT_EndIfInterrupted();
