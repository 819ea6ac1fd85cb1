// Game set-up on a fixture quest: the working folder refilled with the map files only, the
// mask colour in force for the images, the setup script before the player, a new game.
#include <gtest/gtest.h>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>
#include "core/game.h"
#include "core/globals.h"
#include "scripting/engine.h"

namespace fs = std::filesystem;

namespace {

struct ScriptRun {
  std::string path;
  TPlayer* player;
};

// Records the scripts that set-up runs, and the player at that moment.
class RecordingEngine : public TLuaScriptEngine {
public:
  std::vector<ScriptRun> runs;
  int RunScriptFile(const std::string& path) override {
    runs.push_back({path, player.get()});
    return 0;
  }
};

class GameSetup : public ::testing::Test {
protected:
  void SetUp() override {
    root = fs::temp_directory_path() / ("corvel_setup_" + std::to_string(::getpid()));
    fs::remove_all(root);
    fs::create_directories(root);
    fs::copy(fs::path(CORVEL_FIXTURES) / "core_quest", root / "Resources", fs::copy_options::recursive);
    fs::create_directories(root / "user" / "Temporary Files");
    std::ofstream(root / "user" / "Temporary Files" / "stray.map") << "left by an earlier run";
    baseAppDir = (root / "Resources").string();
    baseHomeDir = (root / "user").string();
    settings = std::make_unique<TConfig>();
    auto engine = std::make_unique<RecordingEngine>();
    recorder = engine.get();
    lua = std::move(engine);
    player.reset();
    // A talk image whose left half is magenta: four 32 x 32 frames.
    TPixmapPtr talk = CreatePixmap(128, 32);
    for (int y = 0; y < 32; ++y)
      for (int x = 0; x < 128; ++x) WritePixel(talk, x, y, x < 64 ? 0xFFFF00FF : 0xFF00FF00);
    ASSERT_TRUE(SavePixmapPNG(talk, settings->imageDir + "talk.png"));
  }
  void TearDown() override {
    fs::remove_all(root);
    lua.reset();
    player.reset();
  }
  fs::path root;
  RecordingEngine* recorder = nullptr;
};

TEST_F(GameSetup, InitGame) {
  InitGame();
  const fs::path work = root / "user" / "Temporary Files";
  EXPECT_FALSE(fs::exists(work / "stray.map"));
  EXPECT_TRUE(fs::is_regular_file(work / "first.map"));
  EXPECT_TRUE(fs::is_regular_file(work / "second.map"));
  EXPECT_FALSE(fs::exists(work / "extra"));

  ASSERT_EQ(recorder->runs.size(), 1u);
  EXPECT_EQ(recorder->runs[0].path, settings->triggerDir + "setup.lua");
  EXPECT_EQ(recorder->runs[0].player, nullptr);

  ASSERT_TRUE(player);
  EXPECT_EQ(player->name, "Corvel");
  EXPECT_EQ(player->facing, 1);
  EXPECT_EQ(player->life, 6);
  EXPECT_EQ(player->maxLife, 6);
  EXPECT_EQ(player->walkSpeed, 6.0f);
  EXPECT_EQ(player->deathTrigger, 1);
  EXPECT_EQ(Tile.size(), 1u);
  EXPECT_EQ(gameItem.size(), 48u);
  EXPECT_EQ(Trigger.size(), 1u);

  ASSERT_TRUE(imgTalk);
  EXPECT_EQ(ImageFrames(imgTalk), 4);
  EXPECT_EQ(ReadPixel(LockImage(imgTalk, 0), 5, 5) >> 24, 0u);  // magenta is transparent
  EXPECT_EQ(ReadPixel(LockImage(imgTalk, 2), 5, 5), 0xFF00FF00u);
  EXPECT_FALSE(imgInterface);  // missing images stay null
}

TEST_F(GameSetup, StartGameReplacesOnlyThePlayer) {
  InitGame();
  player->gold = 50;
  player->X = 200;
  flags[3] = 7;
  auto npc = std::make_shared<TActor>();
  npcList.AddLast(npc);
  keyHeld[3] = 1;
  recorder->runs.clear();

  StartGame();
  ASSERT_EQ(recorder->runs.size(), 1u);
  EXPECT_EQ(recorder->runs[0].path, settings->triggerDir + "startup.lua");
  EXPECT_EQ(recorder->runs[0].player, player.get());
  EXPECT_EQ(player->gold, 0);
  EXPECT_EQ(player->X, 0.0f);
  EXPECT_EQ(flags[3], 7);
  EXPECT_EQ(npcList.First(), npc);
  EXPECT_EQ(keyHeld[3], 0);  // the new player does not inherit a held key
  npcList.Clear();
  flags[3] = 0;
}

}  // namespace
