// Word wrap and aligned drawing of text.
#include "dialogs/text.h"
#include "platform/graphics/graphics.h"

namespace {

// Every code from 0 to 32 ends a word and belongs to it.
bool IsDelimiter(char c) { return static_cast<unsigned char>(c) <= 32; }

// Wrapping at a width that is not above 0 (or NaN) is unlimited: 12,500 characters.
float EffectiveWidth(float width) { return width > 0.0f ? width : 100000.0f; }

}  // namespace

std::vector<std::string> WrapText(const std::string& text, float width) {
  const float limit = EffectiveWidth(width);
  std::vector<std::string> lines(1);
  size_t p = 0;
  while (p < text.size()) {
    size_t end = p;
    while (end < text.size() && !IsDelimiter(text[end])) ++end;
    const bool newline = end < text.size() && text[end] == '\n';
    const std::string word = text.substr(p, end < text.size() ? end - p + 1 : std::string::npos);
    std::string& current = lines.back();
    if (newline) {
      // A line break closes the line; a word too wide for it goes on a line of its own.
      if (TextWidth(current + word) >= limit)
        lines.push_back(" " + word);
      else
        current += word;
      lines.push_back(" ");
    } else if (current.empty() || TextWidth(current + word) < limit) {
      current += word;
    } else {
      lines.emplace_back();
      continue;  // the same word again, on the fresh line
    }
    p += word.size();
  }
  return lines;
}

int CountLinesEx(const std::string& text, float width) {
  return static_cast<int>(WrapText(text, width).size());
}

int DrawTextEx(const std::string& text, float x, float y, float width, float height, int flags) {
  const std::vector<std::string> lines = WrapText(text, width);
  const float alignWidth = width > 0.0f ? width : 0.0f;
  const int blockHeight = TextHeight(text) * static_cast<int>(lines.size());
  float top = y;
  if (flags & TEXT_VCENTER)
    top = y + height * 0.5f - blockHeight * 0.5f;
  else if (flags & TEXT_BOTTOM)
    top = y + height - blockHeight;
  for (const std::string& line : lines) {
    float left = x;
    if (flags & TEXT_CENTER)
      left = x + alignWidth * 0.5f - TextWidth(line) * 0.5f;
    else if (flags & TEXT_RIGHT)
      left = x + alignWidth - TextWidth(line);
    DrawText(line, left, top);
    top += TextHeight(line);
  }
  return 0;
}
