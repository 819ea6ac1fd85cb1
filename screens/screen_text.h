#pragma once
// One-line texts of the screens' dialog boxes: a black shadow one pixel right and down, then
// the text in its colour; the colour is white again afterwards.
#include <string>

void DrawScreenText(const std::string& text, int x, int y, const int rgb[3]);
void DrawScreenText(const std::string& text, int x, int y, int r, int g, int b);
// A row of a list: answerColor when selected, else white.
void DrawRowText(const std::string& text, int x, int y, bool selected);
