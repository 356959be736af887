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
static void DrawGlyph(char Character, int32_t X, int32_t Y) {
  if ((Character >= '0' && Character <= '9') || (Character >= 'A' && Character <= 'Z'))
    RT_DisplayTransparentSprite(Character - GlyphSpriteOffset, X, Y);
}

// Left-padded with "0" to Digits characters; a longer text keeps its first ones.
static std::string FitDigits(const std::string &Text, int32_t Digits) {
  if (static_cast<int32_t>(Text.size()) >= Digits)
    return Text.substr(0, Digits);
  return std::string(Digits - Text.size(), '0') + Text;
}

// The table's entries from the settings file keep the number's last six digits.
static std::string LastSixDigits(int32_t Number) {
  const std::string Padded = "000000" + std::to_string(Number);
  return Padded.substr(Padded.size() - ScoreDigits);
}

static void DrawCentredText(int32_t Y, int32_t Spacing, const std::string &Text) {
  DrawSpriteText(0, Y, GlyphWidth, GlyphHeight, Spacing, Text, 1);
}

// Glyph text

void DrawSpriteNumber(int32_t X, int32_t Y, int32_t, int32_t, int32_t Spacing, int32_t Digits,
                      const std::string &Text) {
  const std::string Shown = FitDigits(Text, Digits);
  for (size_t k = 0; k < Shown.size(); k++)
    DrawGlyph(Shown[k], X + static_cast<int32_t>(k) * Spacing, Y);
}

void DrawSpriteText(int32_t X, int32_t Y, int32_t, int32_t, int32_t Spacing,
                    const std::string &Text, int32_t Centre) {
  const int32_t Length = static_cast<int32_t>(Text.size());
  // Half the spacing in whole pixels: with 15 each character counts 7.
  if (Centre != 0)
    X = 320 - (Spacing >> 1) * Length;
  for (int32_t k = 0; k < Length; k++) {
    const char Upper = (Text[k] >= 'a' && Text[k] <= 'z') ? Text[k] - 'a' + 'A' : Text[k];
    DrawGlyph(Upper, X + k * Spacing, Y);
  }
}

// High-score table

void FillHiScoreTable() {
  HiScoreTable[0] = LastSixDigits(HiScore);
  HiScoreTable[1] = LastSixDigits(SecondScore);
  HiScoreTable[2] = LastSixDigits(ThirdScore);
}

// Compared as text, so an equal score goes below the entry it equals.
int32_t InsertHighScore(int32_t NewScore, int32_t Best) {
  const std::string Entry = FitDigits(std::to_string(NewScore), ScoreDigits);
  if (Entry > HiScoreTable[0]) {
    HiScoreTable[2] = HiScoreTable[1];
    HiScoreTable[1] = HiScoreTable[0];
    HiScoreTable[0] = Entry;
  } else if (Entry > HiScoreTable[1]) {
    HiScoreTable[2] = HiScoreTable[1];
    HiScoreTable[1] = Entry;
  } else if (Entry > HiScoreTable[2]) {
    HiScoreTable[2] = Entry;
  }
  return NewScore > Best ? NewScore : Best;
}

// HUD

// The ship's outline at rest, one icon per ship after the one in play.
void DrawShipIcons() {
  for (int32_t k = 1; k < Lives; k++) {
    int32_t X[4], Y[4];
    for (int i = 0; i < 4; i++) {
      X[i] = RoundPixel(ShipModelX[i] + 20.0f * k);
      Y[i] = RoundPixel(ShipModelY[i] + 10.0f);
    }
    for (int i = 0; i < 4; i++)
      RT_LineXY2(X[i], Y[i], X[(i + 1) % 4], Y[(i + 1) % 4], OutlineGrey);
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
