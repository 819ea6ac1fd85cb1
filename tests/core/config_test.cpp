// "config.dat": the bytes of a first start, a round trip of a changed file, short files,
// an unreadable file, and writes that cannot be made (a full disk among them); saves cut
// short, ended at start-up; a file that is a link, a FIFO or far too big is neither read nor
// replaced at start-up.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>
#include "core/game.h"
#include "core/globals.h"
#include "support/files.h"
#include "support/sync_log.h"
#include "support/write_failures.h"
#include "transitions/save_folder.h"

namespace fs = std::filesystem;

namespace {

using Bytes = std::vector<uint8_t>;

Bytes ReadAll(const fs::path& p) {
  const std::string s = testsupport::ReadFileBytes(p.string());
  return Bytes(s.begin(), s.end());
}

void WriteAll(const fs::path& p, const Bytes& bytes) {
  testsupport::WriteFileBytes(p.string(), std::string(bytes.begin(), bytes.end()));
}

void AppendLine(Bytes& b, const std::string& s) {
  b.insert(b.end(), s.begin(), s.end());
  b.push_back(13);
  b.push_back(10);
}

// The file as it must be for these switches, folders and keys.
Bytes ConfigBytes(const Bytes& switches, const std::vector<std::string>& folders, const Bytes& keys) {
  Bytes b = switches;
  for (const std::string& f : folders) AppendLine(b, f);
  b.insert(b.end(), keys.begin(), keys.end());
  return b;
}

const Bytes kDefaultKeys = {0x26, 0x28, 0x25, 0x27, 0x5A, 0x58, 0x0D,
                            0x49, 0x09, 0x1B, 0x53, 0x4C, 0x45, 0x43};

class Config : public ::testing::Test {
protected:
  void SetUp() override {
    home = fs::temp_directory_path() / ("corvel_config_" + std::to_string(::getpid()));
    fs::remove_all(home);
    fs::create_directories(home / "Documents");
    InitGlobals(home.string(), "/opt/corvel/bin/corvel");
    userDir = home / "Documents" / "Corvel User Data";
    const std::string app = "/opt/corvel/bin/../Resources", user = userDir.string();
    fixedFolders = {app + "/Maps/", app + "/Images/", app + "/Sounds/", app + "/Music/",
                    user + "/Save/", user + "/Temporary Files/", app + "/Triggers/"};
  }
  void TearDown() override { fs::remove_all(home); }
  fs::path ConfigPath() const { return userDir / "config.dat"; }

