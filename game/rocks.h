// Rocks: waves, splitting, the rock pass of each frame and the beat.
#pragma once

#include <cstdint>

struct Rock;

void SpawnWave(); // RockCount large rocks away from the centre; ship centred, saucer gone
void HitRock();   // destroys the current rock of Rocks; its fragments follow it
void MoveRocks(); // ShipHits from 0, then each live rock: tests, countdown, move, wrap, draw
void ClearWave(); // the next, larger wave behind a get-ready pause
void PlayBeat();  // the two-note beat, quicker as rocks are hit
bool RockHolds(const Rock &rock, float x, float y); // strictly inside the rock's box
