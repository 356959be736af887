// A whole game started headless in a scratch working directory, driven frame by
// frame with keys pushed on SDL's event queue, a seeded generator and a clock
// that only moves when the test says so.
#pragma once

#include <SDL/SDL.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <initializer_list>
#include <iterator>
#include <vector>

#include "game/game.h"
#include "game/keys.h"
#include "game/world.h"
#include "runtime/keyboard/keyboard.h"
#include "runtime/lists/lists.h"
#include "runtime/misc/misc.h"
#include "runtime/screen/screen.h"
#include "tests/test_support.h"

class Play : public ::testing::Test {
protected:
  static constexpr int64_t StartMicros = 1'800'000'000'000'000; // a whole second
  static constexpr int64_t FrameMicros = 13'333;                // 1/75 s
  static constexpr uint32_t Seed = 20261209;

  void SetUp() override {
    clockNow = StartMicros;
    misc::SetClockSource(&TestClock);
    ASSERT_EQ(GameStartUp(), 0);
    started_ = true;
    RT_SetFrameRate(0);
    RT_RandomSeed(Seed);
  }

  void TearDown() override {
    whileWaiting = nullptr;
    if (started_)
      GameExit();
    misc::SetClockSource(nullptr);
  }

  static void Key(int32_t key, bool down) { PushKey(static_cast<SDLKey>(key), down); }

  static void Seconds(int64_t seconds) { clockNow += seconds * 1'000'000; }

  // One pass of the loop; true while the loop goes on.
  static bool Frame() { return GameFrame(); }
  // The same pass without the flip, which costs more than the game's own work
  // under the dummy driver; for tests that run thousands of frames.
  static void WorkFrame() { GameWorkFrame(); }
  static void Frames(int count) {
    for (int i = 0; i < count; i++)
      Frame();
  }

  // Return on the high-score screen: the get-ready state of wave 1.
  void StartGame() {
    Key(KeyReturn, true);
    Frame();
    Key(KeyReturn, false);
    Frame();
    ASSERT_EQ(GameState, StateGetReady);
  }

  // Get ready passed: the ship can be flown and lost.
  void StartPlay() {
    ASSERT_NO_FATAL_FAILURE(StartGame());
    Seconds(3);
    Frame();
    ASSERT_EQ(GameState, StatePlaying);
  }

  static Rock MakeRock(float x, float y, int32_t size, int32_t immune = 0) {
    constexpr int32_t Widths[3] = {45, 21, 11}, Heights[3] = {45, 19, 10};
    Rock rock{};
    rock.X = x, rock.Y = y;
    rock.Width = Widths[size / 3], rock.Height = Heights[size / 3];
    rock.Size = size;
    rock.Immune = immune;
    rock.Alive = 1;
    return rock;
  }

  // Off screen and at rest: keeps a wave from being cleared without touching play.
  static Rock ParkedRock() { return MakeRock(640, 480, 0); }

  // Replaces the wave with these rocks, in this order.
  static void PlaceRocks(std::initializer_list<Rock> rocks) {
    RT_ClearList(Rocks);
    for (const Rock &rock : rocks) {
      RT_AddElement(Rocks);
      *RT_CurrentRecord<Rock>(Rocks) = rock;
    }
    RockCount = static_cast<int32_t>(rocks.size());
  }

  static std::vector<Rock> LiveRocks() {
    std::vector<Rock> live;
    RT_ResetList(Rocks);
    while (RT_NextElement(Rocks) != nullptr)
      if (RT_CurrentRecord<Rock>(Rocks)->Alive == 1)
        live.push_back(*RT_CurrentRecord<Rock>(Rocks));
    return live;
  }

  // PAUSE (P, or a pad's Start: a press when true, a release when false) pauses;
  // the frame stays inside the pause until PAUSE goes down and up again, and
  // QUIT pressed and let go meanwhile is not seen. The player takes one step each
  // time the pause waits before looking at the keys again.
  void ExpectPauseUntilPressedAgain(const std::function<void(bool)> &pause,
                                    const std::function<void(bool)> &quit) {
    pause(true);
    Frame();
    pause(false);
    const int32_t blinkCounter = BlinkCounter;
    const std::function<void()> steps[] = {[&] { quit(true); }, [&] { quit(false); },
                                           [&] { pause(true); }, [&] { pause(false); }};
    constexpr size_t GiveUp = 100; // waits, after which PAUSE ends a pause that went on
    size_t waits = 0;
    whileWaiting = [&] {
      if (waits < std::size(steps))
        steps[waits]();
      else if (waits == GiveUp)
        pause(true);
      else if (waits == GiveUp + 1)
        pause(false);
      waits++;
    };
    EXPECT_TRUE(Frame());
    whileWaiting = nullptr;
    EXPECT_EQ(waits, std::size(steps))
        << "the pause must end as the second press is let go, the player's last step";
    EXPECT_EQ(BlinkCounter, (blinkCounter + 1) % 7) << "one frame's work, not more";
    EXPECT_TRUE(Frame());
    EXPECT_EQ(QuitGame, 0);
  }

  // A shot at rest at (x, y): it stays where it is tested.
  static void ParkShot(Shot &shot, float x, float y) { shot = Shot{x, y, 0, 0, 1}; }

private:
  ScratchDir scratch_; // made before start-up, removed after the exit
  bool started_ = false;
};
