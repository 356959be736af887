// The sound table, the loaders and the mixer, driven by calling fill_audio directly
// while the device is paused so SDL's own callback stays out of the way.
#include "runtime/sound/device.h"
#include "runtime/sound/sound.h"

#include <SDL/SDL.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "tests/runtime/sound/mix.h"
#include "tests/runtime/sound/sound_device.h"
#include "tests/runtime/sound/wav_image.h"
#include "tests/test_support.h"

namespace {

class Sound : public testing::Test {
protected:
  void SetUp() override {
    ASSERT_NE(OpenSoundDevice(), nullptr);
    ASSERT_EQ(obtained.format, AUDIO_S16LSB);
    ASSERT_EQ(obtained.channels, 2);
    ASSERT_EQ(obtained.freq, 44100);
    SDL_PauseAudio(1);
    for (RT_SoundChannel &channel : RT_Sound_Channels)
      channel = {};
    for (int32_t number = 0; number < RT_Sound_ObjectsNumber; number++)
      RT_FreeSound(number);
  }
};

TEST_F(Sound, TwoStartsOverlapOnChannelsZeroAndOneUntilStopped) {
  Load(0, ConstantWav(2048, 1000));
  RT_PlaySound(0);
  RT_PlaySound(0);
  EXPECT_EQ(RT_Sound_Channels[0].remaining, 8192);
  EXPECT_EQ(RT_Sound_Channels[1].remaining, 8192);
  EXPECT_EQ(RT_Sound_Channels[2].remaining, 0);
  EXPECT_TRUE(AllEqual(Mix(), 2000));

  RT_StopSound(7); // not playing: nothing changes
  EXPECT_TRUE(AllEqual(Mix(), 2000));
  RT_StopSound(0);
  EXPECT_EQ(RT_Sound_Channels[0].remaining, 0);
  EXPECT_EQ(RT_Sound_Channels[1].remaining, 0);
  EXPECT_TRUE(AllEqual(Mix(), 0));
}

TEST_F(Sound, SoundEndingMidBufferFreesItsChannelWhileAHigherOneFillsTheBuffer) {
  Load(1, ConstantWav(25, 7)); // 100 bytes
  Load(2, ConstantWav(4096, 10));
  RT_PlaySound(1);
  RT_PlaySound(2);
  const std::vector<int16_t> samples = Mix();
  EXPECT_TRUE(AllEqual(samples, 17, 0, 50));
  EXPECT_TRUE(AllEqual(samples, 10, 50));
  EXPECT_EQ(RT_Sound_Channels[0].remaining, 0);
  EXPECT_EQ(RT_Sound_Channels[1].remaining, 4096 * 4 - BufferBytes);
  EXPECT_EQ(RT_Sound_Channels[1].position - RT_Sound_ObjectsArea[2].data, BufferBytes);
}

TEST_F(Sound, AThirtyThirdStartIsIgnoredAndTheNextTakesTheLowestFreeChannel) {
  Load(1, ConstantWav(4096, 1));
  Load(2, ConstantWav(25, 1));
  Load(3, ConstantWav(4096, 1));
  for (int i = 0; i < 32; i++)
    RT_PlaySound(i == 5 ? 2 : 1);
  const std::vector<int32_t> full = BusySounds();
  RT_PlaySound(3);
  EXPECT_EQ(BusySounds(), full);

  Mix(); // the short sound on channel 5 ends
  RT_PlaySound(3);
  std::vector<int32_t> expected(32, 1);
  expected[5] = 3;
  EXPECT_EQ(BusySounds(), expected);
}

TEST_F(Sound, VolumeIsClampedAndReachesPlayingChannelsAtTheNextBuffer) {
  struct Case {
    int32_t asked, stored;
  };
  constexpr Case cases[] = {{-5, 0}, {0, 0}, {50, 50}, {100, 100}, {101, 100}, {150, 100}};
  Load(4, ConstantWav(4096, 1000));
  for (const Case &c : cases) {
    SCOPED_TRACE(c.asked);
    RT_SoundVolume(4, c.asked);
    EXPECT_EQ(RT_Sound_ObjectsArea[4].volume, c.stored);
  }

  RT_SoundVolume(4, 100);
  RT_PlaySound(4);
  EXPECT_TRUE(AllEqual(Mix(), 1000));
  RT_SoundVolume(4, 50); // 64 of SDL's 128
  EXPECT_TRUE(AllEqual(Mix(), 500));
  RT_SoundVolume(4, 0);
  EXPECT_TRUE(AllEqual(Mix(), 0));
  EXPECT_GT(RT_Sound_Channels[0].remaining, 0); // silent, still playing

  RT_StopSound(4);
  RT_SoundVolume(4, 25); // a later start takes the stored volume: 32 of 128
  RT_PlaySound(4);
  EXPECT_TRUE(AllEqual(Mix(), 250));
}

TEST_F(Sound, ModeOneRepeatsUntilStoppedAndModeZeroPlaysOnce) {
  const Bytes ramp = DeviceWav(250, [](int i) { return i + 1; }); // 1000 bytes
  Load(5, ramp);
  RT_PlaySound2(5, 1);
  RT_PlaySound2(5, 0);
  std::vector<int16_t> first = Mix(), second = Mix();
  first.insert(first.end(), second.begin(), second.end());
  for (size_t i = 0; i < first.size(); i++) {
    const size_t frame = i / 2;
    const int repeating = int(frame % 250) + 1;
    const int once = frame < 250 ? int(frame) + 1 : 0;
    ASSERT_EQ(first[i], repeating + once) << "sample " << i;
  }
  EXPECT_EQ(RT_Sound_Channels[1].remaining, 0);
  EXPECT_GT(RT_Sound_Channels[0].remaining, 0);

  RT_StopSound(5);
  EXPECT_TRUE(AllEqual(Mix(), 0));
}

TEST_F(Sound, AFailedLoadKeepsTheOldSoundAndASuccessfulOneStopsIt) {
  Load(3, ConstantWav(4096, 300));
  const uint8_t *old = RT_Sound_ObjectsArea[3].data;
  RT_PlaySound(3);
  const Bytes truncated = {'R', 'I', 'F', 'F', 4, 0, 0, 0, 'W', 'A', 'V', 'E'};
  EXPECT_EQ(RT_LoadSound(3, "no-such-file.wav"), 0);
  EXPECT_EQ(RT_CatchSound(3, truncated.data(), int32_t(truncated.size())), 0);
  const Bytes notPcm = RiffImage({{"fmt ", Bytes(16, 0x55)}, {"data", Bytes(64, 0)}});
  EXPECT_EQ(RT_CatchSound(3, notPcm.data(), int32_t(notPcm.size())), 0);
  EXPECT_EQ(RT_Sound_ObjectsArea[3].data, old);
  EXPECT_TRUE(AllEqual(Mix(), 300));

  Load(3, ConstantWav(4096, 5));
  EXPECT_EQ(RT_Sound_Channels[0].remaining, 0);
  EXPECT_TRUE(AllEqual(Mix(), 0));
  RT_PlaySound(3);
  EXPECT_TRUE(AllEqual(Mix(), 5));
}

TEST_F(Sound, FreedAndEmptySlotsPlayNothing) {
  RT_PlaySound(9); // never loaded
  Load(8, ConstantWav(4096, 300));
  RT_PlaySound(8);
  RT_FreeSound(8);
  EXPECT_EQ(RT_Sound_ObjectsArea[8].data, nullptr);
  RT_PlaySound(8);
  EXPECT_EQ(BusySounds(), std::vector<int32_t>(32, -1));
  EXPECT_TRUE(AllEqual(Mix(), 0));
}

TEST_F(Sound, LoadingPastTheEndGrowsTheTableToNumberPlusFifty) {
  ASSERT_EQ(RT_Sound_ObjectsNumber, 50);
  Load(2, ConstantWav(16, 1));
  const uint8_t *kept = RT_Sound_ObjectsArea[2].data;
  Load(60, ConstantWav(16, 1));
  EXPECT_EQ(RT_Sound_ObjectsNumber, 110);
  EXPECT_EQ(RT_Sound_ObjectsArea[2].data, kept);
  for (int32_t number = 50; number < 110; number++) {
    if (number != 60) {
      EXPECT_EQ(RT_Sound_ObjectsArea[number].data, nullptr) << number;
    }
  }
  EXPECT_EQ(RT_Sound_ObjectsArea[60].length, 64);
  const Bytes small = ConstantWav(16, 1);
  for (const int32_t number : {-1, INT32_MAX}) {
    SCOPED_TRACE(number);
    EXPECT_EQ(RT_CatchSound(number, small.data(), int32_t(small.size())), 0);
    EXPECT_EQ(RT_Sound_ObjectsNumber, 110);
  }
}

TEST_F(Sound, GameFormatIsConvertedToSixteenTimesItsLength) {
  Load(0, GameFormatWav(1012));
  EXPECT_EQ(RT_Sound_ObjectsArea[0].length, 1012 * 16);
  EXPECT_EQ(RT_Sound_ObjectsArea[0].volume, 100);
}

TEST_F(Sound, CatchSoundRefusesImagesThatAreNotWholeAndWritesNoFile) {
  ScratchDir dir;
  const Bytes good = GameFormatWav(100); // 144 bytes
  auto changed = [&good](size_t at, std::initializer_list<uint8_t> bytes) {
    Bytes image = good;
    std::copy(bytes.begin(), bytes.end(), image.begin() + at);
    return image;
  };
  struct Case {
    const char *name;
    Bytes image;
    int32_t size; // 0: the image's own size
  };
  const Case cases[] = {
      {"null", {}, 144},
      {"no RIFF", changed(0, {'R', 'I', 'F', 'X'}), 0},
      {"no fmt", changed(12, {'f', 'm', 't', 'x'}), 0},
      {"shorter than a header", Bytes(good.begin(), good.begin() + 16), 0},
      {"negative size", good, -144},
      {"RIFF size one past the image", changed(4, {137}), 0},
      {"fmt chunk past the image", changed(16, {0xFF, 0xFF, 0, 0}), 0},
      {"data chunk one past the image", changed(40, {101}), 0},
      {"data chunk huge", changed(40, {0xFF, 0xFF, 0xFF, 0xFF}), 0},
      {"image cut short", good, 143},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    const void *address = c.image.empty() ? nullptr : c.image.data();
    EXPECT_EQ(RT_CatchSound(0, address, c.size == 0 ? int32_t(c.image.size()) : c.size), 0);
    EXPECT_EQ(RT_Sound_ObjectsArea[0].data, nullptr);
  }
  Load(0, good);
  EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
}

TEST_F(Sound, CatchSoundTakesALongerFormatChunkAndExtraChunks) {
  const Bytes image = RiffImage({{"fmt ", FormatBody(11025, 1, 8, 2)},
                                 {"LIST", Bytes(13, 'x')}, // odd: followed by its pad byte
                                 {"data", Bytes(99, 200)},
                                 {"junk", Bytes(4, 0)}});
  Load(6, image);
  EXPECT_EQ(RT_Sound_ObjectsArea[6].length, 99 * 16);
}

TEST_F(Sound, LoadSoundReadsABackslashAsASlash) {
  ScratchDir dir;
  std::filesystem::create_directory("effects");
  const Bytes image = GameFormatWav(50);
  std::ofstream("effects/thump.wav", std::ios::binary)
      .write(reinterpret_cast<const char *>(image.data()), std::streamsize(image.size()));
  EXPECT_EQ(RT_LoadSound(7, "effects\\thump.wav"), 1);
  EXPECT_EQ(RT_Sound_ObjectsArea[7].length, 50 * 16);
}

// A device that is there is left as it is: a look finds it paused still, where a
// device taken for lost would have been opened again and resumed.
TEST_F(Sound, ALookAtADeviceThatIsThereLeavesItAsItIs) {
  EXPECT_EQ(sound::CheckDevice(), 1);
  EXPECT_EQ(SDL_GetAudioStatus(), SDL_AUDIO_PAUSED);
}

} // namespace
