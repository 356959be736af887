// The saucer: from wave 3 it now and then crosses the screen and fires at the ship.
#pragma once

void RunSaucer();                      // may appear; turns, moves, leaves, fires and is drawn
float VectorAngle(float dx, float dy); // the angle of (dx, dy) in game degrees, -180..180
