// Graphics contexts and the current one.
#include "platform/graphics_context.h"

namespace {
TGraphicsPtr gCurrent;
}

TGraphics::TGraphics(int w, int h)
    : width(w > 0 ? w : 1), height(h > 0 ? h : 1), viewWidth(width), viewHeight(height) {
  backBuffer = std::make_shared<TPixmap>(width, height);
  for (size_t i = 3; i < backBuffer->pixels.size(); i += 4) backBuffer->pixels[i] = 255;
}

TGraphicsPtr MakeGraphicsContext(int width, int height) {
  return std::make_shared<TGraphics>(width, height);
}

void SetCurrentContext(const TGraphicsPtr& context) { gCurrent = context; }

TGraphicsPtr CurrentContext() {
  if (!gCurrent) gCurrent = MakeGraphicsContext(640, 480);
  return gCurrent;
}

TPixmapPtr BackBuffer() { return CurrentContext()->backBuffer; }
