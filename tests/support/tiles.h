#pragma once
// Generated images and tile tables for tests: solid squares, masks with holes, animation
// strips with one colour per frame.
#include <cstdint>
#include <functional>
#include <vector>
#include "platform/graphics/graphics.h"
#include "world/tile.h"

namespace testsupport {

// A distinct opaque colour (0xAARRGGBB) for each frame number.
uint32_t FrameColor(int frame);

// An image of `frames` frames of w x h; pixel (x, y) of frame f gets argb(f, x, y).
TImagePtr MakeImage(int w, int h, int frames,
                    const std::function<uint32_t(int f, int x, int y)>& argb);
// Opaque everywhere, frame f in FrameColor(f).
TImagePtr SolidImage(int w, int h, int frames = 1);
// Opaque in FrameColor(0) except the rectangle (hx, hy, hw, hh), which is fully transparent.
TImagePtr HoledImage(int w, int h, int hx, int hy, int hw, int hh);
// Opaque only inside the rectangle (rx, ry, rw, rh).
TImagePtr RectImage(int w, int h, int rx, int ry, int rw, int rh);

TTilePtr MakeTile(const TImagePtr& image, int frames = 1, int fps = 0);

// Puts these tiles into the global `Tile` table and empties `timerList`; both come back
// as they were when the object goes out of scope.
class ScopedTiles {
public:
  explicit ScopedTiles(std::vector<TTilePtr> tiles);
  ~ScopedTiles();
  ScopedTiles(const ScopedTiles&) = delete;
  ScopedTiles& operator=(const ScopedTiles&) = delete;

private:
  std::vector<TTilePtr> saved_;
  std::vector<std::shared_ptr<TAnimateTimer>> savedTimers_;
};

}  // namespace testsupport
