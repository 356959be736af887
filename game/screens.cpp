// The HUD, the spare-ship icons, the texts of each state and the high-score table.
// Every character is a glyph sprite blitted over the world; no font is involved.
#include "game/screens.h"

#include "game/pixels.h"
#include "game/world.h"
#include "runtime/drawing/drawing.h"
#include "runtime/screen/screen.h"

// Constants

constexpr int32_t GlyphWidth = 15, GlyphHeight = 16;
constexpr int32_t GlyphSpriteOffset = 36; // a character's glyph is sprite (code - 36)
constexpr int32_t ScoreDigits = 6, WaveDigits = 2;

// The credits screen's two lines; only characters with a glyph.
const char *const CreditLines[2] = {"A VECTOR ARCADE GAME", "BY THE HELIOMANTS TEAM"};

// Internal helpers

// Digits and capitals have glyph numbers (a letter the game never writes has an
// empty row, which draws nothing); any other character would show another
// shape or reach past the sprite table, so it is left blank.
static void DrawGlyph(char character, int32_t x, int32_t y) {
  if ((character >= '0' && character <= '9') || (character >= 'A' && character <= 'Z'))
    RT_DisplayTransparentSprite(character - GlyphSpriteOffset, x, y);
}

// Left-padded with "0" to digits characters; a longer text keeps its first ones.
static std::string FitDigits(const std::string &text, int32_t digits) {
  if (static_cast<int32_t>(text.size()) >= digits)
    return text.substr(0, digits);
  return std::string(digits - text.size(), '0') + text;
}

// The table's entries from the settings file keep the number's last six digits.
static std::string LastSixDigits(int32_t number) {
  const std::string padded = "000000" + std::to_string(number);
  return padded.substr(padded.size() - ScoreDigits);
}

static void DrawCentredText(int32_t y, int32_t spacing, const std::string &text) {
  DrawSpriteText(0, y, GlyphWidth, GlyphHeight, spacing, text, 1);
}

// Glyph text

void DrawSpriteNumber(int32_t x, int32_t y, int32_t, int32_t, int32_t spacing, int32_t digits,
                      const std::string &text) {
  const std::string shown = FitDigits(text, digits);
  for (size_t k = 0; k < shown.size(); k++)
    DrawGlyph(shown[k], x + static_cast<int32_t>(k) * spacing, y);
}

void DrawSpriteText(int32_t x, int32_t y, int32_t, int32_t, int32_t spacing,
                    const std::string &text, int32_t centre) {
  const int32_t length = static_cast<int32_t>(text.size());
  // Half the spacing in whole pixels: with 15 each character counts 7.
  if (centre != 0)
    x = 320 - (spacing >> 1) * length;
  for (int32_t k = 0; k < length; k++) {
    const char upper = (text[k] >= 'a' && text[k] <= 'z') ? text[k] - 'a' + 'A' : text[k];
    DrawGlyph(upper, x + k * spacing, y);
  }
}

// High-score table

void FillHiScoreTable() {
  HiScoreTable[0] = LastSixDigits(HiScore);
  HiScoreTable[1] = LastSixDigits(SecondScore);
  HiScoreTable[2] = LastSixDigits(ThirdScore);
}

// Compared as text, so an equal score goes below the entry it equals.
int32_t InsertHighScore(int32_t newScore, int32_t best) {
  const std::string entry = FitDigits(std::to_string(newScore), ScoreDigits);
  if (entry > HiScoreTable[0]) {
    HiScoreTable[2] = HiScoreTable[1];
    HiScoreTable[1] = HiScoreTable[0];
    HiScoreTable[0] = entry;
  } else if (entry > HiScoreTable[1]) {
    HiScoreTable[2] = HiScoreTable[1];
    HiScoreTable[1] = entry;
  } else if (entry > HiScoreTable[2]) {
    HiScoreTable[2] = entry;
  }
  return newScore > best ? newScore : best;
}

// HUD

// The ship's outline at rest, one icon per ship after the one in play.
void DrawShipIcons() {
  for (int32_t k = 1; k < Lives; k++) {
    int32_t x[4], y[4];
    for (int i = 0; i < 4; i++) {
      x[i] = RoundPixel(ShipModelX[i] + 20.0f * k);
      y[i] = RoundPixel(ShipModelY[i] + 10.0f);
    }
    for (int i = 0; i < 4; i++)
      RT_LineXY2(x[i], y[i], x[(i + 1) % 4], y[(i + 1) % 4], OutlineGrey);
  }
}

void DrawHud() {
  DrawSpriteNumber(100, 5, GlyphWidth, GlyphHeight, GlyphWidth, ScoreDigits, std::to_string(Score));
  if (Score > HiScore)
    HiScore = Score;
  DrawSpriteNumber(490, 5, GlyphWidth, GlyphHeight, GlyphWidth, ScoreDigits,
                   std::to_string(HiScore));
  DrawSpriteNumber(300, 5, GlyphWidth, GlyphHeight, GlyphWidth, WaveDigits, std::to_string(Wave));
}

// State texts

void DrawStateTexts() {
  switch (GameState) {
  case StateGetReady:
    DrawCentredText(200, 20, "PLAYER 1"); // set apart from the other texts
    break;
  case StateGameOver:
    DrawCentredText(200, GlyphWidth, "GAME OVER");
    break;
  case StateHighScores:
    DrawCentredText(140, GlyphWidth, "HIGH SCORES");
    DrawCentredText(180, GlyphWidth, "1st " + HiScoreTable[0]);
    DrawCentredText(210, GlyphWidth, "2nd " + HiScoreTable[1]);
    DrawCentredText(240, GlyphWidth, "3rd " + HiScoreTable[2]);
    break;
  case StateTitle:
    DrawCentredText(140, GlyphWidth, GameTitle);
    DrawCentredText(210, GlyphWidth, "PRESS ENTER");
    DrawCentredText(240, GlyphWidth, "TO PLAY");
    break;
  case StateCredits:
    DrawCentredText(140, GlyphWidth, GameTitle);
    DrawCentredText(210, GlyphWidth, CreditLines[0]);
    DrawCentredText(240, GlyphWidth, CreditLines[1]);
    break;
  default:
    break;
  }
}
