// Everything written on the screen apart from the world: the HUD, the spare-ship
// icons, the texts of each state, and the high-score table.
#pragma once

#include <cstdint>
#include <string>

// Text from glyph sprites, one sprite per character, spacing pixels apart; a
// character without a glyph is left blank.
void DrawSpriteNumber(int32_t x, int32_t y, int32_t glyphWidth, int32_t glyphHeight,
                      int32_t spacing, int32_t digits, const std::string &text);
void DrawSpriteText(int32_t x, int32_t y, int32_t glyphWidth, int32_t glyphHeight, int32_t spacing,
                    const std::string &text, int32_t centre);

void FillHiScoreTable();                                 // from HiScore, SecondScore, ThirdScore
int32_t InsertHighScore(int32_t newScore, int32_t best); // enters a score; the new best
void DrawShipIcons();  // spare ships, inside the screen's drawing pass
void DrawHud();        // score, best score (raised to the score first) and wave
void DrawStateTexts(); // the current state's texts

extern const char *const CreditLines[2]; // the credits screen's two lines
