#pragma once
// A graphics context: an RGBA back buffer that keeps its contents across Flip, plus the
// drawing state that the drawing functions of graphics.h read. One context is current at
// a time; without one, a headless 640 x 480 context is made on first use.
#include <memory>
#include "platform/graphics/graphics.h"

class TGraphics {
public:
  TGraphics(int width, int height);
  virtual ~TGraphics() = default;

  int width = 0, height = 0;
  TPixmapPtr backBuffer;

  // Drawing state.
  int red = 255, green = 255, blue = 255;
  float alpha = 1.0f;
  int blend = MASKBLEND;
  float scaleX = 1.0f, scaleY = 1.0f;
  float rotation = 0.0f;  // degrees, clockwise on screen
  float originX = 0.0f, originY = 0.0f;
  int viewX = 0, viewY = 0, viewWidth = 0, viewHeight = 0;  // clipped to the buffer when used
  int clsRed = 0, clsGreen = 0, clsBlue = 0;
};
using TGraphicsPtr = std::shared_ptr<TGraphics>;

// A fresh context with a cleared (opaque black) back buffer and default state.
TGraphicsPtr MakeGraphicsContext(int width = 640, int height = 480);
void SetCurrentContext(const TGraphicsPtr& context);
// The current context; makes a headless 640 x 480 one when none is current.
TGraphicsPtr CurrentContext();
