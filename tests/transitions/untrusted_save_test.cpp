// Saved games from strangers, loaded the ways a player loads them: from the title menu, from
// the failure question of KillPlayer, and from play. A save that SaveGame wrote loads whole;
// a save script that is not text, does not compile, reaches for files, other code or the
// string library, or asks for more than a save does (endless time or memory, a second trip
// or track) is refused at once, before anything changes. Nothing outside ever runs, and the
// names a stranger's save brings reach standard error with their controls escaped.
#include <gtest/gtest.h>

#include <cstring>
#include <deque>
#include <filesystem>
#include <functional>
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

constexpr uint32_t kCyan = 0x00FFFF;  // the colour of "Loaded Slot ..."
constexpr int kSavedGold = 1234, kPlayGold = 1;
// Past its last key a load's screens poll a couple of times at most before they return.
constexpr long kMostIdlePolls = 1000;

enum class Outcome { Loaded, Refused };
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
  // The most processor time the load may take, from the key that starts it to its message: a
  // refusal comes at once (in a fraction of a second). Processor time, so that a busy machine
  // that takes the thread away for a while does not count.
  int64_t withinMicros = 1000000;
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
    int64_t cpuMicros = 0;  // the thread's processor time
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

  // The keys that load slot 1 along the path and, when the load is refused, leave the dialog
  // and reach a new game from the title.
  std::vector<Step> Keys(Path path, Outcome outcome) const {
    const int enter = settings->kEnter, ret = 13, escape = 27;
    std::vector<Step> keys;
    if (path == Path::TitleMenu) keys = {{settings->kDown}, {enter}};
    if (path == Path::KillPlayer) keys = {{enter}};  // "Load Game"
    keys.push_back({ret, "load"});
    keys.push_back({enter, "message"});
    if (outcome == Outcome::Loaded) return keys;
    keys.push_back({escape, "dialog again"});
    if (path == Path::InPlay) return keys;
    if (path == Path::TitleMenu) keys.push_back({settings->kUp});
    keys.push_back({enter});  // "New Game"
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
                         currentMap ? currentMap->mapFile : "", ThreadCpuMicros()};
      }
      ++posted;
      return true;
    });
  }

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

  if (c.outcome == Outcome::Loaded) {
    EXPECT_EQ(player->gold, kSavedGold);
    EXPECT_EQ(lastMusic, 2);
    EXPECT_EQ(currentMap->mapFile, settings->tempDir + "a.map");
    EXPECT_EQ(currentMap->mapTile[3][3].tileID, kMarkTile);
    EXPECT_EQ(ReadFileBytes(settings->tempDir + "a.map"), slotMap);
  } else {
    EXPECT_NE(said.find("Could not load the save script " + Record() + ".lua: "),
              std::string::npos) << said;
    // Back in the dialog, the game in play is as it was.
    const Moment& again = moments.at("dialog again");
    EXPECT_EQ(again.working, inPlay);
    EXPECT_EQ(again.gold, kPlayGold);
    EXPECT_EQ(again.mapFile, settings->tempDir + "b.map");
  }
  EXPECT_NE(said.find(c.said), std::string::npos) << said;
  EXPECT_LT(moments.at("message").cpuMicros - moments.at("load").cpuMicros, c.withinMicros);
}

