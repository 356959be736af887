// A scripted, seeded game and what its mixer gives: every sound the game starts
// must be found in the mixed output where its frame was mixed, and with
// "UseAudio = 0" the same game must make no sound call at all.
//
// The device is SDL's dummy one, opened in the game's format and never started:
// the test mixes the buffers itself, a fixed number after each frame, so a
// frame's sounds are heard from the first buffer after it however busy the
// machine is. Real devices are heard in the sound library's tests and end to end.
//
// The game's sound calls are recorded by wrapping the runtime's functions at link
// time (see CMakeLists.txt), so the test knows which frame started what.
#include <SDL/SDL.h>
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "game/effects.h"
#include "game/game.h"
#include "game/world.h"
#include "runtime/misc/misc.h"
#include "runtime/screen/screen.h"
#include "runtime/sound/device.h"
#include "runtime/sound/sound.h"
#include "tests/test_support.h"

namespace {

// What the game asked of the sound runtime, and on which frame.
struct Call {
  enum Kind { Init, Catch, Play, Stop } kind;
  int32_t sound, mode;
  int frame;
  size_t mixedFrom; // the capture's sample where the buffers after the frame begin
};
std::vector<Call> calls;
int currentFrame = -1;

} // namespace

// The game's own calls land here first (mangled names: the runtime is C++).
extern "C" {
void *__real__Z12RT_InitSoundv();
int32_t __real__Z13RT_CatchSoundiPKvi(int32_t, const void *, int32_t);
void __real__Z13RT_PlaySound2ii(int32_t, int32_t);
void __real__Z12RT_StopSoundi(int32_t);

void *__wrap__Z12RT_InitSoundv() {
  calls.push_back({Call::Init, -1, 0, currentFrame, 0});
  return __real__Z12RT_InitSoundv();
}
int32_t __wrap__Z13RT_CatchSoundiPKvi(int32_t number, const void *image, int32_t size) {
  calls.push_back({Call::Catch, number, 0, currentFrame, 0});
  return __real__Z13RT_CatchSoundiPKvi(number, image, size);
}
void __wrap__Z13RT_PlaySound2ii(int32_t number, int32_t mode) {
  calls.push_back({Call::Play, number, mode, currentFrame, 0});
  __real__Z13RT_PlaySound2ii(number, mode);
}
void __wrap__Z12RT_StopSoundi(int32_t number) {
  calls.push_back({Call::Stop, number, 0, currentFrame, 0});
  __real__Z12RT_StopSoundi(number);
}
}

