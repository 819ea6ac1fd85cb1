#pragma once
// Word-wrapped, aligned text in the built-in font.
#include <string>
#include <vector>

enum { TEXT_CENTER = 1, TEXT_RIGHT = 2, TEXT_VCENTER = 4, TEXT_BOTTOM = 8 };

// The lines of text wrapped to width pixels (no wrapping when width is not above 0); never
// empty. Each line keeps the delimiters of its words. DrawTextEx and CountLinesEx both use it.
std::vector<std::string> WrapText(const std::string& text, float width);

// Draws the wrapped lines in the current colour, aligned by the TEXT_* flags within width and
// height; returns 0.
int DrawTextEx(const std::string& text, float x, float y, float width, float height, int flags);
// The number of lines DrawTextEx draws for the same text and width; at least 1.
int CountLinesEx(const std::string& text, float width);
