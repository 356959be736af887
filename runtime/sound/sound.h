// Sound: the audio device, a table of numbered sounds converted to the device's
// format when loaded, and 32 mixing channels filled by an SDL audio callback.
//
// Everything but RT_InitSound needs RT_InitSound to have succeeded; play, stop,
// volume and free take numbers below the table's capacity (50, growing on load).
#pragma once

#include <cstdint>

void *RT_InitSound(); // opens the device (44100 Hz, S16, stereo); the table, or null
int32_t RT_LoadSound(int32_t number, const char *fileName); // 1 when loaded
int32_t RT_CatchSound(int32_t number, const void *image, int32_t imageSize); // a WAV image
void RT_PlaySound(int32_t number);                 // once, on the lowest free channel
void RT_PlaySound2(int32_t number, int32_t mode);  // mode 1 repeats until stopped
void RT_StopSound(int32_t number);                 // every channel playing it
void RT_SoundVolume(int32_t number, int32_t volume); // 0..100, also for playing channels
void RT_FreeSound(int32_t number);
void RT_FreeSounds(); // does nothing; SDL's shut-down closes the device

// The SDL audio callback: adds every busy channel into the device buffer.
void fill_audio(void *userData, uint8_t *stream, int length);
