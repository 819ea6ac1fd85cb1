#pragma once
// Helpers of the graphics tests: a small fresh context and images made from pixel rules.
#include <gtest/gtest.h>

#include <functional>

#include "platform/graphics/graphics_context.h"

// A fresh 64 x 64 context, current for the test, cleared to opaque black.
class GfxTest : public ::testing::Test {
protected:
  void SetUp() override {
    context = MakeGraphicsContext(64, 64);
    SetCurrentContext(context);
  }
  void TearDown() override { SetCurrentContext(nullptr); }
  uint32_t At(int x, int y) { return ReadPixel(BackBuffer(), x, y); }
  TGraphicsPtr context;
};

// A one-frame image whose pixel (x, y) is argb(x, y) (0xAARRGGBB), loaded with the flags.
inline TImagePtr MakeImage(int w, int h, const std::function<uint32_t(int, int)>& argb, int flags = 0) {
  TPixmapPtr pm = CreatePixmap(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) WritePixel(pm, x, y, argb(x, y));
  return LoadImage(pm, flags);
}

inline TImagePtr SolidImage(int w, int h, uint32_t argb = 0xFFFFFFFF, int flags = 0) {
  return MakeImage(w, h, [argb](int, int) { return argb; }, flags);
}
