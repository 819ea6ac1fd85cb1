// Saved games from strangers, loaded the ways a player loads them: from the title menu, from
// the failure question of KillPlayer, and from play. A save that SaveGame wrote loads whole;
// a save script that is not text or does not compile is refused before anything changes; one
// that reaches for files, other code, the string library, endless time or memory stops, and
// the game returns to the title with a fresh working folder. Nothing outside ever runs.
#include <gtest/gtest.h>


#include <chrono>
#include <deque>
#include <cstring>
#include <map>
#include <tuple>

#include "platform/graphics/graphics.h"
#include "platform/system/clock.h"
#include "screens/save_slots.h"
#include "screens/screens.h"
#include "support/files.h"
#include "support/keys_ran_out.h"
#include "support/lua_run.h"
#include "support/pixels.h"
#include "transitions/transit_world.h"
#include "transitions/transitions.h"

using testsupport::FolderBytes;
using testsupport::ReadFileBytes;
using testsupport::WriteFileBytes;

namespace {

using Clock = std::chrono::steady_clock;
constexpr uint32_t kCyan = 0x00FFFF;  // the colour of "Loaded Slot ..."
constexpr int kSavedGold = 1234, kPlayGold = 1;
// Past its last key a load's screens poll a couple of times at most before they return.
constexpr long kMostIdlePolls = 1000;

enum class Outcome { Loaded, Refused, Stopped };
enum class Path { TitleMenu, KillPlayer, InPlay };

struct SaveCase {
  const char* name;
  // The save script: what SaveGame wrote when null; "@outside" stands for the path of a Lua
  // file outside the quest and user folders, "@chunk" for a patched precompiled chunk and
  // "@picture" for a PNG picture.
  const char* script;
  Outcome outcome;
  const char* said;  // part of the reason on standard error
  bool present = true;
};

// A precompiled chunk whose last instruction, its return, was patched into a jump to itself.
std::string PatchedChunk() {
  std::string chunk = PrecompiledChunk("PlayMusic(9) escaped = true");
  // Header (12 bytes), source name (a size_t length, then the bytes), two line numbers, four
  // bytes of counts, then the number of instructions and the instructions.
  size_t nameLength = 0;
  std::memcpy(&nameLength, chunk.data() + 12, sizeof nameLength);
  const size_t code = 12 + sizeof nameLength + nameLength + 8 + 4;
  int32_t count = 0;
  std::memcpy(&count, chunk.data() + code, 4);
  const uint32_t jumpToItself = 22u | (131070u << 14);  // OP_JMP, sBx -1
  std::memcpy(chunk.data() + code + 4 + 4 * (count - 1), &jumpToItself, 4);
  return chunk;
}

class SavedGame : public TransitWorld {
protected:
  // A key and, when named, the moment it is posted at, remembered for the checks.
  struct Step {
    int code;
    const char* moment = nullptr;
  };
  struct Moment {
    std::map<std::string, std::string> working;
    int gold = 0;
    std::string mapFile;
    Clock::time_point time;
  };

  void SetUp() override {
    TransitWorld::SetUp();
    // Keys wait while a transition plays (it drops them), as a player would: a counted clock.
    SetClockSource([this] {
      ++clockReads;
      now = static_cast<int32_t>(static_cast<uint32_t>(now) + 100000u);
      return now;
    });
    currentMap->LoadMap(settings->tempDir + "a.map");
    currentMap->mapTile[3][3].tileID = kMarkTile;
    player->name = "HERO";
    player->gold = kSavedGold;
    lastMusic = 2;
    ASSERT_EQ(SaveGame(Record(), SlotFolder(0)), 1);
    slotMap = ReadFileBytes(SlotFolder(0) + "/a.map");
    // Play goes on elsewhere.
    ASSERT_EQ(RunLua("GoToMap('b.map', 7)"), 1);
    player->gold = kPlayGold;
    lastMusic = 0;
    WriteFileBytes(home + "/outside.lua", "escaped = true PlayMusic(9)");
    onPass = [this] {
      if (!sawLoaded && testsupport::FindColour(kCyan).x0 >= 0) sawLoaded = true;
      if (script.empty() && ++idle > kMostIdlePolls)
        testsupport::FailForWantOfKeys("a screen waited for a key it should not have opened");
    };
  }

  std::string Record() const { return SaveRecordPath(0, "HERO"); }

