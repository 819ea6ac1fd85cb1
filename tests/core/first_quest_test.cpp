// The quest of the authors' guide (docs/first-quest.md), written from the docs alone and its
// maps built by the map tool, played start to end on the headless display with queued keys:
// a new game from the title, the keeper met and talked to, the key received and used on the
// gate, the trip to the garden and the talk with its sign, and the way back, where the keeper
// and the open gate are as they were left. Every text file of the quest stands in the guide
// word for word, so the guide builds the quest that is played here.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>

#include "core/game.h"
#include "core/globals.h"
#include "scripting/commands.h"
#include "world/tile.h"
#include "screens/screens.h"
#include "support/files.h"
#include "support/quest_play.h"

namespace fs = std::filesystem;

namespace {

constexpr int kReturn = 13, kLeft = 37, kUp = 38, kRight = 39, kDown = 40, kZ = 90;

class FirstQuest : public testsupport::QuestPlay {
protected:
  void SetUp() override {
    StartQuest((fs::path(CORVEL_BINARY_DIR) / "fixtures" / "first_quest").string(),
               "first-quest");
  }

  void Press(int key) {
    PostEvent(EVENT_KEYDOWN, key);
    Pass();
  }
  // Holds a key until `done` or a generous number of passes.
  bool Hold(int key, const std::function<bool()>& done) {
    PostEvent(EVENT_KEYDOWN, key);
    for (int i = 0; i < 600 && !done(); ++i) Pass();
    PostEvent(EVENT_KEYUP, key);
    Pass();
    return done();
  }
  bool Passes(const std::function<bool()>& done) {
    for (int i = 0; i < 100 && !done(); ++i) Pass();
    return done();
  }

  static int Keepers() {
    int n = 0;
    for (const TActorPtr& npc : npcList) n += npc->name == "Keeper";
    return n;
  }
  static bool Holds(int item) {
    for (const TItemPtr& slot : player->item)
      if (slot && slot->itemID == item) return true;
    return false;
  }
};

TEST_F(FirstQuest, PlaysFromTheTitleToTheGardenAndBack) {
  ASSERT_TRUE(OnMap("meadow.map"));
  ASSERT_EQ(Keepers(), 1);
  EXPECT_EQ(player->X, 64.0f);

  // Up to the keeper, and talk: his text, the key, the key's own text.
  ASSERT_TRUE(Hold(kRight, [] { return player->X >= 150; }));
  Press(kReturn);
  ASSERT_TRUE(Passes([] { return Holds(1); })) << "the keeper gave no key";
  ASSERT_TRUE(player->primary);
  EXPECT_EQ(player->primary->itemID, 1);
  EXPECT_EQ(player->primary->name, "Brass Key");

  // Round the keeper to the gate, which stops the player.
  ASSERT_TRUE(Hold(kDown, [] { return player->Y >= 256; }));
  ASSERT_TRUE(Hold(kRight, [] { return player->X >= 500; }));
  ASSERT_TRUE(Hold(kUp, [] { return player->Y <= 192; }));
  EXPECT_FALSE(Hold(kRight, [] { return player->X > 530; })) << "the gate let the player through";

  // The key opens it and is used up.
  Press(kZ);
  ASSERT_TRUE(Passes([] { return currentMap->mapFeature[17][6].tileID == -1; }))
      << "the gate stayed shut";
  EXPECT_FALSE(Holds(1));

  // Through the gate to the exit: the garden slides in, its entry trigger runs, and the meadow
  // and its keeper are kept in the working folder.
  ASSERT_TRUE(Hold(kRight, [] { return OnMap("garden.map"); }));
  EXPECT_EQ(flags[3], 1);
  EXPECT_EQ(player->X, 33.0f);
  std::ifstream npcFile(settings->tempDir + "meadow.map.npc");
  std::string line;
  ASSERT_TRUE(std::getline(npcFile, line));
  EXPECT_NE(line.find(",Keeper,"), std::string::npos) << line;

  // Walk into the sign and read it, facing right.
  EXPECT_FALSE(Hold(kRight, [] { return player->X >= 192; })) << "the sign let the player through";
  Press(kReturn);
  ASSERT_TRUE(Passes([] { return flags[4] == 1; })) << "the sign did not answer";

  // Back west: the meadow comes back with its one keeper and its open gate.
  ASSERT_TRUE(Hold(kLeft, [] { return OnMap("meadow.map"); }));
  EXPECT_EQ(player->X, 575.0f);
  EXPECT_EQ(Keepers(), 1);
  EXPECT_EQ(currentMap->mapFeature[17][6].tileID, -1);
}

TEST(FirstQuestGuide, ShowsEveryTextFileOfTheQuest) {
  const std::string guide =
      testsupport::ReadFileBytes(std::string(CORVEL_SOURCE_DIR) + "/docs/first-quest.md");
  ASSERT_FALSE(guide.empty());
  const fs::path quest = fs::path(CORVEL_FIXTURES) / "first_quest";
  int files = 0;
  for (const auto& entry : fs::recursive_directory_iterator(quest)) {
    if (!entry.is_regular_file() || entry.path().extension() == ".png") continue;
    // The file as an indented block of the guide: four spaces before every line.
    std::istringstream lines(testsupport::ReadFileBytes(entry.path().string()));
    std::string block, line;
    while (std::getline(lines, line)) block += (line.empty() ? "" : "    " + line) + "\n";
    if (block.empty()) continue;  // the empty tables of sounds and music
    ++files;
    EXPECT_NE(guide.find(block), std::string::npos)
        << fs::relative(entry.path(), quest) << " is not in the guide as it is";
  }
  EXPECT_EQ(files, 17);
}

}  // namespace