  fs::path home, userDir;
  std::vector<std::string> fixedFolders;
};

TEST_F(Config, FirstStartMakesFoldersAndWritesDefaults) {
  PrepareUserFolders();
  EXPECT_TRUE(fs::is_directory(userDir / "Save"));
  EXPECT_TRUE(fs::is_directory(userDir / "Temporary Files"));
  const Bytes expected = ConfigBytes({1, 1, 1, 0, 0}, fixedFolders, kDefaultKeys);
  EXPECT_EQ(ReadAll(ConfigPath()), expected);
  size_t lengths = 0;
  for (const std::string& f : fixedFolders) lengths += f.size() + 2;
  EXPECT_EQ(expected.size(), 19 + lengths);
  EXPECT_FALSE(fs::exists(userDir / "config.dat.new"));
  EXPECT_EQ(settings->fullScreen, 1);
  EXPECT_EQ(settings->saveDir, userDir.string() + "/Save/");
  EXPECT_EQ(editor->currentTile, -1);
  EXPECT_EQ(editor->currentLayer, 0);
  EXPECT_EQ(editor->currentAlpha, 1.0f);
  EXPECT_EQ(editor->currentTrigger, 0);
}

TEST_F(Config, StartUpEndsSavesThatWereCutShort) {
  // Slot 2 as a save killed after its commit leaves it, slot 3 as one killed before.
  const fs::path save = userDir / "Save", committed = CommitFolder(1), staged = StagingFolder(2);
  fs::create_directories(save / "1");
  fs::create_directories(committed / "1");
  fs::create_directories(staged / "2");
  for (const fs::path& file : {save / "1.OLD.sav", save / "1.OLD.sav.lua", save / "1" / "old.map"})
    WriteAll(file, {1});
  for (const fs::path& file : {committed / "1.NEW.sav", committed / "1.NEW.sav.lua",
                               committed / "1" / "new.map", staged / "2.HALF.sav"})
    WriteAll(file, {2});

  PrepareUserFolders();
  std::vector<std::string> entries;
  for (const auto& e : fs::recursive_directory_iterator(save))
    entries.push_back(fs::relative(e.path(), save).string());
  std::sort(entries.begin(), entries.end());
  EXPECT_EQ(entries, (std::vector<std::string>{"1", "1.NEW.sav", "1.NEW.sav.lua", "1/new.map"}));
  EXPECT_EQ(ReadAll(save / "1.NEW.sav"), Bytes{2});
}

TEST_F(Config, ChangedFileRoundTrips) {
  fs::create_directories(userDir);
  const Bytes keys = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14};
  WriteAll(ConfigPath(), ConfigBytes({0, 2, 0, 7, 9},
                                     std::vector<std::string>(7, "/somewhere/else/"), keys));
  LoadConfig(ConfigPath().string());
  const TConfig& c = *settings;
  EXPECT_EQ(c.fullScreen, 0);
  EXPECT_EQ(c.sound, 2);
  EXPECT_EQ(c.music, 0);
  EXPECT_EQ(c.joystickMode, 7);
  EXPECT_EQ(c.editMode, 9);
  EXPECT_EQ((std::vector<std::string>{c.mapDir, c.imageDir, c.soundDir, c.musicDir, c.saveDir,
                                      c.tempDir, c.triggerDir}),
            fixedFolders);
  EXPECT_EQ((Bytes{c.kUp, c.kDown, c.kLeft, c.kRight, c.kPrimary, c.kSecondary, c.kEnter,
                   c.kInventory, c.kOption, c.kExit, c.kSave, c.kLoad, c.kEdit, c.kCheat}),
            keys);
  // Reading does not write back; saving writes the fixed folders.
  EXPECT_EQ(ReadAll(ConfigPath()).size(), 5 + 7 * 18 + 14u);
  SaveConfig(ConfigPath().string());
  const Bytes saved = ConfigBytes({0, 2, 0, 7, 9}, fixedFolders, keys);
  EXPECT_EQ(ReadAll(ConfigPath()), saved);
  settings = std::make_unique<TConfig>();
  LoadConfig(ConfigPath().string());
  SaveConfig(ConfigPath().string());
  EXPECT_EQ(ReadAll(ConfigPath()), saved);
}

TEST_F(Config, TheWrittenFileIsOnTheDiskBeforeItReplacesTheOld) {
  // The first start's defaults, then a changed key written over them.
  for (bool firstStart : {true, false}) {
    SCOPED_TRACE(firstStart ? "first start" : "changed key");
    testsupport::TSyncLog log;
    if (firstStart) {
      PrepareUserFolders();
    } else {
      settings->kUp = 99;
      SaveConfig(ConfigPath().string());
      EXPECT_EQ(ReadAll(ConfigPath()).end()[-14], 99);  // the first key byte
    }
    const auto events = log.Events();
    EXPECT_GE(testsupport::SyncedAsItIs(events, ConfigPath().string()), 0);
    EXPECT_EQ(testsupport::RenamesOfUnsyncedEntries(events), "");
  }
}

TEST_F(Config, ShortFileLeavesKeysZero) {
  fs::create_directories(userDir);
  WriteAll(ConfigPath(), {0, 1, 1, 0, 0});
  LoadConfig(ConfigPath().string());
  EXPECT_EQ(settings->fullScreen, 0);
  EXPECT_EQ(settings->kUp, 0);
  EXPECT_EQ(settings->kCheat, 0);
  EXPECT_EQ(settings->tempDir, fixedFolders[5]);
  EXPECT_EQ(ReadAll(ConfigPath()).size(), 5u);
}

TEST_F(Config, UnreadableFileIsNotReplaced) {
  fs::create_directories(ConfigPath());  // a folder where the file should be
  LoadConfig(ConfigPath().string());
  EXPECT_TRUE(fs::is_directory(ConfigPath()));
  EXPECT_EQ(settings->kUp, 38);
  EXPECT_EQ(editor->currentTile, -1);
}

