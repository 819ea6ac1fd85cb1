// Pictures as authors' editors save them: PNGs of every colour type and bit depth written with
// libpng, JPEGs written with libjpeg, and BMP and TGA files put together byte by byte here,
// each read back through the image loader and compared with what it shows, pixel by pixel.
#include <gtest/gtest.h>
#include <png.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "platform/graphics/graphics.h"
#include "platform/files/files.h"
#include "support/images.h"
#include "../temp_dir.h"

namespace {

constexpr int kWidth = 11, kHeight = 9;  // odd sizes: packed rows end part-way through a byte

// 0xAARRGGBB of what a pixel must show.
using TArgbAt = std::function<uint32_t(int x, int y)>;

uint32_t Argb(unsigned a, unsigned r, unsigned g, unsigned b) {
  return (a & 255) << 24 | (r & 255) << 16 | (g & 255) << 8 | (b & 255);
}

// A spread of values: neighbours differ, and so do rows and channels.
unsigned Noise(int x, int y, int channel) {
  unsigned v = static_cast<unsigned>(x * 73 + y * 151 + channel * 199 + x * y * 17);
  v ^= v >> 3;
  return v * 2654435761u >> 20;
}

// Compares the loaded picture with the expected one; "" when every pixel agrees within
// `tolerance` in each channel, else the first pixel that does not.
std::string Mismatch(const TPixmapPtr& pm, int w, int h, const TArgbAt& want, int tolerance = 0) {
  if (!pm) return "not loaded";
  if (pm->width != w || pm->height != h)
    return "size " + std::to_string(pm->width) + " x " + std::to_string(pm->height);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      const uint32_t got = ReadPixel(pm, x, y), expected = want(x, y);
      for (int shift = 0; shift < 32; shift += 8) {
        const int a = static_cast<int>(got >> shift & 255);
        const int b = static_cast<int>(expected >> shift & 255);
        if (std::abs(a - b) > tolerance) {
          char text[96];
          std::snprintf(text, sizeof text, "pixel (%d, %d) is %08X, not %08X", x, y, got, expected);
          return text;
        }
      }
    }
  }
  return "";
}

// ---- PNG, written with libpng from raw samples packed here ----

enum class Trns { None, Key };  // Key: a grey or colour key, or alpha for the first palette entries

struct PngCase {
  const char* name;
  int colourType;
  int depth;
  bool interlaced;
  Trns trns;
};

int Channels(int colourType) {
  switch (colourType) {
    case PNG_COLOR_TYPE_GRAY_ALPHA: return 2;
    case PNG_COLOR_TYPE_RGB: return 3;
    case PNG_COLOR_TYPE_RGB_ALPHA: return 4;
    default: return 1;  // grey, palette
  }
}

int PaletteSize(int depth) { return depth == 8 ? 200 : 1 << depth; }
png_color PaletteColour(int i) {
  return {static_cast<png_byte>(i * 37 + 5), static_cast<png_byte>(255 - i * 11),
          static_cast<png_byte>(i * 90 + 17)};
}
png_byte PaletteAlpha(int i) { return static_cast<png_byte>(i * 60 + 3); }
constexpr int kPaletteAlphas = 3;  // a tRNS chunk shorter than the palette

// Sample `channel` of pixel (x, y). A 16-bit sample has k in its high byte and a low byte
// within 63 of k, so that both ways of narrowing it, the high byte and the nearest of the
// 8-bit values, give k.
unsigned Sample(const PngCase& c, int x, int y, int channel) {
  const unsigned n = Noise(x, y, channel);
  if (c.colourType == PNG_COLOR_TYPE_PALETTE) return n % PaletteSize(c.depth);
  if (c.depth == 16) return (n & 255) << 8 | ((n & 255) ^ (n >> 8 & 63));
  return n & ((1u << c.depth) - 1);
}

unsigned To8Bits(const PngCase& c, unsigned v) {
  return c.depth == 16 ? v >> 8 : v * 255 / ((1u << c.depth) - 1);
}

// The key that tRNS makes transparent: the sample values of pixel (2, 1).
std::vector<unsigned> Key(const PngCase& c) {
  std::vector<unsigned> key;
  for (int k = 0; k < Channels(c.colourType); ++k) key.push_back(Sample(c, 2, 1, k));
  return key;
}

