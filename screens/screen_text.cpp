#include "screens/screen_text.h"

#include "core/globals.h"
#include "dialogs/dialogs.h"

void DrawScreenText(const std::string& text, int x, int y, int r, int g, int b) {
  DrawShadowedText(text, x, y, 0, r, g, b);
  SetColor(255, 255, 255);
}

void DrawScreenText(const std::string& text, int x, int y, const int rgb[3]) {
  DrawScreenText(text, x, y, rgb[0], rgb[1], rgb[2]);
}

void DrawRowText(const std::string& text, int x, int y, bool selected) {
  if (selected)
    DrawScreenText(text, x, y, answerColor);
  else
    DrawScreenText(text, x, y, 255, 255, 255);
}
