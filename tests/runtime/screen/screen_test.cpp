#include "runtime/screen/screen.h"
#include "runtime/screen/video.h"

#include <SDL/SDL.h>
#include <cstdlib>
#include <cstring>
#include <gtest/gtest.h>
#include <string>

namespace {

constexpr int32_t ScreenW = 64, ScreenH = 48;

Uint32 PixelAt(SDL_Surface *surface, int x, int y) {
  const auto *p = static_cast<const Uint8 *>(surface->pixels) + y * surface->pitch +
                  x * surface->format->BytesPerPixel;
  Uint32 value = 0;
  memcpy(&value, p, surface->format->BytesPerPixel); // little-endian machine
  return value;
}

void SetPixel(SDL_Surface *surface, int x, int y, Uint32 value) {
  SDL_Rect one{static_cast<Sint16>(x), static_cast<Sint16>(y), 1, 1};
  SDL_FillRect(surface, &one, value);
}

class ScreenTest : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_NE(RT_InitSprite(), nullptr) << RT_VideoError();
    screen = RT_OpenScreen(ScreenW, ScreenH, 16, "test");
    ASSERT_NE(screen, nullptr) << RT_VideoError();
  }
  void TearDown() override { RT_FreeSprites(); }

  // A sprite whose every pixel is distinct and none black, so a blit shows which part landed where
  SDL_Surface *MakePatternSprite(int32_t number, int32_t w, int32_t h) {
    SDL_Surface *s = RT_CreateSprite(number, w, h);
    for (int y = 0; y < h; y++)
      for (int x = 0; x < w; x++)
        SetPixel(s, x, y, SDL_MapRGB(s->format, 40 * (x + 1), 40 * (y + 1), 255));
    return s;
  }

  // The screen must hold the sprite with its top-left at (x, y) and black everywhere else
  void ExpectScreenShowsSpriteAt(SDL_Surface *sprite, int32_t x, int32_t y) {
    for (int sy = 0; sy < ScreenH; sy++)
      for (int sx = 0; sx < ScreenW; sx++) {
        bool inside = sx - x >= 0 && sx - x < sprite->w && sy - y >= 0 && sy - y < sprite->h;
        Uint32 expected = inside ? PixelAt(sprite, sx - x, sy - y) : 0;
        ASSERT_EQ(PixelAt(screen, sx, sy), expected) << "at screen (" << sx << ", " << sy << ")";
      }
  }

  SDL_Surface *screen = nullptr;
};

TEST_F(ScreenTest, SpriteIsClippedAtEveryEdge) {
  constexpr int32_t w = 4, h = 3;
  struct Case {
    int32_t x, y;
    int drawnPixels;
  };
  constexpr Case cases[] = {
      {-w, 10, 0},
      {-w + 1, 10, h},
      {ScreenW - 1, 10, h},
      {ScreenW, 10, 0},
      {10, -h, 0},
      {10, -h + 1, w},
      {10, ScreenH - 1, w},
      {10, ScreenH, 0},
      {-w + 1, -h + 1, 1},
      {ScreenW - 1, ScreenH - 1, 1},
      {ScreenW - 2, ScreenH - 2, 4},
      {20, 20, w * h},
  };
  SDL_Surface *sprite = MakePatternSprite(1, w, h);
  RT_FlipBuffers();
  for (const Case &c : cases) {
    SCOPED_TRACE(::testing::Message() << "sprite at (" << c.x << ", " << c.y << ")");
    RT_ClearScreen(0, 0, 0);
    RT_DisplayTransparentSprite(1, c.x, c.y);
    ExpectScreenShowsSpriteAt(sprite, c.x, c.y);
    int drawn = 0;
    for (int sy = 0; sy < ScreenH; sy++)
      for (int sx = 0; sx < ScreenW; sx++)
        drawn += PixelAt(screen, sx, sy) != 0;
    EXPECT_EQ(drawn, c.drawnPixels);
  }
}

