// The state machine: 4 -> 5 -> 6 -> 4 until Return starts a game (1); get ready
// gives way to play (0) after two seconds; the last ship lost leads to game
// over (3) and back to the high scores.
#include "game/states.h"

#include "game/rocks.h"
#include "game/screens.h"
#include "game/world.h"
#include "runtime/lists/lists.h"
#include "runtime/misc/misc.h"

// Constants

constexpr int32_t SecondsUnit = 6; // RT_AddDate's unit for seconds

// Internal helpers

// A state entered at ClockSeconds(0) lasts between seconds and seconds + 1. The
// time spent is taken as a 32-bit difference, so a state entered just before the
// calendar clock's count wraps (in 2038) ends on time instead of never.
static bool StateTimeIsUp(int32_t seconds) {
  const auto spent = static_cast<int32_t>(static_cast<uint32_t>(ClockSeconds(0)) -
                                          static_cast<uint32_t>(StateTimer));
  return spent > seconds;
}

// The score goes into the table, and the attract screens get a fresh backdrop.
static void EndGameOver() {
  GameState = StateHighScores;
  HiScore = InsertHighScore(Score, HiScore);
  StateTimer = ClockSeconds(5);
  RockCount = 4;
  Wave = 1;
  SpawnWave();
}

// States

int32_t ClockSeconds(int32_t offset) {
  return offset != 0 ? RT_AddDate(RT_Date(), SecondsUnit, offset) : RT_Date();
}

void EnterState(int32_t state) {
  GameState = state;
  StateTimer = ClockSeconds(0);
}

// Shots, debris and the respawn delay are left as they are.
void NewGame() {
  GameState = StateGetReady;
  Wave = 1;
  Lives = 3;
  Score = 0;
  RT_ClearList(Rocks);
  RockCount = 4;
  RocksHit = 0;
  BeatInterval = 1000;
  SaucerOn = 0;
  Thrusting = 0;
  ShipAngle = 0;
  SpawnWave();
  StateTimer = ClockSeconds(0);
}

void RunState() {
  DrawStateTexts();
  switch (GameState) {
  case StateGetReady:
    if (StateTimeIsUp(2))
      GameState = StatePlaying;
    break;
  case StateGameOver:
    if (StateTimeIsUp(5))
      EndGameOver();
    break;
  case StateHighScores:
    if (StateTimeIsUp(9))
      EnterState(StateTitle);
    break;
  case StateTitle:
    if (StateTimeIsUp(5))
      EnterState(StateCredits);
    break;
  case StateCredits:
    if (StateTimeIsUp(5))
      EnterState(StateHighScores);
    break;
  default:
    break;
  }
}
