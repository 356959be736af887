// Keyboard: polled key state. Key codes are SDL 1.2 key symbols (SDLK_...).
//
// RT_ExamineKeyboard is the one reader of the SDL event queue in the program: it
// takes every event, keeps key presses and releases, and drops the rest (so the
// window manager's close request is ignored). A key pressed and released between
// two examinations is never seen.
//
// Gamepads. RT_InitKeyboard also opens every joystick SDL lists at that moment; a
// pad that is missing or cannot be opened is left out without a word, and one
// plugged in later is not seen. RT_ExamineKeyboard keeps the pads' events too and
// turns them into keys, so a key is held while the keyboard or any pad holds it,
// and a release comes only once none holds it any more:
//
//   D-pad or left stick left, right   Left, Right
//   D-pad or left stick up            Up
//   south button (A, cross)           Space and Return
//   east button (B, circle)           Up
//   Start                             P
//   Back, Select                      Escape
//
// The stick counts from half its travel on. Buttons are numbered in the kernel's
// order, as SDL reports them on Linux: south 0 and east 1 on every pad, Back 6 and
// Start 7 on Xbox-style and most other pads. A PlayStation pad reports its two
// trigger buttons before Select 8 and Start 9; it is told by its name (PlayStation,
// PS3, PS4, PS5, Sony, DualSense or DualShock), not by its button count: an Xbox
// 360 pad on a wireless receiver, which reports its D-pad as buttons too, has more.
// SDL's own pad drivers, which number buttons otherwise, are turned off unless the
// player's environment sets SDL_JOYSTICK_HIDAPI.
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