  void Tamper(const SaveCase& c) {
    if (!c.script && c.present) return;
    const std::string path = Record() + ".lua";
    if (!c.present) {
      DeleteFile(path);
    } else if (std::string(c.script) == "@chunk") {
      WriteFileBytes(path, PatchedChunk());
    } else if (std::string(c.script) == "@picture") {
      ASSERT_TRUE(SavePixmapPNG(CreatePixmap(8, 8), path));
    } else {
      std::string text = c.script;
      const size_t at = text.find("@outside");
      if (at != std::string::npos) text.replace(at, 8, "'" + home + "/outside.lua'");
      WriteFileBytes(path, text);
    }
  }

  // The keys that load slot 1 along the path and, when the load fails, reach a new game.
  std::vector<Step> Keys(Path path, Outcome outcome) const {
    const int enter = settings->kEnter, ret = 13, escape = 27;
    std::vector<Step> keys;
    if (path == Path::TitleMenu) keys = {{settings->kDown}, {enter}};
    if (path == Path::KillPlayer) keys = {{enter}};  // "Load Game"
    keys.push_back({ret, "load"});
    keys.push_back({enter, "message"});
    if (outcome == Outcome::Refused) keys.push_back({escape, "dialog again"});
    if (outcome == Outcome::Loaded || (outcome == Outcome::Refused && path == Path::InPlay))
      return keys;
    if (path == Path::TitleMenu) keys.push_back({settings->kUp, "title"});
    keys.push_back({enter, path == Path::TitleMenu ? nullptr : "title"});  // "New Game"
    return keys;
  }

  void Feed(const std::vector<Step>& steps) {
    std::deque<TEvent> events;
    for (const Step& s : steps) events.push_back(Key(EVENT_KEYDOWN, s.code));
    size_t posted = 0;
    Script(std::move(events), [this, steps, posted, seen = -1L]() mutable {
      // Each gathering of events reads the clock once; a transition reads it once more.
      const bool quiet = seen >= 0 && clockReads - seen <= 1;
      seen = clockReads;
      if (!quiet) return false;
      if (const char* name = steps[posted].moment) {
        moments[name] = {FolderBytes(settings->tempDir), player ? player->gold : -1,
                         currentMap ? currentMap->mapFile : "", Clock::now()};
      }
      ++posted;
      return true;
    });
  }

  // The working folder holds exactly the shipped maps.
  std::map<std::string, std::string> Shipped() const { return FolderBytes(settings->mapDir); }

