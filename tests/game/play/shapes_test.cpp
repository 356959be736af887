// The shape sprites read back pixel by pixel against their vertex lists.
#include <cmath>
#include <utility>
#include <vector>

#include "runtime/drawing/drawing.h"
#include "tests/game/play/play_fixture.h"

namespace {

using Shapes = Play;
using Vertex = std::pair<int, int>;

struct ShapeCase {
  const char *name;
  int32_t sprite, width, height;
  std::vector<Vertex> vertices;
};

const ShapeCase ShapeCases[] = {
    {"digit 1", 13, 15, 16, {{7, 1}, {7, 14}}},
    {"digit 4", 16, 15, 16, {{2, 1}, {2, 8}, {12, 8}, {12, 1}, {12, 8}, {12, 14}}},
    {"large rock 0",
     3,
     45,
     45,
     {{3, 13},
      {13, 5},
      {23, 9},
      {33, 5},
      {42, 13},
      {33, 18},
      {42, 26},
      {33, 39},
      {19, 35},
      {13, 39},
      {3, 31},
      {8, 22},
      {3, 13}}},
    {"saucer, touching its borders",
     2,
     25,
     15,
     {{0, 9},
      {7, 14},
      {17, 14},
      {24, 9},
      {0, 9},
      {7, 5},
      {17, 5},
      {24, 9},
      {17, 5},
      {16, 3},
      {14, 1},
      {10, 1},
      {7, 2},
      {7, 5}}},
};

int32_t SpritePixel(int32_t sprite, int32_t x, int32_t y) {
  RT_StartDrawing(RT_SpriteOutput(sprite));
  const int32_t value = RT_Point(x, y);
  RT_StopDrawing();
  return value;
}

// The value a colour takes in a sprite of the display's format.
int32_t SpriteValue(int32_t colour) {
  constexpr int32_t Scratch = 90;
  RT_CreateSprite2(Scratch, 1, 1, 0);
  RT_StartDrawing(RT_SpriteOutput(Scratch));
  RT_Plot2(0, 0, colour);
  RT_StopDrawing();
  const int32_t value = SpritePixel(Scratch, 0, 0);
  RT_FreeSprite(Scratch);
  return value;
}

double DistanceToSegment(double px, double py, Vertex a, Vertex b) {
  const double dx = b.first - a.first, dy = b.second - a.second;
  const double length2 = dx * dx + dy * dy;
  double t = length2 == 0 ? 0 : ((px - a.first) * dx + (py - a.second) * dy) / length2;
  t = std::fmax(0, std::fmin(1, t));
  return std::hypot(px - (a.first + t * dx), py - (a.second + t * dy));
}

// Grey lines between consecutive vertices, a white dot on every vertex and
// black everywhere else.
TEST_F(Shapes, SpriteIsItsPolylineWithWhiteVertexDots) {
  const int32_t grey = SpriteValue(0x969696), white = SpriteValue(0xFFFFFF);
  ASSERT_NE(grey, white);
  for (const ShapeCase &c : ShapeCases) {
    SCOPED_TRACE(c.name);
    ASSERT_EQ(RT_SpriteWidth(c.sprite), c.width);
    ASSERT_EQ(RT_SpriteHeight(c.sprite), c.height);
    for (const Vertex &v : c.vertices)
      EXPECT_EQ(SpritePixel(c.sprite, v.first, v.second), white)
          << "no dot at (" << v.first << ", " << v.second << ")";
    for (int32_t y = 0; y < c.height; y++) {
      for (int32_t x = 0; x < c.width; x++) {
        const int32_t value = SpritePixel(c.sprite, x, y);
        if (value == 0)
          continue;
        double nearest = 1e9;
        for (size_t i = 0; i + 1 < c.vertices.size(); i++)
          nearest = std::fmin(nearest, DistanceToSegment(x, y, c.vertices[i], c.vertices[i + 1]));
        EXPECT_LE(nearest, 0.75) << "stray pixel at (" << x << ", " << y << ")";
        const bool vertex =
            std::find(c.vertices.begin(), c.vertices.end(), Vertex{x, y}) != c.vertices.end();
        EXPECT_EQ(value, vertex ? white : grey) << "at (" << x << ", " << y << ")";
      }
    }
    // Each segment is drawn: at every step along its longer axis a pixel next to
    // the ideal line is lit.
    for (size_t i = 0; i + 1 < c.vertices.size(); i++) {
      const auto [ax, ay] = c.vertices[i];
      const auto [bx, by] = c.vertices[i + 1];
      const int steps = std::max(std::abs(bx - ax), std::abs(by - ay));
      for (int s = 0; s <= steps; s++) {
        const double t = steps == 0 ? 0 : static_cast<double>(s) / steps;
        const double x = ax + t * (bx - ax), y = ay + t * (by - ay);
        const bool lit = SpritePixel(c.sprite, std::floor(x), std::floor(y)) != 0 ||
                         SpritePixel(c.sprite, std::ceil(x), std::ceil(y)) != 0;
        EXPECT_TRUE(lit) << "gap in segment " << i << " at (" << x << ", " << y << ")";
      }
    }
  }
}

TEST_F(Shapes, SaucerShotIsATwoByTwoWhiteSquare) {
  const int32_t white = SpriteValue(0xFFFFFF);
  ASSERT_EQ(RT_SpriteWidth(55), 2);
  ASSERT_EQ(RT_SpriteHeight(55), 2);
  for (int32_t y = 0; y < 2; y++)
    for (int32_t x = 0; x < 2; x++)
      EXPECT_EQ(SpritePixel(55, x, y), white);
}

} // namespace
