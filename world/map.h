#pragma once
// A map: 20 x 13 cells of 32 x 32 pixels in four layers, and its file.
#include <cstdint>
#include <memory>
#include <string>

constexpr int MAP_WIDTH = 20;
constexpr int MAP_HEIGHT = 13;
constexpr int MAP_FILE_SIZE = 16 + MAP_WIDTH * MAP_HEIGHT * 29;  // 7556

class TMapTile {
public:
  int32_t tileID = 0;       // negative: empty cell
  uint8_t walkability = 0;  // 0 blocks where the tile's mask is solid
};

class TObject : public TMapTile {
public:
  uint8_t interaction = 0;  // 1 touch trigger, 2 talk trigger
  int32_t trigger = 0;
};

class TOverlay : public TMapTile {
public:
  float alpha = 0.0f;
};

class TMap;
using TMapPtr = std::shared_ptr<TMap>;

class TMap {
public:
  int32_t mapID = 0;
  std::string mapFile;
  TMapTile mapTile[MAP_WIDTH][MAP_HEIGHT];
  TMapTile mapFeature[MAP_WIDTH][MAP_HEIGHT];
  TObject mapObject[MAP_WIDTH][MAP_HEIGHT];
  TOverlay mapOverlay[MAP_WIDTH][MAP_HEIGHT];
  int32_t mapEntryTrigger = 0;
  int32_t mapClearTrigger = 0;
  int32_t mapExitTrigger = 0;

  static TMapPtr Create();
  TMapPtr CopyMap() const;
  int DrawMap(float offsetX, float offsetY);
  int DrawOverlay(float offsetX, float offsetY);
  int LoadMap(const std::string& path);
  int SaveMap(const std::string& path, int verbose = 0);
  // SaveMap's write, through a temporary file beside the path: false, after a line on
  // standard error, when the file could not be written whole (it is then left as it was).
  bool WriteMapFile(const std::string& path) const;
};

// True when (x, y) is a cell of the grid.
inline bool InMap(int x, int y) { return x >= 0 && x < MAP_WIDTH && y >= 0 && y < MAP_HEIGHT; }
