// Everything written on the screen apart from the world: the HUD, the spare-ship
// icons, the texts of each state, and the high-score table.
#pragma once

#include <cstdint>
#include <string>

// Text from glyph sprites, one sprite per character, Spacing pixels apart; a
// character without a glyph is left blank.
void DrawSpriteNumber(int32_t X, int32_t Y, int32_t GlyphWidth, int32_t GlyphHeight,
                      int32_t Spacing, int32_t Digits, const std::string &Text);
void DrawSpriteText(int32_t X, int32_t Y, int32_t GlyphWidth, int32_t GlyphHeight, int32_t Spacing,
                    const std::string &Text, int32_t Centre);

void FillHiScoreTable();                                 // from HiScore, SecondScore, ThirdScore
int32_t InsertHighScore(int32_t NewScore, int32_t Best); // enters a score; the new best
void DrawShipIcons();  // spare ships, inside the screen's drawing pass
void DrawHud();        // score, best score (raised to the score first) and wave
void DrawStateTexts(); // the current state's texts

extern const char *const CreditLines[2]; // the credits screen's two lines
