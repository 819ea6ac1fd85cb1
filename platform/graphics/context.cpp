// Graphics contexts and the current one.
#include "platform/graphics/draw_internal.h"
#include "platform/graphics/graphics_context.h"

#include <algorithm>
#include <cmath>

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

TGraphics& ActiveContext() {
  if (!gCurrent) gCurrent = MakeGraphicsContext(640, 480);
  return *gCurrent;
}

TPixmapPtr BackBuffer() { return CurrentContext()->backBuffer; }

int GraphicsWidth() { return ActiveContext().width; }
int GraphicsHeight() { return ActiveContext().height; }

// Drawing state of the current context.

void SetColor(int red, int green, int blue) {
  TGraphics& g = *CurrentContext();
  g.red = std::clamp(red, 0, 255);
  g.green = std::clamp(green, 0, 255);
  g.blue = std::clamp(blue, 0, 255);
}

void GetColor(int& red, int& green, int& blue) {
  const TGraphics& g = *CurrentContext();
  red = g.red;
  green = g.green;
  blue = g.blue;
}

// NaN (from a map file or a script) draws nothing rather than reaching the blender.
void SetAlpha(float alpha) {
  CurrentContext()->alpha = std::isnan(alpha) ? 0.0f : std::clamp(alpha, 0.0f, 1.0f);
}
float GetAlpha() { return CurrentContext()->alpha; }

void SetBlend(int mode) {
  if (mode >= MASKBLEND && mode <= SHADEBLEND) CurrentContext()->blend = mode;
}
int GetBlend() { return CurrentContext()->blend; }

void SetScale(float scaleX, float scaleY) {
  TGraphics& g = *CurrentContext();
  g.scaleX = scaleX;
  g.scaleY = scaleY;
}

void GetScale(float& scaleX, float& scaleY) {
  const TGraphics& g = *CurrentContext();
  scaleX = g.scaleX;
  scaleY = g.scaleY;
}

void SetRotation(float degrees) { CurrentContext()->rotation = degrees; }
float GetRotation() { return CurrentContext()->rotation; }

void SetOrigin(float x, float y) {
  TGraphics& g = *CurrentContext();
  g.originX = x;
  g.originY = y;
}

void SetViewport(int x, int y, int width, int height) {
  TGraphics& g = *CurrentContext();
  g.viewX = x;
  g.viewY = y;
  g.viewWidth = std::max(width, 0);
  g.viewHeight = std::max(height, 0);
}

void GetViewport(int& x, int& y, int& width, int& height) {
  const TGraphics& g = *CurrentContext();
  x = g.viewX;
  y = g.viewY;
  width = g.viewWidth;
  height = g.viewHeight;
}

void SetClsColor(int red, int green, int blue) {
  TGraphics& g = *CurrentContext();
  g.clsRed = std::clamp(red, 0, 255);
  g.clsGreen = std::clamp(green, 0, 255);
  g.clsBlue = std::clamp(blue, 0, 255);
}
