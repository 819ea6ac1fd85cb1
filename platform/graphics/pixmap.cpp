// Pixmaps: RGBA buffers, copies, bilinear resampling, grabs of the back buffer and
// single-pixel access.
#include <algorithm>
#include <cmath>
#include <cstring>

#include "platform/graphics/graphics.h"

TPixmap::TPixmap(int w, int h) : width(w > 0 ? w : 0), height(h > 0 ? h : 0) {
  pixels.assign(static_cast<size_t>(width) * height * 4, 0);
}

TPixmapPtr CreatePixmap(int width, int height, int format, int align) {
  if (format != PF_RGBA8888 || width <= 0 || height <= 0 || align > 4) return nullptr;
  return std::make_shared<TPixmap>(width, height);
}

TPixmapPtr CopyPixmap(const TPixmapPtr& pixmap) {
  return pixmap ? std::make_shared<TPixmap>(*pixmap) : nullptr;
}

TPixmapPtr ResizePixmap(const TPixmapPtr& src, int width, int height) {
  if (!src || src->width <= 0 || src->height <= 0 || width <= 0 || height <= 0) return nullptr;
  auto out = std::make_shared<TPixmap>(width, height);
  const double fx = static_cast<double>(src->width) / width;
  const double fy = static_cast<double>(src->height) / height;
  for (int y = 0; y < height; ++y) {
    // Centre of the destination pixel in source coordinates, between source pixel centres.
    const double sy = std::clamp((y + 0.5) * fy - 0.5, 0.0, src->height - 1.0);
    const int y0 = static_cast<int>(sy), y1 = std::min(y0 + 1, src->height - 1);
    const double wy = sy - y0;
    for (int x = 0; x < width; ++x) {
      const double sx = std::clamp((x + 0.5) * fx - 0.5, 0.0, src->width - 1.0);
      const int x0 = static_cast<int>(sx), x1 = std::min(x0 + 1, src->width - 1);
      const double wx = sx - x0;
      const uint8_t* p00 = src->PixelPtr(x0, y0);
      const uint8_t* p10 = src->PixelPtr(x1, y0);
      const uint8_t* p01 = src->PixelPtr(x0, y1);
      const uint8_t* p11 = src->PixelPtr(x1, y1);
      uint8_t* d = out->PixelPtr(x, y);
      for (int k = 0; k < 4; ++k) {
        const double top = p00[k] + (p10[k] - p00[k]) * wx;
        const double bottom = p01[k] + (p11[k] - p01[k]) * wx;
        d[k] = static_cast<uint8_t>(std::lround(top + (bottom - top) * wy));
      }
    }
  }
  return out;
}

TPixmapPtr GrabPixmap(int x, int y, int width, int height) {
  if (width <= 0 || height <= 0) return nullptr;
  const TPixmapPtr back = BackBuffer();
  auto out = std::make_shared<TPixmap>(width, height);
  // Parts outside the back buffer stay transparent black.
  const int x0 = std::max(x, 0), x1 = std::min(x + width, back->width);
  for (int row = std::max(y, 0); row < std::min(y + height, back->height); ++row) {
    if (x0 >= x1) break;
    std::memcpy(out->PixelPtr(x0 - x, row - y), back->PixelPtr(x0, row), (x1 - x0) * 4);
  }
  return out;
}

uint32_t ReadPixel(const TPixmapPtr& pixmap, int x, int y) {
  if (!pixmap || x < 0 || y < 0 || x >= pixmap->width || y >= pixmap->height) return 0;
  const uint8_t* p = pixmap->PixelPtr(x, y);
  return (uint32_t{p[3]} << 24) | (uint32_t{p[0]} << 16) | (uint32_t{p[1]} << 8) | p[2];
}

void WritePixel(const TPixmapPtr& pixmap, int x, int y, uint32_t argb) {
  if (!pixmap || x < 0 || y < 0 || x >= pixmap->width || y >= pixmap->height) return;
  uint8_t* p = pixmap->PixelPtr(x, y);
  p[0] = static_cast<uint8_t>(argb >> 16);
  p[1] = static_cast<uint8_t>(argb >> 8);
  p[2] = static_cast<uint8_t>(argb);
  p[3] = static_cast<uint8_t>(argb >> 24);
}
