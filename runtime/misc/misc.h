// Misc: millisecond clock, random numbers, colours, the message box, the calendar
// clock, and the start-up of the window and image-decoder libraries.
#pragma once

#include <cstdint>

// Library
void RT_InitMisc(); // seeds the random generator from the clock

// Timing
int32_t RT_ElapsedMilliseconds(); // counts from shortly before program start; above 1000
void RT_Delay(int32_t milliseconds); // sleeps

// Random values (RANROT-W)
void RT_RandomSeed(uint32_t seed);
int32_t RT_Random(int32_t max); // 0 to max inclusive; every call advances one step

// Colours: 0x00BBGGRR
int32_t RT_RGB(int32_t red, int32_t green, int32_t blue);
int32_t RT_Red(int32_t colour);
int32_t RT_Green(int32_t colour);
int32_t RT_Blue(int32_t colour);

// Mathematics
float RT_ATan(float value); // arctangent in radians

// Message box: modal, with its own loop. Without a display the text goes to stderr.
int32_t RT_MessageRequester2(const char *title, const char *text, int32_t flags);
int32_t RT_MessageRequester(const char *title, const char *text); // flags 0

// Calendar clock: dates are seconds of the platform's calendar clock
int32_t RT_Date();
int32_t RT_AddDate(int32_t date, int32_t unit, int32_t amount); // unit 0 years .. 6 seconds
int32_t RT_Date2(int32_t year, int32_t month, int32_t day, int32_t hour, int32_t minute,
                 int32_t second); // -1 when the moment is not valid

// Windows and image decoders: only what the game calls
int32_t RT_InitWindow(); // starts GTK for the message box; 0 when there is no display
int32_t RT_InitImageDecoder();
void RT_CloseWindow(int32_t window);
void RT_FreeWindows();

// Test hook: replaces the system clocks behind RT_ElapsedMilliseconds and RT_Date
// with a source of microseconds since the Unix epoch; null restores them.
void RT_SetClockSource(int64_t (*microseconds)());
