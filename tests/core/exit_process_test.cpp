// The real program's ways out and what it says on standard error, run headless: signals end
// it as the exit question's "Yes" does, whatever music plays, and a quest whose files fail in
// every way has each failure named on a line of its own, while what its scripts print reaches
// the log file as it runs.
#include <gtest/gtest.h>
#include <signal.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <filesystem>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "support/checks.h"
#include "support/files.h"
#include "support/game_process.h"
#include "world/map.h"

namespace fs = std::filesystem;
using testsupport::EndsWith;
using testsupport::WaitFor;
using testsupport::GameProcess;

namespace {

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

struct SignalCase {
  const char* name;
  std::vector<int> signals;
  bool titleMusic;  // "menu.ogg" is there, so the title music plays when the signals come
};

class SignalsEndTheGame : public ::testing::TestWithParam<SignalCase> {};

TEST_P(SignalsEndTheGame, AsYesWould) {
  const std::string root = testsupport::ScratchDir("tree");
  const std::string program =
      testsupport::MakeGameTree(root, std::string(CORVEL_FIXTURES) + "/core_quest");
  if (GetParam().titleMusic) {
    fs::copy_file(fs::path(CORVEL_BINARY_DIR) / "Resources" / "Music" / "menu.ogg",
                  fs::path(root) / "Resources" / "Music" / "menu.ogg");
  }
  const fs::path user = testsupport::GameUserDir(root);
  GameProcess game(program, root + "/home", root);
  // The maps are in the working folder: the game is on its way to the title menu, where the
  // first events are taken (and with them the signals).
  ASSERT_TRUE(WaitFor([&] { return fs::exists(user / "Temporary Files" / "second.map"); }));
  for (int sig : GetParam().signals) game.Signal(sig);
  EXPECT_EQ(game.Wait(), 0) << game.Error();
  EXPECT_FALSE(fs::exists(user / "Temporary Files"));
  EXPECT_TRUE(fs::is_directory(user / "Save"));
}

INSTANTIATE_TEST_SUITE_P(
    TitleMenu, SignalsEndTheGame,
    ::testing::Values(SignalCase{"TermWithMusic", {SIGTERM}, true},
                      SignalCase{"TermWithoutMusic", {SIGTERM}, false},
                      SignalCase{"HangUpWithMusic", {SIGHUP}, true},
                      SignalCase{"InterruptTwiceWithMusic", {SIGINT, SIGINT}, true},
                      SignalCase{"InterruptTwiceWithoutMusic", {SIGINT, SIGINT}, false}),
    [](const ::testing::TestParamInfo<SignalCase>& i) { return std::string(i.param.name); });

// A script that never ends takes no events: the signals still end the game, from inside it.
struct LoopCase {
  const char* name;
  const char* setup;  // the setup script
  const char* trigger;  // the entry trigger of looping.map
  std::vector<int> signals;
};

class SignalsEndAScriptThatNeverEnds : public ::testing::TestWithParam<LoopCase> {};

TEST_P(SignalsEndAScriptThatNeverEnds, WithStatus0) {
  const LoopCase& c = GetParam();
  const std::string root = testsupport::ScratchDir("tree");
  const std::string program =
      testsupport::MakeGameTree(root, std::string(CORVEL_FIXTURES) + "/core_quest");
  const TMapPtr map = TMap::Create();
  map->mapEntryTrigger = 1;
  map->SaveMap(root + "/Resources/Maps/looping.map");
  const std::string triggers = root + "/Resources/Triggers/";
  testsupport::WriteFileBytes(triggers + "triggers.dat", "loop.lua\r\n");
  testsupport::WriteFileBytes(triggers + "setup.lua", c.setup);
  testsupport::WriteFileBytes(triggers + "loop.lua", c.trigger);
  const fs::path user = testsupport::GameUserDir(root);

  GameProcess game(program, root + "/home", root);
  // The refused map is said just before the loop begins, and no event is taken after it.
  ASSERT_TRUE(game.WaitForError("Refused the map \"../looping\"")) << game.Error();
  for (int sig : c.signals) game.Signal(sig);
  EXPECT_EQ(game.Wait(), 0) << game.Error();
  EXPECT_FALSE(fs::exists(user / "Temporary Files"));
}

// Says so on standard error, then loops.
#define LOOP "GoToMap('../looping', 7) "
INSTANTIATE_TEST_SUITE_P(
    Scripts, SignalsEndAScriptThatNeverEnds,
    ::testing::Values(
        LoopCase{"SetupScriptTerm", LOOP "while true do end", "", {SIGTERM}},
        LoopCase{"TriggerTerm", "GoToMap('looping.map', 7)", LOOP "while true do end", {SIGTERM}},
        LoopCase{"TriggerHangUp", "GoToMap('looping.map', 7)", LOOP "while true do end", {SIGHUP}},
        LoopCase{"TriggerInterruptTwice", "GoToMap('looping.map', 7)", LOOP "while true do end",
                 {SIGINT, SIGINT}},
        LoopCase{"CoroutineTerm", "GoToMap('looping.map', 7)",
                 LOOP "coroutine.wrap(function() local t = {} while true do t[1] = 1 end end)()",
                 {SIGTERM}}),
    [](const ::testing::TestParamInfo<LoopCase>& i) { return std::string(i.param.name); });
#undef LOOP

TEST(GameFailures, EachSaysWhatFailed) {
  const std::string root = testsupport::ScratchDir("tree");
  const std::string program =
      testsupport::MakeGameTree(root, std::string(CORVEL_FIXTURES) + "/failing_quest");
  // Four maps whose entry triggers are the four lines of "triggers.dat".
  fs::create_directories(root + "/Resources/Maps");
  const char* const names[] = {"first", "second", "third", "fourth"};
  for (int n = 1; n <= 4; ++n) {
    const TMapPtr map = TMap::Create();
    map->mapEntryTrigger = n;
    map->SaveMap(root + "/Resources/Maps/" + names[n - 1] + ".map");
  }
  GameProcess game(program, root + "/home", root);
  ASSERT_TRUE(game.WaitForError("Could not open the map ")) << game.Error();
  // The missing map's text box waits for a key that cannot come. Meanwhile what the set-up
  // script printed is in the log file already.
  EXPECT_EQ(game.Output(), "Setting up the failing quest\n");
  game.Signal(SIGTERM);
  EXPECT_EQ(game.Wait(), 0) << game.Error();

  const std::string res = root + "/bin/../Resources/";
  const std::string missing = ": No such file or directory";
  const std::vector<std::string> lines = Lines(game.Error());
  for (const std::string& expected : {
           "Could not load the image " + res + "Images/hero.png" + missing,
           "Could not load the image " + res +
               "Images/damaged.png: not a PNG, JPEG, BMP or TGA image",
           "Could not load the sound " + res + "Sounds/gone.wav" + missing,
           "Could not load the sound " + res + "Sounds/noise.wav: not a WAV or Ogg Vorbis file",
           "Could not open the table " + res + "item.dat" + missing,
           "Could not load the music " + res + "Music/gone.ogg" + missing,
           "Could not open the map " + testsupport::GameUserDir(root) +
               "/Temporary Files/nowhere.map" + missing}) {
    EXPECT_NE(std::find(lines.begin(), lines.end(), expected), lines.end()) << expected;
  }
  // Lua's messages, and for the run-time errors the script frames that led to them: the
  // failing script's, then the set-up script's that went to the map. Scripts go by their
  // names in the quest folder.
  std::vector<std::string> scriptLines;
  for (size_t i = 0; i < lines.size(); ++i) {
    if (lines[i].find(" the script ") == std::string::npos) continue;
    scriptLines.push_back(lines[i]);
    for (size_t j = i + 1; j < lines.size() && lines[j].rfind('\t', 0) == 0; ++j)
      scriptLines.push_back(lines[j]);
  }
  EXPECT_EQ(scriptLines,
            (std::vector<std::string>{
                "Could not load the script " + res + "Triggers/broken.lua: Triggers/broken.lua:3: "
                "')' expected (to close '(' at line 2) near '<eof>'",
                "Error in the script " + res + "Triggers/fails.lua: Triggers/fails.lua:3: "
                "attempt to index local 'torch' (a nil value)",
                "\tTriggers/fails.lua:3: in function 'light'",
                "\tTriggers/fails.lua:6: in function 'enter'",
                "\tTriggers/fails.lua:8: in main chunk",
                "\tTriggers/setup.lua:7: in main chunk",
                "Error in the script " + res + "Triggers/bad_argument.lua: "
                "Triggers/bad_argument.lua:3: bad argument #1 to 'GiveGold' "
                "(number expected, got string)",
                "\tTriggers/bad_argument.lua:3: in main chunk",
                "\tTriggers/setup.lua:9: in main chunk",
            }))
      << game.Error();
  // What is absent by design says nothing: the empty line of the trigger table (the third
  // map's entry trigger), the missing map's text box without a portrait, the empty line of
  // the sound table.
  for (const std::string& line : lines) {
    EXPECT_FALSE(EndsWith(line, ": Is a directory")) << line;
  }
}

}  // namespace
