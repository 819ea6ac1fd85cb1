// The font converter, run on a small PSF1 font whose glyph order differs from the codes.
#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdlib>
#include <vector>

#include "../temp_dir.h"

namespace {

// 256 glyphs of 16 rows; glyph g has every row equal to g. The unicode table maps code c
// (32..126) to glyph 255 - c; code 127 only through its picture U+2302, on glyph 7.
std::vector<uint8_t> TestFont() {
  std::vector<uint8_t> f = {0x36, 0x04, 0x02, 16};
  for (int g = 0; g < 256; ++g)
    for (int r = 0; r < 16; ++r) f.push_back(static_cast<uint8_t>(g));
  for (int g = 0; g < 256; ++g) {
    auto put = [&f](unsigned u) { f.push_back(u & 0xFF); f.push_back(u >> 8); };
    const int code = 255 - g;
    if (code >= 32 && code <= 126) put(code);
    if (g == 7) put(0x2302);
    if (g == 200) { put(0xFFFE); put('A'); put(0x301); }  // a sequence, not the code 'A'
    put(0xFFFF);
  }
  return f;
}

}  // namespace

TEST(GfxFontgen, MapsCodesThroughTheUnicodeTable) {
  const TempDir dir;
  const std::string font = dir / "t.psf.gz", out = dir / "t.cpp";
  const std::vector<uint8_t> bytes = TestFont();
  gzFile gz = gzopen(font.c_str(), "wb");
  gzwrite(gz, bytes.data(), static_cast<unsigned>(bytes.size()));
  gzclose(gz);
  const std::string tool = std::string(CORVEL_BINARY_DIR) + "/tools/corvel_fontgen";
  ASSERT_EQ(std::system((tool + " " + font + " " + out).c_str()), 0);

  const std::string cpp = ReadAll(out);
  EXPECT_NE(cpp.find("kFontGlyphs[96][16]"), std::string::npos);
  auto rowOf = [&cpp](int code) {
    const size_t at = cpp.rfind('{', cpp.find("},  // " + std::to_string(code) + "\n"));
    return cpp.substr(at + 1, 4);
  };
  EXPECT_EQ(rowOf(32), "0xDF");   // glyph 223
  EXPECT_EQ(rowOf(65), "0xBE");   // glyph 190, not the sequence on glyph 200
  EXPECT_EQ(rowOf(126), "0x81");  // glyph 129
  EXPECT_EQ(rowOf(127), "0x07");

  // Not a PSF1 font: refused.
  const std::string bad = dir.Write("bad.psf", "not a font");
  EXPECT_NE(std::system((tool + " " + bad + " " + out + " 2>/dev/null").c_str()), 0);
}