TEST_F(Config, WriteThatCannotBeMadeIsSkipped) {
  const fs::path missing = home / "no such folder" / "config.dat";
  EXPECT_EQ(SaveConfig(missing.string()), 0);
  EXPECT_FALSE(fs::exists(missing));
  // A failed write over an existing file keeps the old contents.
  fs::create_directories(userDir);
  WriteAll(ConfigPath(), {0, 1, 1, 0, 0});
  fs::create_directories(userDir / "config.dat.new" / "x");
  SaveConfig(ConfigPath().string());
  EXPECT_EQ(ReadAll(ConfigPath()), (Bytes{0, 1, 1, 0, 0}));
}

TEST_F(Config, AFullDiskKeepsTheOldSettingsWhole) {
  for (const auto& c : testsupport::kWriteFailures) {
    SCOPED_TRACE(c.name);
    std::optional<testsupport::SmallDisk> disk;
    if (c.smallDisk) {
      disk.emplace((home / "Documents").string(), 64);
      if (!disk->Mounted()) GTEST_SKIP() << "a small disk needs root";
    }
    fs::remove_all(userDir);
    InitGlobals(home.string(), "/opt/corvel/bin/corvel");
    PrepareUserFolders();
    const Bytes old = ReadAll(ConfigPath());
    ASSERT_FALSE(old.empty());
    settings->fullScreen = 0;
    settings->kUp = 1;
    std::string filler;
    testing::internal::CaptureStderr();
    {
      std::optional<testsupport::FileSizeLimit> limit;
      if (disk)
        filler = disk->Fill();
      else
        limit.emplace(100);
      SaveConfig(ConfigPath().string());
    }
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(said, "Could not write " + ConfigPath().string() + ".new: " + c.reason + "\n");
    EXPECT_EQ(ReadAll(ConfigPath()), old);
    EXPECT_FALSE(fs::exists(userDir / "config.dat.new"));
    // The next start reads the old settings; with room again the new ones are saved.
    if (!filler.empty()) fs::remove(filler);
    SaveConfig(ConfigPath().string());
    settings = std::make_unique<TConfig>();
    LoadConfig(ConfigPath().string());
    EXPECT_EQ(settings->fullScreen, 0);
    EXPECT_EQ(settings->kUp, 1);
  }
}

TEST_F(Config, AFileThatIsNoOrdinaryOneIsNotRead) {
  const fs::path outside = home / "outside.dat";
  const struct {
    const char* name;
    std::function<void(const fs::path&)> make;
  } cases[] = {
      {"a link", [&](const fs::path& p) { fs::create_symlink(outside, p); }},
      {"a FIFO", [](const fs::path& p) { ASSERT_EQ(mkfifo(p.c_str(), 0600), 0); }},
      {"64 GB without a disk block", [](const fs::path& p) {
         const int fd = open(p.c_str(), O_WRONLY | O_CREAT, 0644);
         ASSERT_EQ(ftruncate(fd, 64ll << 30), 0);
         close(fd);
       }},
  };
  // What stands at the path.
  const auto entry = [](const fs::path& p) -> std::string {
    switch (fs::symlink_status(p).type()) {
      case fs::file_type::symlink: return "a link";
      case fs::file_type::fifo: return "a FIFO";
      case fs::file_type::regular: return "a file of " + std::to_string(fs::file_size(p)) + " bytes";
      default: return "something else";
    }
  };
  alarm(60);  // a read that blocked would hang the test: it ends it instead
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const Bytes settingsOutside = {0, 0, 0, 0, 0};
    WriteAll(outside, settingsOutside);
    fs::remove_all(userDir);
    fs::create_directories(userDir);
    c.make(ConfigPath());
    const std::string made = entry(ConfigPath());
    InitGlobals(home.string(), "/opt/corvel/bin/corvel");
    testing::internal::CaptureStderr();
    PrepareUserFolders();
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(said.rfind("Refused to read " + ConfigPath().string() + ": ", 0), 0u) << said;
    EXPECT_EQ(settings->fullScreen, 1);  // the defaults, not what the file leads to
    EXPECT_EQ(entry(ConfigPath()), made) << "start-up replaced the file with the defaults";
    // Saving the settings puts a file of their own in its place.
    SaveConfig(ConfigPath().string());
    EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(ConfigPath())));
    EXPECT_EQ(ReadAll(ConfigPath()).size(), ConfigBytes({}, fixedFolders, kDefaultKeys).size() + 5);
    EXPECT_EQ(ReadAll(outside), settingsOutside);
  }
  alarm(0);
}

}  // namespace
