// Tile table entries and the timers that animate them.
#include "world/tile.h"

#include "core/globals.h"
#include "platform/system/clock.h"

std::shared_ptr<TTile> TTile::Create(const TImagePtr& image, int frames, int fps) {
  auto tile = std::make_shared<TTile>();
  tile->image = image;
  tile->frames = frames;
  tile->fps = fps;
  tile->currentFrame = 0;
  return tile;
}

int TTile::NextFrame() {
  // A frame count below 1 counts as 1: such a tile stays on its frame.
  if (frames <= 1) return 0;
  currentFrame = (currentFrame + 1) % frames;
  return currentFrame;
}

TTile* TileAt(int id) {
  if (id < 0 || static_cast<size_t>(id) >= Tile.size()) return nullptr;
  return Tile[static_cast<size_t>(id)].get();
}

TImagePtr TileImage(int id) {
  TTile* tile = TileAt(id);
  return tile ? tile->image : nullptr;
}

int TileFrames(int id) {
  TTile* tile = TileAt(id);
  return tile && tile->frames > 1 ? tile->frames : 1;
}

int SheetFrame(int facing, int frames, int frame) {
  return static_cast<int>(static_cast<int64_t>(facing) * frames + frame);
}

namespace {

// Milliseconds per frame of tile id; 0 for a tile that is missing or does not animate.
int Period(int id) {
  TTile* tile = TileAt(id);
  if (!tile || tile->fps <= 0) return 0;
  return 1000 / tile->fps;
}

}  // namespace

std::shared_ptr<TAnimateTimer> TAnimateTimer::Create(int tileID) {
  auto timer = std::make_shared<TAnimateTimer>();
  timer->tileID = tileID;
  timer->timerStart = static_cast<float>(MilliSecs());
  timer->timerEnd = timer->timerStart + static_cast<float>(Period(tileID));
  return timer;
}

int TAnimateTimer::CheckTimer() {
  if (!(static_cast<float>(MilliSecs()) > timerEnd)) return 0;
  if (TTile* tile = TileAt(tileID)) tile->NextFrame();
  timerStart = static_cast<float>(MilliSecs());
  timerEnd = timerStart + static_cast<float>(Period(tileID));
  return 0;
}

int CreateTimers() {
  for (size_t i = 0; i < Tile.size(); ++i) {
    if (Tile[i] && Tile[i]->fps > 0) timerList.AddLast(TAnimateTimer::Create(static_cast<int>(i)));
  }
  return 0;
}
