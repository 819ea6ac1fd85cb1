#include <gtest/gtest.h>

#include <sys/resource.h>

#include <algorithm>
#include <bit>
#include <csignal>
#include <map>

#include "core/game.h"
#include "platform/files/files.h"
#include "platform/graphics/graphics.h"
#include "support/files.h"
#include "support/lua_run.h"
#include "support/sync_log.h"
#include "support/tiles.h"
#include "transitions/transit_world.h"
#include "transitions/transitions.h"

using testsupport::FolderBytes;
using testsupport::ReadFileBytes;
using testsupport::WriteFileBytes;

namespace {

// Big-endian record bytes, put together independently of the game's streams.
struct RecordBytes {
  std::string s;
  void Int(int32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) s += static_cast<char>((static_cast<uint32_t>(v) >> shift) & 0xFF);
  }
  void Float(float v) { Int(std::bit_cast<int32_t>(v)); }
  void Line(const std::string& text) { s += text + "\r\n"; }
};

// The record of player p; the counts and how many items and flags follow can be chosen.
std::string Record(const TPlayer& p, int32_t itemCount, int items, int32_t flagCount, int flagBytes) {
  RecordBytes r;
  r.Line(p.name);
  r.Int(p.tileID);
  r.Int(static_cast<int32_t>(p.X));
  r.Int(static_cast<int32_t>(p.Y));
  r.Float(p.speedX);
  r.Float(p.speedY);
  r.Float(p.walkSpeed);
  for (int v : {p.facing, p.frame, p.currentFrame, static_cast<int>(p.tempCount), p.footprintID,
                p.invincible, p.unmovable, p.life, p.maxLife, p.attitude, p.movement, p.damage,
                p.moveToX, p.moveToY, p.moveGoal, p.moveCurrent, p.deathTrigger, p.gold})
    r.Int(v);
  r.Int(itemCount);
  for (int k = 0; k < items; ++k) {
    const TItem& i = *p.item[k];
    r.Line(i.name);
    r.Line(i.description);
    for (int v : {i.itemID, i.itemType, i.ammoCount, i.ammoMax, i.icon, i.useImage, i.ammoImage,
                  i.useTrigger, i.getTrigger, i.damageRating, i.missileRange})
      r.Int(v);
    r.Float(i.missileSpeed);
    r.Int(i.missileRotationDiff);
    r.Int(i.sound);
    r.Int(i.meleeImage);
  }
  r.Int(p.primary->itemID);
  r.Int(p.secondary->itemID);
  r.Int(flagCount);
  for (int k = 0; k < flagBytes; ++k) r.s += static_cast<char>(flags[k]);
  return r.s;
}

std::vector<std::string> Sorted(std::vector<std::string> names) {
  std::sort(names.begin(), names.end());
  return names;
}

class SaveLoadTest : public TransitWorld {
protected:
  void SetUp() override {
    TransitWorld::SetUp();
    currentMap->LoadMap(settings->tempDir + "a.map");
    currentMap->mapTile[3][3].tileID = kMarkTile;  // changed on screen since it was entered
    npcList.AddLast(npcType[0]->CopyActor("g1", 40.5f, 50));
    WriteFileBytes(settings->tempDir + "save.png", "thumbnail");
    WriteFileBytes(settings->tempDir + "b.map.npc", "");

    TPlayer& p = *player;
    p.name = "Hero";
    p.X = 100.75f;
    p.Y = 64.5f;
    p.speedX = -6.0f;
    p.speedY = 1.5f;
    p.walkSpeed = 5.5f;
    // Facing right on a sheet of one frame a facing: drawn frame 3.
    p.facing = 3;
    p.frame = 0;
    p.currentFrame = 3;
    p.tempCount = 7.9f;
    p.invincible = 4;
    p.unmovable = -2;
    p.life = 5;
    p.maxLife = 8;
    p.attitude = 1;
    p.movement = 0;
    p.damage = 2;
    p.moveToX = 320;
    p.moveToY = -1;
    p.moveGoal = 3;
    p.moveCurrent = 2;
    p.deathTrigger = 1;
    p.gold = 1234567;
    p.item[0] = gameItem[1]->CopyItem();
    p.item[5] = gameItem[2]->CopyItem();
    p.item[9] = gameItem[1]->CopyItem();
    p.item[9]->ammoCount = 2;
    p.SetPrimary(1);  // the last slot holding item 1: slot 9
    p.SetSecondary(2);
    for (int k = 0; k < 256; ++k) flags[k] = static_cast<uint8_t>(k * 7);
    lastMusic = 3;
    keyHeld[3] = 1;
  }

