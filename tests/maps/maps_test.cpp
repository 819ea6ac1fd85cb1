// Map descriptions: what a grid and its legend turn into, the mistakes that stop the build
// with the line at fault, and the map tool that authors run on their own quests.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <sstream>
#include <string>
#include <tuple>
#include <utility>
#include "tools/maps/maps.h"
#include "world/map.h"

namespace fs = std::filesystem;

namespace {

const TQuestNames kNames{{{"grass", 2}, {"wall", 4}, {"plate", 25}, {"treetop", 6}},
                         {{"village_entry.lua", 2}, {"plate.lua", 4}}};

std::string Grid(const std::string& special) {
  std::string grid;
  for (int row = 0; row < 13; ++row) grid += (row == 6 ? special : std::string(20, '.')) + "\n";
  return grid;
}

const std::string kLegend =
    "// a test map\n"
    "id 7\n"
    "entry village_entry.lua\n"
    "exit 9\n"
    "cell . ground=grass\n"
    "cell # ground=grass! feature=wall!\n"
    "cell P ground=grass object=plate touch=plate.lua\n"
    "cell t ground=grass object=none! talk=3 overlay=treetop@0.5\n"
    "grid\n";

class MapDescriptionTest : public ::testing::Test {
protected:
  fs::path dir = fs::temp_directory_path() / ("corvel_questgen_" + std::to_string(::getpid()));
  void SetUp() override { fs::create_directories(dir); }
  void TearDown() override { fs::remove_all(dir); }
  bool Build(const std::string& text, std::string& error) {
    std::ofstream(dir / "m.txt") << text;
    return BuildMap((dir / "m.txt").string(), (dir / "m.map").string(), kNames, error);
  }
};

TEST_F(MapDescriptionTest, GridAndLegendBecomeTheFourLayersAndTheTriggers) {
  std::string error;
  ASSERT_TRUE(Build(kLegend + Grid("#P.t................"), error)) << error;
  ASSERT_EQ(fs::file_size(dir / "m.map"), static_cast<uintmax_t>(MAP_FILE_SIZE));
  TMapPtr map = TMap::Create();
  map->LoadMap((dir / "m.map").string());
  EXPECT_EQ(map->mapID, 7);
  EXPECT_EQ(map->mapEntryTrigger, 2);
  EXPECT_EQ(map->mapExitTrigger, 9);
  EXPECT_EQ(map->mapClearTrigger, 0);

  const TMapTile& plain = map->mapTile[5][0];
  EXPECT_EQ(plain.tileID, 2);
  EXPECT_EQ(plain.walkability, 1);
  EXPECT_EQ(map->mapFeature[5][0].tileID, -1);
  EXPECT_EQ(map->mapObject[5][0].tileID, -1);
  EXPECT_EQ(map->mapObject[5][0].interaction, 0);
  EXPECT_EQ(map->mapOverlay[5][0].tileID, -1);

  EXPECT_EQ(map->mapTile[0][6].walkability, 0);
  EXPECT_EQ(map->mapFeature[0][6].tileID, 4);
  EXPECT_EQ(map->mapFeature[0][6].walkability, 0);

  const TObject& plate = map->mapObject[1][6];
  EXPECT_EQ(plate.tileID, 25);
  EXPECT_EQ(plate.walkability, 1);
  EXPECT_EQ(plate.interaction, 1);
  EXPECT_EQ(plate.trigger, 4);

  const TObject& talk = map->mapObject[3][6];
  EXPECT_EQ(talk.tileID, -1);
  EXPECT_EQ(talk.walkability, 0);
  EXPECT_EQ(talk.interaction, 2);
  EXPECT_EQ(talk.trigger, 3);
  EXPECT_EQ(map->mapOverlay[3][6].tileID, 6);
  EXPECT_FLOAT_EQ(map->mapOverlay[3][6].alpha, 0.5f);
}

// Each mistake is reported with the file and line at fault, what was found and what was
// expected; no map is written.
TEST_F(MapDescriptionTest, MistakesSayWhatWasFoundAndWhatWasExpected) {
  const std::string oneCell = "cell . ground=grass\ngrid\n";
  const std::string tileNames =
      "a tile is a picture's file name as it stands in tiles.dat, without \".png\"";
  const std::string triggerNames =
      "a trigger is a script's name as it stands in triggers.dat, or a trigger number";
  const struct {
    const char* name;
    std::string text;
    std::string message;  // after "m.txt"
  } cases[] = {
      {"short row", kLegend + Grid(std::string(19, '.')),
       ":16: a grid row needs 20 characters, this one has 19"},
      {"row with a trailing space", kLegend + Grid(std::string(20, '.') + " "),
       ":16: a grid row needs 20 characters, this one has 21 (1 of them spaces or tabs at its "
       "end)"},
      {"unknown character", kLegend + Grid("..........x........."),
       ":16: 'x' in column 10 has no cell line (cells: # . P t)"},
      {"tab in a row", kLegend + Grid("....\t..............."),
       ":16: '\\t' in column 4 has no cell line (cells: # . P t)"},
      {"unknown tile", "cell . ground=gras\n",
       ":1: in 'ground=gras', unknown tile 'gras': " + tileNames},
      {"tile not given", "cell . ground=grass feature\n",
       ":1: in 'feature', no tile given: " + tileNames},
      {"unknown trigger of a cell", "cell . ground=grass touch=plates.lua\n",
       ":1: in 'touch=plates.lua', unknown trigger 'plates.lua': " + triggerNames},
      {"unknown map trigger", "entry nowhere.lua\n",
       ":1: in the entry trigger, unknown trigger 'nowhere.lua': " + triggerNames},
      {"map trigger not given", "clear\n", ":1: in the clear trigger, no trigger given: " +
                                               triggerNames},
      {"map number", "id seven\n", ":1: the map number 'seven' is not a whole number"},
      {"unknown token", "cell . ground=grass walk=1\n",
       ":1: unknown token 'walk=1': a cell takes ground=, feature=, object=, overlay=, touch= "
       "and talk="},
      {"no ground", "cell . feature=wall\n",
       ":1: cell '.' has no ground: every cell needs ground=TILE"},
      {"two characters", "cell ab ground=grass\n",
       ":1: a cell line names one character, and this one names 'ab'"},
      {"overlay without alpha", "cell . ground=grass overlay=treetop\n",
       ":1: in 'overlay=treetop', an overlay needs its alpha after '@', such as "
       "overlay=treetop@0.7"},
      {"alpha not a number", "cell . ground=grass overlay=treetop@half\n",
       ":1: in 'overlay=treetop@half', the overlay's alpha 'half' is not a number: it is "
       "written as 0.7, from 0.0 (invisible) to 1.0 (solid)"},
      {"unknown line", "walls everywhere\n",
       ":1: unknown line 'walls everywhere': a line before the grid is id, entry, exit, clear, "
       "cell, grid, or a // comment"},
      {"no grid", "cell . ground=grass\n", ": no grid line: the grid follows a line 'grid'"},
      {"missing rows", oneCell + std::string(20, '.') + "\n",
       ": the grid needs 13 rows, it has 1"},
      {"extra rows", oneCell + Grid(std::string(20, '.')) + std::string(20, '.') + "\n",
       ":16: a 14th grid row: the grid has 13 rows, and after them only empty lines may follow"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::string error;
    EXPECT_FALSE(Build(c.text, error));
    EXPECT_EQ(error, (dir / "m.txt").string() + c.message);
    EXPECT_FALSE(fs::exists(dir / "m.map"));
  }
}

// The description that docs/maps.md shows builds, and the mistake it shows gives the message
// the page quotes.
TEST_F(MapDescriptionTest, TheDocumentedExampleAndItsMistake) {
  std::ifstream in(std::string(CORVEL_SOURCE_DIR) + "/docs/maps.md");
  ASSERT_TRUE(in);
  const std::string page((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::smatch quoted;
  ASSERT_TRUE(std::regex_search(page, quoted,
                                std::regex("`corvel_maps: myquest/MapText/meadow\\.txt([^`]*)`")));
  std::vector<std::string> example;
  std::istringstream lines(page.substr(page.find("### The description format")));
  for (std::string line; std::getline(lines, line) && (example.empty() || !line.empty());)
    if (line.rfind("    ", 0) == 0) example.push_back(line.substr(4));
  ASSERT_EQ(example.size(), 23u);
  const TQuestNames names{
      {{"grass", 0}, {"wall", 1}, {"water", 2}, {"treetop", 3}, {"sign", 4}, {"path", 5}},
      {{"meadow_entry.lua", 1}, {"read_sign.lua", 2}, {"to_garden.lua", 3}}};
  auto build = [&](const std::vector<std::string>& text, std::string& error) {
    std::ofstream out(dir / "meadow.txt");
    for (const std::string& line : text) out << line << "\n";
    out.close();
    return BuildMap((dir / "meadow.txt").string(), (dir / "meadow.map").string(), names, error);
  };
  std::string error;
  EXPECT_TRUE(build(example, error)) << error;
  example[11][4] = 'x';  // row 1, on line 12
  EXPECT_FALSE(build(example, error));
  EXPECT_EQ(error, (dir / "meadow.txt").string() + quoted[1].str());
}

TEST(QuestNamesTest, TilesCountKeptLinesAndTriggersCountFromOne) {
  const fs::path dir = fs::temp_directory_path() / ("corvel_names_" + std::to_string(::getpid()));
  fs::create_directories(dir);
  std::ofstream(dir / "tiles.dat") << "// comment only\n\nplayer.png,8,0 // 0\ngrass.png,1,0\r\n";
  std::ofstream(dir / "triggers.dat") << "death.lua\nplate.lua\n";
  TQuestNames names;
  std::string error;
  ASSERT_TRUE(ReadQuestNames((dir / "tiles.dat").string(), (dir / "triggers.dat").string(), names, error));
  EXPECT_EQ(names.tiles.at("player"), 0);
  EXPECT_EQ(names.tiles.at("grass"), 1);
  EXPECT_EQ(names.triggers.at("death.lua"), 1);
  EXPECT_EQ(names.triggers.at("plate.lua"), 2);
  EXPECT_FALSE(ReadQuestNames((dir / "none.dat").string(), (dir / "triggers.dat").string(), names, error));
  fs::remove_all(dir);
}

// The map tool on a quest folder: its usage line, the maps it writes, and a failure that
// names the line at fault and writes nothing.
TEST(MapToolTest, BuildsDescriptionsIntoTheQuestsMapsFolder) {
  const fs::path quest =
      fs::temp_directory_path() / ("corvel_maptool_" + std::to_string(::getpid()));
  fs::remove_all(quest);
  fs::create_directories(quest / "Images");
  fs::create_directories(quest / "Triggers");
  fs::create_directories(quest / "MapText");
  std::ofstream(quest / "Images/tiles.dat") << "hero.png,8,0\ngrass.png,1,0\n";
  std::ofstream(quest / "Triggers/triggers.dat") << "death.lua\nentry.lua\n";
  std::ofstream(quest / "MapText/first.txt")
      << "entry entry.lua\ncell . ground=grass\ngrid\n" << Grid(std::string(20, '.'));
  std::ofstream(quest / "MapText/bad.txt") << "cell . ground=sand\n";
  // The tool's exit status and standard error for its arguments.
  auto run = [&](const std::string& args) {
    const std::string command = std::string("'") + CORVEL_MAPS_TOOL + "' " + args + " 2>'" +
                                (quest / "err.txt").string() + "'";
    const int status = std::system(command.c_str());
    std::ifstream in(quest / "err.txt");
    std::string err((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return std::make_pair(WIFEXITED(status) ? WEXITSTATUS(status) : -1, err);
  };
  auto build = [&](const std::string& description) {
    return run("'" + quest.string() + "' '" + (quest / "MapText" / description).string() + "'");
  };

  auto [status, err] = run("");
  EXPECT_EQ(status, 2);
  EXPECT_EQ(err.rfind("usage: corvel_maps QUEST DESCRIPTION...", 0), 0u) << err;

  std::tie(status, err) = build("first.txt");
  EXPECT_EQ(status, 0) << err;
  TMapPtr map = TMap::Create();
  map->LoadMap((quest / "Maps/first.map").string());
  EXPECT_EQ(map->mapEntryTrigger, 2);
  EXPECT_EQ(map->mapTile[19][12].tileID, 1);

  std::tie(status, err) = build("bad.txt");
  EXPECT_EQ(status, 1);
  EXPECT_EQ(err, "corvel_maps: " + (quest / "MapText/bad.txt").string() +
                     ":1: in 'ground=sand', unknown tile 'sand': a tile is a picture's file "
                     "name as it stands in tiles.dat, without \".png\"\n");
  EXPECT_FALSE(fs::exists(quest / "Maps/bad.map"));
  fs::remove_all(quest);
}

}  // namespace
