// Map editing commands: the map in play in memory, working copies on disk, and map travel.
#include <filesystem>

#include "core/logic.h"
#include "platform/events/events.h"

#include "scripting/engine.h"
#include "scripting/script_world.h"
#include "support/lua_run.h"

namespace {

class MapCommandTest : public ScriptWorldTest {
protected:
  void SetUp() override {
    ScriptWorldTest::SetUp();
    // A working copy "field.map" with a trigger on object cell (4, 5).
    field = OpenMap();
    field->mapObject[4][5].trigger = 5;
    field->mapObject[4][5].interaction = 2;
    field->mapObject[4][5].tileID = 1;
    path = settings->tempDir + "field.map";
    field->SaveMap(path, 0);
    original = testsupport::ReadFileBytes(path);
  }
  // The working copy that `edit` of the in-memory map should produce on disk.
  std::string Expected(const std::function<void(TMap&)>& edit) {
    TMapPtr m = field->CopyMap();
    edit(*m);
    std::string expected = settings->tempDir + "expected.map";
    m->SaveMap(expected, 0);
    return testsupport::ReadFileBytes(expected);
  }
  // Makes the working copy look old, to tell whether a command wrote it again.
  void Age() {
    std::filesystem::last_write_time(path, std::filesystem::file_time_type::clock::now() -
                                               std::chrono::hours(1));
  }
  bool Rewritten() {
    auto age = std::filesystem::file_time_type::clock::now() - std::filesystem::last_write_time(path);
    return age < std::chrono::minutes(30);
  }

