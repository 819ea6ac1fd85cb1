#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>

#include "core/game.h"
#include "core/tables.h"
#include "core/user_files.h"
#include "platform/files/files.h"
#include "platform/system/clock.h"
#include "support/files.h"
#include "support/lua_run.h"
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
  // Positions come back as their whole part, also where they are written in exponent form;
  // positions and speeds beyond the reach of 2^24 pixels come back at it.
  constexpr float kReach = 16777216.0f;
  const struct {
    float position, back;
  } positions[] = {{16777215.0f, 16777215.0f}, {-kReach, -kReach},  {123.456f, 123.0f},
                   {-0.75f, 0.0f},             {0.00001f, 0.0f},    {1e9f, kReach},
                   {-1e9f, -kReach},           {2147483647.0f, kReach},
                   {-2147483648.0f, -kReach},  {3e38f, kReach},     {-7.5e12f, -kReach}};
  for (const auto& p : positions) {
    SCOPED_TRACE(p.position);
    npcList.Clear();
    TActorPtr npc = AddNPC("far", 0, 0);
    npc->X = p.position;
    npc->Y = -p.position;
    npc->life = INT32_MAX;
    npc->damage = INT32_MIN;
    npc->speedX = -p.position;
    ASSERT_EQ(SaveMapStatus(), 0);
    testing::internal::CaptureStderr();
    const std::vector<TActorPtr> back = LoadMapNPCs(settings->tempDir + "a.map.npc");
    const std::string said = testing::internal::GetCapturedStderr();
    ASSERT_EQ(back.size(), 1u);
    EXPECT_EQ(back[0]->X, p.back);
    EXPECT_EQ(back[0]->Y, -p.back);
    EXPECT_FALSE(std::signbit(back[0]->X) && back[0]->X == 0.0f);
    EXPECT_EQ(back[0]->speedX, std::abs(p.position) > kReach ? -p.back : -p.position);
    EXPECT_EQ(back[0]->life, INT32_MAX);
    EXPECT_EQ(back[0]->damage, INT32_MIN);
    EXPECT_EQ(said.empty(), std::abs(p.position) <= kReach) << said;
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
    const std::vector<TActorPtr> back = LoadMapNPCs(path);
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

// A status file from someone else's save brings no more NPCs than a map can hold, and none
// beyond the reach that the world computes with.
TEST_F(NPCStatusTest, AMapGetsAtMostAMapfulOfNPCsWithinReach) {
  ShipMap("b.map", OpenMap(kBlueTile));
  std::string file = "2,3,99999999999,-1e30,nan,inf,1,far,3,3,2,0,-inf,1,0,0,0\r\n";
  for (int n = 2; n <= 300; ++n)
    file += NPCStatusLine(*npcType[0]->CopyActor("n" + std::to_string(n), 10, 10)) + "\r\n";
  WriteFileBytes(settings->tempDir + "b.map.npc", file);

  testing::internal::CaptureStderr();
  ASSERT_EQ(RunLua("GoToMap('b.map', 7)"), 1);
  const std::string said = testing::internal::GetCapturedStderr();
  ASSERT_EQ(npcList.Count(), 256u);
  EXPECT_EQ(npcList.Last()->name, "n256");
  const TActor& far = *npcList.First();
  EXPECT_EQ(far.name, "far");
  EXPECT_EQ(far.X, 16777216.0f);
  EXPECT_EQ(far.Y, -16777216.0f);
  EXPECT_EQ(far.speedX, 0.0f);
  EXPECT_EQ(far.speedY, 16777216.0f);
  EXPECT_EQ(far.walkSpeed, -16777216.0f);
  const std::string path = settings->tempDir + "b.map.npc";
  for (const std::string& line :
       {path + ":1: X 9.99999980e+10 lies beyond 16777216 pixels; it is read as 16777216",
        path + ":1: the walking speed -inf lies beyond 16777216 pixels; it is read as -16777216",
        path + ":1: the speed across is not a number; it is read as 0",
        path + ":257: more than 256 NPCs on one map; this line and those after it are left out"})
    EXPECT_NE(said.find(line + "\n"), std::string::npos) << line << "\n" << said;
}

// The largest status file that may be read, of NPCs that each make every test the world makes
// of an NPC on every tick (they walk into the player and run a movement trigger at every
// pace): after a second of play, the exit question comes at once after a player's keys.
TEST_F(NPCStatusTest, TheExitQuestionComesPromptlyWithTheLargestNPCFile) {
  ShipMap("b.map", OpenMap(kBlueTile));
  const std::string line =
      "2,3,300,200,3.00000000,3.00000000,1,crowd,3,3,2,8,1.00000000,1,0,0,0\r\n";
  std::string file;
  while (file.size() + line.size() <= static_cast<size_t>(NPC_FILE_BYTES)) file += line;
  WriteFileBytes(settings->tempDir + "b.map.npc", file);
  testing::internal::CaptureStderr();
  ASSERT_EQ(RunLua("GoToMap('b.map', 7)"), 1);
  testing::internal::GetCapturedStderr();
  ASSERT_EQ(npcList.Count(), NPC_FILE_NPCS);

  // A frame a tick, as on a machine that keeps pace with the world, so that what is counted
  // is the world's own cost and not a busy machine's. The frame loop's poll hands out the
  // keys; any other poll is the question's, on screen.
  UseManualClock();
  FixedRateLogic->Init();
  bool framePoll = false, asked = false;
  SetEventPump([&] {
    if (framePoll) {
      framePoll = false;
      return;
    }
    asked = true;
    PostEvent(EVENT_KEYDOWN, settings->kDown);  // "No"
    PostEvent(EVENT_KEYDOWN, settings->kEnter);
  });
  int frames = 0;
  const auto pass = [&] {
    framePoll = true;
    AdvanceManualClock(static_cast<int32_t>(FixedRateLogic->MS));
    MainGameLoopPass();
    ++frames;
  };
  while (frames < 30) pass();  // a second of play
  // Five presses of a direction key, then the exit key, all waiting in the queue. What the
  // game spends until the question shows is its own thread's processor time.
  frames = 0;
  const int64_t pressedCpu = ThreadCpuMicros();
  for (int n = 0; n < 5; ++n) {
    PostEvent(EVENT_KEYDOWN, settings->kRight);
    PostEvent(EVENT_KEYUP, settings->kRight);
  }
  PostEvent(EVENT_KEYDOWN, settings->kExit);
  while (!asked && frames < 300) pass();
  const int64_t tookMs = (ThreadCpuMicros() - pressedCpu) / 1000;
  ASSERT_TRUE(asked) << "no question after " << frames << " frames";
  EXPECT_LE(frames, 11);  // each of the eleven keys taken in its frame at the latest
  EXPECT_LT(tookMs, 500) << tookMs << " ms, " << frames << " frames";
}

}  // namespace
