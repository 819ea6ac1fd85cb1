#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <deque>
#include <vector>

#include "core/game.h"
#include "platform/display/display.h"
#include "platform/system/clock.h"
#include "support/busy_frame.h"
#include "support/pixels.h"
#include "support/tiles.h"
#include "transitions/transit_world.h"
#include "transitions/transitions.h"
#include "world/update.h"

namespace {

class TransitionTest : public TransitWorld {
protected:
  void SetUp() override {
    TransitWorld::SetUp();
    currentMap->LoadMap(settings->tempDir + "a.map");
    nextMap->LoadMap(settings->tempDir + "b.map");
  }

  // The number of frames the transition showed.
  long Play(int type) {
    const long before = FlipCount();
    TransitionMap(currentMap, nextMap, type);
    return FlipCount() - before;
  }

  static uint32_t Pixel(int x, int y) { return ReadPixel(BackBuffer(), x, y); }
};

struct TickCase {
  int type;
  long ticks;        // one whole tick per pass: the frames shown
  int groundAfter;   // of the map current afterwards
};

class TickCountTest : public TransitionTest, public ::testing::WithParamInterface<TickCase> {};

TEST_P(TickCountTest, EffectLengthAndOutcome) {
  const TickCase c = GetParam();
  npcList.AddLast(npcType[0]->CopyActor("", -1, -1));
  AddMissile(2, 10, 10, 1, 0, 0, 1, 5, 0);
  player->melee = 1;
  const TMapPtr before = currentMap;

  EXPECT_EQ(Play(c.type), c.ticks);
  EXPECT_EQ(currentMap->mapTile[0][0].tileID, c.groundAfter);
  if (c.type == 6) {
    EXPECT_EQ(currentMap, before);
  } else {
    EXPECT_NE(currentMap, nextMap);  // a copy, not the spare map itself
    EXPECT_EQ(currentMap->mapFile, nextMap->mapFile);
  }
  EXPECT_TRUE(npcList.IsEmpty());
  EXPECT_TRUE(missileList.IsEmpty());
  EXPECT_EQ(player->melee, 0);
  if (c.type < 1 || c.type > 4) {
    EXPECT_EQ(player->X, 300.0f);
    EXPECT_EQ(player->Y, 200.0f);
  }
  // The main clock was the last to read the time: it counts from the end of the transition.
  EXPECT_EQ(Delta, 1.0f);
  EXPECT_EQ(FixedRateLogic->LastTime, MilliSecs() - 100000.0);
}

INSTANTIATE_TEST_SUITE_P(
    Effects, TickCountTest,
    ::testing::Values(TickCase{0, 40, kBlueTile}, TickCase{1, 40, kBlueTile},
                      TickCase{2, 40, kBlueTile}, TickCase{3, 26, kBlueTile},
                      TickCase{4, 26, kBlueTile}, TickCase{5, 103, kBlueTile},
                      TickCase{6, 51, kGreenTile}, TickCase{7, 1, kBlueTile},
                      // Numbers outside the table play as the cut.
                      TickCase{8, 1, kBlueTile}, TickCase{-1, 1, kBlueTile}),
    [](const auto& info) { return "Type" + std::to_string(info.index); });

TEST_F(TransitionTest, ScrollPictureFollowsTheTicks) {
  // Frame n shows the offset of n - 1 ticks: the new map begins 16 pixels further left.
  std::vector<int> edges;
  onPass = [&] {
    for (int x = 639; x >= 0; --x) {
      if (Pixel(x, 100) != kBlue) {
        edges.push_back(x + 1);
        break;
      }
    }
  };
  Play(1);
  ASSERT_EQ(edges.size(), 40u);
  for (size_t n = 1; n < 40; ++n) EXPECT_EQ(edges[n], 640 - 16 * static_cast<int>(n)) << n;
}

// Every picture of the zoom between two full maps (support/busy_frame.h) is the one that the
// drawing code gave when the checksum was taken.
TEST_F(TransitionTest, ZoomPicturesAsBefore) {
  testsupport::SetUpBusyFrame();
  nextMap = currentMap->CopyMap();
  for (int x = 0; x < MAP_WIDTH; ++x)
    for (int y = 0; y < MAP_HEIGHT; ++y) nextMap->mapTile[x][y].tileID = (x * 5 + y) % 8;
  std::string pictures;
  onPass = [&] { pictures = testsupport::PictureChecksum(pictures); };
  EXPECT_EQ(Play(5), 103);
  EXPECT_EQ(pictures, "b31feb9e0790412f");
}

TEST_F(TransitionTest, FadeDarkensThenLightens) {
  std::vector<uint32_t> picture;
  onPass = [&] { picture.push_back(Pixel(100, 100)); };
  Play(0);
  ASSERT_EQ(picture.size(), 40u);
  EXPECT_EQ(picture[0], kGreen);
  const int halfway = (picture[10] >> 8) & 0xFF;  // green under black at alpha 0.5
  EXPECT_NEAR(halfway, 128, 2);
  EXPECT_EQ(picture[20] & 0xFFFFFF, 0u);  // the old map is gone under full black
  EXPECT_EQ((picture[30] >> 8) & 0xFF, 0u);
  EXPECT_GT(picture[39] & 0xFF, 200u);  // the new map shows through again
}

TEST_F(TransitionTest, AFractionalPassAdvancesByItsShare) {
  // Nothing elapses before the first pass; 42 ms are 2.52 ticks: Delta 1, 1 and 0.52.
  ClockPerPass(42);
  std::vector<int> edges;
  std::vector<float> deltas;
  onPass = [&] {
    deltas.push_back(Delta);
    for (int x = 639; x >= 0; --x) {
      if (Pixel(x, 100) != kBlue) {
        edges.push_back(x + 1);
        break;
      }
    }
  };
  Play(1);
  ASSERT_GE(edges.size(), 3u);
  EXPECT_NEAR(deltas[1], 0.52f, 1e-4);
  EXPECT_EQ(edges[2], 640 + static_cast<int>(std::floor(-16 * 2.52)));  // drawn at 599
}

TEST_F(TransitionTest, ScrollsEndOnAFastMachine) {
  // A millisecond a pass: every advance is a small fraction of a pixel.
  ClockPerPass(1);
  for (int type : {1, 2, 3, 4}) {
    nextMap->LoadMap(settings->tempDir + "b.map");
    long frames = 0;
    onPass = [&] {
      if (++frames > 2000) AdvanceManualClock(100000);  // stalled: end it, the test fails
    };
    Play(type);
    EXPECT_LT(frames, 700) << type;
  }
}

struct PlaceCase {
  int type, size;
  float x, y;
};

class PlacementTest : public TransitionTest, public ::testing::WithParamInterface<PlaceCase> {};

TEST_P(PlacementTest, PlayerEntersOneCellInside) {
  const PlaceCase c = GetParam();
  player->tileID = SpriteTile(c.size);
  Play(c.type);
  EXPECT_EQ(player->X, c.x);
  EXPECT_EQ(player->Y, c.y);
}

INSTANTIATE_TEST_SUITE_P(
    SpriteSizes, PlacementTest,
    ::testing::Values(PlaceCase{1, 32, 33, 200}, PlaceCase{1, 24, 37, 200},
                      PlaceCase{1, 40, 29, 200}, PlaceCase{1, 25, 36, 200},
                      // (32 - 39) / 2 truncates toward zero: -3.
                      PlaceCase{1, 39, 30, 200}, PlaceCase{2, 32, 575, 200},
                      PlaceCase{2, 25, 578, 200}, PlaceCase{2, 39, 572, 200},
                      PlaceCase{3, 32, 300, 33}, PlaceCase{3, 27, 300, 35},
                      PlaceCase{4, 32, 300, 351}, PlaceCase{4, 37, 300, 349},
                      PlaceCase{0, 24, 300, 200}, PlaceCase{5, 24, 300, 200}),
    [](const auto& info) { return "Case" + std::to_string(info.index); });

TEST_F(TransitionTest, PlacementHeldBackByLockOrWall) {
  lockControls = 1;
  Play(1);
  EXPECT_EQ(player->X, 300.0f);

  lockControls = 0;
  for (int x = 0; x < 3; ++x)  // walls around the entry at the left edge
    for (int y = 4; y < 9; ++y) nextMap->mapTile[x][y] = {kWallTile, 0};
  Play(1);
  EXPECT_EQ(player->X, 300.0f);
  EXPECT_EQ(player->Y, 200.0f);
}

// Inside a transition the keys act as in play, less the save, load, item and talk keys: the
// inventory opens (its picture is shown) and the options and the exit question are asked
// for, while a mouse-button release is dropped.
TEST_F(TransitionTest, KeysActAsInPlayLessSaveLoadItemsAndTalk) {
  static int asked[6];  // options, exit, save, load, an item, talk
  std::fill(std::begin(asked), std::end(asked), 0);
  const TKeyActions keep = KeyActions;
  KeyActions.options = [](int) { return ++asked[0]; };
  KeyActions.exit = [](int) { return ++asked[1]; };
  KeyActions.save = [] { return ++asked[2]; };
  KeyActions.load = [](int) { return ++asked[3]; };
  KeyActions.useItem = [](const TItemPtr&) { return ++asked[4]; };
  KeyActions.talk = [] { return ++asked[5]; };
  constexpr uint32_t kOrange = 0xFFFF8000;
  imgInventory = testsupport::MakeImage(640, 480, 1, [](int, int, int) { return kOrange; });
  bool inventoryShown = false;
  onPass = [&] { inventoryShown = inventoryShown || Pixel(0, 0) == kOrange; };
  settings->kLeft = 1;  // a mouse button, held when the transition begins
  GetKeyDown(1);
  const TConfig& k = *settings;
  std::deque<TEvent> keys;
  // The second inventory key closes the screen that the first opened.
  for (int key : {k.kInventory, k.kInventory, k.kOption, k.kExit, k.kSave, k.kLoad, k.kPrimary,
                  k.kSecondary, k.kEnter, k.kRight})
    keys.push_back(Key(EVENT_KEYDOWN, key));
  for (const TEvent& e : {Key(EVENT_MOUSEUP, 1), Key(EVENT_WINDOWCLOSE, 0),
                          Key(EVENT_KEYDOWN, k.kDown), Key(EVENT_KEYUP, k.kDown)})
    keys.push_back(e);
  Script(keys);
  Play(3);
  KeyActions = keep;
  imgInventory = nullptr;
  EXPECT_TRUE(script.empty());
  EXPECT_TRUE(inventoryShown);
  EXPECT_EQ(std::vector<int>(std::begin(asked), std::end(asked)),
            (std::vector<int>{1, 1, 0, 0, 0, 0}));
  // Right is held; left, whose button was let go, too; down came and went.
  EXPECT_EQ(keyHeld[3], 1);
  EXPECT_EQ(keyHeld[2], 1);
  EXPECT_EQ(keyHeld[1], 0);
  EXPECT_EQ(player->speedX, 0.0f);
  EXPECT_EQ(player->speedY, 0.0f);
}

}  // namespace