  std::string SavePath(const std::string& slot) { return settings->saveDir + slot + ".sav"; }
  std::string SlotDir(const std::string& digit) { return settings->saveDir + digit; }
};

TEST_F(SaveLoadTest, SlotFilesAreExactlyTheLayout) {
  const std::string expectedRecord = Record(*player, 48, 48, 256, 256);
  ASSERT_EQ(SaveGame(SavePath("0.My Save"), SlotDir("0")), 1);

  EXPECT_EQ(ReadFileBytes(SavePath("0.My Save")), expectedRecord);
  // 3248 bytes of numbers; each of the 97 lines adds its text and CR LF.
  EXPECT_EQ(expectedRecord.size(), 3248u + 97 * 2 + 4 + 2 * (3 + 12) + 3);
  EXPECT_EQ(ReadFileBytes(SavePath("0.My Save") + ".lua"),
            "AddPlayer(2,3,100.750000,64.5000000)\r\nGoToMap(\"a.map\",0)\r\nPlayMusic(3)\r\n");
  // The slot folder is the working folder after the current map and its NPCs were written.
  const auto slot = FolderBytes(SlotDir("0"));
  EXPECT_EQ(slot, FolderBytes(settings->tempDir));
  ASSERT_EQ(slot.count("a.map.npc"), 1u);
  EXPECT_NE(slot.at("a.map.npc").find(",g1,"), std::string::npos);
  EXPECT_EQ(slot.at("save.png"), "thumbnail");
  TMapPtr saved = TMap::Create();
  saved->LoadMap(SlotDir("0") + "/a.map");
  EXPECT_EQ(saved->mapTile[3][3].tileID, kMarkTile);
  EXPECT_EQ(Sorted(LoadDir(settings->saveDir, 1)),
            (std::vector<std::string>{"0", "0.My Save.sav", "0.My Save.sav.lua"}));
}

TEST_F(SaveLoadTest, EveryFileOfASaveIsOnTheDiskBeforeItsCommit) {
  testsupport::TSyncLog log;
  // Into the empty slot, then over it under another name with the game changed.
  for (const char* name : {"1.First", "1.Second"}) {
    SCOPED_TRACE(name);
    player->gold += 100;
    currentMap->mapTile[4][4].tileID += 1;
    const size_t began = log.Events().size();
    ASSERT_EQ(SaveGame(SavePath(name), SlotDir("1")), 1);
    const std::vector<testsupport::TSyncEvent> events = log.Events();

    // The save's first rename into the save folder commits it: by then the record, the save
    // script, the slot folder and every file in it are synced, holding what they hold now.
    std::vector<size_t> into = testsupport::RenamesInto(events, settings->saveDir);
    std::erase_if(into, [&](size_t at) { return at < began; });
    ASSERT_FALSE(into.empty());
    std::vector<std::string> entries = {SavePath(name), SavePath(name) + ".lua", SlotDir("1")};
    for (const std::string& file : LoadDir(SlotDir("1"), 1))
      entries.push_back(SlotDir("1") + "/" + file);
    EXPECT_EQ(entries.size(), 3 + LoadDir(settings->tempDir, 1).size());
    for (const std::string& entry : entries) {
      const int synced = testsupport::SyncedAsItIs(events, entry, began);
      EXPECT_TRUE(synced >= 0 && synced < static_cast<int>(into.front()))
          << entry << ": synced at step " << synced << ", committed at step " << into.front();
    }
    // The save folder is synced after the last rename into it, with the new record in it.
    const int folderSynced = testsupport::LastSync(events, settings->saveDir);
    EXPECT_GT(folderSynced, static_cast<int>(into.back()));
    if (folderSynced >= 0) {
      EXPECT_NE(events[folderSynced].state.content.find("/" + std::string(name) + ".sav/"),
                std::string::npos)
          << events[folderSynced].state.content;
    }
    // Nothing was renamed into the save folder that was not on the disk as it was.
    EXPECT_EQ(testsupport::RenamesOfUnsyncedEntries(events, settings->saveDir), "");
  }
}

