#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>

#include "core/tables.h"
#include "platform/files/files.h"
#include "support/files.h"
#include "support/sync_log.h"
#include "transitions/transit_world.h"
#include "transitions/transitions.h"

using testsupport::ReadFileBytes;
using testsupport::WriteFileBytes;

namespace {

class NPCStatusTest : public TransitWorld {
protected:
  TActorPtr AddNPC(const std::string& name, float x, float y) {
    TActorPtr npc = npcType[0]->CopyActor(name, x, y);
    npcList.AddLast(npc);
    return npc;
  }
};

TEST_F(NPCStatusTest, LineLayoutOfEveryField) {
  TActorPtr npc = TActor::Create(7, 3, 123.456f, 0.00001f, -1.5f, 0.1f, 2, "Old Tom", -4, 10, 5,
                                 -1, 6.0f, 2, 11, 12, 1);
  EXPECT_EQ(NPCStatusLine(*npc),
            "7,3,123.456001,9.99999975e-06,-1.50000000,0.100000001,2,Old Tom,-4,10,5,-1,"
            "6.00000000,2,11,12,1");
  npc->primary.reset();  // no item in hand is written as the blank item
  EXPECT_EQ(NPCStatusLine(*npc).substr(NPCStatusLine(*npc).rfind(',')), ",0");
}

TEST_F(NPCStatusTest, NamesThatCannotReadBackAreMended) {
  const struct {
    std::string name, written;
  } cases[] = {
      {"a,b", "a_b"},          {"see // here", "see /_ here"}, {"a/b", "a/b"},
      {"///", "/_/"},          {"two\r\nlines", "two__lines"},  {std::string("nul\0x", 5), "nul_x"},
      {"  spaced  ", "  spaced  "},
  };
  for (const auto& c : cases) {
    TActorPtr npc = npcType[0]->CopyActor(c.name, 1, 2);
    const std::string line = NPCStatusLine(*npc);
    EXPECT_NE(line.find("," + c.written + ","), std::string::npos) << line;
  }
}

TEST_F(NPCStatusTest, WrittenFileReadsBackThroughTheNPCLoader) {
  currentMap->LoadMap(settings->tempDir + "a.map");
  currentMap->mapTile[4][5].tileID = kMarkTile;  // an edit in memory reaches the working copy
  AddNPC("first, with comma", 123.456f, 40.75f)->speedX = -1.5f;
  AddNPC("  second  ", 0.00001f, 300)->primary = gameItem[1]->CopyItem();
  ASSERT_EQ(SaveMapStatus(), 0);

  const std::string file = ReadFileBytes(settings->tempDir + "a.map.npc");
  EXPECT_EQ(file,
            "2,3,123.456001,40.7500000,-1.50000000,0.00000000,1,first_ with comma,3,3,2,0,"
            "4.00000000,1,0,0,2\r\n"
            "2,3,9.99999975e-06,300.000000,0.00000000,0.00000000,1,  second  ,3,3,2,0,"
            "4.00000000,1,0,0,1\r\n");
  std::vector<TActorPtr> back = LoadNPCs(settings->tempDir + "a.map.npc");
  ASSERT_EQ(back.size(), 2u);
  EXPECT_EQ(back[0]->name, "first_ with comma");
  EXPECT_EQ(back[0]->X, 123.0f);  // positions come back as whole pixels
  EXPECT_EQ(back[0]->Y, 40.0f);
  EXPECT_EQ(back[0]->speedX, -1.5f);
  EXPECT_EQ(back[0]->primary->itemID, 2);
  EXPECT_EQ(back[1]->name, "  second  ");
  EXPECT_EQ(back[1]->X, 0.0f);  // 9.99999975e-06 is 0 in whole pixels
  EXPECT_EQ(back[1]->primary->itemID, 1);

  TMapPtr copy = TMap::Create();
  copy->LoadMap(settings->tempDir + "a.map");
  EXPECT_EQ(copy->mapTile[4][5].tileID, kMarkTile);
}

// The working folder is refilled at every start: the NPC file takes the old one's place whole,
// by a rename, and nothing waits for the disk.
TEST_F(NPCStatusTest, TheFileReplacesTheOldByARenameWithoutASync) {
  currentMap->LoadMap(settings->tempDir + "a.map");
  ASSERT_EQ(SaveMapStatus(), 0);
  AddNPC("newcomer", 10, 20);
  testsupport::TSyncLog log;
  ASSERT_EQ(SaveMapStatus(), 0);
  const auto events = log.Events();
  bool renamed = false;
  for (size_t at : testsupport::RenamesInto(events, settings->tempDir)) {
    if (StripDir(events[at].to) != "a.map.npc") continue;
    renamed = true;
    EXPECT_EQ(events[at].state.content, ReadFileBytes(settings->tempDir + "a.map.npc"));
  }
  EXPECT_TRUE(renamed);
  EXPECT_EQ(testsupport::SyncsBelow(events, settings->tempDir), 0);
}

TEST_F(NPCStatusTest, PositionsAndNumbersOfEveryMagnitudeRoundTrip) {
  currentMap->LoadMap(settings->tempDir + "a.map");
  // Positions come back as their whole part, also where they are written in exponent form.
  const float positions[] = {1e9f, -1e9f, 2147483647.0f, -2147483648.0f, 1431655808.0f,
                             3e38f, -7.5e12f, 123.456f, -0.75f, 0.00001f};
  for (float position : positions) {
    SCOPED_TRACE(position);
    npcList.Clear();
    TActorPtr npc = AddNPC("far", 0, 0);
    npc->X = position;
    npc->Y = -position;
    npc->life = INT32_MAX;
    npc->damage = INT32_MIN;
    npc->speedX = -position;
    ASSERT_EQ(SaveMapStatus(), 0);
    const std::vector<TActorPtr> back = LoadNPCs(settings->tempDir + "a.map.npc");
    ASSERT_EQ(back.size(), 1u);
    EXPECT_EQ(back[0]->X, std::trunc(position));
    EXPECT_EQ(back[0]->Y, std::trunc(-position));
    EXPECT_FALSE(std::signbit(back[0]->X) && back[0]->X == 0.0f);
    EXPECT_EQ(back[0]->speedX, -position);
    EXPECT_EQ(back[0]->life, INT32_MAX);
    EXPECT_EQ(back[0]->damage, INT32_MIN);
  }
  // Position fields written by hand read as before: "$" and "%" numbers, fractions cut.
  const struct {
    const char* field;
    float x;
  } fields[] = {{"$1F", 31}, {"%101", 5}, {"-$10", -16}, {"12.75", 12}, {"-12.75", -12},
                {" 40", 40},  {"7px", 7},  {"", 0},       {"x", 0},      {"0x10", 0},
                {"inf", 0},   {"1.5e3", 1500}};
  for (const auto& f : fields) {
    SCOPED_TRACE(f.field);
    const std::string path = settings->tempDir + "hand.npc";
    WriteFileBytes(path, std::string("2,3,") + f.field + ",1,0,0,1,x,1,1,1,0,1,0,0,0,0");
    const std::vector<TActorPtr> back = LoadNPCs(path);
    ASSERT_EQ(back.size(), 1u);
    EXPECT_EQ(back[0]->X, f.x);
  }
}

TEST_F(NPCStatusTest, CommentsAndEmptyLinesOfAnNPCFile) {
  // The writer's layout is the template table's: comments and empty lines in between.
  const std::string path = settings->tempDir + "c.map.npc";
  WriteFileBytes(path, "// the guards\r\n\r\n" + NPCStatusLine(*npcType[0]) + " // at the gate\r\n" +
                           "$1F,%101,1,2,0,0,0,x,1,1,1,0,1,0,0,0,0");
  std::vector<TActorPtr> back = LoadNPCs(path);
  ASSERT_EQ(back.size(), 2u);
  EXPECT_EQ(back[0]->name, "guard");
  EXPECT_EQ(back[0]->primary->itemID, 2);
  EXPECT_EQ(back[1]->tileID, 31);
  EXPECT_EQ(back[1]->footprintID, 5);
}

TEST_F(NPCStatusTest, EmptyListAndMapWithoutFile) {
  // A map never loaded has no file: nothing is written.
  AddNPC("lost", 1, 1);
  SaveMapStatus();
  EXPECT_EQ(LoadDir(settings->tempDir, 1).size(), 2u);

  npcList.Clear();
  currentMap->LoadMap(settings->tempDir + "b.map");
  SaveMapStatus();
  EXPECT_EQ(FileType(settings->tempDir + "b.map.npc"), FILETYPE_FILE);
  EXPECT_EQ(ReadFileBytes(settings->tempDir + "b.map.npc"), "");
  EXPECT_TRUE(LoadNPCs(settings->tempDir + "b.map.npc").empty());
}

}  // namespace