TEST_F(ScreenTest, PlainBlitDrawsBlackAndTransparentBlitLeavesItOut) {
  SDL_Surface *sprite = RT_CreateSprite(2, 2, 1);
  Uint32 white = SDL_MapRGB(sprite->format, 255, 255, 255);
  SetPixel(sprite, 1, 0, white); // (0, 0) stays black
  RT_FlipBuffers();
  RT_ClearScreen(0, 0x12, 0x34);

  RT_DisplayTransparentSprite(2, 0, 0);
  RT_DisplaySprite(2, 0, 1);
  RT_DisplayTransparentSprite(2, 0, 2); // the key must be back in force after the plain blit

  EXPECT_EQ(PixelAt(screen, 0, 0), 0x1234u);
  EXPECT_EQ(PixelAt(screen, 0, 1), 0u);
  EXPECT_EQ(PixelAt(screen, 0, 2), 0x1234u);
  for (int y = 0; y < 3; y++)
    EXPECT_EQ(PixelAt(screen, 1, y), white) << "row " << y;
  EXPECT_TRUE(sprite->flags & SDL_SRCCOLORKEY);
}

TEST_F(ScreenTest, ClearScreenWritesTheRawPixelValueEvenWhileASpriteIsTheTarget) {
  RT_CreateSprite(3, 5, 5);
  RT_UseBuffer(3);
  RT_ClearScreen(0, 0xAB, 0xCD);
  EXPECT_EQ(PixelAt(screen, 0, 0), 0xABCDu);
  EXPECT_EQ(PixelAt(screen, ScreenW - 1, ScreenH - 1), 0xABCDu);
  RT_ClearScreen(0, 0, 0);
  EXPECT_EQ(PixelAt(screen, ScreenW / 2, ScreenH / 2), 0u);
}

TEST_F(ScreenTest, CreatingPastTheEndGrowsTheTableAndKeepsOldRows) {
  SDL_Surface *old = RT_CreateSprite(3, 4, 4);
  ASSERT_EQ(RT_Sprite_ObjectsNumber, 50);
  SDL_Surface *created = RT_CreateSprite(60, 7, 9);

  ASSERT_NE(created, nullptr);
  ASSERT_EQ(RT_Sprite_ObjectsNumber, 110);
  EXPECT_EQ(RT_Sprite_ObjectsArea[3].surface, old);
  EXPECT_EQ(RT_Sprite_ObjectsArea[60].surface, created);
  for (int32_t row = 50; row < 110; row++) {
    if (row != 60) {
      EXPECT_EQ(RT_Sprite_ObjectsArea[row].surface, nullptr) << "row " << row;
    }
  }
  EXPECT_EQ(RT_SpriteWidth(60), 7);
  EXPECT_EQ(RT_SpriteHeight(60), 9);

  RT_CreateSprite(109, 1, 1); // the last row: no growth
  EXPECT_EQ(RT_Sprite_ObjectsNumber, 110);
  RT_CreateSprite(110, 1, 1);
  EXPECT_EQ(RT_Sprite_ObjectsNumber, 160);
}

TEST_F(ScreenTest, RecreatingANumberFreesTheOldSurface) {
  SDL_Surface *old = RT_CreateSprite(5, 4, 4);
  old->refcount++; // keeps it alive so that its release can be seen
  SDL_Surface *replacement = RT_CreateSprite(5, 8, 2);

  EXPECT_EQ(old->refcount, 1);
  EXPECT_EQ(RT_Sprite_ObjectsArea[5].surface, replacement);
  EXPECT_EQ(RT_SpriteWidth(5), 8);
  SDL_FreeSurface(old);
}

TEST_F(ScreenTest, FreshSpriteIsBlackAndKeyedInTheScreenFormat) {
  SDL_Surface *sprite = RT_CreateSprite(0, 3, 3);
  ASSERT_NE(sprite, nullptr);
  EXPECT_EQ(sprite->format->BitsPerPixel, screen->format->BitsPerPixel);
  EXPECT_EQ(sprite->format->colorkey, 0u);
  for (int y = 0; y < 3; y++)
    for (int x = 0; x < 3; x++)
      EXPECT_EQ(PixelAt(sprite, x, y), 0u);
  const RT_SpriteEntry &row = RT_Sprite_ObjectsArea[0];
  EXPECT_EQ(row.width, 3);
  EXPECT_EQ(row.shownHeight, 3);
  EXPECT_EQ(row.shownX, 0);
}

TEST_F(ScreenTest, NothingIsDrawnBeforeTheFirstFlip) {
  MakePatternSprite(4, 2, 2);
  RT_ClearScreen(0, 0, 0);
  RT_DisplaySprite(4, 0, 0);
  RT_DisplayTransparentSprite(4, 0, 0);
  EXPECT_EQ(PixelAt(screen, 0, 0), 0u);

  RT_FlipBuffers();
  RT_DisplaySprite(4, 0, 0);
  EXPECT_NE(PixelAt(screen, 0, 0), 0u);
}