  int32_t now = 0;
  long clockReads = 0;
  long idle = 0;
  bool sawLoaded = false;
  std::string slotMap;
  std::map<std::string, Moment> moments;
};

class UntrustedSave : public SavedGame,
                      public ::testing::WithParamInterface<std::tuple<SaveCase, Path>> {};

TEST_P(UntrustedSave, LoadsOnlyWhatASaveIs) {
  const auto& [c, path] = GetParam();
  Tamper(c);
  const auto inPlay = FolderBytes(settings->tempDir);
  Feed(Keys(path, c.outcome));

  testing::internal::CaptureStderr();
  switch (path) {
    case Path::TitleMenu: DisplayMainMenu(); break;
    case Path::KillPlayer: ASSERT_EQ(RunLua("KillPlayer() after = true"), 1); break;
    case Path::InPlay: DisplayLoadDialog(0); break;
  }
  const std::string said = testing::internal::GetCapturedStderr();
  EXPECT_TRUE(script.empty()) << "keys left over";
  EXPECT_LE(idle, kMostIdlePolls) << "a screen waited for a key it should not have opened";
  EXPECT_EQ(LuaGlobal("escaped"), "nil");
  EXPECT_NE(lastMusic, 9);
  if (path == Path::KillPlayer) {
    EXPECT_EQ(LuaGlobal("after"), "true");  // the calling script went on
  }
  EXPECT_EQ(sawLoaded, c.outcome == Outcome::Loaded);

  const std::string file = Record() + ".lua: ";
  switch (c.outcome) {
    case Outcome::Loaded:
      EXPECT_EQ(player->gold, kSavedGold);
      EXPECT_EQ(lastMusic, 2);
      EXPECT_EQ(currentMap->mapFile, settings->tempDir + "a.map");
      EXPECT_EQ(currentMap->mapTile[3][3].tileID, kMarkTile);
      EXPECT_EQ(ReadFileBytes(settings->tempDir + "a.map"), slotMap);
      break;
    case Outcome::Refused: {
      EXPECT_NE(said.find("Could not load the save script " + file), std::string::npos) << said;
      // Back in the dialog, the game in play is as it was.
      const Moment& again = moments.at("dialog again");
      EXPECT_EQ(again.working, inPlay);
      EXPECT_EQ(again.gold, kPlayGold);
      EXPECT_EQ(again.mapFile, settings->tempDir + "b.map");
      break;
    }
    case Outcome::Stopped:
      EXPECT_NE(said.find("Error in the save script " + file), std::string::npos) << said;
      EXPECT_EQ(moments.at("title").working, Shipped());
      EXPECT_EQ(LuaGlobal("log"), "startup;");  // the new game from the title
      break;
  }
  EXPECT_NE(said.find(c.said), std::string::npos) << said;
  // The load ended at once: its message was up within seconds.
  EXPECT_LT(moments.at("message").time - moments.at("load").time, std::chrono::seconds(10));
}

const SaveCase kCases[] = {
    {"WrittenBySaveGame", nullptr, Outcome::Loaded, ""},
    {"PatchedPrecompiledChunk", "@chunk", Outcome::Refused, "a precompiled chunk, not text"},
    {"NoScript", nullptr, Outcome::Refused, "No such file or directory", false},
    {"PictureInPlaceOfTheScript", "@picture", Outcome::Refused, "unexpected symbol"},
    {"DoFileOutside", "AddPlayer(2, 3, 8, 8) dofile(@outside)", Outcome::Stopped, "'dofile'"},
    {"LoadFileOutside", "loadfile(@outside)()", Outcome::Stopped, "'loadfile'"},
    {"LoadString", "loadstring('escaped = true')()", Outcome::Stopped, "'loadstring'"},
    {"Load", "load(function() end)", Outcome::Stopped, "'load'"},
    {"GlobalsThroughGetfenv", "getfenv(0).escaped = true", Outcome::Stopped, "'getfenv'"},
    {"Require", "require('os')", Outcome::Stopped, "'require'"},
    {"StringDump", "string.dump(GoToMap)", Outcome::Stopped, "'string'"},
    {"CollectGarbage", "collectgarbage()", Outcome::Stopped, "'collectgarbage'"},
    {"PatternThatOverflowsTheStack", "string.find(string.rep('a', 1e6), string.rep('a?', 1e6))",
     Outcome::Stopped, "'string'"},
    {"PatternThroughStringMethods", "local a = ('a'):rep(1e6) a:find(('a?'):rep(1e6))",
     Outcome::Stopped, "attempt to index a string value"},
    {"EndlessLoop", "AddPlayer(2, 3, 8, 8) while true do end", Outcome::Stopped,
     "instructions that a save script may run"},
    {"HungryForMemory", "local s = 'x' while true do s = s .. s end", Outcome::Stopped,
     "bytes of memory that a save script may use"},
    {"ManySmallTables", "local t = {} while true do t = {t} end", Outcome::Stopped,
     "bytes of memory that a save script may use"},
};

std::string CaseName(const ::testing::TestParamInfo<std::tuple<SaveCase, Path>>& info) {
  const char* const paths[] = {"FromTheTitle", "FromKillPlayer", "FromPlay"};
  return std::string(std::get<0>(info.param).name) +
         paths[static_cast<int>(std::get<1>(info.param))];
}

INSTANTIATE_TEST_SUITE_P(
    Saves, UntrustedSave,
    ::testing::Combine(::testing::ValuesIn(kCases),
                       ::testing::Values(Path::TitleMenu, Path::KillPlayer, Path::InPlay)),
    CaseName);

// The quest's own triggers that the save script's trip runs are the author's, as in play:
// they see the whole library and the globals, and their work is not the save's to pay for.
TEST_F(SavedGame, TheTriggersOfTheSavedMapRunAsInPlay) {
  const std::string triggers = testsupport::ScratchDir("triggers");
  settings->triggerDir = triggers + "/";
  WriteFileBytes(triggers + "/busy.lua",
                 "local n = 0 for i = 1, 2000000 do n = n + 1 end\n"
                 "busy = ('done'):upper() .. string.find('abc', 'b') .. n .. tostring(quest)\n");
  Trigger = {"", "busy.lua"};
  TMapPtr saved = TMap::Create();
  saved->LoadMap(SlotFolder(0) + "/a.map");
  saved->mapEntryTrigger = 1;
  saved->SaveMap(SlotFolder(0) + "/a.map", 0);
  ASSERT_EQ(RunLua("quest = 'global'"), 1);

  Feed(Keys(Path::InPlay, Outcome::Loaded));
  EXPECT_EQ(DisplayLoadDialog(0), 1);
  EXPECT_TRUE(sawLoaded);
  EXPECT_EQ(LuaGlobal("busy"), "DONE22000000global");
  EXPECT_EQ(player->gold, kSavedGold);
}

}  // namespace
