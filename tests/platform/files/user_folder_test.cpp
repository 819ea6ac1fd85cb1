// The file layer in the user folder: nothing there is reached through a link, nothing but
// an ordinary file is opened anywhere, reads are held to their bounds before they start,
// a lock lasts as long as its process, and a failed copy leaves nothing half done.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "../temp_dir.h"
#include "platform/files/files.h"
#include "platform/files/stream.h"
#include "support/files.h"
#include "support/write_failures.h"

namespace {

// A user folder U and, beside it, a folder O that nothing may change: O/keep.txt, O/sub/.
class UserFolderFiles : public testing::Test {
protected:
  void SetUp() override {
    user = dir / "home/user";
    outside = dir / "outside";
    ASSERT_TRUE(CreateDir(user, 1));
    ASSERT_TRUE(CreateDir(outside + "/sub", 1));
    dir.Write("outside/keep.txt", "precious");
    SetUserFolder(user);
    before = testsupport::FolderBytes(outside);
  }
  void TearDown() override {
    SetUserFolder("");
    EXPECT_EQ(testsupport::FolderBytes(outside), before) << "the folder outside changed";
  }
  void Link(const std::string& target, const std::string& name) {
    ASSERT_EQ(symlink(target.c_str(), (user + "/" + name).c_str()), 0);
  }
  // The lines on standard error while `act` runs.
  static std::vector<std::string> Said(const std::function<void()>& act) {
    testing::internal::CaptureStderr();
    act();
    std::vector<std::string> lines;
    std::istringstream in(testing::internal::GetCapturedStderr());
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
  }
  static int64_t FileSize(const std::string& path) {
    return static_cast<int64_t>(std::filesystem::file_size(path));
  }
  static bool IsLink(const std::string& path) {
    struct stat st {};
    return lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode);
  }

  TempDir dir;
  std::string user, outside;
  std::map<std::string, std::string> before;
};