namespace {

constexpr int64_t Second = 1'000'000; // in the clock's microseconds
// A whole second whose millisecond count, wrapped to 32 bits as the game reads it,
// is small and positive, so the beat's clock neither wraps nor reads negative.
constexpr int64_t Start = 1'700'808'050 * Second;
constexpr int64_t FrameTime = Second / 75;
constexpr int BufferBytes = 2048;  // one device buffer: 512 stereo 16-bit samples
constexpr int BuffersPerFrame = 2; // a little more sound than a frame's time
constexpr int PlayFrames = 600;
constexpr int ThrustFrom = 40, ThrustTo = 70; // play frames with Up held

// One game: its calls, its score frame by frame, the sounds as the device got them
// and the capture.
struct GameRun {
  std::vector<Call> calls;
  std::vector<int32_t> score, lives; // after each play frame
  int firstPlayFrame = -1;
  std::vector<std::vector<int16_t>> sounds; // converted sounds 0..5, left channel
  std::vector<int16_t> capture;             // left channel
  bool deviceOpened = false;
};

std::vector<int16_t> LeftChannel(const uint8_t *bytes, size_t length) {
  std::vector<int16_t> left;
  for (size_t i = 0; i + 4 <= length; i += 4)
    left.push_back(int16_t(bytes[i] | bytes[i + 1] << 8));
  return left;
}

bool deviceOpened = false;
int32_t OpenUnstarted(SDL_AudioSpec *asked, SDL_AudioSpec *granted) {
  deviceOpened = SDL_OpenAudio(asked, granted) == 0;
  return deviceOpened;
}

// One device buffer mixed from silence, its left channel added to the capture.
void MixBuffer(std::vector<int16_t> &capture) {
  uint8_t buffer[BufferBytes] = {};
  fill_audio(nullptr, buffer, BufferBytes);
  const std::vector<int16_t> left = LeftChannel(buffer, BufferBytes);
  capture.insert(capture.end(), left.begin(), left.end());
}

// Start-up, Return on the high-score screen, the get-ready pause, then play with
// Space and Left held all along and Up for a while; every frame gets its own
// stretch of sound.
void PlayScript(bool useAudio, GameRun &run) {
  ScratchDir dir;
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  sound::Device = {OpenUnstarted, [] {}, SDL_CloseAudio, [] { return int32_t{0}; }};
  deviceOpened = false;
  if (!useAudio)
    std::ofstream("Krellostra.dat", std::ios::binary) << "[Game Data]\r\nUseAudio = 0\r\n";
  calls.clear();
  currentFrame = -1;
  clockNow = Start;
  misc::SetClockSource(&TestClock);

  ASSERT_EQ(GameStartUp(), 0);
  RT_SetFrameRate(0);
  if (useAudio) {
    for (int32_t n = 0; n <= SoundEngine; n++)
      run.sounds.push_back(
          LeftChannel(RT_Sound_ObjectsArea[n].data, size_t(RT_Sound_ObjectsArea[n].length)));
  }
  RT_RandomSeed(20261209);

  auto frame = [&](int64_t step) {
    const size_t firstCall = calls.size();
    currentFrame++;
    clockNow += step;
    EXPECT_TRUE(GameFrame());
    for (size_t i = firstCall; i < calls.size(); i++)
      calls[i].mixedFrom = run.capture.size();
    for (int i = 0; deviceOpened && i < BuffersPerFrame; i++)
      MixBuffer(run.capture);
  };

  for (int i = 0; i < 10; i++)
    frame(FrameTime);
  PushKey(SDLK_RETURN, true);
  frame(FrameTime);
  PushKey(SDLK_RETURN, false);
  PushKey(SDLK_SPACE, true);
  PushKey(SDLK_LEFT, true);
  while (GameState != StatePlaying && currentFrame < 200)
    frame(Second / 10); // get ready is silent; no need to wait out its seconds frame by frame
  EXPECT_EQ(GameState, StatePlaying);
  run.firstPlayFrame = currentFrame + 1;
  for (int i = 0; i < PlayFrames; i++) {
    if (i == ThrustFrom || i == ThrustTo)
      PushKey(SDLK_UP, i == ThrustFrom);
    frame(FrameTime);
    run.score.push_back(Score);
    run.lives.push_back(Lives);
  }
  PushKey(SDLK_SPACE, false);
  PushKey(SDLK_LEFT, false);
  for (int i = 0; i < 10; i++) // the last sounds reach the capture
    frame(FrameTime);
  PushKey(SDLK_ESCAPE, true);
  frame(FrameTime);
  PushKey(SDLK_ESCAPE, false);
  currentFrame++;
  EXPECT_FALSE(GameFrame());
  EXPECT_EQ(GameExit(), 0);
  misc::SetClockSource(nullptr);

  run.calls = calls;
  run.deviceOpened = deviceOpened;
}

std::vector<Call> Plays(const GameRun &run, int32_t sound) {
  std::vector<Call> found;
  for (const Call &call : run.calls)
    if (call.kind == Call::Play && call.sound == sound)
      found.push_back(call);
  return found;
}

// The sound's opening at its best place in the capture within [from, to) frames, as
// the gain that best explains the capture there: about 1 where the sound was mixed
// at full volume, whatever else was mixed with it, and about 0 where it is absent.
double GainAtBestPlace(const std::vector<int16_t> &capture, const std::vector<int16_t> &sound,
                       size_t from, size_t to) {
  const size_t length = std::min<size_t>(sound.size(), 4096);
  double soundEnergy = 0;
  for (size_t i = 0; i < length; i++)
    soundEnergy += double(sound[i]) * sound[i];
  double best = 0;
  for (size_t at = from; at < to && at + length <= capture.size(); at++) {
    double product = 0;
    for (size_t i = 0; i < length; i++)
      product += double(capture[at + i]) * sound[i];
    best = std::max(best, product);
  }
  return best / soundEnergy;
}
double GainAt(const std::vector<int16_t> &capture, const std::vector<int16_t> &sound, size_t at) {
  return GainAtBestPlace(capture, sound, at, at + 1);
}

TEST(GameSound, EverySoundIsHeardWhereItsFrameWasMixed) {
  GameRun run;
  ASSERT_NO_FATAL_FAILURE(PlayScript(true, run));
  ASSERT_TRUE(run.deviceOpened);
  ASSERT_EQ(run.sounds.size(), 6u);

  // Loaded once, 0 to 5 in order, before the first frame.
  std::vector<int32_t> caught;
  for (const Call &call : run.calls)
    if (call.kind == Call::Catch) {
      EXPECT_EQ(call.frame, -1);
      caught.push_back(call.sound);
    }
  EXPECT_EQ(caught, (std::vector<int32_t>{0, 1, 2, 3, 4, 5}));

  // The beat alternates from sound 1, a second apart while no rock is hit.
  const std::vector<Call> beats = [&] {
    std::vector<Call> all;
    for (const Call &call : run.calls)
      if (call.kind == Call::Play && call.sound <= SoundBeat1)
        all.push_back(call);
    return all;
  }();
  ASSERT_GE(beats.size(), 5u);
  EXPECT_EQ(beats[0].frame, run.firstPlayFrame);
  for (size_t i = 0; i < beats.size(); i++)
    EXPECT_EQ(beats[i].sound, i % 2 == 0 ? SoundBeat1 : SoundBeat0) << "beat " << i;
  const int firstHit = run.firstPlayFrame + int(std::find_if(run.score.begin(), run.score.end(),
                                                             [](int32_t s) { return s > 0; }) -
                                                run.score.begin());
  ASSERT_LT(beats[1].frame, firstHit) << "the script no longer has two beats before a hit";
  EXPECT_EQ(beats[1].frame - beats[0].frame, 76); // the first frame past 1000 ms

  // Shots: on the first frame of play with Space held, then at most every 20 frames.
  const std::vector<Call> shots = Plays(run, SoundShot);
  ASSERT_GE(shots.size(), 5u);
  EXPECT_EQ(shots[0].frame, run.firstPlayFrame);
  for (size_t i = 1; i < shots.size(); i++)
    EXPECT_GE(shots[i].frame - shots[i - 1].frame, 20);

  // Explosions: on exactly the frames where a rock was hit or a ship lost.
  std::vector<int> scored, exploded;
  for (size_t i = 0; i < run.score.size(); i++) {
    const bool hit = run.score[i] > (i > 0 ? run.score[i - 1] : 0);
    const bool lost = i > 0 && run.lives[i] < run.lives[i - 1];
    if (hit || lost)
      scored.push_back(run.firstPlayFrame + int(i));
  }
  for (const Call &call : Plays(run, SoundExplosion))
    if (exploded.empty() || exploded.back() != call.frame)
      exploded.push_back(call.frame);
  ASSERT_GE(exploded.size(), 2u);
  EXPECT_EQ(exploded, scored);

  // The engine starts once, on the first frame of the thrust key, and is stopped on
  // the first frame without it.
  const std::vector<Call> engine = Plays(run, SoundEngine);
  ASSERT_EQ(engine.size(), 1u);
  EXPECT_EQ(engine[0].frame, run.firstPlayFrame + ThrustFrom);
  EXPECT_EQ(engine[0].mode, 1);
  const auto engineStop = std::find_if(run.calls.begin(), run.calls.end(), [&](const Call &c) {
    return c.kind == Call::Stop && c.sound == SoundEngine && c.frame > engine[0].frame;
  });
  ASSERT_NE(engineStop, run.calls.end());
  EXPECT_EQ(engineStop->frame, run.firstPlayFrame + ThrustTo);

  // Silence until the first sound, then each sound's opening in the first buffer
  // mixed after its frame, as loud as the number of times the frame started it, give
  // or take what the loud explosions add or clip away.
  const size_t firstSound = beats[0].mixedFrom;
  ASSERT_GT(firstSound, 0u);
  EXPECT_TRUE(std::all_of(run.capture.begin(), run.capture.begin() + long(firstSound),
                          [](int16_t v) { return v == 0; }));
  std::map<std::pair<int, int32_t>, std::vector<Call>> started; // by frame and sound
  for (const Call &call : run.calls)
    if (call.kind == Call::Play)
      started[{call.frame, call.sound}].push_back(call);
  for (const auto &[frameAndSound, instances] : started) {
    const Call &call = instances.front();
    SCOPED_TRACE("sound " + std::to_string(call.sound) + " at frame " + std::to_string(call.frame));
    const double gain = GainAt(run.capture, run.sounds[size_t(call.sound)], call.mixedFrom);
    EXPECT_GT(gain, 0.7);
    EXPECT_LT(gain, double(instances.size()) + 0.5);
  }

  // The engine, started to repeat, is heard again one length later, and not at all
  // once its stop has been mixed.
  const std::vector<int16_t> &engineSound = run.sounds[SoundEngine];
  EXPECT_GT(GainAt(run.capture, engineSound, engine[0].mixedFrom + engineSound.size()), 0.7);
  const size_t stopped = engineStop->mixedFrom;
  EXPECT_LT(GainAtBestPlace(run.capture, engineSound, stopped, stopped + engineSound.size()), 0.3);
}

TEST(GameSound, UseAudioZeroMakesNoSoundCallAndPlaysTheSameGame) {
  GameRun silent, heard;
  ASSERT_NO_FATAL_FAILURE(PlayScript(false, silent));
  EXPECT_TRUE(silent.calls.empty()) << silent.calls.size() << " sound calls";
  EXPECT_FALSE(silent.deviceOpened);
  EXPECT_GT(silent.score.back(), 0);

  ASSERT_NO_FATAL_FAILURE(PlayScript(true, heard));
  EXPECT_EQ(silent.score, heard.score);
  EXPECT_EQ(silent.lives, heard.lives);
}

} // namespace