  TMapPtr field;
  std::string path;
  std::string original;
};

struct EditCase {
  const char* args;  // after the map argument
  std::function<void(TMap&)> edit;
};

const EditCase kEdits[] = {
    {"SetTile(%s, 2, 3, 7, 1)", [](TMap& m) { m.mapTile[2][3] = {7, 1}; }},
    {"SetTile(%s, 19, 12, -1, 256)", [](TMap& m) { m.mapTile[19][12] = {-1, 0}; }},
    {"SetTile(%s, '2', 3.9, 7.5, -1)", [](TMap& m) { m.mapTile[2][3] = {7, 255}; }},
    {"SetFeature(%s, 0, 0, 3, 257)", [](TMap& m) { m.mapFeature[0][0] = {3, 1}; }},
    {"SetOverlay(%s, 1, 1, 2, 0, 0.5)",
     [](TMap& m) {
       m.mapOverlay[1][1].tileID = 2;
       m.mapOverlay[1][1].walkability = 0;
       m.mapOverlay[1][1].alpha = 0.5f;
     }},
    {"SetObject(%s, 1, 2, 3, 1, 9, 1, 0)",
     [](TMap& m) {
       TObject& o = m.mapObject[1][2];
       o.tileID = 3;
       o.walkability = 1;
       o.trigger = 9;
       o.interaction = 1;
     }},
    {"SetObject(%s, 4, 5, 3, 1, 0, 0, 1)",
     [](TMap& m) {
       TObject& o = m.mapObject[4][5];
       o.tileID = 3;
       o.walkability = 1;
       o.trigger = 0;
       o.interaction = 0;
     }},
    {"SetEntryTrigger(%s, 5)", [](TMap& m) { m.mapEntryTrigger = 5; }},
    {"SetClearTrigger(%s, 6.9)", [](TMap& m) { m.mapClearTrigger = 6; }},
    {"SetExitTrigger(%s, -2)", [](TMap& m) { m.mapExitTrigger = -2; }},
};

std::string Format(const char* pattern, const std::string& map) {
  char text[128];
  std::snprintf(text, sizeof text, pattern, map.c_str());
  return text;
}

TEST_F(MapCommandTest, WorkingCopyEditsRewriteTheFileOnly) {
  for (const auto& c : kEdits) {
    SCOPED_TRACE(c.args);
    Reset();
    std::string expected = Expected(c.edit);
    ASSERT_EQ(RunLua(Format(c.args, "'field.map'")), 1) << lua->GetLastErrorString();
    EXPECT_EQ(testsupport::ReadFileBytes(path), expected);
    EXPECT_NE(testsupport::ReadFileBytes(path), original);
    // The map in play is left alone.
    EXPECT_EQ(currentMap->mapTile[2][3].tileID, 0);
    EXPECT_EQ(currentMap->mapEntryTrigger, 0);
  }
}

TEST_F(MapCommandTest, CurrentMapEditsStayInMemory) {
  for (const auto& c : kEdits) {
    SCOPED_TRACE(c.args);
    Reset();
    currentMap = field->CopyMap();
    TMapPtr expected = field->CopyMap();
    c.edit(*expected);
    ASSERT_EQ(RunLua(Format(c.args, "'_current'")), 1);
    std::string inMemory = settings->tempDir + "memory.map";
    currentMap->SaveMap(inMemory, 0);
    std::string wanted = settings->tempDir + "wanted.map";
    expected->SaveMap(wanted, 0);
    EXPECT_EQ(testsupport::ReadFileBytes(inMemory), testsupport::ReadFileBytes(wanted));
    EXPECT_EQ(testsupport::ReadFileBytes(path), original);
  }
  // The overlay walkability stays as set in memory.
  ASSERT_EQ(RunLua("SetOverlay('_current', 1, 1, 2, 7, 0.25)"), 1);
  EXPECT_EQ(currentMap->mapOverlay[1][1].walkability, 7);
  EXPECT_EQ(currentMap->mapOverlay[1][1].alpha, 0.25f);
}

TEST_F(MapCommandTest, SetObjectModesAndRefusedCalls) {
  const struct {
    const char* script;
    bool rewritten;
    int tileAt45;
  } cases[] = {
      {"SetObject('field.map', 4, 5, 3, 1, 0, 0, 0)", false, 1},
      {"SetObject('field.map', 4, 5, 3, 1, 0, 0, 1)", true, 3},
      {"SetObject('field.map', 4, 5, 3, 1, 0, 0, 2)", false, 1},
      {"SetObject('field.map', 4, 5, 3, 1, 0, 0, -1)", false, 1},
      {"SetObject('field.map', 4, 5, 3, 1, 0, 0)", false, 1},
      {"SetTile('field.map', 20, 0, 3, 1)", false, 1},
      {"SetTile('field.map', 0, 13, 3, 1)", false, 1},
      {"SetFeature('field.map', -1, 0, 3, 1)", false, 1},
      {"SetOverlay('field.map', 0, -1, 3, 1, 1)", false, 1},
      {"SetTile('field.map', 0, 0, {}, 1)", false, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.script);
    Reset();
    Age();
    RunLua(c.script);
    EXPECT_EQ(Rewritten(), c.rewritten);
    TMapPtr m = TMap::Create();
    m->LoadMap(path);
    EXPECT_EQ(m->mapObject[4][5].tileID, c.tileAt45);
  }
  // A cell outside the map writes no file, not even a new working copy.
  Reset();
  ASSERT_EQ(RunLua("SetTile('new.map', 20, 0, 1, 1) SetObject('new.map', 0, 0, 1, 1, 1, 1, 3)"), 1);
  EXPECT_FALSE(std::filesystem::exists(settings->tempDir + "new.map"));

  // On the map in play: mode 0 leaves a cell with a trigger; clearing it lets mode 0 in.
  currentMap = field->CopyMap();
  ASSERT_EQ(RunLua("SetObject('_current', 4, 5, 3, 1, 8, 1, 0)"), 1);
  EXPECT_EQ(currentMap->mapObject[4][5].trigger, 5);
  ASSERT_EQ(RunLua("SetObject('_current', 4, 5, 0, 0, 0, 0, 1) "
                   "SetObject('_current', 4, 5, 3, 1, 8, 1, 0)"),
            1);
  EXPECT_EQ(currentMap->mapObject[4][5].trigger, 8);
  EXPECT_EQ(currentMap->mapObject[4][5].interaction, 1);
}

TEST_F(MapCommandTest, AMissingWorkingCopyIsWrittenBlankButForTheOneCell) {
  FixedRateLogic = std::make_unique<TFixedRateLogic>();
  FlushEvents();
  PostEvent(EVENT_KEYDOWN, settings->kEnter);  // closes the "does not exist." box
  ASSERT_EQ(RunLua("SetTile('gone.map', 2, 3, 7, 1)"), 1);
  EXPECT_EQ(PollEvent(), 0);  // the box took the key
  TMapPtr blank = TMap::Create();
  blank->mapTile[2][3] = {7, 1};
  std::string expected = settings->tempDir + "expected.map";
  blank->SaveMap(expected, 0);
  EXPECT_EQ(testsupport::ReadFileBytes(settings->tempDir + "gone.map"),
            testsupport::ReadFileBytes(expected));
}

TEST_F(MapCommandTest, GoToMapReadsTheWorkingCopy) {
  ASSERT_EQ(RunLua("SetTile('field.map', 2, 3, 7, 1) GoToMap('field.map', 7)"), 1);
  EXPECT_EQ(currentMap->mapFile, path);
  EXPECT_EQ(currentMap->mapTile[2][3].tileID, 7);
  EXPECT_NE(currentMap, nextMap);

  // A name that already begins with the working folder is a full path.
  AddGuard("guard", 1, 1);
  ASSERT_EQ(RunLua("GoToMap('" + path + "', 7)"), 1);
  EXPECT_EQ(currentMap->mapFile, path);
  EXPECT_EQ(npcList.Count(), 1u);  // the guard goes to the status file and comes back
  EXPECT_EQ(Outcome("r = select('#', GoToMap('field.map', 7))"), "0");
  EXPECT_EQ(Outcome("GoToMap('field.map') r = 1"), "ended nil");
}

}  // namespace
