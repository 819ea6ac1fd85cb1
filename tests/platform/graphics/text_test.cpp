#include <cstring>

#include "support.h"

class GfxText : public GfxTest {
protected:
  // Pixels of the given colour inside [x0, x1) x [y0, y1).
  int Lit(int x0, int y0, int x1, int y1, uint32_t colour) {
    int n = 0;
    for (int y = y0; y < y1; ++y)
      for (int x = x0; x < x1; ++x) n += At(x, y) == colour;
    return n;
  }
};

TEST(GfxTextMeasure, WidthCountsOnlyGlyphCodes) {
  const struct {
    std::string text;
    int width;
  } cases[] = {
      {"", 0},           {"A", 8},          {"Hello world", 88}, {" ", 8},
      {"\x7f", 8},       {"a\nb", 16},      {"\t\r", 0},         {std::string("\0x", 2), 8},
      {"\xc8", 0},       {"caf\xc3\xa9", 24}, {"\x80\xff", 0},
  };
  for (const auto& c : cases) EXPECT_EQ(TextWidth(c.text), c.width) << c.text;
  EXPECT_EQ(TextHeight(""), 16);
  EXPECT_EQ(TextHeight("Wg"), 16);
  EXPECT_EQ(TextHeight("\xc8"), 16);
}

TEST_F(GfxText, GlyphsDrawInTheColourFromTheTopLeft) {
  SetColor(255, 0, 0);
  DrawText("A", 10, 20);
  const int inA = Lit(10, 20, 18, 36, 0xFFFF0000);
  EXPECT_GT(inA, 10);
  EXPECT_EQ(Lit(0, 0, 64, 64, 0xFFFF0000), inA);  // nothing outside the 8 x 16 cell
  // The same glyph twice: the second one advances by 8 and looks the same.
  Cls();
  DrawText("AA", 10, 20);
  for (int y = 20; y < 36; ++y)
    for (int x = 10; x < 18; ++x) ASSERT_EQ(At(x, y), At(x + 8, y)) << x << "," << y;
  EXPECT_EQ(Lit(0, 0, 64, 64, 0xFFFF0000), 2 * inA);
}

TEST_F(GfxText, CharactersWithoutGlyphDrawNothingAndTakeNoRoom) {
  DrawText("\xc8\x01 \xff", 0, 0);
  EXPECT_EQ(Lit(0, 0, 64, 64, 0xFF000000), 64 * 64);
  DrawText("A", 30, 30);
  std::vector<uint32_t> plain;
  for (int x = 30; x < 38; ++x)
    for (int y = 30; y < 46; ++y) plain.push_back(At(x, y));
  Cls();
  DrawText("\xc8\nA", 30, 30);  // same picture: the codes before 'A' are skipped
  std::vector<uint32_t> skipped;
  for (int x = 30; x < 38; ++x)
    for (int y = 30; y < 46; ++y) skipped.push_back(At(x, y));
  EXPECT_EQ(plain, skipped);
}

TEST_F(GfxText, TextUsesAlphaAndScale) {
  SetBlend(ALPHABLEND);
  SetAlpha(0.5f);
  DrawText("A", 0, 0);
  EXPECT_GT(Lit(0, 0, 8, 16, 0xFF808080), 10);
  EXPECT_EQ(Lit(0, 0, 8, 16, 0xFFFFFFFF), 0);
  Cls();
  SetAlpha(1);
  DrawText("A", 0, 0);
  const int normal = Lit(0, 0, 64, 64, 0xFFFFFFFF);
  Cls();
  SetScale(2, 2);
  DrawText("A", 0, 0);
  EXPECT_EQ(Lit(0, 0, 64, 64, 0xFFFFFFFF), 4 * normal);
  EXPECT_EQ(Lit(16, 0, 64, 64, 0xFFFFFFFF), 0);
}

extern const uint8_t kFontGlyphs[96][16];

// Every glyph is drawn as its table rows, most significant bit leftmost.
TEST_F(GfxText, GlyphPixelsFollowTheFontTable) {
  for (int code = 32; code <= 127; ++code) {
    Cls();
    DrawText(std::string(1, static_cast<char>(code)), 3, 5);
    int lit = 0;
    for (int row = 0; row < 16; ++row) {
      for (int col = 0; col < 8; ++col) {
        const bool on = kFontGlyphs[code - 32][row] & (0x80 >> col);
        lit += on;
        ASSERT_EQ(At(3 + col, 5 + row) == 0xFFFFFFFFu, on) << code << " row " << row << " col " << col;
      }
    }
    if (code == 32) {
      EXPECT_EQ(lit, 0);
    } else if (code < 127) {
      EXPECT_GT(lit, 0) << code;
    }
  }
  for (int a = 'A'; a <= 'Z'; ++a)
    for (int b = a + 1; b <= 'Z'; ++b)
      EXPECT_NE(std::memcmp(kFontGlyphs[a - 32], kFontGlyphs[b - 32], 16), 0) << char(a) << char(b);
}
