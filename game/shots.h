// Shots of the player and of the saucer: firing, flight, hits and drawing.
#pragma once

void FireShot();        // the first free player slot, along the ship's nose
void MovePlayerShots(); // move, leave the screen, hit the saucer and rocks, draw
void MoveSaucerShots(); // move, leave the screen, hit the ship, draw
void FreeAllShots();    // every slot of both tables
