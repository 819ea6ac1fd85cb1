// Pixmaps: RGBA buffers, copies, resampling and single-pixel access.
#include "platform/graphics.h"

TPixmap::TPixmap(int w, int h) : width(w > 0 ? w : 0), height(h > 0 ? h : 0) {
  pixels.assign(static_cast<size_t>(width) * height * 4, 0);
}