// The files of a save are synced all at once: a working folder of many maps takes no more
// syncs than one of few.
TEST_F(SaveLoadTest, ASaveSyncsAsOftenWhateverTheWorkingFolderHolds) {
  auto syncsOfASave = [this] {
    testsupport::TSyncLog log;
    EXPECT_EQ(SaveGame(SavePath("2.Maps"), SlotDir("2")), 1);
    const auto events = log.Events();
    return std::count_if(events.begin(), events.end(), [](const testsupport::TSyncEvent& e) {
      return e.kind == testsupport::TSyncEvent::Sync;
    });
  };
  const long few = syncsOfASave();
  for (int i = 0; i < 30; ++i)
    CopyFile(settings->tempDir + "a.map", settings->tempDir + "more" + std::to_string(i) + ".map");
  EXPECT_EQ(syncsOfASave(), few);
  EXPECT_EQ(LoadDir(SlotDir("2"), 1).size(), LoadDir(settings->tempDir, 1).size());
}

TEST_F(SaveLoadTest, OnlyTheThreeSlotsCanBeSavedInto) {
  const struct {
    const char* record;
    const char* folder;
    bool saved;
  } cases[] = {
      {"0.A", "0", true},  {"2.A", "2", true},  {"3.A", "3", false}, {"4.A", "4", false},
      {"9.A", "9", false}, {"a.A", "a", false}, {"1.A", "2", false}, {"1", "1", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.record);
    const auto before = FolderBytes(settings->saveDir);
    EXPECT_EQ(SaveGame(SavePath(c.record), SlotDir(c.folder)), c.saved ? 1 : 0);
    if (c.saved) {
      EXPECT_EQ(FileType(SavePath(c.record)), FILETYPE_FILE);
      EXPECT_EQ(FileType(SlotDir(c.folder) + "/a.map"), FILETYPE_FILE);
    } else {
      EXPECT_EQ(FolderBytes(settings->saveDir), before);
    }
  }
}

TEST_F(SaveLoadTest, MapNamesReachTheScriptAsLuaStrings) {
  // Quotes, a backslash and a line break: the script still reads the name back whole.
  const std::string odd = "it's \"odd\" \\ two\nlines.map";
  ShipMap(odd, OpenMap(kBlueTile));
  currentMap->LoadMap(settings->tempDir + odd);
  ASSERT_EQ(SaveGame(SavePath("1.Odd"), SlotDir("1")), 1);
  const std::string script = ReadFileBytes(SavePath("1.Odd") + ".lua");
  EXPECT_NE(script.find("\r\nGoToMap(\"it's \\\"odd\\\" \\\\ two\\010lines.map\",0)\r\n"),
            std::string::npos)
      << script;

  currentMap->LoadMap(settings->tempDir + "a.map");
  ASSERT_EQ(LoadGame(SavePath("1.Odd"), SlotDir("1")), 1);
  EXPECT_EQ(currentMap->mapFile, settings->tempDir + odd);
  EXPECT_EQ(currentMap->mapTile[0][0].tileID, kBlueTile);
}

TEST_F(SaveLoadTest, SavingReplacesOnlyItsOwnSlot) {
  // The slot's records and scripts under any name go; entries that are no record stay.
  for (const char* name : {"0.Old.sav", "0.Old.sav.lua", "0.Older.sav", "0.Lost.sav.lua",
                           "0notes.txt", "0.sav", "0.Old.SAV", "0_X.sav", "notes.sav",
                           "1.Other.sav", "1.Other.sav.lua"})
    WriteFileBytes(settings->saveDir + name, "old");
  CreateDir(SlotDir("0"));
  CreateDir(SlotDir("1"));
  CreateDir(settings->saveDir + "0.Folder.sav");
  WriteFileBytes(SlotDir("0") + "/gone.map", "old");
  WriteFileBytes(SlotDir("1") + "/kept.map", "old");

  ASSERT_EQ(SaveGame(SavePath("0.New"), SlotDir("0")), 1);
  EXPECT_EQ(Sorted(LoadDir(settings->saveDir, 1)),
            (std::vector<std::string>{"0", "0.Folder.sav", "0.New.sav", "0.New.sav.lua",
                                      "0.Old.SAV", "0.sav", "0_X.sav", "0notes.txt", "1",
                                      "1.Other.sav", "1.Other.sav.lua", "notes.sav"}));
  EXPECT_EQ(FileType(SlotDir("0") + "/gone.map"), FILETYPE_NONE);
  EXPECT_EQ(ReadFileBytes(SlotDir("1") + "/kept.map"), "old");
  EXPECT_EQ(ReadFileBytes(settings->saveDir + "0notes.txt"), "old");
}

