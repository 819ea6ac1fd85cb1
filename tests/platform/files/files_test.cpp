#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include <unistd.h>

#include "../temp_dir.h"
#include "platform/files/files.h"

namespace {

std::vector<std::string> Sorted(std::vector<std::string> names) {
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace

class PlatformFiles : public testing::Test {
protected:
  TempDir dir;
};

TEST_F(PlatformFiles, ListingLeavesOutTheDots) {
  dir.Write("a.map", "1");
  dir.Write("b.map", "2");
  ASSERT_TRUE(CreateDir(dir / "sub"));
  EXPECT_TRUE(ReadDir(dir.Path()));
  EXPECT_FALSE(ReadDir(dir / "missing"));
  EXPECT_FALSE(ReadDir(dir / "a.map"));
  EXPECT_EQ(Sorted(LoadDir(dir.Path())), (std::vector<std::string>{"a.map", "b.map", "sub"}));
  EXPECT_EQ(Sorted(LoadDir(dir.Path() + "/", 0)),
            (std::vector<std::string>{".", "..", "a.map", "b.map", "sub"}));
  EXPECT_TRUE(LoadDir(dir / "missing").empty());
  EXPECT_EQ(FileType(dir / "a.map"), FILETYPE_FILE);
  EXPECT_EQ(FileType(dir / "sub"), FILETYPE_DIR);
  EXPECT_EQ(FileType(dir / "none"), FILETYPE_NONE);
}

TEST_F(PlatformFiles, CreateDirMakesParentsOnlyWhenAskedTo) {
  EXPECT_FALSE(CreateDir(dir / "x/y"));
  EXPECT_EQ(FileType(dir / "x"), FILETYPE_NONE);
  EXPECT_TRUE(CreateDir(dir / "x/y/z/", 1));
  EXPECT_EQ(FileType(dir / "x/y/z"), FILETYPE_DIR);
  EXPECT_TRUE(CreateDir(dir / "x"));  // already there counts as made
  dir.Write("file", "");
  EXPECT_FALSE(CreateDir(dir / "file"));
}

TEST_F(PlatformFiles, DeleteDirEmptiesOnlyWithRecurse) {
  CreateDir(dir / "t/inner", 1);
  dir.Write("t/inner/deep.txt", "x");
  dir.Write("t/top.txt", "y");
  EXPECT_FALSE(DeleteDir(dir / "t"));
  EXPECT_EQ(FileType(dir / "t/top.txt"), FILETYPE_FILE);
  EXPECT_TRUE(DeleteDir(dir / "t/", 1));
  EXPECT_EQ(FileType(dir / "t"), FILETYPE_NONE);
  EXPECT_FALSE(DeleteDir(dir / "t", 1));
}

TEST_F(PlatformFiles, DeleteDirNeverFollowsALinkOutOfTheFolder) {
  CreateDir(dir / "outside");
  dir.Write("outside/keep.txt", "precious");
  CreateDir(dir / "victim/sub", 1);
  ASSERT_EQ(symlink((dir / "outside").c_str(), (dir / "victim/sub/link").c_str()), 0);
  ASSERT_EQ(symlink((dir / "outside/keep.txt").c_str(), (dir / "victim/file-link").c_str()), 0);
  ASSERT_EQ(symlink((dir / "outside").c_str(), (dir / "dir-link").c_str()), 0);

  EXPECT_TRUE(DeleteDir(dir / "victim", 1));
  EXPECT_EQ(FileType(dir / "victim"), FILETYPE_NONE);
  EXPECT_FALSE(DeleteDir(dir / "dir-link", 1));  // a link is no folder to delete
  EXPECT_EQ(ReadAll(dir / "outside/keep.txt"), "precious");
  EXPECT_EQ(FileType(dir / "dir-link"), FILETYPE_DIR);
}

TEST_F(PlatformFiles, CopyFileCopiesBytes) {
  std::string bytes("a\0b\r\n", 5);
  std::string from = dir.Write("from.bin", bytes);
  EXPECT_TRUE(CopyFile(from, dir / "to.bin"));
  EXPECT_EQ(ReadAll(dir / "to.bin"), bytes);
  dir.Write("to.bin", "longer old content");
  EXPECT_TRUE(CopyFile(from, dir / "to.bin"));  // replaces the old file whole
  EXPECT_EQ(ReadAll(dir / "to.bin"), bytes);
  EXPECT_TRUE(CopyFile(from, from));  // onto itself: kept, not emptied
  EXPECT_EQ(ReadAll(from), bytes);
  EXPECT_FALSE(CopyFile(dir / "missing", dir / "x"));
  EXPECT_FALSE(CopyFile(dir.Path(), dir / "x"));
  EXPECT_FALSE(CopyFile(from, dir / "no/folder/x"));
}

TEST_F(PlatformFiles, CopyDirDescendsIntoFolders) {
  CreateDir(dir / "src/a/b", 1);
  dir.Write("src/top.txt", "1");
  dir.Write("src/a/b/deep.txt", "2");
  EXPECT_TRUE(CopyDir(dir / "src", dir / "dst"));
  EXPECT_EQ(ReadAll(dir / "dst/top.txt"), "1");
  EXPECT_EQ(ReadAll(dir / "dst/a/b/deep.txt"), "2");
  EXPECT_FALSE(CopyDir(dir / "missing", dir / "dst2"));
}

TEST_F(PlatformFiles, CopyDirIntoItselfOrThroughALoopEnds) {
  CreateDir(dir / "src");
  dir.Write("src/f.txt", "1");
  ASSERT_EQ(symlink("..", (dir / "src/up").c_str()), 0);
  EXPECT_TRUE(CopyDir(dir / "src", dir / "src/copy"));
  EXPECT_EQ(ReadAll(dir / "src/copy/f.txt"), "1");
  EXPECT_EQ(FileType(dir / "src/copy/copy"), FILETYPE_NONE);
  EXPECT_EQ(FileType(dir / "src/copy/up"), FILETYPE_NONE);
}

TEST_F(PlatformFiles, DeleteAndRenameFiles) {
  std::string file = dir.Write("old.sav", "x");
  EXPECT_TRUE(RenameFile(file, dir / "new.sav"));
  EXPECT_EQ(FileType(file), FILETYPE_NONE);
  EXPECT_FALSE(RenameFile(file, dir / "other.sav"));
  EXPECT_TRUE(DeleteFile(dir / "new.sav"));
  EXPECT_FALSE(DeleteFile(dir / "new.sav"));
  CreateDir(dir / "folder");
  EXPECT_FALSE(DeleteFile(dir / "folder"));
  EXPECT_EQ(FileType(dir / "folder"), FILETYPE_DIR);
}

TEST_F(PlatformFiles, ReadFailureSaysWhyInTheSystemsWords) {
  const std::string file = dir.Write("a.txt", "text");
  EXPECT_EQ(ReadFailure(file), "");
  EXPECT_EQ(ReadFailure(dir / "none.txt"), "No such file or directory");
  EXPECT_EQ(ReadFailure(dir.Path()), "Is a directory");
  EXPECT_EQ(ReadFailure(file + "/under"), "Not a directory");
}

TEST(PlatformPaths, AppFileIsThisTestProgram) {
  std::string app = AppFile();
  EXPECT_EQ(StripDir(app), "corvel_tests_platform");
  EXPECT_EQ(FileType(app), FILETYPE_FILE);
}

TEST(PlatformPaths, PartsOfAPath) {
  struct Case {
    const char* path;
    const char* dir;
    const char* ext;
    const char* name;
    const char* noExt;
    const char* bare;
  } cases[] = {
      {"/res/Maps/start.map", "/res/Maps", "map", "start.map", "/res/Maps/start", "start"},
      {"save.tar.gz", "", "gz", "save.tar.gz", "save.tar", "save.tar"},
      {"dir.v2/readme", "dir.v2", "", "readme", "dir.v2/readme", "readme"},
      {"folder/", "folder", "", "", "folder/", ""},
      {"", "", "", "", "", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path);
    EXPECT_EQ(ExtractDir(c.path), c.dir);
    EXPECT_EQ(ExtractExt(c.path), c.ext);
    EXPECT_EQ(StripDir(c.path), c.name);
    EXPECT_EQ(StripExt(c.path), c.noExt);
    EXPECT_EQ(StripAll(c.path), c.bare);
  }
}
