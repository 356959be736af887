// The audio device for a test program: opened once by the first test that needs it
// and closed when the program ends, its watch first, before SDL's audio thread can
// outlive the libraries.
#pragma once

#include <SDL/SDL.h>
#include <gtest/gtest.h>

#include "runtime/sound/sound.h"

class SoundDeviceCloser : public testing::Environment {
public:
  void TearDown() override {
    RT_FreeSounds();
    SDL_Quit();
  }
};

// The sound table; null (with a failure) when the device would not open.
inline void *OpenSoundDevice() {
  static void *const table = [] {
    testing::AddGlobalTestEnvironment(new SoundDeviceCloser);
    return RT_InitSound();
  }();
  EXPECT_NE(table, nullptr) << SDL_GetError();
  return table;
}
