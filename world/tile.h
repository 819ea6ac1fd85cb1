#pragma once
// The tile table's entries and the tile animation timers.
#include <memory>
#include "platform/graphics/graphics.h"

class TTile {
public:
  TImagePtr image;       // null: the tile has no image (draws nothing, collides with nothing)
  int frames = 0;
  int fps = 0;           // 0 or less: not animated
  int currentFrame = 0;  // shared by every cell and missile that shows the tile

  static std::shared_ptr<TTile> Create(const TImagePtr& image, int frames, int fps);
  int NextFrame();
};
using TTilePtr = std::shared_ptr<TTile>;

class TAnimateTimer {
public:
  int tileID = 0;
  float timerStart = 0.0f;
  float timerEnd = 0.0f;

  static std::shared_ptr<TAnimateTimer> Create(int tileID);
  int CheckTimer();
};
using TAnimateTimerPtr = std::shared_ptr<TAnimateTimer>;

int CreateTimers();

// The entry of `Tile` numbered id, or null when id is outside the table.
TTile* TileAt(int id);
// The image of tile id, or null (out of range, or no image).
TImagePtr TileImage(int id);
// The frame count of tile id, at least 1 (1 when id is outside the table).
int TileFrames(int id);
// The frame of a sprite sheet that holds `frames` frames for each facing, one row a facing.
// Values read from a damaged file wrap instead of overflowing; the sheet has no such frame.
int SheetFrame(int facing, int frames, int frame);
