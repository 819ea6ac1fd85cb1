#include <cstdio>
#include <filesystem>

#include "support.h"
#include "support/images.h"
#include "../temp_dir.h"

namespace fs = std::filesystem;

class GfxFiles : public ::testing::Test {
protected:
  void SetUp() override { SetMaskColor(255, 0, 255); }
  void TearDown() override { SetMaskColor(0, 0, 0); }
  std::string Path(const std::string& name) { return dir / name; }
  // A pixmap with a distinct colour per pixel and varied alpha.
  static TPixmapPtr Pattern(int w, int h) {
    TPixmapPtr pm = CreatePixmap(w, h);
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x)
        WritePixel(pm, x, y, (uint32_t(x * 37 + y) % 256) << 24 | uint32_t(x * 20) << 16 | uint32_t(y * 9) << 8 | 7);
    return pm;
  }
  TempDir dir;
};

TEST_F(GfxFiles, PngRoundTripKeepsEveryByte) {
  TPixmapPtr pm = Pattern(13, 7);
  for (int level : {0, 5, 9}) {
    const std::string path = Path("p" + std::to_string(level) + ".png");
    ASSERT_TRUE(SavePixmapPNG(pm, path, level));
    TPixmapPtr back = LoadPixmap(path);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->width, 13);
    EXPECT_EQ(back->height, 7);
    EXPECT_EQ(back->pixels, pm->pixels);
  }
  EXPECT_LT(fs::file_size(Path("p9.png")), fs::file_size(Path("p0.png")));
  EXPECT_FALSE(SavePixmapPNG(pm, Path("missing/dir/x.png")));
  EXPECT_FALSE(SavePixmapPNG(nullptr, Path("null.png")));
}

TEST_F(GfxFiles, UnreadableFilesFailToLoad) {
  WriteFileBytes(Path("junk.png"), {'n', 'o', 't', ' ', 'a', 'n', ' ', 'i', 'm', 'a', 'g', 'e'});
  std::vector<uint8_t> png;
  ASSERT_TRUE(SavePixmapPNG(Pattern(16, 16), Path("good.png")));
  png = ReadFileBytes(Path("good.png"));
  png.resize(png.size() / 2);
  WriteFileBytes(Path("cut.png"), png);
  fs::create_directory(Path("folder.png"));
  for (const char* name : {"absent.png", "junk.png", "cut.png", "folder.png"}) {
    EXPECT_FALSE(LoadPixmap(Path(name))) << name;
    EXPECT_FALSE(LoadImage(Path(name))) << name;
  }
}

TEST_F(GfxFiles, JpegLoadsAndCorruptJpegIsRefused) {
  WriteFileBytes(Path("ok.jpg"), testsupport::JpegBytes(24, 16, 200, 40, 90));
  TPixmapPtr ok = LoadPixmap(Path("ok.jpg"));
  ASSERT_TRUE(ok);
  EXPECT_EQ(ok->width, 24);
  const uint32_t p = ReadPixel(ok, 5, 5);
  EXPECT_EQ(p >> 24, 255u);
  EXPECT_NEAR(int((p >> 16) & 255), 200, 6);
  EXPECT_NEAR(int((p >> 8) & 255), 40, 6);

  // Progressive files come out only after the whole picture is read; grey ones as RGB.
  WriteFileBytes(Path("progressive.jpg"),
                 testsupport::JpegBytes(300, 200, 30, 160, 220, {.progressive = true}));
  WriteFileBytes(Path("grey.jpg"), testsupport::JpegBytes(16, 8, 120, 0, 0, {.grey = true}));
  const struct {
    const char* name;
    int width, red, green, blue;
  } variants[] = {{"progressive.jpg", 300, 30, 160, 220}, {"grey.jpg", 16, 120, 120, 120}};
  for (const auto& v : variants) {
    TPixmapPtr pm = LoadPixmap(Path(v.name));
    ASSERT_TRUE(pm) << v.name;
    EXPECT_EQ(pm->width, v.width) << v.name;
    const uint32_t q = ReadPixel(pm, pm->width - 1, pm->height - 1);
    EXPECT_EQ(q >> 24, 255u) << v.name;
    EXPECT_NEAR(int((q >> 16) & 255), v.red, 6) << v.name;
    EXPECT_NEAR(int((q >> 8) & 255), v.green, 6) << v.name;
    EXPECT_NEAR(int(q & 255), v.blue, 6) << v.name;
  }

  const std::vector<uint8_t> bytes = ReadFileBytes(Path("ok.jpg"));
  std::vector<uint8_t> truncated(bytes.begin(), bytes.begin() + bytes.size() * 2 / 3);
  WriteFileBytes(Path("truncated.jpg"), truncated);
  std::vector<uint8_t> header(bytes.begin(), bytes.begin() + 20);
  WriteFileBytes(Path("header.jpg"), header);
  std::vector<uint8_t> scrambled = bytes;
  for (size_t i = bytes.size() / 3; i < bytes.size() - 2; i += 7) scrambled[i] = 0xFF;
  WriteFileBytes(Path("scrambled.jpg"), scrambled);
  for (const char* name : {"truncated.jpg", "header.jpg", "scrambled.jpg"}) {
    EXPECT_FALSE(LoadPixmap(Path(name))) << name;
  }
}

