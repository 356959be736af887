// Sound: the audio device, a table of numbered sounds converted to the device's
// format when loaded, and 32 mixing channels filled by an SDL audio callback.
//
// Everything but RT_InitSound needs RT_InitSound to have succeeded; play, stop,
// volume and free take numbers below the table's capacity (50, growing on load).
// The channels change under a lock the callback takes too, so it never sees a
// half-started channel.
//
// A lost device. The device can go away during play (its sound server stopped or
// restarted, a USB or Bluetooth device removed). A thread of the library's own
// looks once a second; a lost device is closed and opened again, on the same
// audio driver, as soon as one is there, and the loaded sounds are converted again
// when the new device's format differs. Meanwhile the game plays on in silence:
// sounds started once are dropped, repeating sounds go on from their start on the
// new device. Loading waits for a reopening under way; playing never does.
//
// Everything here is the game's, or the globals that tests read. Tests reach the
// device itself through device.h.
#pragma once

#include <cstdint>

struct SDL_AudioSpec;

// One row of the sound table.
struct RT_SoundEntry {
  uint8_t *data;  // converted samples, owned by the table; null: empty slot
  int32_t length; // bytes of data
  int32_t volume; // 0..100, copied to each channel the sound starts on
};

// One mixing channel; it points into a table entry and owns nothing.
struct RT_SoundChannel {
  const uint8_t *position; // next byte to mix
  int32_t remaining;       // bytes still to mix; 0: the channel is free
  int32_t sound;           // number of the sound started on it
  int32_t volume;          // 0..100
  const uint8_t *start;    // the sound's first byte, where a repeat goes back to
  int32_t length;          // the sound's length in bytes
  int32_t repeat;          // 1: goes back to the start until stopped
};

constexpr int RT_Sound_ChannelCount = 32;

// State, read by tests
extern SDL_AudioSpec wanted;   // what RT_InitSound asks for
extern SDL_AudioSpec obtained; // what the device gave; every sound is converted to it
extern RT_SoundEntry *RT_Sound_ObjectsArea;
extern int32_t RT_Sound_ObjectsNumber; // the table's capacity
extern RT_SoundChannel RT_Sound_Channels[RT_Sound_ChannelCount];

// Library
void *RT_InitSound(); // opens the device (44100 Hz, S16, stereo) and watches it; the table, or null
void RT_FreeSounds(); // stops watching the device, before SDL shuts down; SDL closes it then

// Loading: a failed load leaves the slot's old sound in place and playing
int32_t RT_LoadSound(int32_t number, const char *fileName); // 1 when loaded; '\' reads as '/'
int32_t RT_CatchSound(int32_t number, const void *image, int32_t imageSize); // a WAV image
int32_t RT_Sound_CheckReAlloc(int32_t number); // grows the table to number + 50; 0: no memory

// Playing
void RT_PlaySound(int32_t number);                   // once, on the lowest free channel
void RT_PlaySound2(int32_t number, int32_t mode);    // mode 1 repeats until stopped
void RT_StopSound(int32_t number);                   // every channel playing it
void RT_SoundVolume(int32_t number, int32_t volume); // 0..100, also for playing channels
void RT_FreeSound(int32_t number);

// The SDL audio callback: adds every busy channel into the device buffer.
void fill_audio(void *userData, uint8_t *stream, int length);
