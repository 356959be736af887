// Misc: millisecond clock, random numbers, colours, the message box, the calendar
// clock, and the start-up of the window and image-decoder libraries.
//
// Everything here is the game's. The runtime's monotonic clock and the test hook
// behind every clock are in clock.h; the message box's break is in message_break.h.
#pragma once

#include <cstdint>

// Library
void RT_InitMisc(); // seeds the random generator from the clock

// Timing
// Monotonic, counted from shortly before program start: above 1000 from the first call.
// Wraps at 32 bits; only differences between readings mean anything.
// Under a test clock (clock.h), its milliseconds since the Unix epoch, wrapped to 32 bits.
int32_t RT_ElapsedMilliseconds();
void RT_Delay(int32_t milliseconds); // sleeps; nothing for 0 or less

// Random values (RANROT-W)
void RT_RandomSeed(uint32_t seed);
int32_t RT_Random(int32_t max); // 0 to max inclusive, -2147483648 for max < 0; one step a call

// Colours: 0x00BBGGRR
int32_t RT_RGB(int32_t red, int32_t green, int32_t blue);
int32_t RT_Red(int32_t colour);
int32_t RT_Green(int32_t colour);
int32_t RT_Blue(int32_t colour);

// Mathematics
float RT_ATan(float value); // arctangent in radians

// Message box: modal, with its own loop; "<title>: <text>" also goes to stderr, and only
// there when the toolkit is not up (then the result is 0). Flags 1: Yes 1, No 0;
// flags 2: Yes 2, No 1, Cancel 0; otherwise Ok 1. Closing the box gives 0.
int32_t RT_MessageRequester2(const char *title, const char *text, int32_t flags);
int32_t RT_MessageRequester(const char *title, const char *text); // flags 0

// Calendar clock: dates are seconds of the platform's calendar clock, in 32 bits
int32_t RT_Date(); // wraps at 32 bits after 2038
// Unit 0 years .. 6 seconds; any other unit leaves the date. Weeks to seconds wrap at 32
// bits; years and months keep the local time of day, -1 when the result does not fit.
int32_t RT_AddDate(int32_t date, int32_t unit, int32_t amount);
// The moment read as UTC (whole-hour local offsets); -1 when it is not valid or does not fit.
int32_t RT_Date2(int32_t year, int32_t month, int32_t day, int32_t hour, int32_t minute,
                 int32_t second);

// Windows and image decoders: only what the game calls
int32_t RT_InitWindow(); // readies GTK for the message box; 0 when no display is named
int32_t RT_InitImageDecoder();
void RT_CloseWindow(int32_t window);
void RT_FreeWindows();
