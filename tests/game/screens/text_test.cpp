// Glyph text, the HUD, the state texts and the spare-ship icons, read back from
// the screen.
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "game/screens.h"
#include "game/world.h"
#include "tests/game/screens/glyph_screen.h"

namespace {

using ScreenTexts = GlyphScreen;

struct NumberCase {
  int32_t x, y, spacing, digits;
  const char *text;
  const char *shown; // read from x - spacing to one cell past the last digit
};

constexpr NumberCase NumberCases[] = {
    // padded on the left
    {100, 5, 15, 6, "42", ".000042."},
    {300, 5, 15, 2, "7", ".07."},
    // cut to the first digits
    {100, 5, 15, 6, "1234567", ".123456."},
    {300, 5, 15, 2, "123", ".12."},
    // other places and spacings
    {20, 300, 20, 3, "905", ".905."},
    {0, 0, 15, 1, "8", "8."},
};

TEST_F(ScreenTexts, NumberIsPaddedOrCutAndPlacedBySpacing) {
  for (const NumberCase &c : NumberCases) {
    SCOPED_TRACE(std::string(c.text) + " at x " + std::to_string(c.x));
    RT_ClearScreen(0, 0, 0);
    DrawSpriteNumber(c.x, c.y, 15, 16, c.spacing, c.digits, c.text);
    const int32_t from = c.x == 0 ? 0 : c.x - c.spacing;
    EXPECT_EQ(TextAt(from, c.y, c.spacing, std::strlen(c.shown)), c.shown);
    EXPECT_EQ(TextAt(from, c.y + 1, c.spacing, std::strlen(c.shown)),
              std::string(std::strlen(c.shown), '.'))
        << "drawn one row low";
  }
}

struct TextCase {
  int32_t x, spacing;
  const char *text;
  int32_t centre;
  int32_t left;      // where the first character lands
  const char *shown; // from left, one cell per character
};

constexpr TextCase TextCases[] = {
    // centred: half the spacing in whole pixels per character
    {0, 15, "GAME OVER", 1, 257, "GAME.OVER"},
    {0, 20, "PLAYER 1", 1, 240, "PLAYER.1"},
    {0, 15, "HIGH SCORES", 1, 243, "HIGH.SCORES"},
    {0, 15, "1st 001860", 1, 250, "1ST.001860"},
    {0, 15, "", 1, 320, "."},
    // not centred: X stands; lower case shown in capitals
    {33, 10, "ab 12", 0, 33, "AB.12"},
    // characters without a glyph are blank and still advance
    {0, 15, "FOX-[/\xE9Z", 1, 320 - 7 * 8, ".O......"},
};

TEST_F(ScreenTexts, TextIsCentredCapitalisedAndSpaced) {
  for (const TextCase &c : TextCases) {
    SCOPED_TRACE(std::string("\"") + c.text + "\"");
    RT_ClearScreen(0, 0, 0);
    DrawSpriteText(c.x, 200, 15, 16, c.spacing, c.text, c.centre);
    const std::string shown = std::string(".") + c.shown + ".";
    EXPECT_EQ(TextAt(c.left - c.spacing, 200, c.spacing, shown.size()), shown);
    // Nothing else on the screen: one marker pixel per shown glyph.
    EXPECT_EQ(CountLitPixels(), static_cast<int>(std::count_if(shown.begin(), shown.end(),
                                                               [](char ch) { return ch != '.'; })));
  }
}

struct HudCase {
  int32_t score, hiScore, wave;
  const char *scoreShown, *bestShown, *waveShown;
  int32_t hiScoreAfter;
};

constexpr HudCase HudCases[] = {
    {0, 1860, 1, "000000", "001860", "01", 1860},
    // the best score follows a higher score at once
    {2000, 1860, 3, "002000", "002000", "03", 2000},
    {1860, 1860, 10, "001860", "001860", "10", 1860},
    // a million and more, and wave 100 on: the first digits
    {1234567, 999999, 123, "123456", "123456", "12", 1234567},
};

TEST_F(ScreenTexts, HudShowsScoreBestAndWave) {
  for (const HudCase &c : HudCases) {
    SCOPED_TRACE("score " + std::to_string(c.score) + ", wave " + std::to_string(c.wave));
    Score = c.score;
    HiScore = c.hiScore;
    Wave = c.wave;
    RT_ClearScreen(0, 0, 0);
    DrawHud();
    EXPECT_EQ(TextAt(100, 5, 15, 6), c.scoreShown);
    EXPECT_EQ(TextAt(490, 5, 15, 6), c.bestShown);
    EXPECT_EQ(TextAt(300, 5, 15, 2), c.waveShown);
    EXPECT_EQ(HiScore, c.hiScoreAfter);
    EXPECT_EQ(CountLitPixels(), 14);
  }
}

struct StateLine {
  int32_t y, spacing, left;
  std::string shown;
};

TEST_F(ScreenTexts, EachStateShowsItsLines) {
  GameTitle = "Heliomants";
  HiScoreTable[0] = "012345";
  HiScoreTable[1] = "001725";
  HiScoreTable[2] = "000090";
  auto centred = [](int32_t y, const char *text) {
    std::string shown = text;
    for (char &ch : shown)
      ch = ch == ' ' ? '.' : ch;
    return StateLine{y, 15, 320 - 7 * static_cast<int32_t>(shown.size()), shown};
  };
  const std::pair<int32_t, std::vector<StateLine>> states[] = {
      {StatePlaying, {}},
      {StateGetReady, {{200, 20, 240, "PLAYER.1"}}},
      {StateGameOver, {{200, 15, 257, "GAME.OVER"}}},
      {StateHighScores,
       {{140, 15, 243, "HIGH.SCORES"},
        {180, 15, 250, "1ST.012345"},
        {210, 15, 250, "2ND.001725"},
        {240, 15, 250, "3RD.000090"}}},
      {StateTitle,
       {{140, 15, 250, "HELIOMANTS"}, {210, 15, 243, "PRESS.ENTER"}, {240, 15, 271, "TO.PLAY"}}},
      {StateCredits,
       {{140, 15, 250, "HELIOMANTS"}, centred(210, CreditLines[0]), centred(240, CreditLines[1])}},
  };
  for (const auto &[state, lines] : states) {
    SCOPED_TRACE("state " + std::to_string(state));
    GameState = state;
    RT_ClearScreen(0, 0, 0);
    DrawStateTexts();
    int marks = 0;
    for (const StateLine &line : lines) {
      EXPECT_EQ(TextAt(line.left, line.y, line.spacing, line.shown.size()), line.shown);
      marks +=
          std::count_if(line.shown.begin(), line.shown.end(), [](char ch) { return ch != '.'; });
    }
    EXPECT_EQ(CountLitPixels(), marks);
  }
}

TEST(CreditLines, UseOnlyCharactersWithGlyphs) {
  for (const char *line : CreditLines) {
    SCOPED_TRACE(line);
    EXPECT_GT(std::strlen(line), 0u);
    EXPECT_LE(15 * std::strlen(line), 640u) << "wider than the screen";
    for (const char *ch = line; *ch != '\0'; ch++)
      EXPECT_NE(std::strchr("0123456789 ABCDEGHILMNOPRSTUVY", *ch), nullptr)
          << "no glyph for '" << *ch << "'";
  }
}

// The outline of a resting ship, one per spare ship, in grey with no white dots.
TEST_F(ScreenTexts, ShipIconsOnePerSpareShip) {
  const float modelX[7] = {0, 6, 0, -6, 3, -3, 0}, modelY[7] = {-7, 6, 3, 6, 4, 4, 7};
  std::copy(modelX, modelX + 7, ShipModelX);
  std::copy(modelY, modelY + 7, ShipModelY);
  const int32_t grey = ScreenValue(RT_RGB(150, 150, 150));
  for (int32_t lives : {0, 1, 2, 3, 5}) {
    SCOPED_TRACE("lives " + std::to_string(lives));
    Lives = lives;
    RT_ClearScreen(0, 0, 0);
    RT_StartDrawing(RT_ScreenOutput());
    DrawShipIcons();
    RT_StopDrawing();
    for (int32_t k = 1; k < lives; k++) {
      const int32_t cx = 20 * k;
      // nose, right tail, notch, left tail; the inside of the outline stays clear
      for (auto [x, y] : {std::pair{cx, 3}, {cx + 6, 16}, {cx, 13}, {cx - 6, 16}})
        EXPECT_EQ(PixelAt(x, y), grey) << "icon " << k << " at " << x << "," << y;
      EXPECT_EQ(PixelAt(cx, 9), 0) << "icon " << k;
    }
    // Every lit pixel is grey and inside the box of a spare ship's icon.
    int strays = 0;
    for (int32_t y = 0; y < 480; y++)
      for (int32_t x = 0; x < 640; x++) {
        const int32_t value = PixelAt(x, y);
        const int32_t k = (x + 10) / 20;
        const bool inIcon = k >= 1 && k < lives && std::abs(x - 20 * k) <= 6 && y >= 3 && y <= 16;
        strays += value != 0 && (value != grey || !inIcon);
      }
    EXPECT_EQ(strays, 0);
  }
}

} // namespace
