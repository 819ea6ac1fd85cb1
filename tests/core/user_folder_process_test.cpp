// The real program and its user folder: the working folder, a folder of its own, becomes a
// folder when it is a link (what it led to untouched), the save folder is the player's and
// is followed; one game at a time on a user folder (the second ends at
// once, touching nothing, and the lock goes with the first however it ends), and a disk
// that fills while the maps are copied ends the start with the file and the reason.
#include <gtest/gtest.h>
#include <signal.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <optional>
#include <sstream>
#include <string>
#include <thread>

#include "core/game.h"
#include "core/globals.h"
#include "screens/save_slots.h"
#include "scripting/commands.h"
#include "support/checks.h"
#include "support/files.h"
#include "support/game_process.h"
#include "support/write_failures.h"
#include "transitions/transitions.h"
#include "world/map.h"

namespace fs = std::filesystem;
using testsupport::WaitFor;
using testsupport::HasLine;
using testsupport::FolderBytes;
using testsupport::GameProcess;

namespace {

class UserFolderProcess : public ::testing::Test {
protected:
  void SetUp() override {
    root = testsupport::ScratchDir("tree");
    program = testsupport::MakeGameTree(root, std::string(CORVEL_FIXTURES) + "/core_quest");
    user = testsupport::GameUserDir(root);
    work = user + "/Temporary Files";
  }
  // The game is on its way to the title menu once the maps are in the working folder.
  bool Started() const {
    return WaitFor([&] { return fs::is_regular_file(work + "/second.map"); });
  }
  std::string root, program, user, work;
};

TEST_F(UserFolderProcess, TheWorkingFolderAsALinkBecomesAFolderTheSaveFolderStays) {
  const struct {
    const char* folder;
    bool followed;
  } cases[] = {{"Temporary Files", false}, {"Save", true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.folder);
    fs::remove_all(user);
    fs::create_directories(user);
    const std::string elsewhere = testsupport::ScratchDir("elsewhere");
    testsupport::WriteFileBytes(elsewhere + "/0.KEPT.sav", "someone's save");
    fs::create_directory_symlink(elsewhere, user + "/" + c.folder);
    const auto before = FolderBytes(elsewhere);
    GameProcess game(program, root + "/home", root);
    ASSERT_TRUE(Started()) << game.Error();
    game.Signal(SIGTERM);
    EXPECT_EQ(game.Wait(), 0) << game.Error();
    EXPECT_EQ(FolderBytes(elsewhere), before);
    EXPECT_EQ(fs::is_symlink(user + "/" + c.folder), c.followed);
    const bool replaced = HasLine(game.Error(), [&](const std::string& line) {
      return line == "Replaced the link " + user + "/" + c.folder + " with a folder";
    });
    EXPECT_EQ(replaced, !c.followed) << game.Error();
  }
}

TEST_F(UserFolderProcess, ASecondGameEndsAtOnceAndTouchesNothing) {
  // The first game: this process, started as the program starts.
  InitGlobals(root + "/home", program);
  PrepareUserFolders();
  InitLUA();
  InitGame();
  testsupport::WriteFileBytes(work + "/first.map.npc", "");  // the first game's play
  const auto before = FolderBytes(user);

  GameProcess second(program, root + "/home", root);
  EXPECT_EQ(second.Wait(), 255);
  EXPECT_EQ(second.Error(),
            "The user folder " + user + " is in use by another copy of Corvel.\n");
  EXPECT_EQ(FolderBytes(user), before);

  // The first one's next save holds its working folder whole.
  ASSERT_EQ(SaveGame(SaveRecordPath(0, "FIRST"), SlotFolder(0)), 1);
  auto working = FolderBytes(work);
  EXPECT_EQ(FolderBytes(SlotFolder(0)), working);
  EXPECT_EQ(working.size(), 3u);
  ReleaseGlobals();
}

TEST_F(UserFolderProcess, TheLockGoesWithItsGameEvenWhenKilled) {
  GameProcess first(program, root + "/home", root);
  ASSERT_TRUE(Started()) << first.Error();
  {
    GameProcess second(program, root + "/home", testsupport::ScratchDir("second"));
    EXPECT_EQ(second.Wait(), 255);
  }
  first.Signal(SIGKILL);
  EXPECT_EQ(first.Wait(), -1);
  testsupport::WriteFileBytes(work + "/left.map", "by the killed game");
  GameProcess third(program, root + "/home", testsupport::ScratchDir("third"));
  // Its refill takes away what the killed one left.
  ASSERT_TRUE(WaitFor([&] { return !fs::exists(work + "/left.map") && Started(); }))
      << third.Error();
  third.Signal(SIGTERM);
  EXPECT_EQ(third.Wait(), 0) << third.Error();
}

TEST_F(UserFolderProcess, ADiskThatFillsAtStartUpEndsItWithTheReason) {
  // Maps of their real size, two pages of disk each.
  const std::string maps = root + "/Resources/Maps/";
  for (const char* name : {"forest.map", "village.map"}) TMap::Create()->SaveMap(maps + name);
  for (const auto& c : testsupport::kWriteFailures) {
    SCOPED_TRACE(c.name);
    fs::remove_all(user);
    // Four pages: config.dat, then the maps until one no longer fits.
    std::optional<testsupport::SmallDisk> disk;
    if (c.smallDisk) {
      disk.emplace(root + "/home/Documents", 16);
      if (!disk->Mounted()) GTEST_SKIP() << "a small disk needs root";
    }
    GameProcess game(program, root + "/home", root, c.smallDisk ? -1 : 4096);
    EXPECT_EQ(game.Wait(), 255);
    const std::string prefix = "Could not copy " + root + "/bin/../Resources/Maps/";
    const std::string end = std::string(": ") + c.reason;
    EXPECT_TRUE(HasLine(game.Error(), [&](const std::string& line) {
      return line.rfind(prefix, 0) == 0 && line.find(" to " + work + "/") != std::string::npos &&
             line.size() > end.size() &&
             line.compare(line.size() - end.size(), end.size(), end) == 0;
    })) << game.Error();
    // No map stays behind cut short.
    for (const auto& [name, bytes] : FolderBytes(work))
      EXPECT_EQ(bytes, testsupport::ReadFileBytes(maps + name)) << name;
  }
}

}  // namespace