const SaveCase kCases[] = {
    {"WrittenBySaveGame", nullptr, Outcome::Loaded, "", true, 10000000},
    {"PatchedPrecompiledChunk", "@chunk", Outcome::Refused, "a precompiled chunk, not text"},
    {"NoScript", nullptr, Outcome::Refused, "No such file or directory", false},
    {"PictureInPlaceOfTheScript", "@picture", Outcome::Refused, "unexpected symbol"},
    {"DoFileOutside", "AddPlayer(2, 3, 8, 8) dofile(@outside)", Outcome::Refused, "'dofile'"},
    {"LoadFileOutside", "loadfile(@outside)()", Outcome::Refused, "'loadfile'"},
    {"LoadString", "loadstring('escaped = true')()", Outcome::Refused, "'loadstring'"},
    {"Load", "load(function() end)", Outcome::Refused, "'load'"},
    {"GlobalsThroughGetfenv", "getfenv(0).escaped = true", Outcome::Refused, "'getfenv'"},
    {"Require", "require('os')", Outcome::Refused, "'require'"},
    {"StringDump", "string.dump(GoToMap)", Outcome::Refused, "'string'"},
    {"CollectGarbage", "collectgarbage()", Outcome::Refused, "'collectgarbage'"},
    {"PatternThatOverflowsTheStack", "string.find(string.rep('a', 1e6), string.rep('a?', 1e6))",
     Outcome::Refused, "'string'"},
    {"PatternThroughStringMethods", "local a = ('a'):rep(1e6) a:find(('a?'):rep(1e6))",
     Outcome::Refused, "attempt to index a string value"},
    {"EndlessLoop", "AddPlayer(2, 3, 8, 8) while true do end", Outcome::Refused,
     "instructions that a save script may run"},
    {"HungryForMemory", "local s = 'x' while true do s = s .. s end", Outcome::Refused,
     "bytes of memory that a save script may use"},
    // Each instruction converts a number of 256 K digits: a million of them would take minutes.
    {"SlowInstructions",
     "local s = '1' for i = 1, 18 do s = s .. s end while true do local n = s + 0 end",
     Outcome::Refused, "ms of processor time that a save script may take"},
    // Every trip writes and syncs the map and its NPCs and plays a fade.
    {"TravelsOnAndOn", "AddPlayer(2, 3, 8, 8) for i = 1, 300000 do GoToMap('a.map', 0) end",
     Outcome::Refused, "it calls GoToMap more than once"},
    {"MusicOnAndOn", "for i = 1, 300000 do PlayMusic(9) end", Outcome::Refused,
     "it calls PlayMusic more than once"},
    {"ManySmallTables", "local t = {} while true do t = {t} end", Outcome::Refused,
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

// The names a stranger's save brings reach standard error with every control escaped, byte
// for byte as below, along each of their roads: the map that the save script travels to, the
// script's compile error, a link in the slot folder, and the record's own name.
TEST_F(SavedGame, HostileNamesReachStandardErrorEscaped) {
  // Operating system commands that set the window's title and the clipboard.
  const std::string title = "\x1B]0;owned\x07", titleShown = "\\x1B]0;owned\\x07";
  const std::string clip = "\x1B]52;c;b3duZWQ=\x07", clipShown = "\\x1B]52;c;b3duZWQ=\\x07";
  const std::string scriptFile = Record() + ".lua", link = SlotFolder(0) + "/" + title;
  const std::string saved = ReadFileBytes(scriptFile);
  const struct {
    const char* road;
    std::function<void()> tamper;
    std::string record;
    int loaded;
    std::string said;
  } cases[] = {
      {"the record's name", [&] { WriteFileBytes(SaveRecordPath(0, title), "HERO\r\n"); },
       SaveRecordPath(0, title), 0,
       "Could not load the save record " + settings->saveDir + "0." + titleShown +
           ".sav: it ends early\n"},
      {"the compile error", [&] { WriteFileBytes(scriptFile, "GoToMap(\"" + clip + "\n"); },
       Record(), 0,
       "Could not load the save script " + scriptFile + ": Save/0.HERO.sav.lua:1: unfinished "
       "string near '\"" + clipShown + "'\n"},
      {"a link in the slot", [&] { std::filesystem::create_symlink(home + "/outside.lua", link); },
       Record(), 0, "Could not copy " + SlotFolder(0) + "/" + titleShown + ": it is a link\n"},
      // The map is missing: a text box says so, and the talk key closes it.
      {"the map travelled to",
       [&] {
         WriteFileBytes(scriptFile, "GoToMap('\\27]0;owned\\7.map', 0)");
         Script({Key(EVENT_KEYDOWN, settings->kEnter)});
       },
       Record(), 1,
       "Could not open the map " + settings->tempDir + titleShown +
           ".map: No such file or directory\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.road);
    WriteFileBytes(scriptFile, saved);
    std::filesystem::remove(link);
    c.tamper();
    testing::internal::CaptureStderr();
    EXPECT_EQ(LoadGame(c.record, SlotFolder(0)), c.loaded);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), c.said);
    EXPECT_TRUE(script.empty());  // the text box took its key
  }
}

}  // namespace
