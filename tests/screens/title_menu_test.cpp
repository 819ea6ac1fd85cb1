// The title menu: selection ring, key order, the exit question, sub-screens and a new game.
#include <filesystem>
#include <utility>

#include "core/game.h"
#include "core/globals.h"
#include "screen_fixture.h"
#include "screens/save_slots.h"
#include "screens/screens.h"
#include "support/files.h"
#include "support/sounds.h"
#include "support/write_failures.h"
#include "transitions/transitions.h"

namespace fs = std::filesystem;

namespace {

using Events = std::vector<std::pair<int, int>>;

constexpr std::pair<int, int> Key(int code) { return {EVENT_KEYDOWN, code}; }

struct MenuCase {
  const char* name;
  Events events;
  int selected;  // the entry shown once the events are used up
  int kExit = 27, kDown = 40;
};

class TitleMenu : public ScreenTest {};

TEST_F(TitleMenu, SelectionAndKeys) {
  const auto down = Key(kDownArrow), up = Key(kUpArrow), ret = Key(kReturn);
  const MenuCase cases[] = {
      {"starts on new game", {}, 0},
      {"up from the first wraps", {up}, 4},
      {"down from the last wraps", {down, down, down, down, down}, 0},
      {"down and up", {down, down, up}, 1},
      {"other keys do nothing", {Key(65), Key(32), Key(kLeftArrow)}, 0},
      {"mouse, terminate, menu actions and ticks do nothing",
       {{EVENT_MOUSEDOWN, 1},
        {EVENT_MOUSEUP, 1},
        {EVENT_APPTERMINATE, 0},
        {EVENT_MENUACTION, 100},
        {EVENT_TIMERTICK, 0}},
       0},
      {"escape asks, declining keeps the entry", {down, down, Key(kEscape), down, ret}, 2},
      {"the close button asks", {down, {EVENT_WINDOWCLOSE, 0}, down, ret}, 1},
      {"the configured exit key asks", {Key(81), down, ret}, 0, 81},
      {"the exit entry asks", {up, ret, down, ret}, 4},
      {"an exit key on the down arrow asks first", {Key(kDownArrow), down, ret}, 0, 40},
      {"a down key on return moves and never acts", {ret, ret}, 2, 27, 13},
      {"options return to the menu", {down, down, ret, Key(kEscape)}, 2},
      {"credits return to the menu", {up, up, ret, ret}, 3},
  };
  for (const MenuCase& c : cases) {
    SCOPED_TRACE(c.name);
    settings->kExit = static_cast<uint8_t>(c.kExit);
    settings->kDown = static_cast<uint8_t>(c.kDown);
    for (const auto& [id, data] : c.events) PostEvent(id, data);
    EXPECT_FALSE(Runs(DisplayMainMenu));
    EXPECT_EQ(Pixel(250, 295), MenuOptionColour(c.selected));
    EXPECT_EQ(Pixel(249, 295), kBackground);
    EXPECT_EQ(engine->runs.size(), 0u);
    FlushEvents();
  }
}

TEST_F(TitleMenu, KeyReleasesReachTheGame) {
  HoldRight();
  PostEvent(EVENT_KEYUP, settings->kRight);
  EXPECT_FALSE(Runs(DisplayMainMenu));
  EXPECT_EQ(keyHeld[3], 0);
  EXPECT_EQ(player->speedX, 0.0f);
}

TEST_F(TitleMenu, NewGameResetsTheWorkingFolderAfterTheStartupScript) {
  testsupport::WriteFileBytes(settings->mapDir + "a.map", "pristine");
  testsupport::WriteFileBytes(settings->tempDir + "old.map", "earlier game");
  testsupport::WriteFileBytes(settings->triggerDir + "startup.lua", "");
  const TPlayerPtr before = player;
  // The game's music on the channel when the player chooses: the new game stops it.
  auto gameMusic = std::make_shared<ProbeChannel>();
  bool posted = false;
  SetEventPump([&] {
    if (posted) throw QueueDrained{};
    posted = true;
    musicChannel = gameMusic;
    PostEvent(EVENT_KEYDOWN, kReturn);
  });
  int stopsAtScript = -1;
  bool oldMapAtScript = false;
  engine->onRun = [&](const std::string&) {
    stopsAtScript = gameMusic->stops;
    oldMapAtScript = fs::exists(settings->tempDir + "old.map");
    testsupport::WriteFileBytes(settings->tempDir + "left.map", "written by a trip");
  };
  settings->music = 0;
  int result = -1;
  ASSERT_TRUE(Runs(DisplayMainMenu, &result));
  EXPECT_EQ(result, 0);
  EXPECT_EQ(music->stops, 1);  // the music playing when the menu opened
  EXPECT_NE(musicChannel, std::shared_ptr<TChannel>(music));
  ASSERT_EQ(engine->runs, std::vector<std::string>{settings->triggerDir + "startup.lua"});
  EXPECT_EQ(stopsAtScript, 1);
  EXPECT_TRUE(oldMapAtScript);
  EXPECT_NE(player, before);
  EXPECT_EQ(testsupport::ReadFileBytes(settings->tempDir + "a.map"), "pristine");
  EXPECT_FALSE(fs::exists(settings->tempDir + "old.map"));
  EXPECT_FALSE(fs::exists(settings->tempDir + "left.map"));
  EXPECT_EQ(logic->inits, 0);
}

// The reset after the startup script cannot copy the maps: the title menu says why over its
// own picture and stays; the next new game first makes the working folder whole.
TEST_F(TitleMenu, ANewGameWhoseMapsCannotBeCopiedStaysOnTheTitle) {
  const std::string map(20000, 'm');
  testsupport::WriteFileBytes(settings->mapDir + "a.map", map);
  testsupport::WriteFileBytes(settings->triggerDir + "startup.lua", "");
  const std::string failure = "Could not copy " + settings->mapDir + "a.map to " +
                              settings->tempDir + "a.map: File too large";
  int polls = 0;
  uint32_t behind = 0;
  PixelBox message, title;
  SetEventPump([&] {
    if (polls == 1) {
      behind = Pixel(0, 420);
      message = FindColour(kWhite);
    }
    if (polls == 2) title = FindColour(MenuOptionColour(0));
    if (polls++ >= 2) throw QueueDrained{};
    PostEvent(EVENT_KEYDOWN, kReturn);  // "New Game", then the message closed
  });
  testing::internal::CaptureStderr();
  bool returned = true;
  {
    testsupport::FileSizeLimit limit(10000);
    returned = Runs(DisplayMainMenu);
  }
  const std::string said = testing::internal::GetCapturedStderr();
  EXPECT_NE(said.find(failure + "\n"), std::string::npos) << said;
  EXPECT_FALSE(returned);
  EXPECT_EQ(engine->runs.size(), 1u);
  EXPECT_EQ(behind, kBackground);
  EXPECT_NE(message, PixelBox{});
  EXPECT_NE(title, PixelBox{});  // back on the title, "New Game" chosen
  EXPECT_FALSE(fs::exists(settings->tempDir + "a.map"));

  // With room again: the working folder is whole before the startup script runs.
  std::string atScript;
  engine->onRun = [&](const std::string&) {
    atScript = testsupport::ReadFileBytes(settings->tempDir + "a.map");
  };
  SetEventPump([&, posted = false]() mutable {
    if (posted) throw QueueDrained{};
    posted = true;
    PostEvent(EVENT_KEYDOWN, kReturn);
  });
  int result = -1;
  ASSERT_TRUE(Runs(DisplayMainMenu, &result));
  EXPECT_EQ(result, 0);
  EXPECT_EQ(atScript, map);
  EXPECT_EQ(testsupport::ReadFileBytes(settings->tempDir + "a.map"), map);
}

TEST_F(TitleMenu, LoadGameEntry) {
  // Nothing saved: the message, then the menu again on the same entry.
  Keys({kDownArrow, kReturn, kReturn});
  EXPECT_FALSE(Runs(DisplayMainMenu));
  EXPECT_EQ(Pixel(250, 295), MenuOptionColour(1));

  player->gold = 55;
  ASSERT_EQ(SaveGame(SaveRecordPath(0, "KEPT"), SlotFolder(0)), 1);
  // The screens have no map to travel to: a script that restores the record alone.
  testsupport::WriteFileBytes(SaveRecordPath(0, "KEPT") + ".lua", "");
  player->gold = 0;
  auto titleMusic = std::make_shared<ProbeChannel>();
  bool posted = false;
  SetEventPump([&] {
    if (posted) throw QueueDrained{};
    posted = true;
    musicChannel = titleMusic;                      // in place of the stream the menu started
    Keys({kDownArrow, kReturn, kReturn, kReturn});  // load entry, load slot 1, close message
  });
  int result = -1;
  ASSERT_TRUE(Runs(DisplayMainMenu, &result));
  EXPECT_EQ(result, 0);
  EXPECT_EQ(player->gold, 55);
  EXPECT_EQ(titleMusic->stops, 0);  // the loaded game chooses the music that follows
}

// A load from the title that stops part-way after the save script started the saved game's
// music (the last copy into the working folder fails): back on the title, the saved game's
// music has stopped and the title music plays.
TEST_F(TitleMenu, AStoppedLoadGoesBackToTheTitleMusic) {
  ASSERT_TRUE(SetAudioDriver("OpenAL")) << "OpenAL Soft's null backend should open";
  settings->music = 1;
  testsupport::WriteFileBytes(settings->musicDir + "menu.ogg", testsupport::TinyWav());
  testsupport::WriteFileBytes(settings->musicDir + "saved.wav", testsupport::TinyWav());
  const std::vector<std::string> tracks = ::music;
  ::music = {settings->musicDir + "saved.wav"};
  ASSERT_EQ(SaveGame(SaveRecordPath(0, "HERO"), SlotFolder(0)), 1);
  testsupport::WriteFileBytes(SaveRecordPath(0, "HERO") + ".lua", "PlayMusic(0)\r\n");
  // A map the quest ships after the save: the working folder cannot take it.
  testsupport::WriteFileBytes(settings->mapDir + "big.map", std::string(100000, 'x'));
  // The load entry, the slot, the message that it could not be loaded; then the title.
  std::vector<TChannelPtr> heard;  // the music channel at each poll
  const std::vector<int> keys = {kDownArrow, kReturn, kReturn, kReturn};
  SetEventPump([&] {
    heard.push_back(musicChannel);
    if (heard.size() > keys.size()) throw QueueDrained{};
    PostEvent(EVENT_KEYDOWN, keys[heard.size() - 1]);
  });
  testing::internal::CaptureStderr();
  {
    const testsupport::FileSizeLimit limit(50000);
    EXPECT_FALSE(Runs(DisplayMainMenu));
  }
  const std::string said = testing::internal::GetCapturedStderr();
  EXPECT_NE(said.find(settings->mapDir + "big.map"), std::string::npos) << said;
  ASSERT_EQ(heard.size(), 5u);
  const TChannelPtr title = heard[0], saved = heard[3], again = heard[4];
  ASSERT_TRUE(title && saved && again);
  EXPECT_EQ(heard[2], title);
  EXPECT_NE(saved, title);  // the message stands while the saved game's music plays
  EXPECT_NE(again, saved);
  EXPECT_FALSE(ChannelPlaying(saved));
  EXPECT_TRUE(ChannelPlaying(again));
  StopChannel(musicChannel);
  heard.clear();
  ::music = tracks;
  SetAudioDriver("Null");
}

}  // namespace
