// Walkability of actors and flyability of missiles against the map's cells.
#include "world/collision.h"

#include <cmath>
#include <cstdint>

#include "platform/graphics/graphics.h"
#include "platform/system/text.h"
#include "world/tile.h"

int RectsOverlap(int x1, int y1, int w1, int h1, int x2, int y2, int w2, int h2) {
  // The edges in 64 bits: a box far out (a position that saturated at the int range) has an
  // edge beyond it, which 32 bits cannot hold.
  const auto edge = [](int at, int size) { return int64_t{at} + size; };
  if (x1 > edge(x2, w2)) return 0;
  if (edge(x1, w1) < x2) return 0;
  if (y1 > edge(y2, h2)) return 0;
  if (edge(y1, h1) < y2) return 0;
  return 1;
}

namespace {

// True when the cell blocks at (px, py) against the footprint F placed at (fx, fy).
bool CellBlocksActor(const TMapTile& cell, int px, int py, const TImagePtr& F, int fx, int fy) {
  if (cell.walkability != 0 || cell.tileID < 0) return false;
  TImagePtr mask = TileImage(cell.tileID);
  return mask && F && ImagesCollide(mask, px, py, 0, F, fx, fy, 0);
}

// The cell index of a real cell coordinate: whole part of x / 32, as a real.
float CellOf(float x) { return (x - std::fmod(x, 32.0f)) / 32.0f; }

}  // namespace

bool FootprintInField(double x, double y, int fw, int fh) {
  return x >= (32 - fw) / 2 && y >= (32 - fh) / 2 && x <= 608 && y <= 384;
}

int CheckWalkability(float x, float y, int w, int h, TMap& map, int footprintID) {
  if (!std::isfinite(x) || !std::isfinite(y)) return 0;
  TImagePtr F = TileImage(footprintID);
  const int fw = ImageWidth(F), fh = ImageHeight(F);
  if (!FootprintInField(x, y, fw, fh)) return 0;

  const float footX = x + static_cast<float>(fw - 32);
  const float footY = y + static_cast<float>(fh - 32);
  const int fx = FloatToInt(footX), fy = FloatToInt(footY);
  const float cx0 = CellOf(footX), cy0 = CellOf(footY);
  const float rx = static_cast<float>(fw) / 32.0f, ry = static_cast<float>(fh) / 32.0f;

  int result = 1;
  for (float dy = -ry; dy <= ry; dy += 1.0f) {
    for (float dx = -rx; dx <= rx; dx += 1.0f) {
      const float cx = cx0 + dx, cy = cy0 + dy;
      if (!(cx >= 0 && cy >= 0 && cx < MAP_WIDTH && cy < MAP_HEIGHT)) continue;
      const int col = FloatToInt(cx), row = FloatToInt(cy);
      const int px = FloatToInt(cx * 32.0f), py = FloatToInt(cy * 32.0f);
      if (!RectsOverlap(fx, fy, w, h, px, py, 32, 32)) continue;
      if (CellBlocksActor(map.mapTile[col][row], px, py, F, fx, fy)) result = 0;
      if (CellBlocksActor(map.mapFeature[col][row], px, py, F, fx, fy)) result = 0;
    }
  }
  return result;
}

int CheckFlyability(float x, float y, int w, int h, TMap& map, int missileTile, int rotation) {
  if (!std::isfinite(x) || !std::isfinite(y)) return 0;
  if (x < 0) return 0;
  if (y < 0) return 0;
  if (x > 640) return 0;
  if (y > 416) return 0;

  TImagePtr M = TileImage(missileTile);
  if (M) MidHandleImage(M);
  const int mx = FloatToInt(x), my = FloatToInt(y);
  const float cx0 = CellOf(x), cy0 = CellOf(y);
  const float angle = static_cast<float>(rotation);

  // The image's mask against the missile, both placed on integer points.
  auto collides = [&](const TImagePtr& mask, int px, int py) {
    return mask && M &&
           ImagesCollide2(mask, px, py, 0, 0.0f, 1.0f, 1.0f, M, mx, my, 0, angle, 1.0f, 1.0f);
  };

  int result = 1;
  for (int dy = -1; dy <= 1; ++dy) {
    for (int dx = -1; dx <= 1; ++dx) {
      const float cx = cx0 + static_cast<float>(dx), cy = cy0 + static_cast<float>(dy);
      if (!(cx >= 0 && cy >= 0 && cx < MAP_WIDTH && cy < MAP_HEIGHT)) continue;
      const int col = FloatToInt(cx), row = FloatToInt(cy);
      const int px = FloatToInt(cx * 32.0f), py = FloatToInt(cy * 32.0f);
      if (!RectsOverlap(mx, my, w, h, px, py, 32, 32)) continue;
      const TMapTile& feature = map.mapFeature[col][row];
      if (feature.walkability == 0 && feature.tileID >= 0) {
        // A blocking feature hides the object cell below it, whatever its mask found.
        if (collides(TileImage(feature.tileID), px, py)) result = 0;
        continue;
      }
      // An unwalkable object cell stops missiles with tile 0's shape, whatever its tile.
      if (map.mapObject[col][row].walkability == 0 && collides(TileImage(0), px, py)) result = 0;
    }
  }
  if (M) SetImageHandle(M, 0.0f, 0.0f);
  return result;
}