uint32_t PngShows(const PngCase& c, int x, int y) {
  std::vector<unsigned> s;
  for (int k = 0; k < Channels(c.colourType); ++k) s.push_back(Sample(c, x, y, k));
  if (c.colourType == PNG_COLOR_TYPE_PALETTE) {
    const png_color p = PaletteColour(static_cast<int>(s[0]));
    const bool seeThrough = c.trns == Trns::Key && static_cast<int>(s[0]) < kPaletteAlphas;
    return Argb(seeThrough ? PaletteAlpha(static_cast<int>(s[0])) : 255, p.red, p.green, p.blue);
  }
  std::vector<unsigned> v;
  for (unsigned sample : s) v.push_back(To8Bits(c, sample));
  const unsigned alpha = c.trns == Trns::Key && s == Key(c) ? 0 : 255;
  switch (c.colourType) {
    case PNG_COLOR_TYPE_GRAY: return Argb(alpha, v[0], v[0], v[0]);
    case PNG_COLOR_TYPE_GRAY_ALPHA: return Argb(v[1], v[0], v[0], v[0]);
    case PNG_COLOR_TYPE_RGB: return Argb(alpha, v[0], v[1], v[2]);
    default: return Argb(v[3], v[0], v[1], v[2]);
  }
}

std::vector<uint8_t> PngFile(const PngCase& c) {
  return testsupport::PngBytes([&c](png_structp png, png_infop info) {
    png_set_IHDR(png, info, kWidth, kHeight, c.depth, c.colourType,
                 c.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    std::vector<png_color> palette;
    std::vector<png_byte> alphas;
    if (c.colourType == PNG_COLOR_TYPE_PALETTE) {
      for (int i = 0; i < PaletteSize(c.depth); ++i) palette.push_back(PaletteColour(i));
      png_set_PLTE(png, info, palette.data(), static_cast<int>(palette.size()));
      if (c.trns == Trns::Key) {
        for (int i = 0; i < kPaletteAlphas; ++i) alphas.push_back(PaletteAlpha(i));
        png_set_tRNS(png, info, alphas.data(), kPaletteAlphas, nullptr);
      }
    } else if (c.trns == Trns::Key) {
      const std::vector<unsigned> key = Key(c);
      png_color_16 colour{};
      if (c.colourType == PNG_COLOR_TYPE_GRAY) {
        colour.gray = static_cast<png_uint_16>(key[0]);
      } else {
        colour.red = static_cast<png_uint_16>(key[0]);
        colour.green = static_cast<png_uint_16>(key[1]);
        colour.blue = static_cast<png_uint_16>(key[2]);
      }
      png_set_tRNS(png, info, nullptr, 0, &colour);
    }
    png_write_info(png, info);
    // Rows as stored: samples below 8 bits packed from the high bit, 16-bit ones big-endian.
    const int channels = Channels(c.colourType);
    std::vector<std::vector<png_byte>> rows(kHeight);
    std::vector<png_bytep> pointers;
    for (int y = 0; y < kHeight; ++y) {
      std::vector<png_byte>& row = rows[y];
      row.assign((kWidth * channels * c.depth + 7) / 8, 0);
      int bit = 0;
      for (int x = 0; x < kWidth; ++x) {
        for (int k = 0; k < channels; ++k, bit += c.depth) {
          const unsigned v = Sample(c, x, y, k);
          if (c.depth == 16) {
            row[bit / 8] = static_cast<png_byte>(v >> 8);
            row[bit / 8 + 1] = static_cast<png_byte>(v);
          } else {
            row[bit / 8] |= static_cast<png_byte>(v << (8 - c.depth - bit % 8));
          }
        }
      }
      pointers.push_back(row.data());
    }
    png_write_image(png, pointers.data());  // with Adam7, writes the passes itself
  });
}

class ImageFormats : public ::testing::Test {
protected:
  std::string Save(const std::string& name, const std::vector<uint8_t>& bytes) {
    const std::string path = dir / name;
    WriteFileBytes(path, bytes);
    return path;
  }
  TempDir dir;
};

TEST_F(ImageFormats, PngsOfEveryColourTypeAndDepth) {
  constexpr int G = PNG_COLOR_TYPE_GRAY, GA = PNG_COLOR_TYPE_GRAY_ALPHA,
                P = PNG_COLOR_TYPE_PALETTE, RGB = PNG_COLOR_TYPE_RGB,
                RGBA = PNG_COLOR_TYPE_RGB_ALPHA;
  const PngCase cases[] = {
      {"grey 1-bit", G, 1, false, Trns::None},
      {"grey 2-bit", G, 2, false, Trns::None},
      {"grey 4-bit", G, 4, false, Trns::None},
      {"grey 8-bit", G, 8, false, Trns::None},
      {"grey 16-bit", G, 16, false, Trns::None},
      {"grey 4-bit with a transparent grey", G, 4, false, Trns::Key},
      {"grey 8-bit with a transparent grey", G, 8, false, Trns::Key},
      {"grey and alpha 8-bit", GA, 8, false, Trns::None},
      {"grey and alpha 16-bit", GA, 16, false, Trns::None},
      {"palette 1-bit", P, 1, false, Trns::None},
      {"palette 2-bit", P, 2, false, Trns::None},
      {"palette 4-bit", P, 4, false, Trns::None},
      {"palette 8-bit", P, 8, false, Trns::None},
      {"palette 4-bit with alpha entries", P, 4, false, Trns::Key},
      {"palette 8-bit with alpha entries", P, 8, false, Trns::Key},
      {"RGB 8-bit", RGB, 8, false, Trns::None},
      {"RGB 8-bit with a transparent colour", RGB, 8, false, Trns::Key},
      {"RGB 16-bit", RGB, 16, false, Trns::None},
      {"RGBA 8-bit", RGBA, 8, false, Trns::None},
      {"RGBA 16-bit", RGBA, 16, false, Trns::None},
      {"interlaced grey 2-bit", G, 2, true, Trns::None},
      {"interlaced grey and alpha 8-bit", GA, 8, true, Trns::None},
      {"interlaced palette 8-bit with alpha entries", P, 8, true, Trns::Key},
      {"interlaced RGB 16-bit", RGB, 16, true, Trns::None},
      {"interlaced RGBA 8-bit", RGBA, 8, true, Trns::None},
  };
  for (const PngCase& c : cases) {
    const std::vector<uint8_t> bytes = PngFile(c);
    ASSERT_FALSE(bytes.empty()) << c.name;
    const TPixmapPtr pm = LoadPixmap(Save("picture.png", bytes));
    EXPECT_EQ(Mismatch(pm, kWidth, kHeight, [&](int x, int y) { return PngShows(c, x, y); }), "")
        << c.name;
  }
}

// ---- JPEG, written with libjpeg ----

// Flat 16 x 16 blocks, which come back from the lossy coding within a step or two when the
// colour is kept for every pixel (as editors save at high quality).
uint32_t BlockColour(int x, int y) {
  const int block = x / 16 + 3 * (y / 16);
  return static_cast<uint32_t>(Noise(block, 0, 0) & 255) << 16 |
         static_cast<uint32_t>(Noise(block, 0, 1) & 255) << 8 | (Noise(block, 0, 2) & 255);
}

TEST_F(ImageFormats, JpegsColourAndGreyBaselineAndProgressive) {
  const struct {
    const char* name;
    bool grey, progressive;
  } cases[] = {{"colour", false, false},
               {"colour progressive", false, true},
               {"grey", true, false},
               {"grey progressive", true, true}};
  for (const auto& c : cases) {
    const testsupport::TJpegOptions options{
        .progressive = c.progressive, .grey = c.grey, .fullChroma = true};
    const auto bytes = testsupport::JpegBytes(48, 32, BlockColour, options);
    const TPixmapPtr pm = LoadPixmap(Save("picture.jpg", bytes));
    const auto shows = [&](int x, int y) {
      const uint32_t rgb = BlockColour(x, y), red = rgb >> 16;
      return 0xFF000000u | (c.grey ? red << 16 | red << 8 | red : rgb);
    };
    EXPECT_EQ(Mismatch(pm, 48, 32, shows, 4), "") << c.name;
  }
}

// ---- BMP and TGA, put together here ----

void Put16(std::vector<uint8_t>& d, unsigned v) {
  d.push_back(static_cast<uint8_t>(v));
  d.push_back(static_cast<uint8_t>(v >> 8));
}
void Put32(std::vector<uint8_t>& d, uint32_t v) {
  Put16(d, v & 0xFFFF);
  Put16(d, v >> 16);
}

// The colour and alpha painted at each pixel.
uint32_t SourceArgb(int x, int y) {
  return Argb(Noise(x, y, 3), Noise(x, y, 0), Noise(x, y, 1), Noise(x, y, 2));
}
constexpr int kBmpPalette = 16;
uint32_t BmpPaletteColour(int i) { return Argb(255, i * 16 + 3, 250 - i * 9, i * i); }

struct BmpCase {
  const char* name;
  int bpp;
  bool topDown;
  uint32_t headerSize;  // 40, or 124 with the masks inside the header
  uint32_t compression;  // 0 plain, 3 bit fields, 6 bit fields with alpha
  uint32_t masks[4];     // red, green, blue, alpha
  uint32_t colours;      // palette entries declared; 0 means all 256
  uint32_t gap;          // bytes between the header (and palette) and the pixels
  int tolerance;         // masks narrower than 8 bits round
};

// The 32-bit word stored for a pixel under the masks: every channel cut to the width of its
// mask, and rubbish in bits that no mask covers.
uint32_t Packed(const BmpCase& c, int x, int y) {
  const uint32_t argb = SourceArgb(x, y);
  const unsigned channel[4] = {argb >> 16 & 255, argb >> 8 & 255, argb & 255, argb >> 24};
  uint32_t word = Noise(x, y, 5) << 20;
  for (int k = 0; k < 4; ++k) {
    const uint32_t mask = c.masks[k];
    if (!mask) continue;
    int shift = 0;
    while (!(mask >> shift & 1)) ++shift;
    word = (word & ~mask) | ((channel[k] * (mask >> shift) / 255) << shift & mask);
  }
  return word;
}

// The colour painted; its alpha only where the file has an alpha mask.
uint32_t BmpShows(const BmpCase& c, int x, int y) {
  if (c.bpp == 8) return BmpPaletteColour(static_cast<int>(Noise(x, y, 4) % kBmpPalette));
  const uint32_t argb = SourceArgb(x, y);
  const bool alpha = c.bpp == 32 && c.masks[3] && (c.compression == 6 || c.headerSize >= 56);
  return alpha ? argb : 0xFF000000u | (argb & 0xFFFFFF);
}

std::vector<uint8_t> BmpFile(const BmpCase& c) {
  std::vector<uint8_t> header;
  Put32(header, c.headerSize);
  Put32(header, kWidth);
  Put32(header, static_cast<uint32_t>(c.topDown ? -kHeight : kHeight));
  Put16(header, 1);
  Put16(header, static_cast<unsigned>(c.bpp));
  Put32(header, c.compression);
  Put32(header, 0);  // image size: may be 0 for these
  Put32(header, 2835);
  Put32(header, 2835);
  Put32(header, c.colours);
  Put32(header, 0);
  if (c.compression) {
    for (int k = 0; k < (c.compression == 6 || c.headerSize > 40 ? 4 : 3); ++k)
      Put32(header, c.masks[k]);
  }
  header.resize(std::max<size_t>(header.size(), c.headerSize), 0);
  if (c.bpp == 8) {
    const int entries = c.colours ? static_cast<int>(c.colours) : 256;
    for (int i = 0; i < entries; ++i) {
      const uint32_t argb = BmpPaletteColour(i % kBmpPalette);
      for (int shift : {0, 8, 16}) header.push_back(static_cast<uint8_t>(argb >> shift));
      header.push_back(0x5A);  // reserved
    }
  }
  header.insert(header.end(), c.gap, 0xEE);
  std::vector<uint8_t> pixels;
  for (int row = 0; row < kHeight; ++row) {
    const int y = c.topDown ? row : kHeight - 1 - row;
    const size_t start = pixels.size();
    for (int x = 0; x < kWidth; ++x) {
      if (c.bpp == 8) {
        pixels.push_back(static_cast<uint8_t>(Noise(x, y, 4) % kBmpPalette));
      } else if (c.bpp == 24) {
        const uint32_t argb = SourceArgb(x, y);
        for (int shift : {0, 8, 16}) pixels.push_back(static_cast<uint8_t>(argb >> shift));
      } else {
        Put32(pixels, c.compression ? Packed(c, x, y) : SourceArgb(x, y));
      }
    }
    while ((pixels.size() - start) % 4) pixels.push_back(0xCC);  // rows padded to 4 bytes
  }
  std::vector<uint8_t> file = {'B', 'M'};
  Put32(file, static_cast<uint32_t>(14 + header.size() + pixels.size()));
  Put32(file, 0);
  Put32(file, static_cast<uint32_t>(14 + header.size()));
  file.insert(file.end(), header.begin(), header.end());
  file.insert(file.end(), pixels.begin(), pixels.end());
  return file;
}

TEST_F(ImageFormats, BmpsOfEveryDepthTheReaderTakes) {
  const BmpCase cases[] = {
      {"8-bit palette, bottom-up, all 256 entries", 8, false, 40, 0, {}, 0, 0, 0},
      {"8-bit palette of 16 entries, top-down", 8, true, 40, 0, {}, kBmpPalette, 0, 0},
      {"24-bit bottom-up", 24, false, 40, 0, {}, 0, 0, 0},
      {"24-bit top-down, pixels after a gap", 24, true, 40, 0, {}, 0, 6, 0},
      {"32-bit, the fourth byte unused", 32, false, 40, 0, {}, 0, 0, 0},
      {"32-bit bit fields, red in the low byte", 32, false, 40, 3,
       {0x000000FF, 0x0000FF00, 0x00FF0000, 0}, 0, 0, 0},
      {"32-bit bit fields of 10 bits a colour", 32, true, 40, 3,
       {0x3FF00000, 0x000FFC00, 0x000003FF, 0}, 0, 0, 1},
      {"32-bit bit fields with alpha", 32, false, 40, 6,
       {0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000}, 0, 0, 0},
      {"32-bit, version 5 header with an alpha mask", 32, true, 124, 3,
       {0x0000FF00, 0x00FF0000, 0xFF000000, 0x000000FF}, 0, 0, 0},
  };
  for (const BmpCase& c : cases) {
    const TPixmapPtr pm = LoadPixmap(Save("picture.bmp", BmpFile(c)));
    EXPECT_EQ(Mismatch(pm, kWidth, kHeight, [&](int x, int y) { return BmpShows(c, x, y); },
                       c.tolerance),
              "")
        << c.name;
  }
}

struct TgaCase {
  const char* name;
  int type;  // 2 true colour, 3 grey, 10 and 11 the same run-length encoded
  int bpp;
  bool topDown;
  int idLength;
  int colourMapEntries;  // a colour map that a true-colour picture carries unused
  int tolerance;
};

// Runs of equal pixels, so that encoded files hold both kinds of packet, some across rows.
uint32_t TgaSource(int x, int y) { return SourceArgb((y * kWidth + x) / 3, 0); }

uint32_t TgaShows(const TgaCase& c, int x, int y) {
  const uint32_t argb = TgaSource(x, y);
  if (c.bpp == 8) return Argb(255, argb >> 16, argb >> 16, argb >> 16);
  if (c.bpp == 16) {
    const auto five = [&](int shift) { return (argb >> shift & 255) >> 3 << 3; };
    return Argb(255, five(16) * 255 / 248, five(8) * 255 / 248, five(0) * 255 / 248);
  }
  return c.bpp == 24 ? 0xFF000000u | argb : argb;
}

std::vector<uint8_t> TgaPixel(const TgaCase& c, uint32_t argb) {
  if (c.bpp == 8) return {static_cast<uint8_t>(argb >> 16)};
  if (c.bpp == 16) {
    const unsigned v = 0x8000 | (argb >> 19 & 31) << 10 | (argb >> 11 & 31) << 5 | (argb >> 3 & 31);
    return {static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8)};
  }
  std::vector<uint8_t> p = {static_cast<uint8_t>(argb), static_cast<uint8_t>(argb >> 8),
                            static_cast<uint8_t>(argb >> 16)};
  if (c.bpp == 32) p.push_back(static_cast<uint8_t>(argb >> 24));
  return p;
}

