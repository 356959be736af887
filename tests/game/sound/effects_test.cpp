// The six recordings: their headers, their character measured without listening,
// the copies built into the program, and their loading into the sound table.
#include "game/effects.h"

#include <SDL/SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <fstream>
#include <iterator>
#include <numbers>
#include <string>
#include <vector>

#include "assets/sound_effects.h"
#include "runtime/sound/sound.h"
#include "tests/runtime/sound/sound_device.h"

namespace {

constexpr int Rate = 11025;

struct Recording {
  const char *file;
  int32_t samples;
  int32_t imageSize;
};
constexpr Recording Recordings[SoundEffectCount] = {
    {"beat0.wav", 1012, 1056}, {"beat1.wav", 1056, 1100},  {"explosion.wav", 11328, 11372},
    {"shot.wav", 3000, 3044},  {"saucer.wav", 2241, 2286}, {"engine.wav", 1601, 1646},
};

std::vector<uint8_t> ReadFile(const std::string &name) {
  std::ifstream in(std::string(HELIOMANTS_ASSETS_DIR) + "/" + name, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

uint32_t LE(const std::vector<uint8_t> &bytes, size_t at, int size) {
  uint32_t value = 0;
  for (int i = size - 1; i >= 0; i--)
    value = value << 8 | bytes[at + i];
  return value;
}

// The samples of a canonical image, -1..1.
std::vector<double> Samples(const Recording &recording) {
  const std::vector<uint8_t> image = ReadFile(recording.file);
  std::vector<double> samples;
  for (int32_t i = 0; i < recording.samples; i++)
    samples.push_back((image.at(44 + size_t(i)) - 128) / 128.0);
  return samples;
}

double Rms(const std::vector<double> &s, size_t from, size_t count) {
  double sum = 0;
  for (size_t i = from; i < from + count; i++)
    sum += s[i] * s[i];
  return std::sqrt(sum / double(count));
}

// Energy of one frequency over a Hann-windowed stretch.
double Power(const std::vector<double> &s, size_t from, size_t count, double hz) {
  double re = 0, im = 0;
  for (size_t i = 0; i < count; i++) {
    const double window = 0.5 - 0.5 * std::cos(2 * std::numbers::pi * double(i) / double(count));
    const double angle = 2 * std::numbers::pi * hz * double(i) / Rate;
    re += window * s[from + i] * std::cos(angle);
    im += window * s[from + i] * std::sin(angle);
  }
  return re * re + im * im;
}

// The strongest frequency between 20 and 3000 Hz, to the nearest 2 Hz.
double Dominant(const std::vector<double> &s, size_t from, size_t count) {
  double best = 0, bestPower = -1;
  for (double hz = 20; hz <= 3000; hz += 2) {
    const double power = Power(s, from, count, hz);
    if (power > bestPower)
      best = hz, bestPower = power;
  }
  return best;
}

// The frequency of each whole cycle, from upward zero crossings placed between samples.
std::vector<double> CycleFrequencies(const std::vector<double> &s) {
  std::vector<double> crossings, frequencies;
  for (size_t i = 1; i < s.size(); i++)
    if (s[i - 1] < 0 && s[i] >= 0)
      crossings.push_back(double(i - 1) + s[i - 1] / (s[i - 1] - s[i]));
  for (size_t i = 1; i < crossings.size(); i++)
    frequencies.push_back(Rate / (crossings[i] - crossings[i - 1]));
  return frequencies;
}

TEST(SoundEffects, FilesHaveTheCanonicalHeaderAndSizes) {
  for (const Recording &r : Recordings) {
    SCOPED_TRACE(r.file);
    const std::vector<uint8_t> image = ReadFile(r.file);
    ASSERT_EQ(int32_t(image.size()), r.imageSize);
    EXPECT_EQ(std::string(image.begin(), image.begin() + 4), "RIFF");
    EXPECT_EQ(LE(image, 4, 4), image.size() - 8);
    EXPECT_EQ(std::string(image.begin() + 8, image.begin() + 16), "WAVEfmt ");
    EXPECT_EQ(LE(image, 16, 4), 16u);
    EXPECT_EQ(LE(image, 20, 2), 1u);     // PCM
    EXPECT_EQ(LE(image, 22, 2), 1u);     // mono
    EXPECT_EQ(LE(image, 24, 4), 11025u); // samples per second
    EXPECT_EQ(LE(image, 28, 4), 11025u); // bytes per second
    EXPECT_EQ(LE(image, 32, 2), 1u);     // block alignment
    EXPECT_EQ(LE(image, 34, 2), 8u);     // bits per sample
    EXPECT_EQ(std::string(image.begin() + 36, image.begin() + 40), "data");
    EXPECT_EQ(LE(image, 40, 4), uint32_t(r.samples));
    if (r.samples & 1) {
      EXPECT_EQ(image.back(), 0) << "the pad byte";
    }
  }
}

TEST(SoundEffects, BeatsAreEvenLowThumpsSilentForTheirLastQuarter) {
  for (const Recording &r : {Recordings[SoundBeat0], Recordings[SoundBeat1]}) {
    SCOPED_TRACE(r.file);
    const std::vector<double> s = Samples(r);
    const size_t sounding = s.size() * 3 / 4;
    EXPECT_LT(Dominant(s, 0, sounding), 100);
    EXPECT_TRUE(std::all_of(s.begin() + long(sounding), s.end(), [](double v) { return v == 0; }));
    // a whole cycle of the lowest tone per window, between the fade in and out
    const size_t window = Rate / 50;
    std::vector<double> loudness;
    for (size_t from = 40; from + window <= sounding - 40; from += window)
      loudness.push_back(Rms(s, from, window));
    ASSERT_GE(loudness.size(), 3u);
    const auto [quietest, loudest] = std::minmax_element(loudness.begin(), loudness.end());
    EXPECT_GT(*quietest, 0.3);
    EXPECT_LT(*loudest / *quietest, 1.25);
  }
}

TEST(SoundEffects, ExplosionIsALoudNoiseBurstDyingAway) {
  const std::vector<double> s = Samples(Recordings[SoundExplosion]);
  const size_t tenth = Rate / 10;
  std::vector<double> loudness;
  for (size_t from = 0; from + tenth <= s.size(); from += tenth)
    loudness.push_back(Rms(s, from, tenth));
  EXPECT_GT(loudness.front(), 0.4);
  EXPECT_LT(loudness.back(), loudness.front() / 20);
  for (size_t i = 1; i < loudness.size(); i++)
    EXPECT_LT(loudness[i], loudness[i - 1]) << "tenth " << i;
  // noise: no one frequency stands out of its neighbourhood the way a tone would
  std::vector<double> spectrum;
  for (double hz = 50; hz <= 2000; hz += 10)
    spectrum.push_back(Power(s, 0, 2048, hz));
  std::vector<double> sorted = spectrum;
  std::sort(sorted.begin(), sorted.end());
  EXPECT_LT(sorted.back(), 30 * sorted[sorted.size() / 2]);
}

TEST(SoundEffects, ShotIsAQuietToneFallingFrom790To200Hz) {
  const std::vector<double> s = Samples(Recordings[SoundShot]);
  const size_t window = 256;
  EXPECT_NEAR(Dominant(s, 0, window / 2), 790, 50);
  EXPECT_NEAR(Dominant(s, s.size() - window, window), 200, 30);
  double previous = 1e9;
  for (size_t from = 0; from + window <= s.size(); from += window) {
    const double hz = Dominant(s, from, window);
    EXPECT_LT(hz, previous) << "at sample " << from;
    previous = hz;
  }
  EXPECT_LT(*std::max_element(s.begin(), s.end()), 0.5);
  EXPECT_LT(Rms(s, s.size() - window, window), Rms(s, 0, window) / 3);
}

TEST(SoundEffects, SaucerIsAnEvenQuietWarbleBetween600And1400Hz) {
  const std::vector<double> s = Samples(Recordings[SoundSaucer]);
  const std::vector<double> cycles = CycleFrequencies(s);
  const auto [lowest, highest] = std::minmax_element(cycles.begin(), cycles.end());
  EXPECT_NEAR(*lowest, 600, 50);
  EXPECT_NEAR(*highest, 1400, 70);
  const size_t window = 256;
  std::vector<double> loudness;
  for (size_t from = 0; from + window <= s.size(); from += window)
    loudness.push_back(Rms(s, from, window));
  const auto [quietest, loudest] = std::minmax_element(loudness.begin(), loudness.end());
  EXPECT_LT(*loudest / *quietest, 1.1);
  EXPECT_LT(*std::max_element(s.begin(), s.end()), 0.5);
}

TEST(SoundEffects, EngineIsALoudRoughBuzzNear90Hz) {
  const std::vector<double> s = Samples(Recordings[SoundEngine]);
  const double fundamental = Dominant(s, 0, s.size());
  EXPECT_NEAR(fundamental, 90, 6);
  EXPECT_GT(Rms(s, 0, s.size()), 0.35);
  // rough: the overtones and the noise carry a good part of the energy
  double overtones = 0;
  for (int harmonic = 2; harmonic <= 8; harmonic++)
    overtones += Power(s, 0, s.size(), harmonic * fundamental);
  EXPECT_GT(overtones, 0.3 * Power(s, 0, s.size(), fundamental));
}

TEST(SoundEffects, EmbeddedImagesAreTheFilesOneAfterAnother) {
  for (int n = 0; n < SoundEffectCount; n++) {
    SCOPED_TRACE(Recordings[n].file);
    const std::vector<uint8_t> file = ReadFile(Recordings[n].file);
    ASSERT_EQ(SoundEffectImages[n].size, int32_t(file.size()));
    EXPECT_EQ(std::memcmp(SoundEffectImages[n].data, file.data(), file.size()), 0);
    if (n > 0) {
      EXPECT_EQ(SoundEffectImages[n].data,
                SoundEffectImages[n - 1].data + SoundEffectImages[n - 1].size);
    }
  }
}

TEST(SoundEffects, LoadSoundEffectsFillsSlotsZeroToFive) {
  ASSERT_NE(OpenSoundDevice(), nullptr);
  LoadSoundEffects();
  for (int n = 0; n < SoundEffectCount; n++) {
    SCOPED_TRACE(Recordings[n].file);
    ASSERT_NE(RT_Sound_ObjectsArea[n].data, nullptr);
    // 8-bit mono at 11025 Hz becomes 16-bit stereo at 44100 Hz
    EXPECT_EQ(RT_Sound_ObjectsArea[n].length, Recordings[n].samples * 16);
  }
  EXPECT_EQ(RT_Sound_ObjectsArea[SoundEffectCount].data, nullptr);
}

} // namespace
