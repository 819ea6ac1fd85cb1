// The map: creation, deep copy, drawing and the 7556-byte map file.
#include "world/map.h"

#include "core/globals.h"
#include "core/quest_files.h"
#include "dialogs/dialogs.h"
#include "platform/files/files.h"
#include "platform/files/stream.h"
#include "platform/graphics/graphics.h"
#include "platform/system/app.h"
#include "world/tile.h"

TMapPtr TMap::Create() {
  auto map = std::make_shared<TMap>();
  map->mapID = -1;
  return map;
}

TMapPtr TMap::CopyMap() const { return std::make_shared<TMap>(*this); }

namespace {

// Draws the current frame of the cell's tile at the cell's place; empty cells and tiles
// outside the table draw nothing.
void DrawCell(const TMapTile& cell, int x, int y, float offsetX, float offsetY) {
  if (cell.tileID < 0) return;
  TTile* tile = TileAt(cell.tileID);
  if (!tile) return;
  DrawImage(tile->image, x * 32 + offsetX, y * 32 + offsetY, tile->currentFrame);
}

}  // namespace

int TMap::DrawMap(float offsetX, float offsetY) {
  for (const auto& timer : timerList) timer->CheckTimer();
  for (int y = 0; y < MAP_HEIGHT; ++y) {
    for (int x = 0; x < MAP_WIDTH; ++x) {
      DrawCell(mapTile[x][y], x, y, offsetX, offsetY);
      DrawCell(mapFeature[x][y], x, y, offsetX, offsetY);
      DrawCell(mapObject[x][y], x, y, offsetX, offsetY);
    }
  }
  return 0;
}

int TMap::DrawOverlay(float offsetX, float offsetY) {
  for (int y = 0; y < MAP_HEIGHT; ++y) {
    for (int x = 0; x < MAP_WIDTH; ++x) {
      const TOverlay& cell = mapOverlay[x][y];
      if (cell.tileID < 0) continue;
      SetAlpha(cell.alpha);
      DrawCell(cell, x, y, offsetX, offsetY);
    }
  }
  SetAlpha(1.0f);
  return 0;
}

int TMap::LoadMap(const std::string& path) {
  // A file of any length is read for the map's 7556 bytes: the rest is never read.
  TStreamPtr stream = ReadStream(path);
  mapFile = path;
  if (!stream) {
    ReportFileFailure("open the map", path, "");
    DisplayText(path + " does not exist.", 255, 255, 255, "", 0, 0);
    return 0;
  }
  BigEndianStream(stream);
  mapID = ReadInt(stream);
  mapEntryTrigger = ReadInt(stream);
  mapClearTrigger = ReadInt(stream);
  mapExitTrigger = ReadInt(stream);
  for (int y = 0; y < MAP_HEIGHT; ++y) {
    for (int x = 0; x < MAP_WIDTH; ++x) {
      TMapTile& ground = mapTile[x][y];
      TMapTile& feature = mapFeature[x][y];
      TObject& object = mapObject[x][y];
      TOverlay& overlay = mapOverlay[x][y];
      ground.tileID = ReadInt(stream);
      ground.walkability = static_cast<uint8_t>(ReadByte(stream));
      feature.tileID = ReadInt(stream);
      feature.walkability = static_cast<uint8_t>(ReadByte(stream));
      object.tileID = ReadInt(stream);
      object.walkability = static_cast<uint8_t>(ReadByte(stream));
      object.interaction = static_cast<uint8_t>(ReadByte(stream));
      object.trigger = ReadInt(stream);
      overlay.tileID = ReadInt(stream);
      overlay.walkability = static_cast<uint8_t>(ReadByte(stream));
      overlay.alpha = ReadFloat(stream);
    }
  }
  CloseStream(stream);
  return 0;
}

int TMap::SaveMap(const std::string& path, int verbose) {
  (void)verbose;
  WriteMapFile(path);
  return 0;
}

// Writes a temporary file beside the map and renames it over the map, so that a failed or
// interrupted write never leaves a short map behind. The game writes maps into the working
// folder only, scratch that every start refills: nothing is synced. Failures go to standard
// error.
bool TMap::WriteMapFile(const std::string& path) const {
  const std::string temp = path + ".tmp";
  TStreamPtr stream = WriteStream(temp);
  if (!stream) {
    WriteError("Could not write the map " + path + ".");
    return false;
  }
  BigEndianStream(stream);
  WriteInt(stream, mapID);
  WriteInt(stream, mapEntryTrigger);
  WriteInt(stream, mapClearTrigger);
  WriteInt(stream, mapExitTrigger);
  for (int y = 0; y < MAP_HEIGHT; ++y) {
    for (int x = 0; x < MAP_WIDTH; ++x) {
      const TMapTile& ground = mapTile[x][y];
      const TMapTile& feature = mapFeature[x][y];
      const TObject& object = mapObject[x][y];
      const TOverlay& overlay = mapOverlay[x][y];
      WriteInt(stream, ground.tileID);
      WriteByte(stream, ground.walkability);
      WriteInt(stream, feature.tileID);
      WriteByte(stream, feature.walkability);
      WriteInt(stream, object.tileID);
      WriteByte(stream, object.walkability);
      WriteByte(stream, object.interaction);
      WriteInt(stream, object.trigger);
      WriteInt(stream, overlay.tileID);
      WriteByte(stream, 1);  // the overlay's walkability byte is always written as 1
      WriteFloat(stream, overlay.alpha);
    }
  }
  if (!ReplaceFile(stream, temp, path, TKeep::Scratch)) {
    WriteError("Could not write the map " + path + ".");
    return false;
  }
  return true;
}
