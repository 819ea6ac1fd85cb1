// The colour tables and the conversion of decoded planes into RGBA rows.
#include <gtest/gtest.h>
#include <array>
#include <vector>
#include "media/media.h"
#include "media/theora_glue.h"
#include "media/yuv.h"

namespace {

class YuvConversion : public ::testing::Test {
protected:
  static void SetUpTestSuite() { TheoraModuleInit(); }
  // A 4 x 4 picture (2 x 2 chroma) stored top row first with negative strides, as the
  // decoder delivers it.
  void SetUp() override {
    decoder_.hasPicture = true;
    decoder_.info.frame_width = 4;
    decoder_.info.frame_height = 4;
    yuv_buffer& yuv = decoder_.yuv;
    yuv.y_width = yuv.y_height = 4;
    yuv.uv_width = yuv.uv_height = 2;
    yuv.y_stride = -8;  // rows padded to 8 bytes
    yuv.uv_stride = -4;
    yuv.y = &luma_[3 * 8];
    yuv.u = &cb_[1 * 4];
    yuv.v = &cr_[1 * 4];
  }
  void SetLuma(int row, int col, int v) { luma_[(3 - row) * 8 + col] = static_cast<uint8_t>(v); }
  void SetChroma(int row, int col, int cb, int cr) {
    cb_[(1 - row) * 4 + col] = static_cast<uint8_t>(cb);
    cr_[(1 - row) * 4 + col] = static_cast<uint8_t>(cr);
  }
  std::array<int, 4> Pixel(const std::vector<uint8_t>& out, int row, int col, int width = 4) {
    const uint8_t* p = &out[(row * width + col) * 4];
    return {p[0], p[1], p[2], p[3]};
  }
  theoradecoder decoder_;
  std::array<uint8_t, 32> luma_{};
  std::array<uint8_t, 8> cb_{}, cr_{};
};

TEST_F(YuvConversion, StudioRangeColoursTruncatedAndClamped) {
  struct Case {
    int y, cb, cr;
    std::array<int, 4> rgba;
  } cases[] = {
      {16, 128, 128, {0, 0, 0, 255}},       {235, 128, 128, {254, 254, 254, 255}},
      {126, 128, 128, {128, 128, 128, 255}}, {255, 128, 128, {255, 255, 255, 255}},
      {0, 128, 128, {0, 0, 0, 255}},         {81, 90, 240, {254, 0, 0, 255}},
      {145, 54, 34, {0, 255, 0, 255}},       {41, 240, 110, {0, 0, 255, 255}},
      {235, 16, 16, {76, 255, 28, 255}},     {16, 240, 240, {178, 0, 226, 255}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.y << "," << c.cb << "," << c.cr);
    luma_.fill(static_cast<uint8_t>(c.y));
    SetChroma(0, 0, c.cb, c.cr);
    std::vector<uint8_t> out(4 * 4);
    TYUVdrawYUV(out.data(), 1, 1, &decoder_);
    EXPECT_EQ(Pixel(out, 0, 0, 1), c.rgba);
  }
  const int grey[][2] = {{17, 1}, {100, 97}, {235, 254}, {236, 255}, {255, 255}, {16, 0}, {3, 0}};
  for (const auto& g : grey) EXPECT_EQ(yuv_bw[g[0]], g[1]) << g[0];
}

TEST_F(YuvConversion, FourPixelsShareEachChromaSample) {
  for (int r = 0; r < 4; ++r)
    for (int c = 0; c < 4; ++c) SetLuma(r, c, 126);
  SetChroma(0, 0, 128, 128);  // grey
  SetChroma(0, 1, 90, 240);   // towards red
  SetChroma(1, 0, 54, 34);    // towards green
  SetChroma(1, 1, 240, 110);  // towards blue
  std::vector<uint8_t> out(4 * 4 * 4, 0);
  TYUVdrawYUV(out.data(), 4, 4, &decoder_);
  for (auto at : {std::array{0, 0}, {0, 1}, {1, 0}, {1, 1}}) EXPECT_EQ(Pixel(out, at[0], at[1]), Pixel(out, 0, 0));
  EXPECT_EQ(Pixel(out, 0, 0), (std::array{128, 128, 128, 255}));
  EXPECT_GT(Pixel(out, 1, 3)[0], 200);  // row 1, column 3: chroma (0, 1)
  EXPECT_GT(Pixel(out, 3, 0)[1], 200);  // chroma (1, 0)
  EXPECT_EQ(Pixel(out, 2, 3), Pixel(out, 3, 2));  // chroma (1, 1) for both
  EXPECT_GT(Pixel(out, 2, 3)[2], 200);

  // Grey pictures come from the luma plane alone.
  SetLuma(2, 1, 235);
  TYUVdrawY(out.data(), 4, 4, &decoder_);
  EXPECT_EQ(Pixel(out, 2, 1), (std::array{254, 254, 254, 255}));
  EXPECT_EQ(Pixel(out, 1, 3), (std::array{128, 128, 128, 255}));
}

TEST_F(YuvConversion, NothingBeyondThePictureIsReadOrWritten) {
  luma_.fill(126);
  SetChroma(0, 0, 128, 128);
  SetChroma(0, 1, 128, 128);
  SetChroma(1, 0, 128, 128);
  SetChroma(1, 1, 128, 128);
  std::vector<uint8_t> out(6 * 6 * 4, 7);
  TYUVdrawYUV(out.data(), 6, 6, &decoder_);  // a pixmap larger than the picture
  EXPECT_EQ(Pixel(out, 3, 3, 6), (std::array{128, 128, 128, 255}));
  EXPECT_EQ(Pixel(out, 0, 4, 6), (std::array{7, 7, 7, 7}));
  EXPECT_EQ(Pixel(out, 4, 0, 6), (std::array{7, 7, 7, 7}));
  decoder_.hasPicture = false;
  std::vector<uint8_t> untouched(4 * 4 * 4, 7);
  TYUVdrawYUV(untouched.data(), 4, 4, &decoder_);
  TYUVdrawY(untouched.data(), 4, 4, &decoder_);
  EXPECT_EQ(untouched, std::vector<uint8_t>(4 * 4 * 4, 7));
}

}  // namespace
