// The two picture conversions through the colour tables.
#include "media/yuv.h"

#include <algorithm>
#include "media/theora_glue.h"

namespace {

// The displayed region of the picture within the decoded planes, cut to what the planes hold.
struct Region {
  int left, top, width, height;
};

Region Displayed(const theoradecoder& d, int width, int height) {
  const yuv_buffer& yuv = d.yuv;
  Region r{static_cast<int>(d.info.offset_x), static_cast<int>(d.info.offset_y), width, height};
  r.left = std::clamp(r.left, 0, std::max(yuv.y_width, 0));
  r.top = std::clamp(r.top, 0, std::max(yuv.y_height, 0));
  r.width = std::clamp(std::min(width, static_cast<int>(d.info.frame_width)), 0,
                       yuv.y_width - r.left);
  r.height = std::clamp(std::min(height, static_cast<int>(d.info.frame_height)), 0,
                        yuv.y_height - r.top);
  return r;
}

}  // namespace

void TYUVdrawYUV(uint8_t* pixels, int width, int height, const theoradecoder* decoder) {
  if (!decoder || !decoder->hasPicture) return;
  const yuv_buffer& yuv = decoder->yuv;
  if (yuv.uv_width <= 0 || yuv.uv_height <= 0) return;
  const int stepX = std::max(yuv.y_width / yuv.uv_width, 1);
  const int stepY = std::max(yuv.y_height / yuv.uv_height, 1);
  const Region r = Displayed(*decoder, width, height);
  for (int i = 0; i < r.height; ++i) {
    const int row = r.top + i;
    const uint8_t* luma = yuv.y + static_cast<ptrdiff_t>(row) * yuv.y_stride + r.left;
    const ptrdiff_t chromaRow = static_cast<ptrdiff_t>(row / stepY) * yuv.uv_stride;
    const uint8_t* cb = yuv.u + chromaRow + r.left / stepX;
    const uint8_t* cr = yuv.v + chromaRow + r.left / stepX;
    uint8_t* out = pixels + static_cast<size_t>(i) * width * 4;
    // The chroma sample moves on after every stepX pixels of the frame.
    int shared = r.left % stepX;
    for (int j = 0; j < r.width; ++j, out += 4) {
      const int y = luma[j], u = *cb, v = *cr;
      out[0] = yuv_r[y * 256 + v];
      out[1] = yuv_g[y * 65536 + v * 256 + u];
      out[2] = yuv_b[y * 256 + u];
      out[3] = 255;
      if (++shared == stepX) {
        shared = 0;
        ++cb;
        ++cr;
      }
    }
  }
}

void TYUVdrawY(uint8_t* pixels, int width, int height, const theoradecoder* decoder) {
  if (!decoder || !decoder->hasPicture) return;
  const yuv_buffer& yuv = decoder->yuv;
  const Region r = Displayed(*decoder, width, height);
  for (int i = 0; i < r.height; ++i) {
    const uint8_t* luma = yuv.y + static_cast<ptrdiff_t>(r.top + i) * yuv.y_stride + r.left;
    uint8_t* out = pixels + static_cast<size_t>(i) * width * 4;
    for (int j = 0; j < r.width; ++j, out += 4) {
      out[0] = out[1] = out[2] = yuv_bw[luma[j]];
      out[3] = 255;
    }
  }
}