std::vector<uint8_t> TgaFile(const TgaCase& c) {
  std::vector<uint8_t> d = {static_cast<uint8_t>(c.idLength),
                            static_cast<uint8_t>(c.colourMapEntries ? 1 : 0),
                            static_cast<uint8_t>(c.type)};
  Put16(d, 0);
  Put16(d, static_cast<unsigned>(c.colourMapEntries));
  d.push_back(c.colourMapEntries ? 24 : 0);
  Put16(d, 0);
  Put16(d, 0);
  Put16(d, kWidth);
  Put16(d, kHeight);
  d.push_back(static_cast<uint8_t>(c.bpp));
  d.push_back(static_cast<uint8_t>((c.topDown ? 0x20 : 0) | (c.bpp == 32 ? 8 : 0)));
  for (int i = 0; i < c.idLength; ++i) d.push_back('a' + i);
  for (int i = 0; i < c.colourMapEntries * 3; ++i) d.push_back(0x77);
  std::vector<std::vector<uint8_t>> stored;
  for (int row = 0; row < kHeight; ++row) {
    const int y = c.topDown ? row : kHeight - 1 - row;
    for (int x = 0; x < kWidth; ++x) stored.push_back(TgaPixel(c, TgaSource(x, y)));
  }
  if (c.type < 8) {
    for (const auto& p : stored) d.insert(d.end(), p.begin(), p.end());
    return d;
  }
  // Run-length packets: repeats of two or more pixels, raw packets of the rest.
  for (size_t i = 0; i < stored.size();) {
    size_t run = 1;
    while (i + run < stored.size() && run < 128 && stored[i + run] == stored[i]) ++run;
    if (run > 1) {
      d.push_back(static_cast<uint8_t>(0x80 | (run - 1)));
      d.insert(d.end(), stored[i].begin(), stored[i].end());
    } else {
      size_t raw = 1;
      while (i + raw < stored.size() && raw < 128 &&
             (i + raw + 1 >= stored.size() || stored[i + raw + 1] != stored[i + raw]))
        ++raw;
      d.push_back(static_cast<uint8_t>(raw - 1));
      for (size_t k = 0; k < raw; ++k)
        d.insert(d.end(), stored[i + k].begin(), stored[i + k].end());
      run = raw;
    }
    i += run;
  }
  return d;
}

