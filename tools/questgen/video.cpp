// The quest's video: a sunrise over hills, 3 seconds of Ogg Theora at 12 frames a second,
// encoded with a fixed serial number. The game shows a video at its own size from the
// screen's top-left corner, so it is made at the screen's 640 x 480.
#include "tools/questgen/video.h"
#include <theora/theoraenc.h>
#include <cmath>
#include <cstdio>
#include <vector>

namespace {

constexpr int kWidth = 640, kHeight = 480, kFrames = 36;

// The colour at (x, y) of a frame, in coordinates of half its size (320 x 240).
void Rgb(int frame, float x, float y, int& r, int& g, int& b) {
  const float t = static_cast<float>(frame) / (kFrames - 1);
  const float sunY = 200 - t * 140;
  const float hill = 170 + std::sin(x / 40.0f) * 15;
  if (y > hill) {
    r = 30; g = static_cast<int>(70 + t * 60); b = 40;
    return;
  }
  const float dx = x - 160.0f, dy = y - sunY;
  if (dx * dx + dy * dy < 28 * 28) {
    r = 255; g = 220; b = 120;
    return;
  }
  const float sky = y / 240.0f;
  r = static_cast<int>(20 + t * 200 * sky);
  g = static_cast<int>(20 + t * 120);
  b = static_cast<int>(70 + t * 150 * (1 - sky));
}

}  // namespace

bool WriteVideo(const std::string& path) {
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  th_info ti;
  th_info_init(&ti);
  ti.frame_width = kWidth;
  ti.frame_height = kHeight;
  ti.pic_width = kWidth;
  ti.pic_height = kHeight;
  ti.fps_numerator = 12;
  ti.fps_denominator = 1;
  ti.aspect_numerator = 1;
  ti.aspect_denominator = 1;
  ti.colorspace = TH_CS_UNSPECIFIED;
  ti.pixel_fmt = TH_PF_420;
  ti.quality = 40;
  ti.keyframe_granule_shift = 6;
  th_enc_ctx* enc = th_encode_alloc(&ti);
  th_info_clear(&ti);
  if (!enc) { std::fclose(f); return false; }
  ogg_stream_state os;
  ogg_stream_init(&os, 5100);
  ogg_page og;
  ogg_packet op;
  auto writePage = [&] { std::fwrite(og.header, 1, og.header_len, f); std::fwrite(og.body, 1, og.body_len, f); };
  th_comment tc;
  th_comment_init(&tc);
  // The first header packet goes alone on the first page.
  bool first = true;
  while (th_encode_flushheader(enc, &tc, &op) > 0) {
    ogg_stream_packetin(&os, &op);
    if (first) {
      while (ogg_stream_flush(&os, &og)) writePage();
      first = false;
    }
  }
  while (ogg_stream_flush(&os, &og)) writePage();
  th_comment_clear(&tc);

  std::vector<unsigned char> yPlane(kWidth * kHeight), cb(kWidth * kHeight / 4), cr(kWidth * kHeight / 4);
  for (int frame = 0; frame < kFrames; ++frame) {
    for (int y = 0; y < kHeight; ++y)
      for (int x = 0; x < kWidth; ++x) {
        int r, g, b;
        Rgb(frame, (x + 0.5f) / 2, (y + 0.5f) / 2, r, g, b);
        yPlane[y * kWidth + x] = static_cast<unsigned char>(16 + (65.7 * r + 129.1 * g + 25.1 * b) / 256);
        if (x % 2 == 0 && y % 2 == 0) {
          const int i = (y / 2) * (kWidth / 2) + x / 2;
          cb[i] = static_cast<unsigned char>(128 + (-37.9 * r - 74.5 * g + 112.4 * b) / 256);
          cr[i] = static_cast<unsigned char>(128 + (112.4 * r - 94.1 * g - 18.3 * b) / 256);
        }
      }
    th_ycbcr_buffer buf;
    buf[0] = {kWidth, kHeight, kWidth, yPlane.data()};
    buf[1] = {kWidth / 2, kHeight / 2, kWidth / 2, cb.data()};
    buf[2] = {kWidth / 2, kHeight / 2, kWidth / 2, cr.data()};
    if (th_encode_ycbcr_in(enc, buf) != 0) break;
    const int last = frame == kFrames - 1;
    while (th_encode_packetout(enc, last, &op) > 0) {
      ogg_stream_packetin(&os, &op);
      while (ogg_stream_pageout(&os, &og)) writePage();
    }
  }
  while (ogg_stream_flush(&os, &og)) writePage();
  ogg_stream_clear(&os);
  th_encode_free(enc);
  return std::fclose(f) == 0;
}
