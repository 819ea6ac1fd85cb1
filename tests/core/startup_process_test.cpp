// Fatal start-up errors of the real program: folders that cannot be made end it with the
// message on standard error and exit status -1 before any display opens.
#include <gtest/gtest.h>
#include <filesystem>
#include <fstream>
#include <string>

#include "support/files.h"
#include "support/game_process.h"

namespace fs = std::filesystem;

namespace {

struct Outcome {
  int status = -1;  // exit status, -1 when the process did not exit normally
  std::string err;
};

class StartupProcess : public ::testing::Test {
protected:
  void SetUp() override {
    root = testsupport::ScratchDir("startup");
    fs::create_directories(root / "home");
  }

  // Runs the game with HOME set to `home`, or with HOME unset when `home` is empty.
  Outcome Run(const std::string& home) {
    testsupport::GameProcess game(std::string(CORVEL_BINARY_DIR) + "/bin/corvel", home,
                                  root.string());
    Outcome o;
    o.status = game.Wait();
    o.err = game.Error();
    return o;
  }
  static std::string Message(const std::string& folder) {
    return "Could not create the " + folder +
           " folder.  Please ensure that you have the appropriate permissions to create this folder.";
  }
  fs::path root;
};

TEST_F(StartupProcess, NoDocumentsFolder) {
  const std::string home = (root / "home").string();
  const Outcome o = Run(home);
  EXPECT_EQ(o.status, 255);
  EXPECT_NE(o.err.find(Message(home + "/Documents/Corvel User Data")), std::string::npos) << o.err;
  EXPECT_FALSE(fs::exists(root / "home" / "Documents"));
}

TEST_F(StartupProcess, HomeUnsetMeansTheRoot) {
  if (fs::exists("/Documents")) GTEST_SKIP() << "/Documents exists on this machine";
  const Outcome o = Run("");
  EXPECT_EQ(o.status, 255);
  EXPECT_NE(o.err.find(Message("/Documents/Corvel User Data")), std::string::npos) << o.err;
}

// A plain file where a folder should be: the folders before it are made, in order.
struct BlockedCase {
  const char* name;
  const char* blocked;  // under the user folder
  bool saveMade;
};

class StartupBlocked : public StartupProcess, public ::testing::WithParamInterface<BlockedCase> {};

TEST_P(StartupBlocked, PlainFileInTheWay) {
  const fs::path user = root / "home" / "Documents" / "Corvel User Data";
  fs::create_directories(user);
  std::ofstream(user / GetParam().blocked) << "in the way";
  const Outcome o = Run((root / "home").string());
  EXPECT_EQ(o.status, 255);
  EXPECT_NE(o.err.find(Message(user.string() + "/" + GetParam().blocked + "/")), std::string::npos)
      << o.err;
  EXPECT_TRUE(fs::is_regular_file(user / "config.dat"));
  EXPECT_EQ(fs::is_directory(user / "Save"), GetParam().saveMade);
}

INSTANTIATE_TEST_SUITE_P(Folders, StartupBlocked,
                         ::testing::Values(BlockedCase{"Save", "Save", false},
                                           BlockedCase{"Working", "Temporary Files", true}),
                         [](const ::testing::TestParamInfo<BlockedCase>& i) {
                           return std::string(i.param.name);
                         });

}  // namespace