// A save of a hero who had not stepped yet, as the previous release wrote it (facing down and
// drawn with frame 0, the first frame of the up row): it loads with its stored frame, which
// the save script's AddPlayer leaves as it is.
TEST_F(SaveLoadTest, TheStoredFrameComesBack) {
  const int sheet = static_cast<int>(Tile.size());
  Tile.push_back(testsupport::MakeTile(testsupport::SolidImage(32, 32, 8), 8));  // 2 a facing
  TPlayer& p = *player;
  p.tileID = sheet;
  p.facing = 1;
  p.frame = 0;
  p.currentFrame = 0;
  p.invincible = 0;  // drawn untinted
  ASSERT_EQ(SaveGame(SavePath("1.Old"), SlotDir("1")), 1);
  p.facing = 3;
  p.currentFrame = 7;
  ASSERT_EQ(LoadGame(SavePath("1.Old"), SlotDir("1")), 1);
  EXPECT_EQ(p.facing, 1);
  EXPECT_EQ(p.currentFrame, 0);
  Cls();
  DrawActors();
  EXPECT_EQ(ReadPixel(BackBuffer(), static_cast<int>(p.X) + 10, static_cast<int>(p.Y) + 10),
            testsupport::FrameColor(0));
}

TEST_F(SaveLoadTest, LoadRestoresTheSavedGame) {
  ASSERT_EQ(SaveGame(SavePath("2.Trip"), SlotDir("2")), 1);
  const TPlayer saved = *player;
  std::vector<TItem> savedItems;
  for (const TItemPtr& i : player->item) savedItems.push_back(*i);
  const std::string slotMap = ReadFileBytes(SlotDir("2") + "/a.map");

  // Play on: another map, other values, a new map in the map folder, the working folder changed.
  RunLua("GoToMap('b.map', 7)");
  player->gold = 1;
  player->name = "Changed";
  player->facing = player->currentFrame = 0;
  player->item[0]->itemID = 40;
  const TItemPtr slot9 = player->item[9];
  flags[17] = 99;
  lastMusic = 0;
  TMapPtr c = OpenMap(kBlueTile);
  ShipMap("c.map", c);
  DeleteFile(settings->tempDir + "c.map");
  WriteFileBytes(settings->tempDir + "stray.txt", "x");

  ASSERT_EQ(LoadGame(SavePath("2.Trip"), SlotDir("2")), 1);
  const TPlayer& p = *player;
  EXPECT_EQ(p.name, "Hero");
  EXPECT_EQ(p.tileID, saved.tileID);
  EXPECT_EQ(p.X, 100.0f);  // whole pixels
  EXPECT_EQ(p.Y, 64.0f);
  EXPECT_EQ(p.speedX, 0.0f);  // a loaded player stands still
  EXPECT_EQ(p.speedY, 0.0f);
  EXPECT_EQ(p.walkSpeed, 5.5f);
  EXPECT_EQ(p.facing, 3);
  EXPECT_EQ(p.frame, 0);
  EXPECT_EQ(p.currentFrame, 3);
  EXPECT_EQ(p.tempCount, 7.0f);
  EXPECT_EQ(p.footprintID, saved.footprintID);
  EXPECT_EQ(p.invincible, 4);
  EXPECT_EQ(p.unmovable, -2);
  EXPECT_EQ(p.life, 5);
  EXPECT_EQ(p.maxLife, 8);
  EXPECT_EQ(p.attitude, 1);
  EXPECT_EQ(p.damage, 2);
  EXPECT_EQ(p.moveToX, 320);
  EXPECT_EQ(p.moveToY, -1);
  EXPECT_EQ(p.moveGoal, 3);
  EXPECT_EQ(p.moveCurrent, 2);
  EXPECT_EQ(p.deathTrigger, 1);
  EXPECT_EQ(p.gold, 1234567);
  for (int k = 0; k < 48; ++k) {
    const TItem &got = *p.item[k], &want = savedItems[k];
    EXPECT_EQ(std::tie(got.itemID, got.name, got.description, got.itemType, got.ammoCount,
                       got.ammoMax, got.icon, got.useImage, got.ammoImage, got.useTrigger,
                       got.getTrigger, got.damageRating, got.missileRange, got.missileSpeed,
                       got.missileRotationDiff, got.sound, got.meleeImage),
              std::tie(want.itemID, want.name, want.description, want.itemType, want.ammoCount,
                       want.ammoMax, want.icon, want.useImage, want.ammoImage, want.useTrigger,
                       want.getTrigger, want.damageRating, want.missileRange, want.missileSpeed,
                       want.missileRotationDiff, want.sound, want.meleeImage))
        << k;
  }
  EXPECT_EQ(p.item[9], slot9);  // slot objects are filled in place
  EXPECT_EQ(p.primary, p.item[9]);
  EXPECT_EQ(p.secondary, p.item[5]);
  for (int k = 0; k < 256; ++k) EXPECT_EQ(flags[k], static_cast<uint8_t>(k * 7)) << k;
  EXPECT_EQ(keyHeld[3], 0);

  // The save script took the game to the saved map with its NPCs and music.
  EXPECT_EQ(currentMap->mapFile, settings->tempDir + "a.map");
  EXPECT_EQ(currentMap->mapTile[3][3].tileID, kMarkTile);
  ASSERT_EQ(npcList.Count(), 1u);
  EXPECT_EQ(npcList.First()->name, "g1");
  EXPECT_EQ(lastMusic, 3);
  // Working folder: the shipped maps overlaid by the slot's files.
  EXPECT_EQ(Sorted(LoadDir(settings->tempDir, 1)),
            (std::vector<std::string>{"a.map", "a.map.npc", "b.map", "b.map.npc", "c.map", "save.png"}));
  EXPECT_EQ(ReadFileBytes(settings->tempDir + "a.map"), slotMap);
  EXPECT_EQ(ReadFileBytes(settings->tempDir + "c.map"), ReadFileBytes(settings->mapDir + "c.map"));
}

