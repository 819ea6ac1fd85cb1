// Map names of scripts and save scripts: every name is taken in the working folder, so
// "/b.map" is b.map's working copy; a name whose ".." climbs out of the folder is refused
// with one line on standard error, and nothing outside is read or written.
#include <gtest/gtest.h>

#include "platform/files/files.h"
#include "support/files.h"
#include "support/lua_run.h"
#include "transitions/transit_world.h"
#include "transitions/transitions.h"

using testsupport::FolderBytes;
using testsupport::ReadFileBytes;
using testsupport::WriteFileBytes;

namespace {

using MapNamesTest = TransitWorld;

TEST_F(MapNamesTest, NamesThatClimbOutOfTheWorkingFolderAreRefused) {
  // A map beside the working folder, where "../x.map" leads.
  OpenMap(kBlueTile)->SaveMap(home + "/x.map", 0);
  currentMap->LoadMap(settings->tempDir + "a.map");
  npcList.AddLast(npcType[0]->CopyActor("g1", 10, 10));
  const TMapPtr inPlay = currentMap;
  const std::string temp = settings->tempDir;
  const struct {
    std::string command, name;
  } cases[] = {
      {"GoToMap('../x.map', 0)", "../x.map"},
      {"GoToMap('sub/../../x.map', 7)", "sub/../../x.map"},
      {"GoToMap('/../x.map', 7)", "/../x.map"},
      {"GoToMap('..', 7)", ".."},
      {"GoToMap('" + temp + "../x.map', 7)", temp + "../x.map"},
      {"SetTile('../x.map', 1, 1, 5, 1)", "../x.map"},
      {"SetObject('../../y.map', 1, 1, 5, 1, 2, 1, 1)", "../../y.map"},
      {"SetOverlay('a.map/../../x.map', 0, 0, 1, 1, 0.5)", "a.map/../../x.map"},
      {"SetExitTrigger('./../x.map', 3)", "./../x.map"},
  };
  const auto before = FolderBytes(home);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.command);
    testing::internal::CaptureStderr();
    ASSERT_EQ(RunLua("after = nil " + c.command + " after = true"), 1);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "Refused the map \"" + c.name +
                  "\": its \"..\" would lead out of the working folder.\n");
    EXPECT_EQ(LuaGlobal("after"), "true");  // the command did nothing, and the script went on
    EXPECT_EQ(currentMap, inPlay);
    EXPECT_EQ(currentMap->mapFile, temp + "a.map");
    ASSERT_EQ(npcList.Count(), 1u);
    EXPECT_EQ(npcList.First()->name, "g1");
    EXPECT_EQ(FolderBytes(home), before);
  }
}

TEST_F(MapNamesTest, EveryOtherNameIsAWorkingCopy) {
  TMapPtr b = OpenMap(kBlueTile);
  b->mapEntryTrigger = 2;  // entry.lua: logs "entry;" and adds "fromEntry"
  ShipMap("b.map", b);
  const std::string temp = settings->tempDir;
  CreateDir(temp + "sub");  // a folder of the working folder, which "sub/.." passes through
  const std::string names[] = {"/b.map",       "//b.map",         "./b.map",      "sub/../b.map",
                               "/sub/../b.map", temp + "./b.map", temp + "/b.map"};
  for (const std::string& name : names) {
    SCOPED_TRACE(name);
    currentMap->LoadMap(temp + "a.map");
    RunLua("log = ''");
    testing::internal::CaptureStderr();
    ASSERT_EQ(RunLua("GoToMap('" + name + "', 7)"), 1);
    EXPECT_EQ(testing::internal::GetCapturedStderr().find("Refused"), std::string::npos);
    EXPECT_EQ(LuaGlobal("log"), "entry;");
    EXPECT_EQ(currentMap->mapTile[5][5].tileID, kBlueTile);
    ASSERT_GE(npcList.Count(), 1u);
    EXPECT_EQ(npcList.First()->name, "fromEntry");
  }
  // The map commands take the same names.
  ASSERT_EQ(RunLua("SetTile('/b.map', 1, 1, 5, 1) SetExitTrigger('sub/../b.map', 4)"), 1);
  TMapPtr copy = TMap::Create();
  copy->LoadMap(temp + "b.map");
  EXPECT_EQ(copy->mapTile[1][1].tileID, kMarkTile);
  EXPECT_EQ(copy->mapExitTrigger, 4);

  // A full path elsewhere is a name in the working folder too: there it is missing, its
  // text box is closed with the talk key, and the file elsewhere stays as it was.
  OpenMap(kGreenTile)->SaveMap(home + "/x.map", 0);
  const auto before = FolderBytes(home);
  Script({Key(EVENT_KEYDOWN, settings->kEnter)});
  testing::internal::CaptureStderr();
  ASSERT_EQ(RunLua("GoToMap('" + home + "/x.map', 7)"), 1);
  EXPECT_EQ(testing::internal::GetCapturedStderr().find("Refused"), std::string::npos);
  EXPECT_TRUE(script.empty());
  EXPECT_EQ(currentMap->mapFile, temp + home + "/x.map");
  EXPECT_EQ(currentMap->mapTile[5][5].tileID, kBlueTile);  // the spare map's cells stay
  EXPECT_EQ(ReadFileBytes(home + "/x.map"), before.at("x.map"));
}

TEST_F(MapNamesTest, ASaveScriptCannotLeadOutOfTheWorkingFolder) {
  OpenMap(kBlueTile)->SaveMap(home + "/x.map", 0);
  const std::string outside = ReadFileBytes(home + "/x.map");
  currentMap->LoadMap(settings->tempDir + "a.map");
  const std::string record = settings->saveDir + "0.AWAY.sav";
  ASSERT_EQ(SaveGame(record, settings->saveDir + "0"), 1);
  WriteFileBytes(record + ".lua", "GoToMap(\"../x.map\",0)\r\n");
  testing::internal::CaptureStderr();
  ASSERT_EQ(LoadGame(record, settings->saveDir + "0"), 1);
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "Refused the map \"../x.map\": its \"..\" would lead out of the working folder.\n");
  EXPECT_EQ(currentMap->mapFile, settings->tempDir + "a.map");
  EXPECT_EQ(currentMap->mapTile[0][0].tileID, kGreenTile);
  EXPECT_EQ(ReadFileBytes(home + "/x.map"), outside);
  EXPECT_EQ(FileType(home + "/x.map.npc"), FILETYPE_NONE);
}

}  // namespace
