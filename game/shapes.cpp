// The shape data and the sprites made from it. Each sprite is a grey polyline
// through its vertex list with a white dot on every vertex.
#include "game/shapes.h"

#include <iterator>

#include "game/pixels.h"
#include "game/world.h"
#include "runtime/drawing/drawing.h"
#include "runtime/screen/screen.h"

// Constants

// Nose, right tail corner, tail notch, left tail corner, flame base right and
// left, flame tip; pixels from the centre, nose up.
constexpr float ShipModel[7][2] = {{0, -7}, {6, 6}, {0, 3}, {-6, 6}, {3, 4}, {-3, 4}, {0, 7}};

// The vertex lists as (x, y) pairs, in the order the sprites are made.
// clang-format off
constexpr int32_t ShapeVertices[] = {
    // saucer
    0,9, 7,14, 17,14, 24,9, 0,9, 7,5, 17,5, 24,9, 17,5, 16,3, 14,1, 10,1, 7,2, 7,5,
    // large rocks
    3,13, 13,5, 23,9, 33,5, 42,13, 33,18, 42,26, 33,39, 19,35, 13,39, 3,31, 8,22, 3,13,
    2,14, 16,14, 12,5, 26,5, 41,14, 41,18, 26,23, 41,32, 31,40, 26,36, 12,40, 2,27, 2,14,
    2,13, 7,9, 12,3, 22,13, 32,4, 36,9, 42,13, 37,22, 42,31, 27,39, 12,39, 2,31, 2,13,
    // medium rocks
    0,7, 7,0, 14,0, 19,7, 19,11, 14,18, 9,18, 9,11, 4,18, 0,11, 4,9, 0,7,
    0,4, 5,0, 10,4, 15,0, 20,4, 17,9, 20,13, 13,17, 5,17, 3,15, 0,13, 0,4,
    1,5, 5,0, 10,2, 14,0, 19,4, 14,7, 19,11, 15,18, 8,15, 5,18, 0,13, 1,5,
    // small rocks
    0,2, 3,0, 5,2, 8,0, 10,2, 9,4, 10,7, 7,9, 3,9, 0,7, 0,2,
    0,2, 4,2, 2,0, 6,0, 10,2, 6,4, 10,6, 7,8, 2,8, 0,5, 0,2,
    0,2, 2,0, 7,0, 9,2, 7,3, 9,5, 7,9, 3,8, 0,6, 2,4, 0,2,
    // digits 0 to 9
    2,1, 12,1, 12,14, 2,14, 2,1,
    7,1, 7,14,
    2,1, 12,1, 12,8, 2,8, 2,14, 12,14,
    2,1, 12,1, 12,8, 2,8, 12,8, 12,14, 2,14,
    2,1, 2,8, 12,8, 12,1, 12,8, 12,14,
    12,1, 2,1, 2,8, 12,8, 12,14, 2,14,
    12,1, 2,1, 2,14, 12,14, 12,8, 2,8,
    2,1, 12,1, 12,14,
    12,8, 2,8, 2,1, 12,1, 12,14, 2,14, 2,8,
    12,14, 12,1, 2,1, 2,8, 12,8,
    // letters A B C D E G H I L M N O P R S T U V Y
    2,14, 2,5, 7,1, 12,5, 12,9, 2,9, 12,9, 12,14,
    2,14, 2,1, 9,1, 11,3, 11,6, 9,8, 2,8, 9,8, 11,10, 11,12, 9,14, 2,14,
    12,1, 2,1, 2,14, 12,14,
    2,1, 7,1, 12,5, 12,9, 7,14, 2,14, 2,1,
    12,1, 2,1, 2,7, 10,7, 2,7, 2,14, 12,14,
    12,5, 12,1, 2,1, 2,14, 12,14, 12,9, 7,9,
    2,1, 2,14, 2,8, 12,8, 12,1, 12,8, 12,14,
    2,1, 12,1, 7,1, 7,14, 12,14, 7,14, 2,14,
    2,1, 2,14, 12,14,
    2,14, 2,1, 7,5, 12,1, 12,14,
    2,14, 2,1, 11,14, 11,1,
    2,1, 12,1, 12,14, 2,14, 2,1,
    2,14, 2,1, 12,1, 12,8, 2,8,
    2,14, 2,1, 12,1, 12,7, 2,7, 5,7, 12,14,
    12,1, 2,1, 2,8, 12,8, 12,14, 2,14,
    7,14, 7,1, 12,1, 7,1, 2,1,
    2,1, 2,14, 12,14, 12,1,
    2,1, 7,14, 12,1,
    2,1, 7,5, 7,14, 7,5, 12,1,
};
// clang-format on