TEST_F(SaveLoadTest, LoadOnTheSavedMapBringsTheSavedNPCs) {
  ASSERT_EQ(SaveGame(SavePath("0.Here"), SlotDir("0")), 1);
  npcList.Clear();
  npcList.AddLast(npcType[0]->CopyActor("newcomer", 10, 10));
  ASSERT_EQ(LoadGame(SavePath("0.Here"), SlotDir("0")), 1);
  ASSERT_EQ(npcList.Count(), 1u);
  EXPECT_EQ(npcList.First()->name, "g1");
  EXPECT_EQ(currentMap->mapFile, settings->tempDir + "a.map");
}

TEST_F(SaveLoadTest, AFailedSaveLeavesTheOldSlot) {
  ASSERT_EQ(SaveGame(SavePath("0.First"), SlotDir("0")), 1);
  const auto before = FolderBytes(settings->saveDir);
  const auto slotBefore = FolderBytes(SlotDir("0"));

  // The copy into the new slot folder cannot be completed: files stop growing at 10000 bytes.
  player->gold = 5;
  WriteFileBytes(settings->tempDir + "big.dat", std::string(20000, 'x'));
  rlimit keep{};
  getrlimit(RLIMIT_FSIZE, &keep);
  auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
  rlimit small = keep;
  small.rlim_cur = 10000;
  setrlimit(RLIMIT_FSIZE, &small);
  const int result = SaveGame(SavePath("0.Second"), SlotDir("0"));
  setrlimit(RLIMIT_FSIZE, &keep);
  std::signal(SIGXFSZ, oldHandler);

  EXPECT_EQ(result, 0);
  EXPECT_EQ(FolderBytes(settings->saveDir), before);
  EXPECT_EQ(FolderBytes(SlotDir("0")), slotBefore);
  ASSERT_EQ(LoadGame(SavePath("0.First"), SlotDir("0")), 1);
  EXPECT_EQ(player->gold, 1234567);
}

