// A new game after the first, played with the startup script and the triggers that the
// quest folder's page (docs/quest-folder.md) shows for it: the last game's map is left
// through its exit trigger, which then does nothing, and the new game begins clean; walking
// off the map runs what the exit trigger holds.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <string>

#include "core/game.h"
#include "scripting/commands.h"
#include "support/files.h"
#include "support/lua_run.h"
#include "transitions/transit_world.h"

using testsupport::WriteFileBytes;

namespace {

// The scripts of the indented blocks in a section of the page, each beginning with a line
// "-- NAME.lua: ..." and ending at the first line that is not indented.
std::map<std::string, std::string> SectionScripts(const std::string& path,
                                                  const std::string& heading) {
  std::ifstream in(path);
  EXPECT_TRUE(in) << path;
  std::map<std::string, std::string> scripts;
  std::string line, current;
  bool inSection = false;
  while (std::getline(in, line)) {
    if (line.rfind("## ", 0) == 0) inSection = line == heading;
    if (!inSection) continue;
    if (line.rfind("    ", 0) != 0) {
      current.clear();
      continue;
    }
    const std::string code = line.substr(4);
    const size_t lua = code.find(".lua:");
    if (code.rfind("-- ", 0) == 0 && lua != std::string::npos)
      current = code.substr(3, lua + 4 - 3);
    else if (!current.empty())
      scripts[current] += code + "\n";
  }
  return scripts;
}

using NewGameTest = TransitWorld;

TEST_F(NewGameTest, TheDocumentedStartupAndExitTriggerBeginANewGameClean) {
  const auto scripts = SectionScripts(std::string(CORVEL_SOURCE_DIR) + "/docs/quest-folder.md",
                                      "## A new game after the first");
  ASSERT_EQ(scripts.size(), 3u);
  const std::string triggers = testsupport::ScratchDir("new_game_triggers") + "/";
  for (const auto& [name, text] : scripts) WriteFileBytes(triggers + name, text);
  settings->triggerDir = triggers;
  Trigger = {"", "village_exit.lua", "to_forest.lua"};
  TMapPtr village = OpenMap(kGreenTile);
  village->mapExitTrigger = 1;
  ShipMap("village.map", village);
  ShipMap("forest.map", OpenMap(kBlueTile));
  const std::string temp = settings->tempDir;

  // The first game, and the player walks off the village: the exit trigger acts, and its
  // text box is closed with the talk key.
  StartGame();
  ASSERT_EQ(currentMap->mapFile, temp + "village.map");
  Script({Key(EVENT_KEYDOWN, settings->kEnter)}, [] { return flags[7] == 1; });
  RunTrigger(2);
  EXPECT_EQ(flags[7], 1);
  EXPECT_TRUE(script.empty());
  EXPECT_EQ(currentMap->mapFile, temp + "forest.map");

  // Back in the village the game ends, and a new one starts there. A key is ready for a
  // text box of the exit trigger, which must not come.
  ASSERT_EQ(RunLua("GoToMap('village.map', 7)"), 1);
  flags[3] = 9;
  Script({Key(EVENT_KEYDOWN, settings->kEnter)}, [] { return flags[7] == 1; });
  StartGame();
  EXPECT_EQ(script.size(), 1u);
  EXPECT_EQ(flags[7], 0);
  EXPECT_EQ(flags[3], 0);
  EXPECT_EQ(currentMap->mapFile, temp + "village.map");
  EXPECT_EQ(player->X, 64.0f);
}

}  // namespace
