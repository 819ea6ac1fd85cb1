// The quest folder is its author's program, with no bounds on its files: the quest of the
// authors' guide with a set-up script and an npc.dat of over a megabyte each, a 5 MB file in
// Maps/, a map file of 70 KB and a FIFO in Maps/ (which holds no file to copy) starts and
// plays from its title, the long map read for its 7556 bytes, and a game saved on it loads
// again with the large file whole. A map's NPC file in the user folder keeps its bound.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>

#include "core/globals.h"
#include "platform/events/events.h"
#include "screens/save_slots.h"
#include "support/files.h"
#include "support/lua_run.h"
#include "support/quest_play.h"
#include "transitions/transitions.h"
#include "world/map.h"

namespace fs = std::filesystem;
using testsupport::ReadFileBytes;
using testsupport::WriteFileBytes;

namespace {

constexpr int kRight = 39;

// The bytes of the map file at `path` as the game reads it and writes it back.
std::string AsRead(const std::string& path, const std::string& copy) {
  const TMapPtr map = TMap::Create();
  map->LoadMap(path);
  map->SaveMap(copy, 0);
  return ReadFileBytes(copy);
}

class TrustedQuest : public testsupport::QuestPlay {
protected:
  void SetUp() override {
    const fs::path guide = fs::path(CORVEL_BINARY_DIR) / "fixtures" / "first_quest";
    quest = testsupport::ScratchDir("large-quest");
    fs::copy(guide, quest, fs::copy_options::recursive);
    const std::string setup = quest + "/Triggers/setup.lua";
    WriteFileBytes(setup, ReadFileBytes(setup) + "\nSetFlag(200, 7)\n--" + kMegabyte + "\n");
    keeper = ReadFileBytes(quest + "/npc.dat") + "\n// " + kMegabyte + "\n";
    WriteFileBytes(quest + "/npc.dat", keeper);
    notes = std::string(5000000, '\0');
    for (size_t i = 0; i < notes.size(); ++i) notes[i] = static_cast<char>(i * 7);
    WriteFileBytes(quest + "/Maps/notes.bin", notes);
    // The meadow with 70 KB of bytes after its 7556.
    const std::string meadow = quest + "/Maps/meadow.map";
    WriteFileBytes(meadow, ReadFileBytes(meadow) + std::string(70000 - 7556, '\xFF'));
    ASSERT_EQ(mkfifo((quest + "/Maps/pipe").c_str(), 0600), 0);
    StartQuest(quest, "large-quest-play");
  }

  const std::string kMegabyte = std::string(1100000, 'x');
  std::string quest, notes, keeper;
};

TEST_F(TrustedQuest, StartsPlaysAndItsSavesLoad) {
  EXPECT_EQ(flags[200], 7);  // the set-up script ran to its end
  ASSERT_EQ(npcType.size(), 1u);
  EXPECT_EQ(npcType[0]->name, "Keeper");
  ASSERT_TRUE(OnMap("meadow.map"));
  const std::string work = settings->tempDir;
  EXPECT_EQ(ReadFileBytes(work + "notes.bin"), notes);
  EXPECT_EQ(fs::file_size(work + "meadow.map"), 70000u);
  EXPECT_FALSE(fs::exists(work + "pipe"));
  const std::string guide =
      (fs::path(CORVEL_BINARY_DIR) / "fixtures" / "first_quest" / "Maps" / "meadow.map").string();
  EXPECT_EQ(AsRead(work + "meadow.map", quest + "/long.map"),
            AsRead(guide, quest + "/guide.map"));

  // The hero walks.
  const float x = player->X;
  PostEvent(EVENT_KEYDOWN, kRight);
  for (int i = 0; i < 20; ++i) Pass();
  PostEvent(EVENT_KEYUP, kRight);
  Pass();
  EXPECT_GT(player->X, x + 30);

  ASSERT_EQ(SaveGame(SaveRecordPath(0, "LARGE"), SlotFolder(0)), 1);
  EXPECT_EQ(ReadFileBytes(SlotFolder(0) + "/notes.bin"), notes);
  const float saved = player->X;
  player->X = 0;
  ASSERT_EQ(LoadGame(SaveRecordPath(0, "LARGE"), SlotFolder(0)), 1);
  EXPECT_EQ(player->X, static_cast<float>(static_cast<int>(saved)));
  EXPECT_TRUE(OnMap("meadow.map"));
  EXPECT_EQ(ReadFileBytes(work + "notes.bin"), notes);

  // The same lines as a map's NPC file in the working folder are refused for their size.
  WriteFileBytes(work + "garden.map.npc", keeper);
  testing::internal::CaptureStderr();
  RunLua("GoToMap('garden.map', 7)");
  const std::string said = testing::internal::GetCapturedStderr();
  ASSERT_TRUE(OnMap("garden.map"));
  EXPECT_TRUE(npcList.IsEmpty());
  EXPECT_NE(said.find("Refused to read " + work + "garden.map.npc: it holds " +
                      std::to_string(keeper.size()) + " bytes, more than 1048576\n"),
            std::string::npos) << said;
}

}  // namespace
