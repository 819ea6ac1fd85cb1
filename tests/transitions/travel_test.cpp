#include <gtest/gtest.h>

#include <algorithm>

#include "core/tables.h"
#include "platform/files/files.h"
#include "support/files.h"
#include "support/lua_run.h"
#include "transitions/transit_world.h"
#include "transitions/transitions.h"

using testsupport::ReadFileBytes;
using testsupport::WriteFileBytes;

namespace {

class TravelTest : public TransitWorld {
protected:
  static std::vector<std::string> Names(const std::vector<TActorPtr>& actors) {
    std::vector<std::string> names;
    for (const TActorPtr& a : actors) names.push_back(a->name);
    return names;
  }
  static std::vector<std::string> NPCNames() { return Names(npcList.ToVector()); }

  // The working folder holds exactly the shipped maps, byte for byte.
  void ExpectPristineWorkingFolder() {
    std::vector<std::string> work = LoadDir(settings->tempDir, 1), shipped = LoadDir(settings->mapDir, 1);
    std::sort(work.begin(), work.end());
    std::sort(shipped.begin(), shipped.end());
    EXPECT_EQ(work, shipped);
    for (const std::string& name : shipped)
      EXPECT_EQ(ReadFileBytes(settings->tempDir + name), ReadFileBytes(settings->mapDir + name)) << name;
  }
};

TEST_F(TravelTest, GoToMapStepsInOrder) {
  currentMap->LoadMap(settings->tempDir + "a.map");
  currentMap->mapExitTrigger = 1;  // exit.lua: marks cell (0, 0) and adds "fromExit"
  TMapPtr b = OpenMap(kBlueTile);
  b->mapEntryTrigger = 2;  // entry.lua: adds "fromEntry"
  ShipMap("b.map", b);
  WriteFileBytes(settings->tempDir + "b.map.npc",
                 NPCStatusLine(*npcType[0]->CopyActor("stored1", 10, 10)) + "\r\n" +
                     NPCStatusLine(*npcType[0]->CopyActor("stored2", 20, 20)) + "\r\n");
  npcList.AddLast(npcType[0]->CopyActor("g1", 200.5f, 100));

  ASSERT_EQ(RunLua("GoToMap('b.map', 7)"), 1);
  EXPECT_EQ(LuaGlobal("log"), "exit;entry;");
  // The map left was saved after its exit trigger, with the trigger's edit and NPC.
  EXPECT_EQ(Names(LoadNPCs(settings->tempDir + "a.map.npc")),
            (std::vector<std::string>{"g1", "fromExit"}));
  TMapPtr left = TMap::Create();
  left->LoadMap(settings->tempDir + "a.map");
  EXPECT_EQ(left->mapTile[0][0].tileID, kMarkTile);
  EXPECT_EQ(currentMap->mapFile, settings->tempDir + "b.map");
  EXPECT_EQ(currentMap->mapTile[5][5].tileID, kBlueTile);
  // The entry trigger's NPCs come first, then those of the status file in file order.
  EXPECT_EQ(NPCNames(), (std::vector<std::string>{"fromEntry", "stored1", "stored2"}));

  // Back again: the NPCs left behind return, at whole pixels.
  RunLua("log = ''");
  ASSERT_EQ(RunLua("GoToMap('a.map', 7)"), 1);
  EXPECT_EQ(LuaGlobal("log"), "");
  EXPECT_EQ(NPCNames(), (std::vector<std::string>{"g1", "fromExit"}));
  EXPECT_EQ(npcList.First()->X, 200.0f);
  EXPECT_EQ(Names(LoadNPCs(settings->tempDir + "b.map.npc")),
            (std::vector<std::string>{"fromEntry", "stored1", "stored2"}));
}

TEST_F(TravelTest, FirstTripFromTheBlankMapSavesNothing) {
  ASSERT_EQ(RunLua("GoToMap('a.map', 7)"), 1);
  EXPECT_EQ(currentMap->mapTile[0][0].tileID, kGreenTile);
  std::vector<std::string> work = LoadDir(settings->tempDir, 1);
  std::sort(work.begin(), work.end());
  EXPECT_EQ(work, (std::vector<std::string>{"a.map", "b.map"}));
}

TEST_F(TravelTest, MapNamesAndFullPaths) {
  const std::string temp = settings->tempDir;
  ASSERT_EQ(RunLua("GoToMap('" + temp + "b.map', 7)"), 1);
  EXPECT_EQ(currentMap->mapFile, temp + "b.map");
  EXPECT_EQ(currentMap->mapTile[0][0].tileID, kBlueTile);

  // The working folder's path anywhere but at the start is part of a name: that map is
  // missing, its text box is closed with the talk key, and the spare map's cells stay.
  Script({Key(EVENT_KEYDOWN, settings->kEnter)});
  ASSERT_EQ(RunLua("GoToMap('x" + temp + "a.map', 7)"), 1);
  EXPECT_EQ(currentMap->mapFile, temp + "x" + temp + "a.map");
  EXPECT_EQ(currentMap->mapTile[0][0].tileID, kBlueTile);
  EXPECT_TRUE(script.empty());

  ASSERT_EQ(RunLua("n = select('#', GoToMap('a.map', 7))"), 1);
  EXPECT_EQ(LuaNumber("n"), 0);  // no result
  EXPECT_EQ(RunLua("GoToMap('a.map')"), 0);  // too few arguments end the script
}

// A missing map: its text box, then the map read last for travelling under the missing name,
// whose entry trigger runs again; an entry trigger that goes to the missing map goes there
// again from the copy.
TEST_F(TravelTest, AMissingMapIsACopyOfTheMapReadLast) {
  TMapPtr b = OpenMap(kBlueTile);
  b->mapEntryTrigger = 7;  // to_missing.lua: counts in "entries", on to missing.map twice
  ShipMap("b.map", b);
  currentMap->LoadMap(settings->tempDir + "a.map");
  // Each key comes while its text box is up (the trip's transition takes events too): the
  // first after the first entry, the second after the second.
  Script({Key(EVENT_KEYDOWN, settings->kEnter), Key(EVENT_KEYDOWN, settings->kEnter)},
         [this] { return LuaNumber("entries") == 3.0 - static_cast<double>(script.size()); });
  testing::internal::CaptureStderr();
  ASSERT_EQ(RunLua("entries = 0 GoToMap('b.map', 7)"), 1);
  const std::string said = testing::internal::GetCapturedStderr();
  EXPECT_EQ(LuaNumber("entries"), 3);
  EXPECT_TRUE(script.empty());  // two text boxes, each closed with the talk key
  const std::string missing = "Could not open the map " + settings->tempDir + "missing.map";
  EXPECT_NE(said.find(missing), std::string::npos) << said;
  EXPECT_NE(said.find(missing, said.find(missing) + 1), std::string::npos) << said;
  EXPECT_EQ(currentMap->mapFile, settings->tempDir + "missing.map");
  EXPECT_EQ(currentMap->mapTile[5][5].tileID, kBlueTile);
  EXPECT_EQ(currentMap->mapEntryTrigger, 7);
}

// Trips nested in the triggers of a trip, on three maps with saved NPCs: a ("a1"), b ("b1",
// "b2") and c ("c1"), c with the entry trigger that adds "fromEntry"; the game is on a.
class NestedTravelTest : public TravelTest {
protected:
  // Ships the three maps, b and a with these triggers, and starts on a.
  void Start(int bEntry, int aExit, const TObject& bTouch = {}) {
    TMapPtr a = OpenMap(kGreenTile), b = OpenMap(kBlueTile), c = OpenMap(kGreenTile);
    a->mapExitTrigger = aExit;
    b->mapEntryTrigger = bEntry;
    b->mapObject[1][6] = bTouch;  // where a scroll from the right places the player
    c->mapEntryTrigger = 2;
    ShipMap("a.map", a);
    ShipMap("b.map", b);
    ShipMap("c.map", c);
    SaveNPCs("a.map", {"a1"});
    SaveNPCs("b.map", {"b1", "b2"});
    SaveNPCs("c.map", {"c1"});
    ASSERT_EQ(RunLua("GoToMap('a.map', 7) log = ''"), 1);
    ASSERT_EQ(NPCNames(), (std::vector<std::string>{"a1"}));
  }
  static void SaveNPCs(const std::string& map, const std::vector<std::string>& names) {
    std::string lines;
    for (const std::string& name : names)
      lines += NPCStatusLine(*npcType[0]->CopyActor(name, 10, 10)) + "\r\n";
    WriteFileBytes(settings->tempDir + map + ".npc", lines);
  }
  static std::vector<std::string> Saved(const std::string& map) {
    return Names(LoadNPCs(settings->tempDir + map + ".npc"));
  }
  using NameList = std::vector<std::string>;
};

TEST_F(NestedTravelTest, AnEntryTriggerThatTravelsOn) {
  Start(4, 0);  // b's entry trigger adds "fromOnward" and goes on to c
  ASSERT_EQ(RunLua("GoToMap('b.map', 7)"), 1);
  EXPECT_EQ(LuaGlobal("log"), "onward;entry;");
  EXPECT_EQ(currentMap->mapFile, settings->tempDir + "c.map");
  EXPECT_EQ(NPCNames(), (NameList{"fromEntry", "c1"}));
  EXPECT_EQ(Saved("a.map"), (NameList{"a1"}));
  EXPECT_EQ(Saved("b.map"), (NameList{"fromOnward", "b1", "b2"}));
  EXPECT_EQ(Saved("c.map"), (NameList{"c1"}));
}

TEST_F(NestedTravelTest, ATouchTriggerWhereTheScrollPlacesThePlayer) {
  TObject away;
  away.tileID = 4;
  away.walkability = 1;
  away.interaction = 1;
  away.trigger = 5;  // on to c
  Start(0, 0, away);
  ASSERT_EQ(RunLua("GoToMap('b.map', 1)"), 1);
  EXPECT_EQ(LuaGlobal("log"), "away;entry;");
  EXPECT_EQ(player->X, 33.0f);
  EXPECT_EQ(currentMap->mapFile, settings->tempDir + "c.map");
  EXPECT_EQ(NPCNames(), (NameList{"fromEntry", "c1"}));
  EXPECT_EQ(Saved("a.map"), (NameList{"a1"}));
  EXPECT_EQ(Saved("b.map"), (NameList{"b1", "b2"}));
  EXPECT_EQ(Saved("c.map"), (NameList{"c1"}));
}

TEST_F(NestedTravelTest, AnExitTriggerThatTravelsWithoutClearingItself) {
  Start(2, 6);  // a's exit trigger adds "fromLeave" and goes to b itself
  ASSERT_EQ(RunLua("GoToMap('c.map', 7)"), 1);
  // One trip, the exit trigger's: it ran once, and b was entered once.
  EXPECT_EQ(LuaGlobal("log"), "leave;entry;");
  EXPECT_EQ(currentMap->mapFile, settings->tempDir + "b.map");
  EXPECT_EQ(NPCNames(), (NameList{"fromEntry", "b1", "b2"}));
  EXPECT_EQ(Saved("a.map"), (NameList{"a1", "fromLeave"}));
  EXPECT_EQ(Saved("b.map"), (NameList{"b1", "b2"}));
  EXPECT_EQ(Saved("c.map"), (NameList{"c1"}));

  // The guard holds only while the trigger runs: leaving a again runs it again.
  ASSERT_EQ(RunLua("GoToMap('a.map', 7) log = '' GoToMap('c.map', 7)"), 1);
  EXPECT_EQ(LuaGlobal("log"), "leave;entry;");
}

// The failure question, answered with keys once the red flash is over; the title menu
// starts a new game on the talk key, and with no saved game the load dialog loads nothing.
struct FailureCase {
  const char* name;
  int downs;      // kDown presses before the answer
  int moreTalks;  // talk keys after the answer: the title menu's, and for the load dialog
                  // either its "no saved games" box or the dropped key of the new game's cut
};

class KillPlayerTest : public TravelTest, public ::testing::WithParamInterface<FailureCase> {};

TEST_P(KillPlayerTest, AnswersEndInAFreshGame) {
  const FailureCase c = GetParam();
  currentMap->LoadMap(settings->tempDir + "b.map");
  npcList.AddLast(npcType[0]->CopyActor("g1", 10, 10));
  WriteFileBytes(settings->tempDir + "played.map.npc", "left from play");
  const TPlayerPtr failed = player;

  std::deque<TEvent> keys;
  for (int i = 0; i < c.downs; ++i) keys.push_back(Key(EVENT_KEYDOWN, settings->kDown));
  keys.push_back(Key(EVENT_KEYDOWN, settings->kEnter));
  for (int i = 0; i < c.moreTalks; ++i) keys.push_back(Key(EVENT_KEYDOWN, settings->kEnter));
  FixedRateLogic->LastTime = -1;  // the flash resets the clock when it ends
  Script(keys, [] { return FixedRateLogic->LastTime != -1; });
  long idle = 0;
  onPass = [&] {
    if (script.empty() && ++idle > 5000) PostEvent(Key(EVENT_KEYDOWN, settings->kEnter));
  };

  ASSERT_EQ(RunLua("KillPlayer() after = true"), 1);
  EXPECT_EQ(LuaGlobal("after"), "true");  // the calling script goes on in the new game
  EXPECT_LT(idle, 5000) << "a screen waited for a key it should not have opened";
  EXPECT_TRUE(script.empty());
  EXPECT_EQ(LuaGlobal("log"), "startup;");
  EXPECT_NE(player, failed);
  EXPECT_EQ(currentMap->mapFile, settings->tempDir + "a.map");
  // Nothing the abandoned game or the new game's first trip wrote is left.
  ExpectPristineWorkingFolder();
}

INSTANTIATE_TEST_SUITE_P(Answers, KillPlayerTest,
                         ::testing::Values(FailureCase{"LoadGameWithoutSavedGames", 0, 2},
                                           FailureCase{"StartOver", 1, 0},
                                           FailureCase{"Quit", 2, 1}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(TravelTest, EndGameResetsThenCreditsThenTitleMenu) {
  currentMap->LoadMap(settings->tempDir + "b.map");
  WriteFileBytes(settings->tempDir + "b.map", "changed during play");
  // One talk key closes the credits, the next starts a new game from the title menu.
  Script({Key(EVENT_KEYDOWN, settings->kEnter), Key(EVENT_KEYDOWN, settings->kEnter)});
  std::vector<std::string> atCredits;
  long idle = 0;
  onPass = [&] {
    if (atCredits.empty()) atCredits = LoadDir(settings->tempDir, 1);
    if (script.empty() && ++idle > 5000) PostEvent(Key(EVENT_KEYDOWN, settings->kEnter));
  };
  ASSERT_EQ(RunLua("EndGame()"), 1);
  EXPECT_LT(idle, 5000);
  EXPECT_TRUE(script.empty());
  EXPECT_EQ(atCredits.size(), 2u);  // already reset when the credits show
  EXPECT_EQ(LuaGlobal("log"), "startup;");
  ExpectPristineWorkingFolder();
}

}  // namespace
