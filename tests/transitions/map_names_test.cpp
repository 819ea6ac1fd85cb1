// Map names of scripts and save scripts stay in the working folder: names that would lead
// out of it are refused with one line on standard error, and nothing outside is read or
// written.
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

TEST_F(MapNamesTest, NamesLeadingOutOfTheWorkingFolderAreRefused) {
  // A map beside the working folder, where "../x.map" leads.
  OpenMap(kBlueTile)->SaveMap(home + "/x.map", 0);
  currentMap->LoadMap(settings->tempDir + "a.map");
  npcList.AddLast(npcType[0]->CopyActor("g1", 10, 10));
  const TMapPtr inPlay = currentMap;
  const std::string temp = settings->tempDir, above = ExtractDir(home) + "/";
  const std::string up = "its \"..\" would lead out of the working folder";
  const std::string elsewhere = "it is a path outside the working folder";
  const struct {
    std::string command, name, reason;
  } cases[] = {
      {"GoToMap('../x.map', 0)", "../x.map", up},
      {"GoToMap('sub/../../x.map', 7)", "sub/../../x.map", up},
      {"GoToMap('..', 7)", "..", up},
      {"GoToMap('" + temp + "../x.map', 7)", temp + "../x.map", up},
      {"GoToMap('" + home + "/x.map', 7)", home + "/x.map", elsewhere},
      {"SetTile('../x.map', 1, 1, 5, 1)", "../x.map", up},
      {"SetObject('../../y.map', 1, 1, 5, 1, 2, 1, 1)", "../../y.map", up},
      {"SetOverlay('a.map/../../x.map', 0, 0, 1, 1, 0.5)", "a.map/../../x.map", up},
      {"SetExitTrigger('" + home + "/x.map', 3)", home + "/x.map", elsewhere},
      {"SetEntryTrigger('" + above + "y.map', 3)", above + "y.map", elsewhere},
  };
  const auto before = FolderBytes(home);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.command);
    testing::internal::CaptureStderr();
    ASSERT_EQ(RunLua("after = nil " + c.command + " after = true"), 1);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "Refused the map \"" + c.name + "\": " + c.reason + ".\n");
    EXPECT_EQ(LuaGlobal("after"), "true");  // the command did nothing, and the script went on
    EXPECT_EQ(currentMap, inPlay);
    EXPECT_EQ(currentMap->mapFile, temp + "a.map");
    ASSERT_EQ(npcList.Count(), 1u);
    EXPECT_EQ(npcList.First()->name, "g1");
    EXPECT_EQ(FolderBytes(home), before);
    EXPECT_EQ(FileType(above + "y.map"), FILETYPE_NONE);
  }
  // Inside the working folder the names work as before.
  ASSERT_EQ(RunLua("SetTile('b.map', 1, 1, 5, 1) GoToMap('" + temp + "./b.map', 7)"), 1);
  EXPECT_EQ(currentMap->mapTile[1][1].tileID, 5);
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
