// The map file: exact bytes, short files, round trips, safe saving; and CopyMap.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "core/globals.h"
#include "dialogs/dialogs.h"
#include "platform/display/display.h"
#include "platform/events/events.h"
#include "support/dialog_frame.h"
#include "support/files.h"
#include "support/settings.h"
#include "support/sync_log.h"
#include "world/map.h"

using testsupport::ReadFileBytes;
using testsupport::ScratchDir;
using testsupport::UseQuestSettings;
using testsupport::WriteFileBytes;

namespace {

std::string Hex(const std::string& bytes) {
  static const char* digits = "0123456789ABCDEF";
  std::string out;
  for (unsigned char b : bytes) {
    if (!out.empty()) out += ' ';
    out += digits[b >> 4];
    out += digits[b & 15];
  }
  return out;
}

size_t RecordOffset(int x, int y) { return 16 + static_cast<size_t>(20 * y + x) * 29; }

// Puts a different value into every field of every cell.
void FillDistinct(TMap& map) {
  map.mapID = 77;
  map.mapEntryTrigger = 1;
  map.mapClearTrigger = -2;
  map.mapExitTrigger = 300000;
  for (int y = 0; y < MAP_HEIGHT; ++y) {
    for (int x = 0; x < MAP_WIDTH; ++x) {
      const int n = 20 * y + x;
      map.mapTile[x][y] = {n, static_cast<uint8_t>(n % 3)};
      map.mapFeature[x][y] = {-n, static_cast<uint8_t>(n % 256)};
      TObject& o = map.mapObject[x][y];
      o.tileID = n * 1000;
      o.walkability = static_cast<uint8_t>(255 - n % 256);
      o.interaction = static_cast<uint8_t>(n % 4);
      o.trigger = -n - 1;
      TOverlay& v = map.mapOverlay[x][y];
      v.tileID = n - 130;
      v.walkability = 0;
      v.alpha = static_cast<float>(n) / 259.0f;
    }
  }
}

void ExpectSameCells(const TMap& a, const TMap& b, bool overlayWalkabilityIsOne) {
  EXPECT_EQ(a.mapID, b.mapID);
  EXPECT_EQ(a.mapEntryTrigger, b.mapEntryTrigger);
  EXPECT_EQ(a.mapClearTrigger, b.mapClearTrigger);
  EXPECT_EQ(a.mapExitTrigger, b.mapExitTrigger);
  for (int y = 0; y < MAP_HEIGHT; ++y) {
    for (int x = 0; x < MAP_WIDTH; ++x) {
      SCOPED_TRACE("cell " + std::to_string(x) + "," + std::to_string(y));
      EXPECT_EQ(a.mapTile[x][y].tileID, b.mapTile[x][y].tileID);
      EXPECT_EQ(a.mapTile[x][y].walkability, b.mapTile[x][y].walkability);
      EXPECT_EQ(a.mapFeature[x][y].tileID, b.mapFeature[x][y].tileID);
      EXPECT_EQ(a.mapFeature[x][y].walkability, b.mapFeature[x][y].walkability);
      EXPECT_EQ(a.mapObject[x][y].tileID, b.mapObject[x][y].tileID);
      EXPECT_EQ(a.mapObject[x][y].walkability, b.mapObject[x][y].walkability);
      EXPECT_EQ(a.mapObject[x][y].interaction, b.mapObject[x][y].interaction);
      EXPECT_EQ(a.mapObject[x][y].trigger, b.mapObject[x][y].trigger);
      EXPECT_EQ(a.mapOverlay[x][y].tileID, b.mapOverlay[x][y].tileID);
      EXPECT_EQ(a.mapOverlay[x][y].alpha, b.mapOverlay[x][y].alpha);
      if (overlayWalkabilityIsOne) EXPECT_EQ(b.mapOverlay[x][y].walkability, 1);
      else EXPECT_EQ(a.mapOverlay[x][y].walkability, b.mapOverlay[x][y].walkability);
    }
  }
}

const char* kExampleRecord =
    "00 00 00 05 01 FF FF FF FF 01 00 00 00 0C 00 01 00 00 00 03 FF FF FF FF 01 3F 00 00 00";

}  // namespace