// One CreateShapeSprite call per row, in the order of ShapeVertices.
struct ShapeCall {
  int32_t first, variant, count, width, height;
};

constexpr ShapeCall ShapeCalls[] = {
    {2, 0, 14, 25, 15},                                                              // saucer
    {3, 0, 13, 45, 45}, {3, 1, 13, 45, 45},  {3, 2, 13, 45, 45},                     // large
    {6, 0, 12, 21, 19}, {6, 1, 12, 21, 19},  {6, 2, 12, 21, 19},                     // medium
    {9, 0, 11, 11, 10}, {9, 1, 11, 11, 10},  {9, 2, 11, 11, 10},                     // small
    {12, 0, 5, 15, 16}, {13, 0, 2, 15, 16},  {14, 0, 6, 15, 16}, {15, 0, 7, 15, 16}, // 0-3
    {16, 0, 6, 15, 16}, {17, 0, 6, 15, 16},  {18, 0, 6, 15, 16}, {19, 0, 3, 15, 16}, // 4-7
    {20, 0, 7, 15, 16}, {21, 0, 5, 15, 16},                                          // 8-9
    {29, 0, 8, 15, 16}, {30, 0, 12, 15, 16}, {31, 0, 4, 15, 16}, {32, 0, 7, 15, 16}, // A-D
    {33, 0, 7, 15, 16}, {35, 0, 7, 15, 16},  {36, 0, 7, 15, 16}, {37, 0, 7, 15, 16}, // E-I
    {40, 0, 3, 15, 16}, {41, 0, 5, 15, 16},  {42, 0, 4, 15, 16}, {43, 0, 5, 15, 16}, // L-O
    {44, 0, 5, 15, 16}, {46, 0, 7, 15, 16},  {47, 0, 6, 15, 16}, {48, 0, 5, 15, 16}, // P-T
    {49, 0, 4, 15, 16}, {50, 0, 3, 15, 16},  {53, 0, 5, 15, 16},                     // U-Y
};

constexpr int MaxVertices = 20;

constexpr bool EveryVertexReadOnce() {
  size_t values = 0;
  for (const ShapeCall &call : ShapeCalls)
    values += 2 * call.count;
  return values == std::size(ShapeVertices);
}
static_assert(EveryVertexReadOnce(), "the calls' counts must match the vertex lists");

// State

static int ReadCursor; // next value of ShapeVertices to read

// Shapes

void ReadShipModel() {
  for (int i = 0; i < 7; i++) {
    ShipModelX[i] = ShipModel[i][0];
    ShipModelY[i] = ShipModel[i][1];
  }
}

// Every vertex is dotted after the line that ends on it, so no dot is painted over.
void CreateShapeSprite(int32_t first, int32_t variant, int32_t count, int32_t width, int32_t height,
                       int32_t mode) {
  int32_t PointX[MaxVertices + 1], PointY[MaxVertices + 1];
  if (count < 1 || count > MaxVertices ||
      ReadCursor + 2 * count > static_cast<int>(std::size(ShapeVertices)))
    return;
  RT_CreateSprite2(first + variant, width, height, mode);
  RT_StartDrawing(RT_SpriteOutput(first + variant));
  for (int32_t i = 1; i <= count; i++) {
    PointX[i] = ShapeVertices[ReadCursor++];
    PointY[i] = ShapeVertices[ReadCursor++];
  }
  for (int32_t a = 1; a <= count; a++) {
    const int32_t b = a < count ? a + 1 : count;
    RT_LineXY2(PointX[a], PointY[a], PointX[b], PointY[b], OutlineGrey);
    RT_Plot2(PointX[a], PointY[a], DotWhite);
  }
  RT_StopDrawing();
}

// The saucer's shot is a plain 2 x 2 white square.
static void CreateSaucerShotSprite() {
  RT_CreateSprite2(SpriteSaucerShot, 2, 2, 0);
  RT_StartDrawing(RT_SpriteOutput(SpriteSaucerShot));
  for (int32_t y = 0; y < 2; y++)
    for (int32_t x = 0; x < 2; x++)
      RT_Plot2(x, y, DotWhite);
  RT_StopDrawing();
}

void CreateShapeSprites() {
  ReadCursor = 0;
  for (const ShapeCall &call : ShapeCalls)
    CreateShapeSprite(call.first, call.variant, call.count, call.width, call.height, 0);
  CreateSaucerShotSprite();
}
