// The colour tables. This file is compiled without floating-point contraction: a product
// fused into the sum after it would change the truncated value of some entries.
#include <algorithm>
#include "media/yuv.h"

uint8_t yuv_bw[256];
uint8_t yuv_r[256 * 256];
uint8_t yuv_b[256 * 256];
uint8_t yuv_g[256 * 256 * 256];

namespace {

uint8_t Component(double value) {
  const int v = static_cast<int>(value);  // toward zero
  return static_cast<uint8_t>(std::clamp(v, 0, 255));
}

}  // namespace

void TYUVinit() {
  for (int y = 0; y < 256; ++y) {
    const double luma = 1.164 * static_cast<double>(y - 16);
    yuv_bw[y] = Component(luma);
    for (int c = 0; c < 256; ++c) {
      yuv_r[y * 256 + c] = Component(luma + 1.596 * static_cast<double>(c - 128));
      yuv_b[y * 256 + c] = Component(luma + 2.018 * static_cast<double>(c - 128));
      const double withCr = luma - 0.813 * static_cast<double>(c - 128);
      uint8_t* g = &yuv_g[y * 65536 + c * 256];
      for (int cb = 0; cb < 256; ++cb)
        g[cb] = Component(withCr - 0.391 * static_cast<double>(cb - 128));
    }
  }
}