TEST_F(ImageFormats, TgasOfEveryDepthTheReaderTakes) {
  const TgaCase cases[] = {
      {"24-bit bottom-up with an id field", 2, 24, false, 5, 0, 0},
      {"24-bit top-down with an unused colour map", 2, 24, true, 0, 4, 0},
      {"32-bit top-down", 2, 32, true, 0, 0, 0},
      {"32-bit bottom-up", 2, 32, false, 0, 0, 0},
      {"16-bit", 2, 16, false, 0, 0, 1},
      {"8-bit grey", 3, 8, false, 0, 0, 0},
      {"run-length 24-bit", 10, 24, false, 2, 0, 0},
      {"run-length 32-bit top-down", 10, 32, true, 0, 0, 0},
      {"run-length 16-bit", 10, 16, true, 0, 0, 1},
      {"run-length 8-bit grey", 11, 8, false, 0, 0, 0},
  };
  for (const TgaCase& c : cases) {
    const TPixmapPtr pm = LoadPixmap(Save("picture.tga", TgaFile(c)));
    EXPECT_EQ(Mismatch(pm, kWidth, kHeight, [&](int x, int y) { return TgaShows(c, x, y); },
                       c.tolerance),
              "")
        << c.name;
  }
}

// Every reader checks the size a file declares against the bound it is given before it
// decodes anything, and the refusal names the file and the size.
TEST_F(ImageFormats, EveryFormatIsHeldToAPixelBoundBeforeItIsDecoded) {
  const struct {
    const char* name;
    std::vector<uint8_t> file;
  } files[] = {
      {"picture.png", PngFile({"", PNG_COLOR_TYPE_GRAY, 1, false, Trns::None})},
      {"picture.jpg", testsupport::JpegBytes(kWidth, kHeight, 10, 20, 30)},
      {"picture.bmp", BmpFile({"", 24, false, 40, 0, {}, 0, 0, 0})},
      {"picture.tga", TgaFile({"", 2, 24, false, 0, 0, 0})},
  };
  constexpr int kPixels = kWidth * kHeight;
  for (const auto& f : files) {
    SCOPED_TRACE(f.name);
    const std::string path = Save(f.name, f.file);
    testing::internal::CaptureStderr();
    const TPixmapPtr within = LoadPixmap(path, ANY_SIZE, kPixels);
    const TPixmapPtr beyond = LoadPixmap(path, ANY_SIZE, kPixels - 1);
    const std::string said = testing::internal::GetCapturedStderr();
    ASSERT_TRUE(within);
    EXPECT_EQ(within->width, kWidth);
    EXPECT_FALSE(beyond);
    EXPECT_EQ(said, "Refused to read " + path + ": it is a picture of 11 x 9 pixels, more than " +
                        std::to_string(kPixels - 1) + "\n");
  }
}

}  // namespace
