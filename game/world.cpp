// The game's globals and tables. A run may start the game more than once (the
// tests do), so the start values are set by SetStartValues, not by initialisers.
#include "game/world.h"

#include <algorithm>
#include <bit>

// States, timers and settings
int32_t GameState;
int32_t StateTimer;
int32_t QuitGame;
int32_t HiScore;
int32_t SecondScore;
int32_t ThirdScore;
int32_t FullScreen;
int32_t UseAudio;
std::string GameTitle;
std::string HiScoreTable[4];

// Ship
float ShipX, ShipY;
float ShipDX, ShipDY;
int32_t ShipAngle;
int32_t Thrusting;
int32_t ThrustFrames;
int32_t ShipDeadTimer;
int32_t ShipHits;
int32_t FireDelay;
float ShipModelX[7], ShipModelY[7];
float ShipPointX[7], ShipPointY[7];

// Score and waves
int32_t Lives;
int32_t Score;
int32_t Wave;
int32_t RockCount;
int32_t RocksHit;
int32_t ScoreHit;
int32_t ScoreLarge, ScoreMedium, ScoreSmall, ScoreSaucer;

// Blink clock and beat
int32_t BlinkCounter;
int32_t Blink;
int32_t BeatInterval;
int32_t BeatTime;
int32_t BeatSound;

// Saucer
int32_t SaucerOn;
int32_t SaucerX, SaucerY;
int32_t SaucerDX, SaucerDY;
int32_t SaucerTurnTimer;
int32_t SaucerFireDelay;
float AimAngle;

// Objects
RT_List Rocks;
RT_List Debris;
Shot Shots[ShotSlots + 1];
Shot SaucerShots[ShotSlots + 1];

// Tables
float SpeedLarge[3], SpeedMedium[3], SpeedSmall[3];
int32_t WaveSplits[21];

// Constant data

// Fragments per large or medium rock, before the random extra one, waves 1..20.
constexpr int32_t WaveSplitsData[20] = {1, 1, 1, 2, 2, 2, 3, 3, 3, 4, 3, 4, 5, 3, 2, 4, 2, 3, 2, 3};

// Rock speeds in pixels per frame, by their exact bits: the middle medium speed is
// one step above the float nearest 0.9.
constexpr uint32_t SpeedBits[3][3] = {
    {0x3ECCCCCD, 0x3F000000, 0x3F19999A}, // 0.4, 0.5, 0.6
    {0x3F4CCCCD, 0x3F666667, 0x3F800000}, // 0.8, 0.90000004, 1.0
    {0x3F99999A, 0x3FB33333, 0x3FE66666}, // 1.2, 1.4, 1.8
};

// Start values

void SetStartValues() {
  GameState = StateHighScores;
  StateTimer = 0;
  QuitGame = 0;
  ShipX = 320, ShipY = 240;
  ShipDX = 0, ShipDY = 0;
  ShipAngle = 0;
  Thrusting = 0;
  ThrustFrames = 0;
  ShipDeadTimer = 0;
  ShipHits = 0;
  FireDelay = 0;
  Lives = 0;
  Score = 0;
  Wave = 1;
  RockCount = 4;
  RocksHit = 0;
  ScoreHit = 0;
  ScoreLarge = 5, ScoreMedium = 15, ScoreSmall = 30, ScoreSaucer = 75;
  BlinkCounter = 0;
  Blink = 0;
  BeatInterval = 1000;
  BeatTime = 0;
  BeatSound = 0;
  SaucerOn = 0;
  SaucerX = 0, SaucerY = 0;
  SaucerDX = 0, SaucerDY = 0;
  SaucerTurnTimer = 0;
  SaucerFireDelay = 0;
  AimAngle = 0;
  std::fill(std::begin(Shots), std::end(Shots), Shot{});
  std::fill(std::begin(SaucerShots), std::end(SaucerShots), Shot{});
}

// Lists and tables

void CreateWorld() {
  RT_NewList(Rocks, sizeof(Rock));
  RT_NewList(Debris, sizeof(Particle));
  std::copy(std::begin(WaveSplitsData), std::end(WaveSplitsData), WaveSplits + 1);
  float *const Speeds[3] = {SpeedLarge, SpeedMedium, SpeedSmall};
  for (int size = 0; size < 3; size++)
    for (int i = 0; i < 3; i++)
      Speeds[size][i] = std::bit_cast<float>(SpeedBits[size][i]);
}

void FreeWorld() {
  for (RT_List *list : {&Rocks, &Debris}) {
    if (list->header != nullptr)
      RT_FreeList(*list);
    *list = RT_List{};
  }
}

int32_t WaveSplitsOf(int32_t wave) {
  return WaveSplits[std::clamp(wave, 1, 20)];
}
