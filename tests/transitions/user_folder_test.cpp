// Saves and loads over a user folder that others could have changed: links in the save
// and working folders lead nothing outside, a slot that cannot be copied in whole is not
// loaded, and a disk that fills during a save keeps the old slot and says why.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <optional>
#include <sstream>

#include "core/working_folder.h"
#include "platform/files/files.h"
#include "platform/graphics/graphics.h"
#include "screens/save_slots.h"
#include "support/checks.h"
#include "support/files.h"
#include "support/write_failures.h"
#include "transitions/transit_world.h"
#include "transitions/transitions.h"

namespace fs = std::filesystem;
using testsupport::HasLine;
using testsupport::EndsWith;
using testsupport::FolderBytes;
using testsupport::ReadFileBytes;
using testsupport::WriteFileBytes;

namespace {

// The game in play on a.map; beside the user folder a folder `outside` that nothing may
// change, with a file and a folder in it.
class UserFolderSaves : public TransitWorld {
protected:
  void SetUp() override {
    TransitWorld::SetUp();
    currentMap->LoadMap(settings->tempDir + "a.map");
    npcList.AddLast(npcType[0]->CopyActor("g1", 40, 50));
    WriteFileBytes(settings->tempDir + "save.png", "thumbnail");
    outside = home + "/outside";
    fs::create_directories(outside + "/autostart");
    WriteFileBytes(outside + "/keep.txt", "precious");
    untouched = FolderBytes(outside);
  }
  void TearDown() override {
    EXPECT_EQ(FolderBytes(outside), untouched) << "the folder outside changed";
    TransitWorld::TearDown();
  }
  static std::string WithoutSlash(std::string path) {
    path.pop_back();
    return path;
  }
  void Link(const std::string& target, const std::string& path) {
    fs::remove_all(path);
    fs::create_symlink(target, path);
  }
  int Save(int slot, const std::string& name) {
    return SaveGame(SaveRecordPath(slot, name), SlotFolder(slot));
  }
  int Load(int slot, const std::string& name) {
    return LoadGame(SaveRecordPath(slot, name), SlotFolder(slot));
  }
  // Adds `files` files of `size` bytes each to the folder; sparse, they take no room on disk.
  static void Pad(const std::string& folder, int files, int64_t size) {
    for (int n = 0; n < files; ++n) {
      const std::string path = folder + "/pad" + std::to_string(n);
      WriteFileBytes(path, "");
      fs::resize_file(path, static_cast<uintmax_t>(size));
    }
  }
  // The slot folder holds every file of the working folder, byte for byte.
  void ExpectSlotWhole(int slot) {
    auto working = FolderBytes(settings->tempDir);
    EXPECT_EQ(FolderBytes(SlotFolder(slot)), working);
    EXPECT_TRUE(working.count("a.map") && working.count("a.map.npc"));
  }