TEST_F(UserFolderFiles, NothingIsReachedThroughALink) {
  struct Case {
    const char* name;
    std::function<bool(const std::string& u)> act;
    bool result;
    std::string said;  // the one line on standard error, "~" standing for the user folder
  };
  std::vector<uint8_t> bytes;
  const Case cases[] = {
      {"read a linked file", [&](auto& u) { return ReadWholeFile(u + "/file", bytes); }, false,
       "Refused to read ~/file: it is a link"},
      {"stream a linked file", [](auto& u) { return ReadStream(u + "/file") != nullptr; },
       false, "Refused to read ~/file: it is a link"},
      {"write a linked file", [](auto& u) { return WriteStream(u + "/file") != nullptr; },
       false, "Refused to write ~/file: it is a link"},
      {"write into a linked folder",
       [](auto& u) { return WriteStream(u + "/folder/new.txt") != nullptr; }, false,
       "Refused to write ~/folder/new.txt: ~/folder is a link"},
      {"copy a linked file", [](auto& u) { return CopyFile(u + "/file", u + "/copy"); }, false,
       "Refused to copy ~/file: it is a link"},
      {"copy onto a linked file", [](auto& u) { return CopyFile(u + "/real", u + "/file"); },
       false, "Refused to write ~/file: it is a link"},
      {"copy into a linked folder",
       [](auto& u) { return CopyFile(u + "/real", u + "/folder/keep.txt"); }, false,
       "Refused to write ~/folder/keep.txt: ~/folder is a link"},
      {"make a folder below a linked one", [](auto& u) { return CreateDir(u + "/folder/x"); },
       false, "Refused to create ~/folder/x: ~/folder is a link"},
      {"list a linked folder", [](auto& u) { return !LoadDir(u + "/folder").empty(); }, false,
       "Refused to list ~/folder: it is a link"},
      {"delete a linked folder", [](auto& u) { return DeleteDir(u + "/folder", 1); }, false,
       "Refused to delete ~/folder: it is a link"},
      {"delete in a linked folder",
       [](auto& u) { return DeleteFile(u + "/folder/keep.txt"); }, false,
       "Refused to delete ~/folder/keep.txt: ~/folder is a link"},
      {"empty a folder in a linked one", [](auto& u) { return DeleteDir(u + "/folder/sub", 1); },
       false, "Refused to delete ~/folder/sub: ~/folder is a link"},
      {"move into a linked folder",
       [](auto& u) { return RenameFile(u + "/real", u + "/folder/moved"); }, false,
       "Refused to rename ~/folder/moved: ~/folder is a link"},
      {"move by .. out of a linked folder",
       [](auto& u) { return RenameFile(u + "/real", u + "/folder/../moved"); }, false,
       "Refused to rename ~/folder/../moved: ~/folder is a link"},
      {"sync a linked file", [](auto& u) { return SyncPath(u + "/file"); }, false, ""},
      {"lock a linked file", [](auto& u) { return LockFile(u + "/file") == 1; }, false,
       "Refused to lock ~/file: it is a link"},
      {"write out of the user folder by ..",
       [](auto& u) { return WriteStream(u + "/../../outside/new.txt") != nullptr; }, false,
       "Refused to write ~/../../outside/new.txt: it leads out of the user folder"},
      {"delete the folder above by a final ..",
       [](auto& u) { return DeleteDir(u + "/..", 1) || FileType(u) != FILETYPE_DIR; }, false,
       "Refused to delete ~/..: it leads out of the user folder"},
      {"come back by .. from a folder of its own",
       [](auto& u) {
         return CreateDir(u + "/sub") && WriteStream(u + "/sub/../new.txt") != nullptr &&
                FileType(u + "/new.txt") == FILETYPE_FILE;
       },
       true, ""},
      {"come back by .. from a linked folder",
       [](auto& u) { return WriteStream(u + "/folder/../new.txt") != nullptr; }, false,
       "Refused to write ~/folder/../new.txt: ~/folder is a link"},
      // Queries say nothing: a link is an entry, not the folder it leads to.
      {"a linked folder is no folder", [](auto& u) { return FileType(u + "/folder") == 2; },
       false, ""},
      {"nor can it be read as one", [](auto& u) { return ReadDir(u + "/folder"); }, false, ""},
      // What is done to a link itself is done to the link.
      {"delete a link", [](auto& u) { return DeleteFile(u + "/file") && !IsLink(u + "/file"); },
       true, ""},
      {"rename a link", [](auto& u) { return RenameFile(u + "/file", u + "/moved"); }, true, ""},
      {"replace a link by renaming", [](auto& u) { return RenameFile(u + "/real", u + "/file"); },
       true, ""},
      {"rename within a folder reached by ..",
       [](auto& u) {
         return CreateDir(u + "/sub") && RenameFile(u + "/sub/../real", u + "/sub/../moved") &&
                FileType(u + "/moved") == FILETYPE_FILE && FileType(u + "/real") == FILETYPE_NONE;
       },
       true, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::filesystem::remove_all(user);
    ASSERT_TRUE(CreateDir(user));
    dir.Write("home/user/real", "mine");
    Link(outside + "/keep.txt", "file");
    Link(outside, "folder");
    bool result = !c.result;
    const std::vector<std::string> said = Said([&] { result = c.act(user); });
    EXPECT_EQ(result, c.result);
    std::string expected = c.said;
    for (size_t at; (at = expected.find('~')) != std::string::npos;) expected.replace(at, 1, user);
    EXPECT_EQ(said, expected.empty() ? std::vector<std::string>{} : std::vector{expected});
    EXPECT_EQ(testsupport::FolderBytes(outside), before);
  }
}

TEST_F(UserFolderFiles, AFolderToBeMadeReplacesALinkInItsPlace) {
  Link(outside, "Save");
  const std::vector<std::string> said = Said([&] { EXPECT_TRUE(CreateDir(user + "/Save")); });
  EXPECT_EQ(said, std::vector<std::string>{"Replaced the link " + user + "/Save with a folder"});
  EXPECT_FALSE(IsLink(user + "/Save"));
  EXPECT_EQ(FileType(user + "/Save"), FILETYPE_DIR);
  EXPECT_TRUE(LoadDir(user + "/Save").empty());
  // Made with its parents: a link on the way is replaced the same way.
  Link(outside, "Temp");
  EXPECT_TRUE(CreateDir(user + "/Temp/inner/", 1));
  EXPECT_FALSE(IsLink(user + "/Temp"));
  EXPECT_EQ(FileType(user + "/Temp/inner"), FILETYPE_DIR);
}

// The linked folder (the save folder) is the player's to place: a link there is followed, as
// the way to the user folder is, while below it, and anywhere else, no link is followed.
TEST_F(UserFolderFiles, TheLinkedFolderIsFollowedAndNoLinkBelowIt) {
  const std::string synced = dir / "synced";
  ASSERT_TRUE(CreateDir(synced));
  Link(synced, "Save");
  SetLinkedFolder(user + "/Save/");
  const std::string save = user + "/Save";
  EXPECT_EQ(Said([&] {
              EXPECT_TRUE(CreateDir(save));
              EXPECT_TRUE(ReadDir(save));
              EXPECT_EQ(FileType(save), FILETYPE_DIR);
              auto out = WriteStream(save + "/0.A.sav");
              ASSERT_NE(out, nullptr);
              WriteLine(out, "HERO");
              ASSERT_TRUE(CloseStream(out));
              EXPECT_TRUE(CreateDir(save + "/0"));
              EXPECT_TRUE(CopyFile(save + "/0.A.sav", save + "/0/copy"));
              // A ".." goes back to the user folder, the way the walk came.
              EXPECT_TRUE(RenameFile(save + "/0/copy", save + "/../moved"));
              EXPECT_TRUE(SyncPath(save));
            }),
            std::vector<std::string>{});
  EXPECT_TRUE(IsLink(save));
  EXPECT_EQ(ReadAll(synced + "/0.A.sav"), "HERO\r\n");
  EXPECT_EQ(ReadAll(user + "/moved"), "HERO\r\n");
  std::vector<std::string> listed = LoadDir(save);
  std::sort(listed.begin(), listed.end());
  EXPECT_EQ(listed, (std::vector<std::string>{"0", "0.A.sav"}));

  ASSERT_EQ(symlink(outside.c_str(), (synced + "/1").c_str()), 0);
  Link(outside, "Temp");
  EXPECT_EQ(Said([&] {
              EXPECT_EQ(ReadStream(save + "/1/keep.txt"), nullptr);
              EXPECT_EQ(ReadStream(user + "/Temp/keep.txt"), nullptr);
            }),
            (std::vector<std::string>{
                "Refused to read " + save + "/1/keep.txt: " + save + "/1 is a link",
                "Refused to read " + user + "/Temp/keep.txt: " + user + "/Temp is a link"}));
  // A new user folder forgets it.
  SetUserFolder(user);
  EXPECT_FALSE(ReadDir(save));
}

TEST_F(UserFolderFiles, ThePathToTheUserFolderMayHoldLinks) {
  // Documents kept elsewhere, as many desktops do.
  ASSERT_EQ(symlink((dir / "home").c_str(), (dir / "alias").c_str()), 0);
  const std::string aliased = dir / "alias/user";
  SetUserFolder(aliased);
  ASSERT_TRUE(CreateDir(aliased + "/Save"));
  auto out = WriteStream(aliased + "/Save/0.A.sav");
  ASSERT_NE(out, nullptr);
  WriteLine(out, "HERO");
  ASSERT_TRUE(CloseStream(out));
  EXPECT_TRUE(CopyFile(aliased + "/Save/0.A.sav", aliased + "/copy"));
  EXPECT_EQ(LoadDir(aliased + "/Save"), std::vector<std::string>{"0.A.sav"});
  EXPECT_EQ(ReadAll(user + "/copy"), "HERO\r\n");
  EXPECT_TRUE(RenameFile(aliased + "/copy", aliased + "/Save/moved"));
  EXPECT_TRUE(DeleteDir(aliased + "/Save", 1));
}

TEST_F(UserFolderFiles, DevicesAndFIFOsAreNeverOpened) {
  alarm(60);  // a read that blocked would hang the test: it ends it instead
  const std::string elsewhere = dir / "elsewhere";
  ASSERT_TRUE(CreateDir(elsewhere));
  ASSERT_EQ(mkfifo((user + "/fifo").c_str(), 0600), 0);
  ASSERT_EQ(mkfifo((elsewhere + "/fifo").c_str(), 0600), 0);
  Link("/dev/zero", "zero");
  const struct {
    std::string path;
    const char* why;
  } cases[] = {
      {user + "/fifo", "it is not an ordinary file"},
      {elsewhere + "/fifo", "it is not an ordinary file"},  // outside the user folder too
      {"/dev/zero", "it is not an ordinary file"},
      {user + "/zero", "it is a link"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path);
    std::vector<uint8_t> bytes;
    const auto said = Said([&] {
      EXPECT_FALSE(ReadWholeFile(c.path, bytes));
      EXPECT_EQ(ReadStream(c.path), nullptr);
      EXPECT_FALSE(CopyFile(c.path, user + "/copy"));
      EXPECT_EQ(WriteStream(c.path), nullptr);
    });
    EXPECT_EQ(said, (std::vector<std::string>{"Refused to read " + c.path + ": " + c.why,
                                              "Refused to read " + c.path + ": " + c.why,
                                              "Refused to copy " + c.path + ": " + c.why,
                                              "Refused to write " + c.path + ": " + c.why}));
    EXPECT_EQ(ReadFailure(c.path), c.why);
    EXPECT_EQ(FileType(user + "/copy"), FILETYPE_NONE);
  }
  // The entries themselves can go.
  EXPECT_TRUE(DeleteFile(user + "/fifo"));
  EXPECT_TRUE(DeleteFile(user + "/zero"));
  EXPECT_TRUE(LoadDir(user).empty());
  alarm(0);
}

TEST_F(UserFolderFiles, AReadIsHeldToItsBoundBeforeItStarts) {
  // 64 GB without a disk block: reading it would take all memory.
  const std::string sparse = user + "/0.HUGE.sav";
  const int fd = open(sparse.c_str(), O_WRONLY | O_CREAT, 0644);
  ASSERT_GE(fd, 0);
  ASSERT_EQ(ftruncate(fd, 64ll << 30), 0);
  close(fd);
  dir.Write("home/user/small", std::string(100, 's'));
  const struct {
    std::string path;
    int64_t bound;
    bool read;
  } cases[] = {
      {sparse, 1 << 20, false},
      {user + "/small", 100, true},
      {user + "/small", 99, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path + " within " + std::to_string(c.bound));
    const std::string why = "it holds " + std::to_string(FileSize(c.path)) + " bytes, more than " +
                            std::to_string(c.bound);
    std::filesystem::remove(user + "/copy");
    std::vector<uint8_t> bytes;
    const auto said = Said([&] {
      EXPECT_EQ(ReadWholeFile(c.path, bytes, c.bound), c.read);
      EXPECT_EQ(ReadStream(c.path, c.bound) != nullptr, c.read);
      EXPECT_EQ(CopyFile(c.path, user + "/copy", c.bound), c.read);
    });
    EXPECT_EQ(bytes.size(), c.read ? 100u : 0u);
    EXPECT_EQ(ReadFailure(c.path, c.bound), c.read ? "" : why);
    EXPECT_EQ(said.size(), c.read ? 0u : 3u);
    if (!c.read) {
      EXPECT_EQ(said[0], "Refused to read " + c.path + ": " + why);
      EXPECT_EQ(FileType(user + "/copy"), FILETYPE_NONE);
    }
  }
}

TEST_F(UserFolderFiles, ALockLastsAsLongAsItsProcess) {
  const std::string lock = user + "/game.lock";
  int fds[2];
  ASSERT_EQ(pipe(fds), 0);
  const pid_t holder = fork();
  if (holder == 0) {
    const char held = LockFile(lock) == 1 ? 'y' : 'n';
    if (write(fds[1], &held, 1) != 1) _exit(1);
    pause();
    _exit(0);
  }
  close(fds[1]);
  char held = 0;
  ASSERT_EQ(read(fds[0], &held, 1), 1);
  close(fds[0]);
  EXPECT_EQ(held, 'y');
  EXPECT_EQ(LockFile(lock), 0);
  // Killed, the holder cannot let go itself: the system does.
  kill(holder, SIGKILL);
  waitpid(holder, nullptr, 0);
  EXPECT_EQ(LockFile(lock), 1);
  EXPECT_EQ(LockFile(lock), 1);  // held already
  EXPECT_EQ(ReadAll(lock), "");
}

TEST_F(UserFolderFiles, AFailedCopyLeavesNoPartCopyAndSaysWhy) {
  const std::string from = dir.Write("home/user/big.map", std::string(100000, 'm'));
  dir.Write("home/user/old.map", "old");
  for (const std::string& to : {user + "/new.map", user + "/old.map"}) {
    SCOPED_TRACE(to);
    {
      testsupport::FileSizeLimit limit(50000);
      EXPECT_FALSE(CopyFile(from, to));
    }
    EXPECT_EQ(FileFailure(), "Could not copy " + from + " to " + to + ": File too large");
    EXPECT_EQ(FileType(to), FILETYPE_NONE);
  }
}

}  // namespace
