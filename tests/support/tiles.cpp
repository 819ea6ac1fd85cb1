#include "support/tiles.h"

#include "core/globals.h"

namespace testsupport {

uint32_t FrameColor(int frame) {
  static const uint32_t colors[] = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFF00,
                                    0xFF00FFFF, 0xFFFF00FF, 0xFF808080, 0xFFFFFFFF};
  return colors[static_cast<unsigned>(frame) % 8];
}

TImagePtr MakeImage(int w, int h, int frames,
                    const std::function<uint32_t(int f, int x, int y)>& argb) {
  TImagePtr image = CreateImage(w, h, frames, -1);
  for (int f = 0; f < frames; ++f) {
    TPixmapPtr pixmap = LockImage(image, f);
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) WritePixel(pixmap, x, y, argb(f, x, y));
  }
  return image;
}

TImagePtr SolidImage(int w, int h, int frames) {
  return MakeImage(w, h, frames, [](int f, int, int) { return FrameColor(f); });
}

TImagePtr HoledImage(int w, int h, int hx, int hy, int hw, int hh) {
  return MakeImage(w, h, 1, [=](int, int x, int y) {
    const bool hole = x >= hx && x < hx + hw && y >= hy && y < hy + hh;
    return hole ? 0u : FrameColor(0);
  });
}

TImagePtr RectImage(int w, int h, int rx, int ry, int rw, int rh) {
  return MakeImage(w, h, 1, [=](int, int x, int y) {
    const bool in = x >= rx && x < rx + rw && y >= ry && y < ry + rh;
    return in ? FrameColor(0) : 0u;
  });
}

TTilePtr MakeTile(const TImagePtr& image, int frames, int fps) {
  return TTile::Create(image, frames, fps);
}

ScopedTiles::ScopedTiles(std::vector<TTilePtr> tiles) : saved_(std::move(Tile)) {
  savedTimers_ = timerList.ToVector();
  timerList.Clear();
  Tile = std::move(tiles);
}

ScopedTiles::~ScopedTiles() {
  Tile = std::move(saved_);
  timerList.Clear();
  for (auto& timer : savedTimers_) timerList.AddLast(timer);
}

}  // namespace testsupport
