// One pass of the main loop, in the game's frame order: keys, world, HUD and
// state, then the flip. Every motion and delay is an amount per frame.
#include "game/debris.h"
#include "game/game.h"
#include "game/keys.h"
#include "game/rocks.h"
#include "game/saucer.h"
#include "game/screens.h"
#include "game/ship.h"
#include "game/shots.h"
#include "game/states.h"
#include "game/world.h"
#include "runtime/drawing/drawing.h"
#include "runtime/keyboard/keyboard.h"
#include "runtime/misc/misc.h"
#include "runtime/screen/screen.h"

// Constants

constexpr int32_t PausePollMs = 5; // a pause looks at the keyboard this often
constexpr int32_t BlinkFrames = 7;

// Internal helpers

static void CountDownDelays() {
  if (FireDelay > 0)
    FireDelay--;
  if (SaucerFireDelay > 0)
    SaucerFireDelay--;
}

// A signal or the loss of the display ends the run as Escape does, so the scores are kept.
static bool QuitRequested() {
  return RT_QuitSignal() != 0 || RT_DisplayLost() != 0;
}

// Only P ends a pause, or a request to quit; nothing is drawn or flipped meanwhile,
// and the clocks run on.
static void Pause() {
  for (;;) {
    RT_ExamineKeyboard();
    if (RT_KeyboardReleased(KeyP) || QuitRequested())
      return;
    RT_Delay(PausePollMs);
  }
}

static void ReadKeys() {
  RT_ExamineKeyboard();
  if (RT_KeyboardReleased(KeyEscape))
    QuitGame = 1;
  if (RT_KeyboardReleased(KeyP))
    Pause();
  if (QuitRequested())
    QuitGame = 1;
  if (RT_KeyboardPushed(KeyReturn) && GameState >= StateHighScores)
    NewGame();
  TurnShip();
  if (GameState == StatePlaying && ShipDeadTimer == 0) {
    ThrustShip();
    if (RT_KeyboardPushed(KeySpace) && FireDelay == 0)
      FireShot();
  }
}

// Blink holds each value for 7 frames.
static void AdvanceBlink() {
  BlinkCounter++;
  if (BlinkCounter >= BlinkFrames) {
    BlinkCounter = 0;
    Blink = 1 - Blink;
  }
}

// Lines and points go on the screen inside one drawing pass; sprites after it.
static void DrawLinesAndPoints() {
  RT_StartDrawing(RT_ScreenOutput());
  if (GameState <= StateGetReady) {
    PlaceShipPoints();
    DrawShipIcons();
    if (ShipDeadTimer == 0)
      FlyShip();
  }
  MovePlayerShots();
  MoveDebris();
  RT_StopDrawing();
}

// The frame

void GameWorkFrame() {
  CountDownDelays();
  ReadKeys();
  RT_ClearScreen(0, 0, 0);
  if (GameState == StatePlaying && UseAudio != 0)
    PlayBeat();
  AdvanceBlink();
  DrawLinesAndPoints();
  if (RockCount == 0)
    ClearWave();
  MoveRocks();
  RunSaucer();
  MoveSaucerShots();
  // In get ready and the attract screens hits are counted but nothing is lost.
  if (ShipHits != 0 && GameState == StatePlaying)
    LoseShip();
  if (Blink == 1 && ShipDeadTimer > 0)
    ShipDeadTimer--;
  DrawHud();
  RunState();
}

bool GameFrame() {
  GameWorkFrame();
  RT_FlipBuffers();
  return QuitGame == 0;
}