TEST_F(GfxFiles, ArithmeticJpegLoadsUnlessItsFileIsFarTooSmallForItsPicture) {
  WriteFileBytes(Path("arithmetic.jpg"),
                 testsupport::JpegBytes(640, 480, 10, 200, 90, {.arithmetic = true}));
  TPixmapPtr flat = LoadPixmap(Path("arithmetic.jpg"));
  ASSERT_TRUE(flat);
  EXPECT_EQ(flat->height, 480);
  EXPECT_NEAR(int((ReadPixel(flat, 639, 479) >> 8) & 255), 200, 6);
  // 422 bytes that declare 16384 x 16384 pixels (a gigabyte of picture).
  const std::string bomb = std::string(CORVEL_SOURCE_DIR) + "/tests/fuzz/regressions/" +
                           "image_jpeg/arithmetic-16384x16384-in-422-bytes.jpg";
  EXPECT_FALSE(LoadPixmap(bomb));
}

TEST_F(GfxFiles, MaskColourBecomesTransparentForMaskedImages) {
  TPixmapPtr pm = CreatePixmap(2, 1);
  WritePixel(pm, 0, 0, 0xFFFF00FF);
  WritePixel(pm, 1, 0, 0xFFFF00FE);
  ASSERT_TRUE(SavePixmapPNG(pm, Path("m.png")));
  const struct {
    int flags;
    uint32_t first;
  } cases[] = {{-1, 0x00FF00FF}, {MASKEDIMAGE, 0x00FF00FF}, {0, 0xFFFF00FF}, {FILTEREDIMAGE, 0xFFFF00FF}};
  for (const auto& c : cases) {
    for (TImagePtr img : {LoadImage(Path("m.png"), c.flags), LoadImage(pm, c.flags)}) {
      ASSERT_TRUE(img);
      EXPECT_EQ(ReadPixel(LockImage(img), 0, 0), c.first) << c.flags;
      EXPECT_EQ(ReadPixel(LockImage(img), 1, 0), 0xFFFF00FEu);
      EXPECT_EQ(img->handleX, 0);
    }
  }
  EXPECT_EQ(LoadImage(pm)->flags, MASKEDIMAGE | FILTEREDIMAGE);
  EXPECT_EQ(ReadPixel(pm, 0, 0), 0xFFFF00FFu);  // the source pixmap is left alone
}

