// A device that goes away and comes back, driven by hand: a device of the test's
// own stands in for SDL's, opening SDL's dummy device in the format the test
// chooses and never resuming it, so the test mixes each buffer itself. The watch
// is stopped and the test makes each of its looks.
#include "runtime/sound/device.h"
#include "runtime/sound/sound.h"

#include <SDL/SDL.h>
#include <gtest/gtest.h>

#include <vector>

#include "tests/runtime/sound/mix.h"
#include "tests/runtime/sound/sound_device.h"
#include "tests/runtime/sound/wav_image.h"

namespace {

struct FakeDevice {
  bool present = true; // a device is there to be opened
  bool lost = false;
  int freq = 44100; // the format it grants
  Uint8 channels = 2;
  Uint16 format = AUDIO_S16LSB;
  int opened = 0, closed = 0;
};
FakeDevice fake;

int32_t OpenFake(SDL_AudioSpec *wanted, SDL_AudioSpec *obtained) {
  if (!fake.present)
    return 0;
  SDL_AudioSpec granted = *wanted;
  granted.freq = fake.freq;
  granted.channels = fake.channels;
  granted.format = fake.format;
  if (SDL_OpenAudio(&granted, obtained) < 0)
    return 0;
  fake.lost = false;
  fake.opened++;
  return 1;
}

void CloseFake() {
  SDL_CloseAudio();
  fake.closed++;
}

class SoundDevice : public testing::Test {
protected:
  // Each test starts on a device just opened in the game's format, with no sound.
  void SetUp() override {
    static const bool ready = [] {
      testing::AddGlobalTestEnvironment(new SoundDeviceCloser);
      sound::Device = {OpenFake, [] {}, CloseFake, [] { return int32_t(fake.lost); }};
      if (!RT_InitSound())
        return false;
      RT_FreeSounds(); // no watch: the test looks itself
      return true;
    }();
    ASSERT_TRUE(ready) << SDL_GetError();
    fake = {};
    fake.lost = true;
    ASSERT_EQ(sound::CheckDevice(), 1);
    for (RT_SoundChannel &channel : RT_Sound_Channels)
      channel = {};
    for (int32_t number = 0; number < RT_Sound_ObjectsNumber; number++)
      RT_FreeSound(number);
    fake.opened = fake.closed = 0;
  }

  static std::vector<uint8_t> DataOf(int32_t number) {
    const RT_SoundEntry &entry = RT_Sound_ObjectsArea[number];
    return {entry.data, entry.data + entry.length};
  }
};

int Ramp(int frame) {
  return frame * 3 + 1; // never 0, and no two frames alike
}

TEST_F(SoundDevice, WhileLostOnlyRepeatingSoundsPlayAndTheyGoOnFromTheirStartWhenItIsBack) {
  Load(1, DeviceWav(250, Ramp));
  Load(2, ConstantWav(4096, 5000));
  Load(3, ConstantWav(4096, 7));
  RT_PlaySound2(1, 1);
  RT_PlaySound2(2, 0);
  Mix();

  fake.lost = true;
  fake.present = false;
  EXPECT_EQ(sound::CheckDevice(), 0);
  EXPECT_EQ(fake.closed, 1);
  EXPECT_EQ(BusySounds()[0], 1);
  EXPECT_EQ(BusySounds()[1], -1) << "a sound played once would be heard late";
  RT_PlaySound2(2, 0);
  RT_PlaySound2(3, 1);
  std::vector<int32_t> away(32, -1);
  away[0] = 1;
  away[1] = 3;
  EXPECT_EQ(BusySounds(), away);
  EXPECT_EQ(sound::CheckDevice(), 0) << "no device yet";

  fake.present = true;
  EXPECT_EQ(sound::CheckDevice(), 1);
  EXPECT_EQ(sound::CheckDevice(), 1);
  EXPECT_EQ(fake.opened, 1);
  EXPECT_EQ(fake.closed, 1);
  const std::vector<int16_t> samples = Mix();
  for (size_t i = 0; i < samples.size(); i++)
    ASSERT_EQ(samples[i], Ramp(int(i / 2) % 250) + 7) << "sample " << i;

  RT_PlaySound2(2, 0); // once again, now that it would be heard
  EXPECT_EQ(BusySounds()[2], 2);
}

// The sounds are converted from what was loaded, not from the copy for the last
// device: after a device of half the rate in mono and back, each is as it was.
TEST_F(SoundDevice, ADeviceOfAnotherFormatGetsTheLoadedSoundsConvertedAgain) {
  Load(0, GameFormatWav(100));
  Load(1, DeviceWav(250, Ramp));
  const std::vector<uint8_t> effect = DataOf(0), ramp = DataOf(1);
  RT_PlaySound2(1, 1);

  fake.lost = true;
  fake.freq = 22050;
  fake.channels = 1;
  ASSERT_EQ(sound::CheckDevice(), 1);
  EXPECT_EQ(obtained.freq, 22050);
  EXPECT_EQ(obtained.channels, 1);
  EXPECT_EQ(RT_Sound_ObjectsArea[0].length, 100 * 4); // 16 bits, twice the rate
  ASSERT_EQ(RT_Sound_ObjectsArea[1].length, 125 * 2); // half the frames, one side
  const auto *converted = reinterpret_cast<const int16_t *>(RT_Sound_ObjectsArea[1].data);
  const std::vector<int16_t> samples = Mix(); // 1024 frames of one sample
  for (size_t i = 0; i < samples.size(); i++)
    ASSERT_EQ(samples[i], converted[i % 125]) << "sample " << i;

  fake.lost = true;
  fake.freq = 44100;
  fake.channels = 2;
  ASSERT_EQ(sound::CheckDevice(), 1);
  EXPECT_EQ(DataOf(0), effect);
  EXPECT_EQ(DataOf(1), ramp);
  EXPECT_EQ(RT_Sound_Channels[0].remaining, int32_t(ramp.size()));
}

} // namespace