TEST_F(ScreenTest, UseBufferSendsBlitsIntoASpriteClippedToItUntilTheFlip) {
  SDL_Surface *target = RT_CreateSprite(6, 3, 3);
  SDL_Surface *piece = MakePatternSprite(7, 2, 2);
  RT_ClearScreen(0, 0, 0);
  EXPECT_EQ(RT_UseBuffer(6), target);
  RT_DisplaySprite(7, 2, 2);

  EXPECT_EQ(PixelAt(target, 2, 2), PixelAt(piece, 0, 0));
  EXPECT_EQ(PixelAt(target, 1, 1), 0u);
  EXPECT_EQ(PixelAt(screen, 2, 2), 0u);

  EXPECT_EQ(RT_UseBuffer(8), target); // an empty row changes nothing
  RT_FlipBuffers();
  RT_DisplaySprite(7, 10, 10); // the flip made the screen the target again, at its full size
  EXPECT_EQ(PixelAt(screen, 11, 11), PixelAt(piece, 1, 1));
}

TEST_F(ScreenTest, FreeingTheTargetSpriteStopsBlitsInsteadOfWritingFreedMemory) {
  RT_CreateSprite(6, 3, 3);
  MakePatternSprite(7, 2, 2);
  RT_ClearScreen(0, 0, 0);
  RT_UseBuffer(6);
  RT_FreeSprite(6);
  RT_DisplaySprite(7, 0, 0); // must not touch the freed surface (ASan build)
  RT_FlipBuffers();
  RT_DisplaySprite(7, 0, 0);
  EXPECT_NE(PixelAt(screen, 0, 0), 0u);
}

TEST_F(ScreenTest, ClosingTheScreenStopsBlitsAndSpriteCreation) {
  MakePatternSprite(1, 2, 2);
  RT_FlipBuffers();
  RT_CloseScreen();
  EXPECT_EQ(RT_ScreenID(), nullptr);
  RT_DisplaySprite(1, 0, 0); // the old screen is gone: nothing to draw on
  RT_ClearScreen(0, 0, 0);
  RT_FlipBuffers();
  EXPECT_EQ(RT_CreateSprite(2, 4, 4), nullptr);
  EXPECT_EQ(RT_Sprite_ObjectsArea[2].surface, nullptr);

  screen = RT_OpenScreen(ScreenW, ScreenH, 16, "again");
  ASSERT_NE(screen, nullptr) << RT_VideoError();
  EXPECT_NE(RT_CreateSprite(2, 4, 4), nullptr);
}

TEST(ScreenLibrary, SpritesNeedAScreenAndTheLibraryStartsAgainAfterItsShutdown) {
  ASSERT_NE(RT_InitSprite(), nullptr) << RT_VideoError();
  EXPECT_EQ(RT_CreateSprite(0, 4, 4), nullptr);
  RT_FreeSprites();
  EXPECT_EQ(RT_SDL_State, 0);
  EXPECT_EQ(RT_SDL_VideoState, 0);
  EXPECT_EQ(RT_ScreenID(), nullptr);

  ASSERT_NE(RT_InitSprite(), nullptr) << RT_VideoError();
  EXPECT_EQ(SDL_WasInit(SDL_INIT_VIDEO), static_cast<Uint32>(SDL_INIT_VIDEO));
  ASSERT_NE(RT_OpenScreen(ScreenW, ScreenH, 16, "test"), nullptr) << RT_VideoError();
  EXPECT_NE(RT_CreateSprite(0, 4, 4), nullptr);
  RT_FreeSprites();
}

TEST(ScreenLibrary, VideoBringUpAsksForCrispScalingUnlessThePlayerChoseOtherwise) {
  struct Case {
    const char *preset; // null: not set
    const char *expected;
  };
  for (const Case &c : {Case{nullptr, "nearest"}, Case{"linear", "linear"}}) {
    SCOPED_TRACE(c.preset ? c.preset : "unset");
    if (c.preset)
      setenv("SDL12COMPAT_SCALE_METHOD", c.preset, 1);
    else
      unsetenv("SDL12COMPAT_SCALE_METHOD");
    ASSERT_EQ(screen::BringUpVideo(), 1) << RT_VideoError();
    const char *method = getenv("SDL12COMPAT_SCALE_METHOD");
    ASSERT_NE(method, nullptr);
    EXPECT_STREQ(method, c.expected);
    RT_FreeSprites();
  }
  unsetenv("SDL12COMPAT_SCALE_METHOD");
}

} // namespace
