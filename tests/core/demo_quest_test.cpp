// The demo quest (tools/demoquest, built into <build>/Resources) as a new player meets it, in
// the real program on the headless display with queued keys: the counts, item texts and
// screen texts that the game draws in its own colours stand out from the quest's pictures
// behind them (contrast measured on the drawn pixels), the screens' frames hold what is
// written in them, no NPC stands where it cannot walk or in the way on, and a new game after
// the ending, "Start Over" after a death and a load all begin clean.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <deque>
#include <filesystem>
#include <functional>
#include <regex>
#include <string>
#include <vector>

#include "core/game.h"
#include "core/globals.h"
#include "platform/files/files.h"
#include "screens/save_slots.h"
#include "screens/screens.h"
#include "scripting/commands.h"
#include "support/files.h"
#include "support/lua_run.h"
#include "support/pixels.h"
#include "support/quest_play.h"
#include "transitions/transitions.h"
#include "world/collision.h"
#include "world/update.h"
#include "world/tile.h"

namespace fs = std::filesystem;

namespace {

constexpr int kReturn = 13, kLeft = 37, kUp = 38, kRight = 39, kDown = 40;
constexpr uint32_t kNavy = 0x1C245C, kHighlight = 0xFFFF9B, kTitle = 0xCDFFCD, kWhite = 0xFFFFFF;

// WCAG relative luminance and contrast of two colours 0xRRGGBB.
double Luminance(uint32_t rgb) {
  double sum = 0;
  const double weight[3] = {0.2126, 0.7152, 0.0722};
  for (int k = 0; k < 3; ++k) {
    const double c = ((rgb >> (16 - 8 * k)) & 0xFF) / 255.0;
    sum += weight[k] * (c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4));
  }
  return sum;
}
double Contrast(uint32_t a, uint32_t b) {
  const double la = Luminance(a), lb = Luminance(b);
  return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// The lowest contrast between a text's colour and the back buffer's pixels among its glyphs:
// every pixel of the box of the text's pixels inside (x, y, w, h) that is neither the text
// nor one of `others` (its shadow, texts beside it). 0 when the text is not there.
double TextContrast(uint32_t text, std::vector<uint32_t> others, int x, int y, int w, int h) {
  const testsupport::PixelBox box = testsupport::FindColour(text, x, y, w, h);
  if (box.x0 < 0) return 0;
  others.push_back(text);
  double lowest = 99;
  for (int py = box.y0; py <= box.y1; ++py)
    for (int px = box.x0; px <= box.x1; ++px) {
      const uint32_t c = testsupport::Pixel(px, py);
      if (std::find(others.begin(), others.end(), c) == others.end())
        lowest = std::min(lowest, Contrast(text, c));
    }
  return lowest;
}

class DemoQuest : public testsupport::QuestPlay {
protected:
  void SetUp() override {
    StartQuest((fs::path(CORVEL_BINARY_DIR) / "Resources").string(), "demo-quest", [] {
      // Every text that the quest's scripts show is noted in the script global "said".
      ASSERT_EQ(RunLua("said = ''\n"
                       "for _, name in ipairs({'DisplayText', 'DisplayTextP'}) do\n"
                       "  local show = _G[name]\n"
                       "  _G[name] = function(text, ...)\n"
                       "    said = said .. text .. '|'\n"
                       "    return show(text, ...)\n"
                       "  end\n"
                       "end\n"),
                1);
    });
  }

  // Holds a key for up to `passes` passes or until `done`; true when done.
  bool Hold(int key, int passes, const std::function<bool()>& done) {
    PostEvent(EVENT_KEYDOWN, key);
    for (int i = 0; i < passes && !done(); ++i) Pass();
    PostEvent(EVENT_KEYUP, key);
    Pass();
    return done();
  }
  static bool HasNpc(const std::string& name) {
    for (const TActorPtr& npc : npcList)
      if (npc->name == name) return true;
    return false;
  }
  // The NPCs that stand where they could not walk: "Name at (x, y)" each.
  static std::string NpcsWhereTheyCannotWalk() {
    std::string off;
    for (const TActorPtr& npc : npcList) {
      const TImagePtr sprite = TileImage(npc->tileID);
      if (CheckWalkability(npc->X, npc->Y, ImageWidth(sprite), ImageHeight(sprite), *currentMap,
                           npc->footprintID) == 0)
        off += npc->name + " at (" + std::to_string(npc->X) + ", " + std::to_string(npc->Y) + ") ";
    }
    return off;
  }
  // A new game as the title starts one, on fresh copies of the maps.
  static void NewGame() {
    StartGame();
    DeleteDir(settings->tempDir, 1);
    CopyDir(settings->mapDir, settings->tempDir);
  }
};

TEST_F(DemoQuest, CountsAndItemTextsStandOutFromThePicturesBehindThem) {
  ASSERT_TRUE(OnMap("village.map"));
  // The bow (10 arrows) in the first hand, the axe (3) in the second, and two-digit gold.
  ASSERT_EQ(RunLua("GiveItem(2) GiveItem(5) GiveGold(15)"), 1);
  player->SetPrimary(2);
  player->SetSecondary(5);
  DrawScreen();
  struct TCount {
    const char* what;
    int x;
  } counts[] = {{"gold", 290}, {"first hand's arrows", 366}, {"second hand's axes", 422}};
  for (const TCount& c : counts) {
    const double contrast = TextContrast(0xAF0000, {0x000000}, c.x, 448, 48, 28);
    EXPECT_GE(contrast, 4.5) << "the " << c.what << " count";
  }

  // The inventory with the cursor on its first cell, the sword: its name and description.
  double name = 0, description = 0;
  onModalPoll = [&] {
    name = TextContrast(0xDE1B2C, {0x464109, kWhite}, 112, 296, 416, 20);
    description = TextContrast(kWhite, {0x464109, 0xDE1B2C}, 112, 313, 416, 40);
    modalKeys.push_back(settings->kInventory);
    onModalPoll = nullptr;
  };
  DisplayInventory();
  EXPECT_GE(name, 3.0) << "the item's name";
  EXPECT_GE(description, 4.5) << "the item's description";
}

TEST_F(DemoQuest, LifeFrameHoldsEveryHeartTheQuestGives) {
  // The shrine's blessing raises the 6 of a new game to 8: four hearts.
  ASSERT_EQ(RunLua("GiveMaxLife(2)"), 1);
  ASSERT_EQ(player->life, 8);
  DrawScreen();
  const testsupport::PixelBox hearts = testsupport::FindColour(0xDC1E32, 0, 416, 640, 64);
  const testsupport::PixelBox frame = testsupport::FindColour(0xA07800, 0, 416, 290, 64);
  ASSERT_GE(hearts.x0, 0);
  ASSERT_GE(frame.x0, 0);
  EXPECT_GT(hearts.x0, frame.x0);
  EXPECT_LT(hearts.x1, frame.x1) << "the last heart reaches past the frame";
  EXPECT_GT(hearts.y0, frame.y0);
  EXPECT_LT(hearts.y1, frame.y1);
}

TEST_F(DemoQuest, ScreenTextsLieInsideTheirFramesAndStandOut) {
  struct TScreen {
    const char* name;
    std::function<void()> open;
  } screens[] = {{"options", [] { DisplaySettings(1); }},
                 {"key set-up", [] { RunKeySetUp(1); }}};
  for (const TScreen& s : screens) {
    SCOPED_TRACE(s.name);
    testsupport::PixelBox inside, texts[3];
    double contrast[3] = {0, 0, 0};
    const uint32_t colours[3] = {kTitle, kHighlight, kWhite};
    onModalPoll = [&] {
      inside = testsupport::FindColour(kNavy);
      for (int k = 0; k < 3; ++k) {
        texts[k] = testsupport::FindColour(colours[k], 0, 0, 640, 416);
        const std::vector<uint32_t> others = {0x000000, colours[(k + 1) % 3],
                                              colours[(k + 2) % 3]};
        contrast[k] = TextContrast(colours[k], others, 0, 0, 640, 416);
      }
      modalKeys.push_back(settings->kExit);
      onModalPoll = [this] { modalKeys.push_back(settings->kExit); };
    };
    s.open();
    onModalPoll = nullptr;
    ASSERT_GE(inside.x0, 0);
    for (int k = 0; k < 3; ++k) {
      ASSERT_GE(texts[k].x0, 0) << "colour " << k;
      // Four pixels of dark blue at least between a text and the frame's border.
      EXPECT_GE(texts[k].x0, inside.x0 + 4) << "colour " << k << " starts on the left border";
      EXPECT_LE(texts[k].x1, inside.x1 - 4) << "colour " << k << " ends on the right border";
      EXPECT_GE(texts[k].y0, inside.y0) << "colour " << k;
      EXPECT_LE(texts[k].y1, inside.y1) << "colour " << k;
      EXPECT_GE(contrast[k], 4.5) << "colour " << k;
    }
  }
}

// Every question of the quest's scripts is drawn in a colour farther from the highlighted
// answer's than the plain answers' white is, so that the highlight stands out from it too.
TEST_F(DemoQuest, QuestionsAreInAColourTheHighlightStandsOutFrom) {
  auto distance = [](double r, double g, double b) {
    return std::sqrt((r - 255) * (r - 255) + (g - 255) * (g - 255) + (b - 155) * (b - 155));
  };
  const double white = distance(255, 255, 255);
  // The colour is the three numbers after the three answers (strings, commas and all).
  const std::regex call(R"(DisplayOptionsP?\(\s*("[^"]*"\s*,\s*){4}(\d+)\s*,\s*(\d+)\s*,\s*(\d+))");
  int questions = 0;
  const fs::path scripts = fs::path(CORVEL_BINARY_DIR) / "Resources" / "Triggers";
  for (const auto& entry : fs::directory_iterator(scripts)) {
    const std::string script = testsupport::ReadFileBytes(entry.path().string());
    const std::sregex_iterator end;
    for (auto m = std::sregex_iterator(script.begin(), script.end(), call); m != end; ++m) {
      ++questions;
      const int r = std::stoi((*m)[2]), g = std::stoi((*m)[3]), b = std::stoi((*m)[4]);
      EXPECT_GT(distance(r, g, b), white)
          << entry.path().filename() << ": a question in (" << r << ", " << g << ", " << b << ")";
    }
  }
  EXPECT_GT(questions, 0);
}

// From where the hero arrives on each map, the first steps into it are free, and no NPC ever
// stands where it cannot walk, also after half a minute of wandering. The hero is given life
// enough to take any blow on the way.
TEST_F(DemoQuest, NoNpcStandsWhereItCannotWalkOrInTheWayOn) {
  struct TArrival {
    const char* how;
    const char* script;  // places the hero and enters the map
    int key;
    std::function<bool()> gotOn;
  } arrivals[] = {
      {"the village, at the start", "", kRight, [] { return player->X >= 200; }},
      {"the forest, from the village", "AddPlayer(0, 1, 600, 192) GoToMap('forest.map', 1)", kRight,
       [] { return player->X >= 250; }},
      {"the cave, from the forest", "AddPlayer(0, 1, 288, 380) GoToMap('cave.map', 3)", kDown,
       [] { return player->Y >= 200; }},
      {"the forest, from the cave", "AddPlayer(0, 1, 288, 40) GoToMap('forest.map', 4)", kUp,
       [] { return player->Y <= 220; }},
      {"the village, from the forest", "AddPlayer(0, 1, 40, 192) GoToMap('village.map', 2)", kLeft,
       [] { return player->X <= 480; }},
  };
  for (const TArrival& a : arrivals) {
    SCOPED_TRACE(a.how);
    NewGame();
    ASSERT_EQ(RunLua(a.script), 1);
    player->life = player->maxLife = 1000;
    EXPECT_EQ(NpcsWhereTheyCannotWalk(), "");
    std::string off;
    EXPECT_TRUE(Hold(a.key, 90, [&] {
      if (off.empty()) off = NpcsWhereTheyCannotWalk();
      return a.gotOn();
    })) << "the hero stopped at (" << player->X << ", " << player->Y << ")";
    // Half a minute of logic ticks, without drawing.
    Delta = 1.0f;
    for (int i = 0; i < 900 && off.empty(); ++i) {
      MoveActors();
      off = NpcsWhereTheyCannotWalk();
    }
    EXPECT_EQ(off, "");
  }
}

// After the ending, after "Start Over" and after a load, the game in play is the new one:
// every flag as the new game or the saved game has it, its map with its NPCs and music, and
// nothing of the cave said.
TEST_F(DemoQuest, ANewGameBeginsClean) {
  // The flags of a new game once it stands in the village, and a game saved there with a flag
  // of its own.
  std::vector<uint8_t> fresh(flags, flags + 256);
  ASSERT_EQ(RunLua("SetFlag(200, 7)"), 1);
  ASSERT_EQ(SaveGame(SaveRecordPath(0, "VILLAGE"), SlotFolder(0)), 1);
  std::vector<uint8_t> saved(flags, flags + 256);
  const auto altar = std::find_if(Trigger.begin(), Trigger.end(), [](const std::string& path) {
    return StripDir(path) == "altar.lua";
  });
  ASSERT_NE(altar, Trigger.end());
  const int ending = static_cast<int>(altar - Trigger.begin());
  struct TCase {
    const char* how;
    std::function<void()> end;  // ends the game in the cave
    std::deque<int> answer;  // keys for the death's question, once it shows
    const std::vector<uint8_t>& flags;
    const char* said;  // what the scripts say from the end on
  } cases[] = {
      {"a new game after the ending", [&] { RunTrigger(ending); }, {}, fresh,
       "Peace returns to the valley. Thank you for playing!|"},
      {"Start Over after a death", [] { RunLua("TakeLife(100)"); }, {kDown, kReturn}, fresh, ""},
      {"a load after a death", [] { RunLua("TakeLife(100)"); }, {kReturn}, saved, ""},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.how);
    NewGame();
    ASSERT_EQ(RunLua("GoToMap('cave.map', 7) for flag = 0, 255 do SetFlag(flag, 9) end"), 1);
    ASSERT_TRUE(OnMap("cave.map"));
    ASSERT_TRUE(HasNpc("Ghost"));
    ASSERT_EQ(RunLua("said = ''"), 1);
    // The death's question is the one screen that shows the highlight over the cave.
    std::deque<int> answer = c.answer;
    onModalPoll = [&] {
      if (!answer.empty() && testsupport::FindColour(kHighlight, 32, 0, 576, 416).x0 >= 0) {
        modalKeys.push_back(answer.front());
        answer.pop_front();
      }
    };
    c.end();
    onModalPoll = nullptr;
    EXPECT_TRUE(OnMap("village.map"));
    EXPECT_TRUE(HasNpc("Elder"));
    EXPECT_FALSE(HasNpc("Ghost"));
    EXPECT_EQ(lastMusic, 0) << "the village's music";
    EXPECT_TRUE(musicChannel && musicChannel->Playing()) << "no music plays";
    std::string differing;
    for (int f = 0; f < 256; ++f)
      if (flags[f] != c.flags[f])
        differing += std::to_string(f) + "=" + std::to_string(flags[f]) + " ";
    EXPECT_EQ(differing, "") << "flags that differ from the game begun";
    EXPECT_EQ(LuaGlobal("said"), c.said);
  }
}

}  // namespace
