// Frame drawing on the back buffer: depth order of player, NPCs, missiles and swings, the
// gold count's place, the hearts, the item icons, and missing images.
#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "core/game.h"
#include "core/globals.h"
#include "support/dialog_frame.h"
#include "support/files.h"
#include "support/lua_run.h"
#include "support/settings.h"
#include "support/tiles.h"

namespace {

constexpr uint32_t kBack = 0xFF202020, kRed = 0xFFFF0000, kGreen = 0xFF00FF00, kBlue = 0xFF0000FF,
                   kYellow = 0xFFFFFF00, kCyan = 0xFF00FFFF, kPurple = 0xFF800080;

using testsupport::ColourImage;

uint32_t At(int x, int y) { return ReadPixel(BackBuffer(), x, y) | 0xFF000000; }

enum { kPlayerTile, kNpcTile, kTallTile, kSwingTile, kMissileTile, kIconTile };

class Drawing : public ::testing::Test {
protected:
  void SetUp() override {
    SetBlend(ALPHABLEND);
    SetAlpha(1.0f);
    SetColor(255, 255, 255);
    SetScale(1.0f, 1.0f);
    SetRotation(0.0f);
    SetClsColor(0x20, 0x20, 0x20);
    Cls();
    Tile = {TTile::Create(ColourImage(32, 32, kRed), 1, 0), TTile::Create(ColourImage(32, 32, kGreen), 1, 0),
            TTile::Create(ColourImage(32, 48, kBlue), 1, 0), TTile::Create(ColourImage(32, 32, kYellow), 1, 0),
            TTile::Create(ColourImage(8, 8, kCyan), 1, 0), TTile::Create(ColourImage(32, 32, kPurple), 1, 0)};
    player = std::make_shared<TPlayer>();
    player->tileID = kPlayerTile;
    player->X = 100;
    player->Y = 100;  // depth line 132
    player->primary = std::make_shared<TItem>();
    player->secondary = std::make_shared<TItem>();
    npcList.Clear();
    missileList.Clear();
    meleeList.Clear();
    for (TImagePtr& heart : imgLife) heart.reset();
    imgInterface.reset();
    imgGold.reset();
  }
  void TearDown() override {
    npcList.Clear();
    missileList.Clear();
    meleeList.Clear();
    player.reset();
    Tile.clear();
  }
  static void AddNpc(int tile, float x, float y) {
    auto npc = std::make_shared<TActor>();
    npc->tileID = tile;
    npc->X = x;
    npc->Y = y;
    npcList.AddLast(npc);
  }
};

TEST_F(Drawing, EqualDepthLineNpcCoversThePlayer) {
  AddNpc(kNpcTile, 110, 100);
  DrawActors();
  EXPECT_EQ(At(120, 110), kGreen);
  EXPECT_EQ(At(102, 110), kRed);
}

TEST_F(Drawing, NpcAboveThePlayerIsCovered) {
  AddNpc(kNpcTile, 110, 99);  // depth line 131
  DrawActors();
  EXPECT_EQ(At(120, 110), kRed);
}

TEST_F(Drawing, DepthLineCountsTheSpriteHeight) {
  AddNpc(kTallTile, 110, 90);  // top above the player's, depth line 138 below it
  DrawActors();
  EXPECT_EQ(At(120, 110), kBlue);
}

TEST_F(Drawing, PlayerGoesBeforeTheFirstNpcThatPasses) {
  AddNpc(kTallTile, 300, 100);  // passes: the player is drawn before it
  AddNpc(kNpcTile, 110, 90);    // a lower depth line, but drawn later: over the player
  DrawActors();
  EXPECT_EQ(At(120, 110), kGreen);
}

TEST_F(Drawing, MissilesAfterNpcsAndPlayerLastWhenLowest) {
  auto missile = std::make_shared<TMissile>();
  missile->tileID = kMissileTile;
  missile->X = 100;  // drawn centred on (116, 116)
  missile->Y = 100;
  missileList.AddLast(missile);
  AddNpc(kNpcTile, 100, 120);  // depth line 152: player drawn among the NPCs
  DrawActors();
  EXPECT_EQ(At(115, 115), kCyan);  // the missile covers the player
  npcList.Clear();
  AddNpc(kNpcTile, 100, 80);  // depth line 112: player drawn last, over the missile
  Cls();
  DrawActors();
  EXPECT_EQ(At(115, 115), kRed);
}

TEST_F(Drawing, SwingsTakeThePlayersPlace) {
  player->melee = 1;
  AddNpc(kNpcTile, 110, 100);
  DrawActors();
  EXPECT_EQ(At(102, 110), kBack);  // no sprite and no swing
  auto swing = std::make_shared<TMelee>();
  swing->tileID = kSwingTile;
  swing->X = 100;
  swing->Y = 100;
  meleeList.AddLast(swing);
  Cls();
  DrawActors();
  EXPECT_EQ(At(102, 110), kYellow);
  EXPECT_EQ(At(120, 110), kGreen);  // still before the NPC
}

TEST_F(Drawing, MissingImagesDrawNothing) {
  Tile = {TTile::Create(nullptr, 1, 0)};
  player->tileID = 7;  // beyond the table
  AddNpc(0, 10, 10);
  player->primary->icon = 3;
  DrawScreen();
  EXPECT_EQ(At(15, 15), kBack);
  EXPECT_EQ(At(375, 440), kBack);
}

// The gold count centred on the 32 pixels from x 300: black shadow, then (175, 0, 0).
TEST_F(Drawing, GoldCountPosition) {
  const std::vector<std::pair<int, int>> table = {{7, 312}, {42, 308}, {123, 304}, {4567, 300}, {12345, 296}};
  for (const auto& [gold, x] : table) {
    player->gold = gold;
    player->life = player->maxLife = 0;
    Cls();
    DrawInterface();
    const TPixmapPtr got = GrabPixmap(0, 416, 640, 64);
    int r, g, b;
    GetColor(r, g, b);
    EXPECT_EQ(r + g + b, 3 * 255) << "colour left white";
    Cls();
    const std::string text = std::to_string(gold);
    SetColor(0, 0, 0);
    DrawText(text, static_cast<float>(x + 1), 455);
    SetColor(175, 0, 0);
    DrawText(text, static_cast<float>(x), 454);
    SetColor(255, 255, 255);
    EXPECT_EQ(got->pixels, GrabPixmap(0, 416, 640, 64)->pixels) << "gold " << gold;
  }
}

// Heart places 0 to 5 (x = 84 + 32 place): F full, H half, E empty, . nothing.
TEST_F(Drawing, Hearts) {
  imgLife[0] = ColourImage(16, 16, kBlue);
  imgLife[1] = ColourImage(16, 16, kYellow);
  imgLife[2] = ColourImage(16, 16, kRed);
  struct Case { int life, maxLife; const char* places; };
  const Case table[] = {{6, 6, ".FFF.."}, {5, 6, ".FFH.."}, {3, 6, ".FHE.."}, {2, 6, ".FEE.."},
                        {1, 6, ".HEE.."}, {0, 6, ".EEE.."}, {7, 7, ".FFFH."}, {6, 7, ".FFF.."},
                        {5, 7, ".FFHE."}, {9, 6, ".FFFFH"}, {-1, 6, "EEE..."}};
  for (const Case& c : table) {
    player->life = c.life;
    player->maxLife = c.maxLife;
    Cls();
    DrawInterface();
    std::string got;
    for (int k = 0; k < 6; ++k) {
      const uint32_t p = At(84 + 32 * k + 8, 440);
      got += p == kRed ? 'F' : p == kYellow ? 'H' : p == kBlue ? 'E' : '.';
    }
    EXPECT_EQ(got, c.places) << "life " << c.life << " of " << c.maxLife;
  }
}

// More than five hearts reach into the gold symbol at (300, 427): the sixth covers its left
// edge, the seventh the rest.
TEST_F(Drawing, TheSixthHeartMeetsTheGoldSymbol) {
  imgLife[2] = ColourImage(32, 32, kRed);
  imgGold = ColourImage(32, 32, kYellow);
  player->life = player->maxLife = 12;
  DrawInterface();
  EXPECT_EQ(At(303, 440), kRed);
  EXPECT_EQ(At(310, 440), kYellow);
  player->life = player->maxLife = 14;
  DrawInterface();
  EXPECT_EQ(At(310, 440), kRed);
  EXPECT_EQ(At(330, 440), kRed);
}

// An item with ammunition has its count written over its icon, centred on its 32 pixels at
// the gold count's height, in the gold count's colours.
TEST_F(Drawing, AmmunitionCountsOverTheIconsInHand) {
  player->life = player->maxLife = 0;
  for (const auto& [hand, x] : {std::pair{player->primary, 370}, {player->secondary, 426}}) {
    hand->icon = kIconTile;
    hand->ammoMax = 30;
    hand->ammoCount = 12;
    Cls();
    DrawInterface();
    const TPixmapPtr got = GrabPixmap(x, 416, 32, 64);
    Cls();
    DrawImage(TileImage(kIconTile), static_cast<float>(x), 432);
    SetColor(0, 0, 0);
    DrawText("12", static_cast<float>(x + 9), 455);
    SetColor(175, 0, 0);
    DrawText("12", static_cast<float>(x + 8), 454);
    SetColor(255, 255, 255);
    EXPECT_EQ(got->pixels, GrabPixmap(x, 416, 32, 64)->pixels) << "hand at " << x;
    hand->icon = 0;
  }
}

// The player is drawn in the row of its facing (the rows of a sheet: up, down, left, right):
// a new game's player before its first step faces down; a sheet that the startup script
// gives it with AddPlayer shows the frame the player had (AddPlayer changes no frame); a
// direction key turns it also where no step follows.
TEST_F(Drawing, ThePlayerIsDrawnInTheRowOfItsFacing) {
  using testsupport::FrameColor;
  // Sheets of 2 and 3 frames a facing, each frame in a colour of its own.
  Tile = {testsupport::MakeTile(testsupport::SolidImage(32, 32, 8), 8),
          testsupport::MakeTile(testsupport::SolidImage(32, 32, 12), 12)};
  const std::string quest = testsupport::ScratchDir("facing_quest");
  testsupport::UseQuestSettings(quest);
  CreateDir(settings->triggerDir);
  ScriptState();
  const auto drawn = [] {
    Cls();
    DrawActors();
    return At(static_cast<int>(player->X) + 10, static_cast<int>(player->Y) + 10);
  };

  StartGame();
  EXPECT_EQ(player->facing, 1);
  EXPECT_EQ(drawn(), FrameColor(2));

  testsupport::WriteFileBytes(settings->triggerDir + "startup.lua", "AddPlayer(1, 0, 100, 100)");
  StartGame();
  EXPECT_EQ(drawn(), FrameColor(2));  // frame 2, the first sheet's down row

  lockControls = 1;
  GetKeyDown(settings->kLeft);
  EXPECT_EQ(drawn(), FrameColor(6));
  lockControls = 0;
  GetKeyDown(settings->kRight);  // left and right held: no step
  EXPECT_EQ(drawn(), FrameColor(9));
  ReleaseHeldKeys();
}

TEST_F(Drawing, IconsOnlyWhenAboveZero) {
  player->life = player->maxLife = 0;
  player->primary->icon = kIconTile;
  player->secondary->icon = 0;
  DrawInterface();
  EXPECT_EQ(At(380, 440), kPurple);
  EXPECT_EQ(At(436, 440), kBack);
  player->primary->icon = 0;
  player->secondary->icon = kIconTile;
  Cls();
  DrawInterface();
  EXPECT_EQ(At(380, 440), kBack);
  EXPECT_EQ(At(436, 440), kPurple);
}

TEST_F(Drawing, StripImagesAtTheirPlaces) {
  imgInterface = ColourImage(640, 64, kGreen);
  imgGold = ColourImage(4, 4, kYellow);
  player->life = player->maxLife = 0;
  DrawInterface();
  EXPECT_EQ(At(0, 416), kGreen);
  EXPECT_EQ(At(639, 479), kGreen);
  EXPECT_EQ(At(0, 415), kBack);
  EXPECT_EQ(At(300, 427), kYellow);
  EXPECT_EQ(At(303, 430), kYellow);
  EXPECT_EQ(At(304, 430), kGreen);
}

}  // namespace
