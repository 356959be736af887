#include "runtime/drawing/drawing.h"

#include <SDL/SDL.h>
#include <gtest/gtest.h>
#include <set>
#include <utility>

#include "runtime/screen/screen.h"

namespace {

// Runtime colours, 0x00BBGGRR
constexpr int32_t White = 0x00FFFFFF;
constexpr int32_t Red = 0x000000FF;

using Pixels = std::set<std::pair<int, int>>;

class DrawingTest : public ::testing::TestWithParam<int32_t> {
protected:
  void SetUp() override {
    ASSERT_NE(RT_InitSprite(), nullptr) << RT_VideoError();
    ASSERT_NE(RT_OpenScreen(64, 48, GetParam(), "test"), nullptr) << RT_VideoError();
    RT_Init2DDrawing();
  }
  void TearDown() override { RT_FreeSprites(); }

  // Every pixel of the drawing surface that is not black
  static Pixels Lit(SDL_Surface *surface) {
    Pixels lit;
    for (int y = 0; y < surface->h; y++)
      for (int x = 0; x < surface->w; x++)
        if (RT_Point(x, y) != 0)
          lit.insert({x, y});
    return lit;
  }

  // What RT_Point gives for a pixel drawn in a runtime colour
  static int32_t PointValue(SDL_Surface *surface, int32_t colour) {
    if (surface->format->BytesPerPixel == 4)
      return colour & 0x00FFFFFF;
    return static_cast<int32_t>(
        SDL_MapRGB(surface->format, colour & 0xFF, colour >> 8 & 0xFF, colour >> 16 & 0xFF));
  }
};

TEST_P(DrawingTest, PlotWritesTheRuntimeColourOpaqueAndPointReadsItBack) {
  SDL_Surface *sprite = RT_CreateSprite(1, 4, 4);
  ASSERT_EQ(RT_StartDrawing(RT_SpriteOutput(1)), sprite);
  struct Case {
    int32_t x, y, colour, expected;
  };
  const Case cases[] = {
      {0, 0, White, White},
      {1, 0, Red, Red},
      {2, 0, 0x00336699, 0x00336699},
      {3, 0, static_cast<int32_t>(0xAB204060), 0x00204060}, // bits 24..31 ignored
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(::testing::Message() << std::hex << "colour 0x" << c.colour);
    RT_Plot2(c.x, c.y, c.colour);
    EXPECT_EQ(RT_Point(c.x, c.y), PointValue(sprite, c.expected));
  }
  RT_Plot2(0, 1, White);
  RT_Plot2(0, 1, 0); // opaque black replaces white, no blending
  EXPECT_EQ(RT_Point(0, 1), 0);
  EXPECT_EQ(Lit(sprite).size(), 4u);
  RT_StopDrawing();
}

TEST_P(DrawingTest, FrontColourDrawsTheFormsWithoutAColour) {
  SDL_Surface *sprite = RT_CreateSprite(1, 8, 8);
  RT_StartDrawing(RT_SpriteOutput(1));
  RT_FrontColor(255, 0, 0);
  RT_BackColor(0, 255, 0);
  RT_Plot(2, 3);
  RT_LineXY(0, 7, 3, 7);
  EXPECT_EQ(RT_Point(2, 3), PointValue(sprite, Red));
  EXPECT_EQ(RT_Point(3, 7), PointValue(sprite, Red));
  RT_StopDrawing();
}

TEST_P(DrawingTest, ShapesCoverTheExpectedPixels) {
  struct Case {
    const char *name;
    void (*draw)();
    Pixels expected;
  };
  const Case cases[] = {
      {"line reaches its far corner",
       [] { RT_Line2(10, 10, 5, 0, White); },
       {{10, 10}, {11, 10}, {12, 10}, {13, 10}, {14, 10}, {15, 10}}},
      {"line with no size is a point", [] { RT_Line2(4, 4, 0, 0, White); }, {{4, 4}}},
      {"box includes its far corner",
       [] { RT_Box2(2, 3, 1, 1, White); },
       {{2, 3}, {3, 3}, {2, 4}, {3, 4}}},
      {"coordinates are cut to 16 bits", [] { RT_Plot2(65536 + 5, 65536 + 7, White); }, {{5, 7}}},
      {"far corner sums are cut to 16 bits",
       [] { RT_Line2(65536 + 2, 3, 65536 + 2, 0, White); },
       {{2, 3}, {3, 3}, {4, 3}}},
      {"line through the top-left corner is clipped",
       [] { RT_LineXY2(-5, -5, 2, 2, White); },
       {{0, 0}, {1, 1}, {2, 2}}},
  };
  SDL_Surface *screen = RT_ScreenID();
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    RT_ClearScreen(0, 0, 0);
    RT_StartDrawing(RT_ScreenOutput());
    c.draw();
    EXPECT_EQ(Lit(screen), c.expected);
    RT_StopDrawing();
  }
}