TEST(MapFile, ExampleCellIsWrittenAndReadByteForByte) {
  const std::string dir = ScratchDir("map_example");
  TMapPtr map = TMap::Create();
  map->mapTile[3][2] = {5, 1};
  map->mapFeature[3][2] = {-1, 1};
  TObject& o = map->mapObject[3][2];
  o.tileID = 12;
  o.walkability = 0;
  o.interaction = 1;
  o.trigger = 3;
  TOverlay& v = map->mapOverlay[3][2];
  v.tileID = -1;
  v.walkability = 0;  // written as 1 whatever the cell holds
  v.alpha = 0.5f;
  map->SaveMap(dir + "/m.map", 0);

  const std::string bytes = ReadFileBytes(dir + "/m.map");
  ASSERT_EQ(bytes.size(), 7556u);
  EXPECT_EQ(Hex(bytes.substr(RecordOffset(3, 2), 29)), kExampleRecord);

  TMapPtr back = TMap::Create();
  back->LoadMap(dir + "/m.map");
  EXPECT_EQ(back->mapTile[3][2].tileID, 5);
  EXPECT_EQ(back->mapTile[3][2].walkability, 1);
  EXPECT_EQ(back->mapFeature[3][2].tileID, -1);
  EXPECT_EQ(back->mapObject[3][2].tileID, 12);
  EXPECT_EQ(back->mapObject[3][2].interaction, 1);
  EXPECT_EQ(back->mapObject[3][2].trigger, 3);
  EXPECT_EQ(back->mapOverlay[3][2].tileID, -1);
  EXPECT_EQ(back->mapOverlay[3][2].walkability, 1);
  EXPECT_EQ(back->mapOverlay[3][2].alpha, 0.5f);
}

TEST(MapFile, FreshMapHasHeaderMinusOneAndDefaultRecords) {
  const std::string dir = ScratchDir("map_fresh");
  TMap::Create()->SaveMap(dir + "/fresh.map", 0);
  const std::string bytes = ReadFileBytes(dir + "/fresh.map");
  ASSERT_EQ(bytes.size(), static_cast<size_t>(MAP_FILE_SIZE));
  EXPECT_EQ(Hex(bytes.substr(0, 16)), "FF FF FF FF 00 00 00 00 00 00 00 00 00 00 00 00");
  const std::string record =
      "00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 01 00 00 00 00";
  for (int y = 0; y < MAP_HEIGHT; ++y)
    for (int x = 0; x < MAP_WIDTH; ++x)
      ASSERT_EQ(Hex(bytes.substr(RecordOffset(x, y), 29)), record) << x << "," << y;
}

TEST(MapFile, RoundTripKeepsEveryFieldButOverlayWalkability) {
  const std::string dir = ScratchDir("map_roundtrip");
  TMapPtr map = TMap::Create();
  FillDistinct(*map);
  map->SaveMap(dir + "/r.map", 0);
  TMapPtr back = TMap::Create();
  back->LoadMap(dir + "/r.map");
  EXPECT_EQ(back->mapFile, dir + "/r.map");
  ExpectSameCells(*map, *back, true);
  // Saving what was read gives the same bytes again.
  back->SaveMap(dir + "/r2.map", 0);
  EXPECT_EQ(ReadFileBytes(dir + "/r.map"), ReadFileBytes(dir + "/r2.map"));
}