TEST_F(SaveLoadTest, AFailedWorkingCopyWriteFailsTheSave) {
  ASSERT_EQ(SaveGame(SavePath("0.First"), SlotDir("0")), 1);
  const auto before = FolderBytes(settings->saveDir);
  // A folder where the file or its temporary goes: nothing can write it, not even root.
  for (const char* blocked : {"a.map.tmp", "a.map.npc"}) {
    SCOPED_TRACE(blocked);
    const std::string kept = ReadFileBytes(settings->tempDir + "a.map");
    DeleteFile(settings->tempDir + blocked);
    CreateDir(settings->tempDir + blocked);
    player->gold = 5;
    currentMap->mapTile[6][6].tileID = kWallTile;

    EXPECT_EQ(SaveGame(SavePath("0.Second"), SlotDir("0")), 0);
    EXPECT_EQ(FolderBytes(settings->saveDir), before);  // nothing of the failed save is left
    if (std::string(blocked) == "a.map.tmp") {
      EXPECT_EQ(ReadFileBytes(settings->tempDir + "a.map"), kept);
    }
    DeleteDir(settings->tempDir + blocked);
  }
  ASSERT_EQ(LoadGame(SavePath("0.First"), SlotDir("0")), 1);
  EXPECT_EQ(player->gold, 1234567);
  EXPECT_EQ(currentMap->mapTile[6][6].tileID, kGreenTile);
}

TEST_F(SaveLoadTest, RecordsOutsideTheFormatAreRefused) {
  const std::string whole = Record(*player, 48, 48, 256, 256);
  const struct {
    const char* what;
    std::string bytes;
  } cases[] = {
      {"empty", ""},
      {"cut in the name line", "Her"},
      {"cut in the player fields", whole.substr(0, 40)},
      {"cut in the items", whole.substr(0, 1000)},
      {"cut in the flags", whole.substr(0, whole.size() - 1)},
      {"49 items", Record(*player, 49, 48, 256, 256)},
      {"-1 items", Record(*player, -1, 0, 256, 256)},
      {"257 flags", Record(*player, 48, 48, 257, 256)},
      {"-1 flags", Record(*player, 48, 48, -1, 0)},
  };
  WriteFileBytes(settings->tempDir + "marker", "x");
  for (const auto& c : cases) {
    WriteFileBytes(SavePath("1.Bad"), c.bytes);
    player->gold = 77;
    player->name = "Before";
    flags[0] = 200;
    EXPECT_EQ(LoadGame(SavePath("1.Bad"), SlotDir("1")), 0) << c.what;
    EXPECT_EQ(player->gold, 77) << c.what;
    EXPECT_EQ(player->name, "Before") << c.what;
    EXPECT_EQ(flags[0], 200) << c.what;
    EXPECT_EQ(FileType(settings->tempDir + "marker"), FILETYPE_FILE) << c.what;
  }
  EXPECT_EQ(LoadGame(SavePath("1.Missing"), SlotDir("1")), 0);
}

TEST_F(SaveLoadTest, ShorterCountsFillOnlyTheirSlotsAndFlags) {
  // 10 items and 100 flags: slots 10 on and flags 100 on keep their values.
  WriteFileBytes(SavePath("1.Short"), Record(*player, 10, 10, 100, 100));
  WriteFileBytes(SavePath("1.Short") + ".lua", "");  // a script that leaves all to the record
  player->item[20]->itemID = 33;
  player->item[9]->ammoCount = 50;
  flags[150] = 1;
  flags[50] = 1;
  ASSERT_EQ(LoadGame(SavePath("1.Short"), SlotDir("1")), 1);
  EXPECT_EQ(player->item[9]->ammoCount, 2);
  EXPECT_EQ(player->item[20]->itemID, 33);
  EXPECT_EQ(flags[50], 50 * 7 % 256);
  EXPECT_EQ(flags[150], 1);
}

}  // namespace