TEST_P(DrawingTest, CirclesAndEllipsesAreOutlinesAroundTheirCentre) {
  RT_ClearScreen(0, 0, 0);
  RT_StartDrawing(RT_ScreenOutput());
  RT_FrontColor(255, 255, 255);
  RT_Circle(10, 10, 3);
  RT_Ellipse2(40, 20, 6, 2, White);
  RT_Ellipse(40, 40, 2, 5);
  RT_Circle2(65536 + 20, 40, 4, White);
  const std::pair<int, int> lit[] = {{13, 10}, {7, 10},  {10, 13}, {10, 7},  {46, 20}, {34, 20},
                                     {40, 22}, {40, 18}, {42, 40}, {38, 40}, {40, 45}, {40, 35},
                                     {24, 40}, {16, 40}, {20, 44}, {20, 36}};
  for (auto [x, y] : lit)
    EXPECT_NE(RT_Point(x, y), 0) << "(" << x << ", " << y << ") should be on an outline";
  for (auto [x, y] : {std::pair{10, 10}, {40, 20}, {40, 40}, {20, 40}, {14, 10}, {47, 20}})
    EXPECT_EQ(RT_Point(x, y), 0) << "(" << x << ", " << y << ") should stay black";
  RT_StopDrawing();
}

TEST_P(DrawingTest, LineLeavingASpriteIsCutAtItsEdge) {
  RT_CreateSprite(1, 10, 10);
  SDL_Surface *neighbour = RT_CreateSprite(2, 10, 10);
  RT_StartDrawing(RT_SpriteOutput(1));
  RT_LineXY2(5, 5, 100, 100, White);
  EXPECT_EQ(Lit(RT_Sprite_ObjectsArea[1].surface),
            (Pixels{{5, 5}, {6, 6}, {7, 7}, {8, 8}, {9, 9}}));
  RT_StopDrawing();
  RT_StartDrawing(RT_SpriteOutput(2));
  EXPECT_TRUE(Lit(neighbour).empty());
  RT_StopDrawing();
}

TEST_P(DrawingTest, OutputsSelectTheirSurfaceAndAnEmptySpriteKeepsThePreviousOne) {
  SDL_Surface *screen = RT_ScreenID();
  SDL_Surface *sprite = RT_CreateSprite(3, 6, 5);

  EXPECT_EQ(RT_StartDrawing(RT_ScreenOutput()), screen);
  EXPECT_EQ(RT_DrawingBuffer(), screen->pixels);
  EXPECT_EQ(RT_DrawingBufferPitch(), screen->pitch);
  EXPECT_EQ(RT_DrawingBufferPixelFormat(), GetParam());
  RT_StopDrawing();

  EXPECT_EQ(RT_StartDrawing(RT_SpriteOutput(3)), sprite);
  EXPECT_EQ(RT_DrawingBuffer(), sprite->pixels);
  RT_StopDrawing();

  EXPECT_EQ(RT_StartDrawing(RT_SpriteOutput(4)), sprite); // row 4 holds no sprite
  EXPECT_EQ(RT_TextLength("SCORE"), 0);
  RT_StopDrawing();
}

INSTANTIATE_TEST_SUITE_P(Depths, DrawingTest, ::testing::Values(16, 32),
                         [](const auto &info) { return std::to_string(info.param) + "bit"; });

} // namespace
