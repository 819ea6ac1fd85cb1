#pragma once
// Word-wrapped, aligned text in the built-in font.
#include <string>

enum { TEXT_CENTER = 1, TEXT_RIGHT = 2, TEXT_VCENTER = 4, TEXT_BOTTOM = 8 };

int DrawTextEx(const std::string& text, float x, float y, float width, float height, int flags);
int CountLinesEx(const std::string& text, float width);