TEST(MapFile, ShortFileReadsMissingBytesAsZeroAndLongFileIgnoresTheRest) {
  const std::string dir = ScratchDir("map_short");
  TMapPtr source = TMap::Create();
  FillDistinct(*source);
  source->SaveMap(dir + "/full.map", 0);
  const std::string full = ReadFileBytes(dir + "/full.map");

  // The header, cell (0, 0) whole, and cell (1, 0) cut inside the object's trigger.
  WriteFileBytes(dir + "/short.map", full.substr(0, 16 + 29 + 18));
  TMapPtr map = TMap::Create();
  FillDistinct(*map);
  map->LoadMap(dir + "/short.map");
  EXPECT_EQ(map->mapID, 77);
  EXPECT_EQ(map->mapTile[0][0].tileID, source->mapTile[0][0].tileID);
  EXPECT_EQ(map->mapOverlay[0][0].alpha, source->mapOverlay[0][0].alpha);
  EXPECT_EQ(map->mapObject[1][0].interaction, source->mapObject[1][0].interaction);
  // Bytes 16..17 of the record are there, 18..19 missing: the trigger's high bytes survive.
  EXPECT_EQ(map->mapObject[1][0].trigger, static_cast<int32_t>(0xFFFF0000u));
  EXPECT_EQ(map->mapOverlay[1][0].tileID, 0);
  EXPECT_EQ(map->mapOverlay[1][0].walkability, 0);
  for (int y = 0; y < MAP_HEIGHT; ++y) {
    for (int x = (y == 0 ? 2 : 0); x < MAP_WIDTH; ++x) {
      ASSERT_EQ(map->mapTile[x][y].tileID, 0);
      ASSERT_EQ(map->mapFeature[x][y].walkability, 0);
      ASSERT_EQ(map->mapObject[x][y].trigger, 0);
      ASSERT_EQ(map->mapOverlay[x][y].alpha, 0.0f);
    }
  }

  WriteFileBytes(dir + "/long.map", full + std::string(100, '\x7f'));
  TMapPtr longMap = TMap::Create();
  longMap->LoadMap(dir + "/long.map");
  ExpectSameCells(*source, *longMap, true);
}

TEST(MapFile, EmptyFileLoadsAllZero) {
  const std::string dir = ScratchDir("map_empty");
  WriteFileBytes(dir + "/empty.map", "");
  TMapPtr map = TMap::Create();
  FillDistinct(*map);
  map->LoadMap(dir + "/empty.map");
  EXPECT_EQ(map->mapID, 0);
  EXPECT_EQ(map->mapExitTrigger, 0);
  EXPECT_EQ(map->mapObject[19][12].tileID, 0);
  EXPECT_EQ(map->mapOverlay[19][12].alpha, 0.0f);
}

TEST(MapFile, SaveReplacesTheFileWhole) {
  const std::string dir = ScratchDir("map_replace");
  WriteFileBytes(dir + "/m.map", std::string(9000, 'x'));
  TMap::Create()->SaveMap(dir + "/m.map", 0);
  EXPECT_EQ(ReadFileBytes(dir + "/m.map").size(), 7556u);
  EXPECT_FALSE(std::filesystem::exists(dir + "/m.map.tmp"));
}

// Maps are written into the working folder, which every start refills: the new map takes the
// old one's place whole, by a rename, and nothing waits for the disk.
TEST(MapFile, TheNewMapReplacesTheOldByARenameWithoutASync) {
  const std::string dir = ScratchDir("map_scratch");
  TMap::Create()->SaveMap(dir + "/m.map", 0);
  TMapPtr changed = TMap::Create();
  FillDistinct(*changed);
  testsupport::TSyncLog log;
  changed->SaveMap(dir + "/m.map", 0);
  const auto events = log.Events();
  const std::vector<size_t> renames = testsupport::RenamesInto(events, dir);
  ASSERT_EQ(renames.size(), 1u);
  EXPECT_EQ(events[renames[0]].to, dir + "/m.map");
  EXPECT_EQ(events[renames[0]].state.content, ReadFileBytes(dir + "/m.map"));
  EXPECT_EQ(testsupport::SyncsBelow(events, dir), 0);
}