TEST_F(GfxFiles, AnimImageCellsAndTooFewCells) {
  // 3 x 2 cells of 4 x 4, each filled with its cell number, plus a spare column.
  TPixmapPtr sheet = CreatePixmap(13, 8);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 13; ++x) WritePixel(sheet, x, y, 0xFF000000 | (x < 12 ? (y / 4) * 3 + x / 4 : 99));
  ASSERT_TRUE(SavePixmapPNG(sheet, Path("sheet.png")));
  TImagePtr img = LoadAnimImage(Path("sheet.png"), 4, 4, 2, 3);
  ASSERT_TRUE(img);
  EXPECT_EQ(ImageWidth(img), 4);
  EXPECT_EQ(ImageHeight(img), 4);
  ASSERT_EQ(ImageFrames(img), 3);
  for (int f = 0; f < 3; ++f) {
    EXPECT_EQ(ReadPixel(LockImage(img, f), 0, 0) & 0xFF, uint32_t(2 + f));
    EXPECT_EQ(ReadPixel(LockImage(img, f), 3, 3) & 0xFF, uint32_t(2 + f));
  }
  EXPECT_TRUE(LoadAnimImage(Path("sheet.png"), 4, 4, 0, 6));
  EXPECT_FALSE(LoadAnimImage(Path("sheet.png"), 4, 4, 2, 5));
  EXPECT_FALSE(LoadAnimImage(Path("sheet.png"), 4, 4, 6, 1));
  EXPECT_FALSE(LoadAnimImage(Path("sheet.png"), 5, 5, 0, 3));
  EXPECT_FALSE(LoadAnimImage(Path("sheet.png"), 0, 4, 0, 1));
  EXPECT_FALSE(LoadAnimImage(Path("absent.png"), 4, 4, 0, 1));
}

TEST_F(GfxFiles, BmpAndTgaPictures) {
  // 2 x 2, 24-bit bottom-up BMP: rows padded to 8 bytes.
  std::vector<uint8_t> bmp = {'B', 'M', 70, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0, 40, 0, 0, 0,
                              2, 0, 0, 0, 2, 0, 0, 0, 1, 0, 24, 0, 0, 0, 0, 0};
  bmp.resize(54, 0);
  for (uint8_t b : {0x03, 0x02, 0x01, 0x06, 0x05, 0x04, 0, 0,    // bottom row
                    0x0C, 0x0B, 0x0A, 0x0F, 0x0E, 0x0D, 0, 0})  // top row
    bmp.push_back(b);
  WriteFileBytes(Path("a.bmp"), bmp);
  // 2 x 1 run-length TGA, 32 bits, top-down: one repeated pixel.
  std::vector<uint8_t> tga = {0, 0, 10, 0, 0, 0, 0, 0, 0, 0, 0, 0, 2, 0, 1, 0, 32, 0x28,
                              0x81, 0x30, 0x20, 0x10, 0x80};
  WriteFileBytes(Path("b.tga"), tga);
  TPixmapPtr a = LoadPixmap(Path("a.bmp")), b = LoadPixmap(Path("b.tga"));
  ASSERT_TRUE(a);
  ASSERT_TRUE(b);
  EXPECT_EQ(ReadPixel(a, 0, 0), 0xFF0A0B0Cu);
  EXPECT_EQ(ReadPixel(a, 1, 1), 0xFF040506u);
  EXPECT_EQ(ReadPixel(b, 1, 0), 0x80102030u);
  tga.pop_back();
  WriteFileBytes(Path("short.tga"), tga);
  EXPECT_FALSE(LoadPixmap(Path("short.tga")));
}

TEST(GfxPixmap, PixelAccessAndResize) {
  TPixmapPtr pm = CreatePixmap(2, 1);
  EXPECT_FALSE(CreatePixmap(0, 4));
  WritePixel(pm, 0, 0, 0xFF000000);
  WritePixel(pm, 1, 0, 0x80FF4020);
  EXPECT_EQ(pm->pixels[4], 0xFF);  // memory order R, G, B, A
  EXPECT_EQ(pm->pixels[7], 0x80);
  EXPECT_EQ(ReadPixel(pm, 1, 0), 0x80FF4020u);
  EXPECT_EQ(ReadPixel(pm, 2, 0), 0u);
  EXPECT_EQ(ReadPixel(nullptr, 0, 0), 0u);

  TPixmapPtr wide = ResizePixmap(pm, 4, 2);
  ASSERT_TRUE(wide);
  EXPECT_EQ(ReadPixel(wide, 0, 1), 0xFF000000u);  // edges clamp
  EXPECT_EQ(ReadPixel(wide, 3, 0), 0x80FF4020u);
  const uint32_t mid = ReadPixel(wide, 1, 0);  // a quarter of the way across
  EXPECT_NEAR(int((mid >> 16) & 255), 64, 1);
  EXPECT_NEAR(int(mid >> 24), 223, 1);
  TPixmapPtr same = ResizePixmap(pm, 2, 1);
  EXPECT_EQ(same->pixels, pm->pixels);
  EXPECT_FALSE(ResizePixmap(pm, 0, 1));
}
