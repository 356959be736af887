// Start-up and exit: the runtime's libraries, the settings, the screen, the
// shapes, the backdrop of rocks and the sounds; at exit the settings are saved
// and everything shut down.
#include <cstdio>
#include <string>

#include "assets/window_icon.h"
#include "game/effects.h"
#include "game/game.h"
#include "game/rocks.h"
#include "game/screens.h"
#include "game/settings.h"
#include "game/shapes.h"
#include "game/states.h"
#include "game/world.h"
#include "runtime/drawing/drawing.h"
#include "runtime/keyboard/keyboard.h"
#include "runtime/misc/misc.h"
#include "runtime/preferences/preferences.h"
#include "runtime/screen/screen.h"
#include "runtime/sound/sound.h"

// Constants

constexpr int32_t ScreenWidth = 640, ScreenHeight = 480, ScreenDepth = 16;
constexpr int32_t FrameRate = 75;
constexpr int32_t FailureStatus = 1;

// Internal helpers

static void ShutDown() {
  RT_FreeKeyboards();
  RT_FreeSounds();
  RT_FreeSprites();
  RT_FreeWindows();
  RT_FreePreferences();
  FreeWorld();
  // Last, so that no second signal cuts the save or the shut-down short
  RT_ReleaseQuitSignals();
}

static int32_t FailStartUp(const char *text) {
  RT_MessageRequester2("Error", text, 0);
  ShutDown();
  return FailureStatus;
}

// Start-up and exit

// Without a display the toolkit cannot start; the message box then writes to
// stderr, so RT_InitWindow's result does not matter.
int32_t GameStartUp() {
  SetStartValues();
  RT_Init2DDrawing();
  RT_InitImageDecoder();
  RT_InitMisc();
  RT_InitWindow();
  RT_InitPreference();
  ReadSettings();

  if (RT_InitSprite() == nullptr)
    return FailStartUp("Could Not Initialize Video Hardware");
  if (RT_InitKeyboard() == 0)
    return FailStartUp("Could Not Initialize Input Devices");
  // The game goes on silently; the setting in the file is left as it is.
  if (UseAudio != 0 && RT_InitSound() == nullptr) {
    RT_MessageRequester2("Error", "Could Not Initialize Audio Hardware", 0);
    UseAudio = 0;
  }

  GameTitle = "Heliomants";
  FillHiScoreTable();
  CreateWorld();

  // The screen is always full screen, whatever the file said.
  FullScreen = 1;
  RT_SetWindowIcon(WindowIconPixels, WindowIconSize, WindowIconSize);
  if (RT_OpenScreen(ScreenWidth, ScreenHeight, ScreenDepth, GameTitle.c_str()) == nullptr) {
    std::fprintf(stderr, "heliomants: cannot open the screen: %s\n", RT_VideoError());
    ShutDown();
    return FailureStatus;
  }
  RT_SetFrameRate(FrameRate);

  ReadShipModel();
  CreateShapeSprites();
  RockCount = 4;
  SpawnWave();
  if (UseAudio != 0)
    LoadSoundEffects();

  GameState = StateHighScores;
  StateTimer = ClockSeconds(5);
  QuitGame = 0;
  return 0;
}

// Every end of the run saves the scores first. A save that fails is told in a box too
// when the player quit, since a game started from a menu has no terminal; it comes once
// the screen is closed, so that it cannot hide behind it. A run ended from outside or by
// a lost display has nobody to answer a box. A lost display is a failure.
int32_t GameExit() {
  const std::string unsaved = WriteSettings();
  if (!unsaved.empty() && RT_QuitSignal() == 0 && RT_DisplayLost() == 0) {
    RT_CloseScreen();
    RT_MessageRequester2("Error", unsaved.c_str(), 0);
  }
  RT_CloseWindow(0);
  ShutDown();
  return RT_DisplayLost() != 0 ? FailureStatus : 0;
}
