// The vector shapes: the ship's model and the sprites drawn once at start-up from
// vertex lists (saucer 2, rocks 3-11, digits 12-21, letters 29-53, saucer shot 55).
#pragma once

#include <cstdint>

// Sprite numbers
enum : int32_t {
  SpriteSaucer = 2,
  SpriteFirstRock = 3, // a rock is drawn with SpriteFirstRock + Size
  SpriteSaucerShot = 55,
};

void ReadShipModel();      // ShipModelX/Y from the shape data
void CreateShapeSprites(); // every shape sprite, in the order of the shape data
// Draws the next count vertices of the shape data into sprite first + variant.
void CreateShapeSprite(int32_t first, int32_t variant, int32_t count, int32_t width, int32_t height,
                       int32_t mode);
