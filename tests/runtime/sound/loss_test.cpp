// A real device lost and found again, through SDL and without a sound server: SDL's
// disk device writing to /dev/full fails on its first buffer, and SDL 2 stops it as
// it stops a device whose server went away. Pointed at a file instead, the device
// opened again writes there what the mixer plays.
#include "runtime/sound/device.h"
#include "runtime/sound/sound.h"

#include <SDL/SDL.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>
#include <vector>

#include "tests/runtime/sound/mix.h"
#include "tests/runtime/sound/wav_image.h"
#include "tests/scratch_dir.h"

namespace {

constexpr uintmax_t WantedBytes = 4 * BufferBytes;

int Ramp(int frame) {
  return frame * 3 + 1;
}

// Looks at the device, as the watch does, until the file holds WantedBytes.
bool LookUntilWritten(const std::filesystem::path &file) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  std::error_code error;
  while (std::filesystem::file_size(file, error) < WantedBytes || error) {
    if (std::chrono::steady_clock::now() > deadline)
      return false;
    sound::CheckDevice();
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return true;
}

TEST(SoundDeviceLoss, ALostDeviceIsOpenedAgainOnItsDriverAndARepeatingSoundGoesOn) {
  ScratchDir dir;
  setenv("SDL_AUDIODRIVER", "disk", 1);
  setenv("SDL_DISKAUDIOFILE", "/dev/full", 1);
  ASSERT_NE(RT_InitSound(), nullptr) << SDL_GetError();
  RT_FreeSounds(); // no watch: the test looks itself
  Load(0, DeviceWav(250, Ramp));
  Load(1, ConstantWav(44100, 5000)); // a second long: still playing when the loss is seen
  RT_PlaySound2(0, 1);
  RT_PlaySound2(1, 0);

  const std::filesystem::path file = dir.path() / "after.raw";
  setenv("SDL_DISKAUDIOFILE", file.c_str(), 1);
  setenv("SDL_AUDIODRIVER", "dummy", 1); // the driver it was lost on is the one taken again
  ASSERT_TRUE(LookUntilWritten(file)) << "nothing written to " << file;
  EXPECT_EQ(sound::CheckDevice(), 1);
  SDL_Quit();

  std::ifstream in(file, std::ios::binary);
  const std::vector<char> bytes{std::istreambuf_iterator<char>(in), {}};
  std::vector<int16_t> samples(bytes.size() / 2);
  std::memcpy(samples.data(), bytes.data(), samples.size() * 2);
  // Silence may come before the callback's first buffer; the ramp starts with 1
  size_t first = 0;
  while (first < samples.size() && samples[first] == 0)
    first++;
  ASSERT_GE(samples.size() - first, size_t(BufferBytes)) << "too little sound after the silence";
  for (size_t i = 0; i < size_t(BufferBytes); i++)
    ASSERT_EQ(samples[first + i], Ramp(int(i / 2) % 250)) << "sample " << i << " of the sound";
}

} // namespace
