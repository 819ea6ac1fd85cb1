// Fatal start-up errors of the real program: folders that cannot be made end it with the
// message on standard error and exit status -1 before any display opens.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace fs = std::filesystem;

namespace {

struct Outcome {
  int status = -1;  // exit status, -1 when the process did not exit normally
  std::string err;
};

class StartupProcess : public ::testing::Test {
protected:
  void SetUp() override {
    root = fs::temp_directory_path() / ("corvel_startup_" + std::to_string(::getpid()));
    fs::remove_all(root);
    fs::create_directories(root / "home");
  }
  void TearDown() override { fs::remove_all(root); }

  // Runs the game with HOME set to `home`, or with HOME unset when `home` is empty.
  Outcome Run(const std::string& home) {
    const fs::path errFile = root / "stderr.txt";
    const std::string env = home.empty() ? "env -u HOME" : "env HOME='" + home + "'";
    const std::string cmd = env + " SDL_VIDEODRIVER=dummy ALSOFT_DRIVERS=null timeout 20 '" +
                            std::string(CORVEL_BINARY_DIR) + "/bin/corvel' </dev/null >/dev/null 2>'" +
                            errFile.string() + "'";
    const int raw = std::system(cmd.c_str());
    Outcome o;
    o.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    std::ifstream in(errFile);
    std::stringstream ss;
    ss << in.rdbuf();
    o.err = ss.str();
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