  std::string outside;
  std::map<std::string, std::string> untouched;
};

TEST_F(UserFolderSaves, ASharedSaveFolderCannotLeadASaveOutside) {
  // A shared save folder: "Slot 1" carries an extra file, and the slot's staging name leads
  // through a folder of links to a folder that a desktop runs at the next login.
  ASSERT_EQ(Save(0, "HERO"), 1);
  WriteFileBytes(SlotFolder(0) + "/payload.desktop", "[Desktop Entry]");
  const std::string save = settings->saveDir;
  fs::create_directories(save + "evil");
  Link("../../outside/autostart", save + "evil/0");
  Link("evil", save + ".0.staged");

  ASSERT_EQ(Load(0, "HERO"), 1);
  player->gold = 99;
  ASSERT_EQ(Save(0, "HERO"), 1);
  EXPECT_TRUE(fs::is_empty(outside + "/autostart"));
  EXPECT_TRUE(fs::is_symlink(save + "evil/0"));
  EXPECT_FALSE(fs::exists(save + ".0.staged"));
  EXPECT_FALSE(fs::is_symlink(save + ".0.staged"));
  ExpectSlotWhole(0);
  // The slot is the new save, and loads.
  player->gold = 0;
  ASSERT_EQ(Load(0, "HERO"), 1);
  EXPECT_EQ(player->gold, 99);
}

// The save folder is the player's to place: kept in a synced folder through a link, it lists,
// loads and receives saves there, while no link inside it is followed.
TEST_F(UserFolderSaves, ASaveFolderThatIsALinkIsFollowedAndNothingInsideIt) {
  const std::string synced = testsupport::ScratchDir("synced_saves");
  fs::remove(settings->saveDir);
  fs::create_symlink(synced, WithoutSlash(settings->saveDir));
  player->gold = 1234;
  ASSERT_EQ(Save(0, "HERO"), 1);
  EXPECT_TRUE(fs::is_symlink(WithoutSlash(settings->saveDir)));
  EXPECT_TRUE(fs::is_regular_file(synced + "/0.HERO.sav"));
  EXPECT_EQ(FolderBytes(synced + "/0"), FolderBytes(settings->tempDir));
  EXPECT_EQ(ListSaveSlots().name[0], "HERO");
  player->gold = 99;
  ASSERT_EQ(Load(0, "HERO"), 1);
  EXPECT_EQ(player->gold, 1234);

  // A link inside the slot is refused as before, and the load with it.
  Link(outside + "/keep.txt", synced + "/0/b.map");
  player->gold = 99;
  testing::internal::CaptureStderr();
  EXPECT_EQ(Load(0, "HERO"), 0);
  const std::string said = testing::internal::GetCapturedStderr();
  EXPECT_TRUE(HasLine(said, [&](const std::string& line) {
    return line == "Could not copy " + settings->saveDir + "0/b.map: it is a link";
  })) << said;
  EXPECT_EQ(player->gold, 99);
}

TEST_F(UserFolderSaves, LinksWhereTheGameWritesLeadNowhere) {
  ASSERT_EQ(Save(1, "OLD"), 1);
  const std::string save = settings->saveDir, work = settings->tempDir;
  const struct {
    const char* name;
    std::string link;
    std::string target;
  } cases[] = {
      {"the slot folder", save + "1", outside},
      {"an old record of the slot", save + "1.OLD.sav", outside + "/keep.txt"},
      {"the record's own name", save + "1.NEW.sav", outside + "/keep.txt"},
      {"the save script's name", save + "1.NEW.sav.lua", outside + "/keep.txt"},
      {"the commit name", save + ".1.committed", outside},
      {"the working copy of the map", work + "a.map", outside + "/keep.txt"},
      {"its NPC file", work + "a.map.npc", outside + "/keep.txt"},
      {"the map's temporary", work + "a.map.tmp", outside + "/keep.txt"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_EQ(Save(1, "OLD"), 1);
    Link(c.target, c.link);
    player->gold = 7;
    EXPECT_EQ(Save(1, "NEW"), c.link != work + "a.map.tmp");
    if (c.link == work + "a.map.tmp") {
      // Not to be written through, nor replaced: the save fails and says why.
      EXPECT_TRUE(fs::is_symlink(c.link));
      fs::remove(c.link);
      ASSERT_EQ(Save(1, "NEW"), 1);
    }
    EXPECT_EQ(ListSaveSlots().name[1], "NEW");
    ExpectSlotWhole(1);
    EXPECT_FALSE(fs::is_symlink(c.link));
    player->gold = 0;
    ASSERT_EQ(Load(1, "NEW"), 1);
    EXPECT_EQ(player->gold, 7);
    EXPECT_EQ(currentMap->mapTile[0][0].tileID, kGreenTile);  // a.map read whole
  }
  // The thumbnail is not written through a link either.
  Link(outside + "/keep.txt", work + "save.png");
  EXPECT_FALSE(SavePixmapPNG(CreatePixmap(147, 96), work + "save.png"));
}

// A slot whose files cannot all be read is refused before anything changes; a copy that
// fails on the way leaves the game with a fresh working folder, never a part of the slot.
TEST_F(UserFolderSaves, ASlotThatCannotBeCopiedInWholeIsNotLoaded) {
  ASSERT_EQ(Save(0, "HERO"), 1);
  WriteFileBytes(SlotFolder(0) + "/big.map", std::string(20000, 'm'));
  const auto slot = FolderBytes(SlotFolder(0));
  // What the slot brings beyond the quest's own files of the same names.
  const auto shipped = FolderBytes(settings->mapDir);
  int64_t slotBytes = 0;
  for (const auto& [name, bytes] : slot) {
    const auto quests = shipped.find(name);
    const size_t own = quests == shipped.end() ? 0 : quests->second.size();
    slotBytes += static_cast<int64_t>(bytes.size() > own ? bytes.size() - own : 0);
  }
  constexpr int64_t kFileBound = 4 << 20;  // a file of a slot may hold as much
  const struct {
    const char* name;
    std::function<void()> spoil;
    long fileSizeLimit;
    std::string said;  // how the line on standard error ends
    int loaded;        // LoadGame's result
  } cases[] = {
      {"a write that fails", [] {}, 10000, "/big.map: File too large", -1},
      {"a map that is a link to a device",
       [this] { Link("/dev/zero", SlotFolder(0) + "/b.map"); }, -1, "/b.map: it is a link", 0},
      {"a slot folder that is a link", [this] { Link(outside, SlotFolder(0)); }, -1,
       SlotFolder(0) + "/: it is a link", 0},
      {"a map too big for one", [this] {
         const int fd = open((SlotFolder(0) + "/b.map").c_str(), O_WRONLY | O_TRUNC);
         EXPECT_EQ(ftruncate(fd, 64ll << 30), 0);
         close(fd);
       }, -1, "/b.map: it holds 68719476736 bytes, more than 4194304", 0},
      // Each file within its bound, but the slot more than any save.
      {"sparse files that hold more than a slot", [this] { Pad(SlotFolder(0), 20, kFileBound); },
       -1, ": its files hold " + std::to_string(slotBytes + 20 * kFileBound) +
           " bytes, more than 67108864", 0},
      {"more files than a slot", [this] { Pad(SlotFolder(0), 4096, 1); }, -1,
       ": it holds " + std::to_string(slot.size() + 4096) + " entries, more than 4096", 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    c.spoil();
    const auto before = FolderBytes(settings->tempDir);
    testing::internal::CaptureStderr();
    int loaded = -1;
    {
      std::optional<testsupport::FileSizeLimit> limit;
      if (c.fileSizeLimit > 0) limit.emplace(c.fileSizeLimit);
      loaded = Load(0, "HERO");
    }
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(loaded, c.loaded);
    EXPECT_TRUE(HasLine(said, [&](const std::string& line) {
      return line.rfind("Could not ", 0) == 0 && EndsWith(line, c.said);
    })) << said;
    // Refused: the working folder as it was. Stopped part-way: the shipped maps alone.
    EXPECT_EQ(FolderBytes(settings->tempDir),
              c.loaded == 0 ? before : FolderBytes(settings->mapDir));
    EXPECT_TRUE(WorkingFolderWhole());
    fs::remove_all(SlotFolder(0));
    fs::create_directories(SlotFolder(0));
    for (const auto& [name, bytes] : slot) WriteFileBytes(SlotFolder(0) + "/" + name, bytes);
  }
}

// A working folder that a slot could not hold is not saved, so that no slot is saved that
// cannot be loaded; the old slot stands.
TEST_F(UserFolderSaves, AWorkingFolderMoreThanASlotHoldsIsNotSaved) {
  ASSERT_EQ(Save(0, "FIRST"), 1);
  const auto before = FolderBytes(settings->saveDir);
  Pad(settings->tempDir, 20, 4 << 20);
  testing::internal::CaptureStderr();
  EXPECT_EQ(Save(0, "SECOND"), 0);
  const std::string said = testing::internal::GetCapturedStderr();
  EXPECT_TRUE(HasLine(said, [&](const std::string& line) {
    return line.rfind("Could not save the working folder " + settings->tempDir + ": its files hold ",
                      0) == 0 &&
           EndsWith(line, " bytes, more than 67108864");
  })) << said;
  EXPECT_EQ(FolderBytes(settings->saveDir), before);
}

// The quest's own files count for nothing against a slot's bounds: a quest that ships a map
// file larger than any slot may hold saves and loads.
TEST_F(UserFolderSaves, AQuestsOwnLargeFilesSaveAndLoad) {
  Pad(settings->mapDir, 1, 80 << 20);
  Pad(settings->tempDir, 1, 80 << 20);
  ASSERT_EQ(Save(0, "HERO"), 1);
  ExpectSlotWhole(0);
  EXPECT_EQ(Load(0, "HERO"), 1);
  EXPECT_EQ(fs::file_size(settings->tempDir + "pad0"), 80u << 20);
}

TEST_F(UserFolderSaves, ADiskThatFillsDuringASaveKeepsTheOldSlot) {
  for (const auto& c : testsupport::kWriteFailures) {
    SCOPED_TRACE(c.name);
    ASSERT_EQ(Save(0, "FIRST"), 1);
    const auto before = FolderBytes(settings->saveDir);
    std::optional<testsupport::SmallDisk> disk;
    std::optional<testsupport::FileSizeLimit> limit;
    std::string filler;
    if (c.smallDisk) {
      // The save folder on a disk of its own, holding the first save, then full.
      const std::string saved = home + "/saved";
      fs::rename(settings->saveDir, saved);
      disk.emplace(settings->saveDir, 256);
      if (!disk->Mounted()) {
        fs::rename(saved, settings->saveDir);
        GTEST_SKIP() << "a small disk needs root";
      }
      fs::copy(saved, settings->saveDir, fs::copy_options::recursive);
      filler = disk->Fill();
      fs::remove(filler);  // back to what the first save left, once the filler is gone
      ASSERT_EQ(FolderBytes(settings->saveDir), before);
      filler = disk->Fill();
    } else {
      limit.emplace(1000);  // the record alone is longer
    }
    player->gold = 5;
    testing::internal::CaptureStderr();
    EXPECT_EQ(Save(0, "SECOND"), 0);
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_TRUE(HasLine(said, [&](const std::string& line) {
      return line.rfind("Could not write " + settings->saveDir, 0) == 0 &&
             EndsWith(line, std::string(": ") + c.reason);
    })) << said;
    if (!filler.empty()) fs::remove(filler);
    limit.reset();
    EXPECT_EQ(FolderBytes(settings->saveDir), before);
    // With room again, the next save is whole.
    ASSERT_EQ(Save(0, "SECOND"), 1);
    ExpectSlotWhole(0);
    player->gold = 0;
    ASSERT_EQ(Load(0, "SECOND"), 1);
    EXPECT_EQ(player->gold, 5);
  }
}

}  // namespace
