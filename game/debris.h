// Explosion debris: rings of single pixels that fly outwards and fade.
#pragma once

#include <cstdint>

void Explode(int32_t x, int32_t y, int32_t step); // a particle every step degrees from 0
void MoveDebris(); // moves, draws and ages every particle; inside the screen's drawing pass