TEST(MapFile, UnwritablePathKeepsTheOldFileAndDoesNotCrash) {
  const std::string dir = ScratchDir("map_unwritable");
  // No such folder: nothing is written.
  TMap::Create()->SaveMap(dir + "/missing/m.map", 0);
  EXPECT_FALSE(std::filesystem::exists(dir + "/missing"));

  // The temporary file cannot be made: the old map stays as it was.
  TMapPtr old = TMap::Create();
  FillDistinct(*old);
  old->SaveMap(dir + "/m.map", 0);
  const std::string before = ReadFileBytes(dir + "/m.map");
  std::filesystem::create_directory(dir + "/m.map.tmp");
  testing::internal::CaptureStderr();
  TMap::Create()->SaveMap(dir + "/m.map", 0);
  const std::string err = testing::internal::GetCapturedStderr();
  EXPECT_EQ(ReadFileBytes(dir + "/m.map"), before);
  EXPECT_NE(err.find(dir + "/m.map"), std::string::npos);
}

TEST(MapCopy, CopyIsDeepAndEqual) {
  TMapPtr source = TMap::Create();
  FillDistinct(*source);
  source->mapFile = "/somewhere/a.map";
  TMapPtr copy = source->CopyMap();
  ExpectSameCells(*source, *copy, false);
  EXPECT_EQ(copy->mapFile, "/somewhere/a.map");

  copy->mapTile[4][5].tileID = 999;
  copy->mapObject[4][5].trigger = 999;
  copy->mapOverlay[4][5].alpha = 0.25f;
  copy->mapExitTrigger = 999;
  EXPECT_EQ(source->mapTile[4][5].tileID, 104);
  EXPECT_EQ(source->mapObject[4][5].trigger, -105);
  EXPECT_NE(source->mapOverlay[4][5].alpha, 0.25f);
  EXPECT_EQ(source->mapExitTrigger, 300000);
}

TEST(MapCreate, FreshMapDefaults) {
  TMapPtr map = TMap::Create();
  EXPECT_EQ(map->mapID, -1);
  EXPECT_EQ(map->mapFile, "");
  EXPECT_EQ(map->mapEntryTrigger + map->mapClearTrigger + map->mapExitTrigger, 0);
  EXPECT_EQ(map->mapTile[19][12].tileID, 0);
  EXPECT_EQ(map->mapObject[0][0].interaction, 0);
  EXPECT_EQ(map->mapOverlay[7][7].alpha, 0.0f);
}

TEST(MapFile, MissingFileShowsItsPathAndKeepsTheCells) {
  const std::string dir = ScratchDir("map_missing");
  UseQuestSettings(dir);
  FixedRateLogic = std::make_unique<TFixedRateLogic>();
  const TMapPtr savedMap = currentMap;
  const TImagePtr savedFrame[] = {imgDialogTop, imgDialogMiddle, imgDialogBottom};
  currentMap = nullptr;
  testsupport::UseTestDialogFrame();
  FlushEvents();
  Cls();

  TMapPtr map = TMap::Create();
  FillDistinct(*map);
  map->mapFile = dir + "/old.map";
  const TMapPtr before = map->CopyMap();
  const std::string missing = dir + "/nowhere.map";
  const long flips = FlipCount();
  PostEvent(EVENT_KEYDOWN, settings->kEnter);
  EXPECT_EQ(map->LoadMap(missing), 0);
  EXPECT_GT(FlipCount(), flips);
  EXPECT_EQ(QueuedEventCount(), 0);
  const TPixmapPtr shown = CopyPixmap(BackBuffer());

  EXPECT_EQ(map->mapFile, missing);
  ExpectSameCells(*before, *map, false);

  // The box showed exactly this message, in white.
  Cls();
  PostEvent(EVENT_KEYDOWN, settings->kEnter);
  DisplayText(missing + " does not exist.", 255, 255, 255, "", 0, 0);
  EXPECT_EQ(shown->pixels, BackBuffer()->pixels);
  currentMap = savedMap;
  imgDialogTop = savedFrame[0];
  imgDialogMiddle = savedFrame[1];
  imgDialogBottom = savedFrame[2];
}
