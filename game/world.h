// The game's world: every global of the game, its records and its tables.
// All of it lives for the whole run; start values are set at start-up.
#pragma once

#include <cstdint>
#include <string>

#include "runtime/lists/lists.h"

// Game states
enum : int32_t {
  StatePlaying = 0,
  StateGetReady = 1,
  StateGameOver = 3,
  StateHighScores = 4,
  StateTitle = 5,
  StateCredits = 6,
};

// Element of the list Rocks (36 bytes).
struct Rock {
  float X, Y;     // top-left of the box and the sprite
  float DX, DY;   // velocity, subtracted each frame
  int32_t Width;  // 45, 21 or 11
  int32_t Height; // 45, 19 or 10
  int32_t Size;   // 0-2 large, 3-5 medium, 6-8 small; drawn with sprite Size + 3
  int32_t Immune; // while not 0 no shot hits it
  int32_t Alive;  // 0 once hit; the record stays until the next wave
};

// Element of the list Debris (20 bytes).
struct Particle {
  float X, Y;
  float DX, DY; // added each frame
  int32_t Life; // 160 at birth, falls by 2; also the brightness
};

// A slot of Shots and SaucerShots; slot 0 is never used.
struct Shot {
  float X, Y;
  float DX, DY;   // subtracted each frame
  int32_t Active; // 1 while the shot flies
};

constexpr int ShotSlots = 20;
constexpr float DegreesToRadians = 0.017499998f; // the game's k, not pi/180

// States, timers and settings
extern int32_t GameState;           // one of the states above
extern int32_t StateTimer;          // whole seconds against which timed states expire
extern int32_t QuitGame;            // 1 once Escape has been released
extern int32_t HiScore;             // the best score, raised live by the HUD
extern int32_t SecondScore;         // as read from the preferences file
extern int32_t ThirdScore;          // as read from the preferences file
extern int32_t FullScreen;          // always 1 once the screen is open
extern int32_t UseAudio;            // every sound call happens only while non-zero
extern std::string GameTitle;       // "Heliomants"
extern std::string HiScoreTable[4]; // entries 0..2: six-digit texts, best first

// Ship
extern float ShipX, ShipY;                 // centre
extern float ShipDX, ShipDY;               // velocity, subtracted each frame
extern int32_t ShipAngle;                  // heading in degrees, 0 up, clockwise
extern int32_t Thrusting;                  // 1 while thrust is held in this frame
extern int32_t ThrustFrames;               // frames thrust has been held without a break
extern int32_t ShipDeadTimer;              // above 0 while the ship is lost and absent
extern int32_t ShipHits;                   // hits on the ship found in this frame
extern int32_t FireDelay;                  // frames before the player may fire again
extern float ShipModelX[7], ShipModelY[7]; // the model, nose up
extern float ShipPointX[7], ShipPointY[7]; // the model rotated and placed for this frame

// Score and waves
extern int32_t Lives;
extern int32_t Score;
extern int32_t Wave;      // indexes WaveSplits
extern int32_t RockCount; // rocks alive; before SpawnWave, how many to place
extern int32_t RocksHit;  // rocks hit in this wave; sets the beat's tempo
extern int32_t ScoreHit;  // 1 only while a player shot's rock hit is processed
extern int32_t ScoreLarge, ScoreMedium, ScoreSmall, ScoreSaucer;

// Blink clock and beat
extern int32_t BlinkCounter; // 0..6
extern int32_t Blink;        // flips every 7 frames
extern int32_t BeatInterval; // milliseconds between beats
extern int32_t BeatTime;     // clock reading at the last beat
extern int32_t BeatSound;    // the beat sound played last, 0 or 1

// Saucer
extern int32_t SaucerOn;
extern int32_t SaucerX, SaucerY;   // top-left of its sprite
extern int32_t SaucerDX, SaucerDY; // step per frame
extern int32_t SaucerTurnTimer;
extern int32_t SaucerFireDelay;
extern float AimAngle;

// Objects
extern RT_List Rocks;  // of Rock
extern RT_List Debris; // of Particle
extern Shot Shots[ShotSlots + 1];
extern Shot SaucerShots[ShotSlots + 1];

// Tables
extern float SpeedLarge[3], SpeedMedium[3], SpeedSmall[3];
extern int32_t WaveSplits[21]; // waves 1..20

// Life of the world
void SetStartValues();              // every global above (settings aside) to its start value
void CreateWorld();                 // makes the lists and fills the tables
void FreeWorld();                   // frees the lists at exit
int32_t WaveSplitsOf(int32_t wave); // waves past 20 split as wave 20
