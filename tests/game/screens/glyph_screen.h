// A 640 x 480 dummy screen whose glyph sprites are markers: each glyph is a
// 15 x 16 sprite with one pixel of its own colour at its top-left corner, so the
// character shown at a screen position can be read back from one pixel.
#pragma once

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "runtime/drawing/drawing.h"
#include "runtime/misc/misc.h"
#include "runtime/screen/screen.h"

class GlyphScreen : public ::testing::Test {
protected:
  static constexpr const char *Glyphs = "0123456789ABCDEGHILMNOPRSTUVY";

  void SetUp() override {
    ASSERT_NE(RT_InitSprite(), nullptr);
    ASSERT_NE(RT_OpenScreen(640, 480, 16, "glyphs"), nullptr);
    RT_SetFrameRate(0);
    RT_FlipBuffers(); // makes the screen the target of sprite blits
    for (int i = 0; Glyphs[i] != '\0'; i++) {
      const int32_t number = Glyphs[i] - 36;
      ASSERT_NE(RT_CreateSprite2(number, 15, 16, 0), nullptr);
      RT_StartDrawing(RT_SpriteOutput(number));
      RT_Plot2(0, 0, RT_RGB(8 * (i + 1), 255 - 8 * i, 40));
      marks_[RT_Point(0, 0)] = Glyphs[i];
      RT_StopDrawing();
    }
    ASSERT_EQ(marks_.size(), std::string(Glyphs).size()) << "marker colours must differ";
    // The saucer, rock and shot sprites sit under the codes of some punctuation
    // ('-' is sprite 9); text must never show them.
    for (int32_t number : {2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 55}) {
      ASSERT_NE(RT_CreateSprite2(number, 2, 2, 0), nullptr);
      RT_StartDrawing(RT_SpriteOutput(number));
      RT_Plot2(0, 0, RT_RGB(255, 0, 255));
      marks_.emplace(RT_Point(0, 0), '#');
      RT_StopDrawing();
    }
    RT_ClearScreen(0, 0, 0);
  }
  void TearDown() override { RT_FreeSprites(); }

  // The pixel value a colour takes on the screen.
  int32_t ScreenValue(int32_t colour) {
    RT_StartDrawing(RT_ScreenOutput());
    RT_Plot2(639, 479, colour);
    const int32_t value = RT_Point(639, 479);
    RT_Plot2(639, 479, 0);
    RT_StopDrawing();
    return value;
  }

  int32_t PixelAt(int32_t x, int32_t y) {
    RT_StartDrawing(RT_ScreenOutput());
    const int32_t value = RT_Point(x, y);
    RT_StopDrawing();
    return value;
  }

  // The characters in count cells from (x, y), spacing apart: '.' for black,
  // '#' for a sprite that is no glyph, '?' for anything else.
  std::string TextAt(int32_t x, int32_t y, int32_t spacing, int32_t count) {
    std::string text;
    for (int32_t k = 0; k < count; k++) {
      const int32_t value = PixelAt(x + k * spacing, y);
      const auto mark = marks_.find(value);
      text += value == 0 ? '.' : mark == marks_.end() ? '?' : mark->second;
    }
    return text;
  }

  // Non-black pixels on the whole screen.
  int CountLitPixels() {
    int lit = 0;
    RT_StartDrawing(RT_ScreenOutput());
    for (int32_t y = 0; y < 480; y++)
      for (int32_t x = 0; x < 640; x++)
        lit += RT_Point(x, y) != 0;
    RT_StopDrawing();
    return lit;
  }

private:
  std::map<int32_t, char> marks_;
};
