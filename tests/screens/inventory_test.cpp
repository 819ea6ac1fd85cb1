// The inventory screen: cursor moves, layout of cells, hands and texts, hand mode, putting
// items in hand (shared objects, never one in both hands), closing and the keys it passes on.
#include "core/game.h"
#include "core/globals.h"
#include "screen_fixture.h"
#include "screens/screens.h"
#include "support/dialog_frame.h"
#include "support/files.h"
#include "support/sounds.h"
#include "support/tiles.h"

namespace {

constexpr uint32_t kPicture = 0x102010, kCell = 0x9E9314, kSwordIcon = 0x2040C0,
                   kBowIcon = 0x40A040, kNameRed = 0xDE1B2C, kShadow = 0x464109;
constexpr int kInventoryKey = 73;

int CellX(int cell) { return 87 + 40 * (cell % 12); }
int CellY(int cell) { return 137 + 37 * (cell / 12); }

TItemPtr Item(int id, const char* name, int type, int icon) {
  auto item = std::make_shared<TItem>();
  item->itemID = id;
  item->name = name;
  item->description = std::string("About ") + name;
  item->itemType = type;
  item->icon = icon;
  return item;
}

// The box of an outline's colour in the grid, or at a hand box.
PixelBox GridOutline(uint32_t rgb) { return FindColour(rgb, 80, 130, 490, 160); }
PixelBox HandOutline(uint32_t rgb) { return FindColour(rgb, 280, 390, 80, 40); }
PixelBox Square(int x, int y) { return {x, y, x + 31, y + 31}; }

class Inventory : public ScreenTest {
 protected:
  void SetUp() override {
    ScreenTest::SetUp();
    tiles = std::make_unique<testsupport::ScopedTiles>(std::vector<TTilePtr>{
        testsupport::MakeTile(testsupport::ColourImage(32, 32, 0xFFFFFFFF)),
        testsupport::MakeTile(testsupport::ColourImage(32, 32, 0xFF000000 | kSwordIcon)),
        testsupport::MakeTile(testsupport::ColourImage(32, 32, 0xFF000000 | kBowIcon))});
    imgInventory = testsupport::ColourImage(640, 416, 0xFF000000 | kPicture);
    player->item[0] = sword = Item(1, "SWORD", 3, 1);
    player->item[5] = Item(2, "BREAD", 0, 2);
    player->item[7] = bow = Item(3, "BOW", 1, 2);
    player->item[8] = Item(4, "PLAIN", 1, 0);        // no picture, though tile 0 exists
    player->item[9] = Item(5, "STRAY", 1, 99);       // a tile the table does not have
    player->item[10] = bow2 = Item(3, "BOW", 1, 2);  // the same number as the other bow
    primary = player->primary;
    secondary = player->secondary;
  }
  void TearDown() override {
    tiles.reset();
    ScreenTest::TearDown();
  }
  std::unique_ptr<testsupport::ScopedTiles> tiles;
  TItemPtr sword, bow, bow2, primary, secondary;
};

TEST_F(Inventory, CursorMovesRowByRowAndWraps) {
  const struct {
    std::vector<int> keys;
    int cell;
  } cases[] = {
      {{}, 0},
      {{kLeftArrow}, 47},
      {std::vector<int>(12, kRightArrow), 12},
      {{kRightArrow, kRightArrow, kRightArrow, kRightArrow, kRightArrow, kUpArrow}, 41},
      {{kLeftArrow, kLeftArrow, kLeftArrow, kLeftArrow, kLeftArrow, kLeftArrow, kLeftArrow,
        kLeftArrow, kDownArrow},
       4},
      {{kUpArrow, kUpArrow, kUpArrow, kUpArrow}, 0},
      {{kReturn, kRightArrow}, 1},  // the sword's hand mode: the cursor stays
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.cell);
    Keys(c.keys);
    EXPECT_FALSE(Runs(DisplayInventory));
    if (c.keys.size() == 2 && c.keys[0] == kReturn) {
      EXPECT_EQ(GridOutline(kNameRed), Square(CellX(0), CellY(0)));
    } else {
      EXPECT_EQ(GridOutline(kWhite), Square(CellX(c.cell), CellY(c.cell)));
    }
    FlushEvents();
  }
}

TEST_F(Inventory, LayoutOfCellsHandsAndTexts) {
  player->secondary = bow;
  EXPECT_FALSE(Runs(DisplayInventory));
  EXPECT_EQ(Pixel(0, 0), kPicture);
  EXPECT_EQ(Pixel(0, 420), kInterface);  // the game picture behind
  EXPECT_EQ(Pixel(CellX(0) + 5, CellY(0) + 5), kSwordIcon);
  EXPECT_EQ(Pixel(CellX(1) + 5, CellY(1) + 5), kCell);
  EXPECT_EQ(Pixel(CellX(47) + 31, CellY(47) + 31), kCell);
  EXPECT_EQ(Pixel(CellX(47) + 32, CellY(47) + 31), kPicture);
  EXPECT_EQ(Pixel(CellX(7) + 5, CellY(7) + 5), kBowIcon);
  EXPECT_EQ(Pixel(CellX(8) + 5, CellY(8) + 5), kCell);
  EXPECT_EQ(Pixel(CellX(9) + 5, CellY(9) + 5), kCell);
  EXPECT_EQ(Pixel(290, 400), kPicture);  // empty primary hand: nothing drawn
  EXPECT_EQ(Pixel(323, 395), kBowIcon);
  EXPECT_EQ(Pixel(354, 426), kBowIcon);
  EXPECT_EQ(FindColour(kNameRed), TextCover("SWORD", 120, 300));
  EXPECT_EQ(FindColour(kWhite, 0, 315, 640, 16), TextCover("About SWORD", 120, 315));
  EXPECT_EQ(FindColour(kShadow, 0, 290, 640, 50).x0, TextCover("SWORD", 121, 301).x0);

  Keys({kRightArrow});  // an empty slot: no texts
  EXPECT_FALSE(Runs(DisplayInventory));
  EXPECT_EQ(FindColour(kNameRed), PixelBox{});
  EXPECT_EQ(FindColour(kWhite, 0, 300, 640, 40), PixelBox{});
}

TEST_F(Inventory, ItemsThatFitNoHandPlayTheRefusalSound) {
  const std::string wav = settings->soundDir + "refuse.wav";
  testsupport::WriteFileBytes(wav, testsupport::TinyWav());
  sound.assign(8, LoadSound(wav));
  ASSERT_TRUE(sound[7]);
  const long before = SoundsPlayed();
  Keys({kRightArrow, kReturn, kRightArrow, kRightArrow, kRightArrow, kRightArrow, kReturn});
  EXPECT_FALSE(Runs(DisplayInventory));
  EXPECT_EQ(SoundsPlayed() - before, 2);  // an empty slot and the bread
  EXPECT_EQ(GridOutline(kWhite), Square(CellX(5), CellY(5)));
  settings->sound = 0;
  Keys({kReturn, kRightArrow, kReturn});
  EXPECT_FALSE(Runs(DisplayInventory));
  EXPECT_EQ(SoundsPlayed() - before, 2);
  sound.clear();
  Keys({kRightArrow, kReturn});  // no sound table at all
  EXPECT_FALSE(Runs(DisplayInventory));
}

TEST_F(Inventory, EveryItemTypeTriedInBothHands) {
  const std::string wav = settings->soundDir + "refuse.wav";
  testsupport::WriteFileBytes(wav, testsupport::TinyWav());
  sound.assign(8, LoadSound(wav));
  const struct {
    int type;
    bool fits;
  } cases[] = {{-1, false}, {0, false}, {1, true},  {2, true},
               {3, true},   {4, true},  {5, false}, {100, false}};
  for (const auto& c : cases) {
    for (int hand : {0, 1}) {
      SCOPED_TRACE("type " + std::to_string(c.type) + (hand ? " into the secondary hand"
                                                            : " into the primary hand"));
      player->primary = primary;
      player->secondary = secondary;
      const TItemPtr item = player->item[0] = Item(9, "THING", c.type, 1);
      Keys(hand ? std::vector<int>{kReturn, kRightArrow, kReturn, kInventoryKey}
                : std::vector<int>{kReturn, kReturn, kInventoryKey});
      const long before = SoundsPlayed();
      ASSERT_TRUE(Runs(DisplayInventory));
      // On the last frame the hand's box shows the item's icon; the other box stays empty.
      EXPECT_EQ(Pixel(284 + 39 * hand + 5, 400), c.fits ? kSwordIcon : kPicture);
      EXPECT_EQ(Pixel(284 + 39 * (1 - hand) + 5, 400), kPicture);
      EXPECT_EQ(SoundsPlayed() - before, c.fits ? 0 : 2);  // each refused key sounds
      const TItemPtr& chosen = hand ? player->secondary : player->primary;
      const TItemPtr& other = hand ? player->primary : player->secondary;
      EXPECT_EQ(chosen, c.fits ? item : hand ? secondary : primary);
      EXPECT_EQ(other, hand ? primary : secondary);
    }
  }
}

TEST_F(Inventory, HandModeOutlinesTheChosenHand) {
  Keys({kReturn});
  EXPECT_FALSE(Runs(DisplayInventory));
  EXPECT_EQ(GridOutline(kNameRed), Square(CellX(0), CellY(0)));
  EXPECT_EQ(HandOutline(kWhite), Square(284, 395));
  Keys({kReturn, kDownArrow});
  EXPECT_FALSE(Runs(DisplayInventory));
  EXPECT_EQ(HandOutline(kWhite), Square(323, 395));
  Keys({kReturn, kUpArrow, kLeftArrow, kLeftArrow});  // each direction: the other hand
  EXPECT_FALSE(Runs(DisplayInventory));
  EXPECT_EQ(HandOutline(kWhite), Square(323, 395));
}

TEST_F(Inventory, PuttingItemsInHand) {
  const TItemPtr none;
  const struct {
    const char* name;
    TItemPtr primaryBefore, secondaryBefore;
    std::vector<int> keys;
    TItemPtr* primaryAfter;  // null: an empty item that neither hand held before
    TItemPtr* secondaryAfter;
  } cases[] = {
      {"into the primary hand", primary, secondary, {kReturn, kReturn}, &sword, &secondary},
      {"into the secondary hand",
       primary,
       secondary,
       {kReturn, kRightArrow, kReturn},
       &primary,
       &sword},
      {"primary moved to secondary",
       sword,
       secondary,
       {kReturn, kRightArrow, kReturn},
       nullptr,
       &sword},
      {"secondary moved to primary", primary, sword, {kReturn, kReturn}, &sword, nullptr},
      {"primary into primary again", sword, secondary, {kReturn, kReturn}, &sword, &secondary},
      {"the hand chosen last comes back",
       primary,
       secondary,
       {kReturn, kRightArrow, kEscape, kReturn, kReturn},
       &primary,
       &sword},
      {"the inventory key puts nothing in hand",
       primary,
       secondary,
       {kReturn, kInventoryKey},
       &primary,
       &secondary},
      {"exit goes back to the grid",
       primary,
       secondary,
       {kReturn, kEscape, kEscape},
       &primary,
       &secondary},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    player->primary = c.primaryBefore;
    player->secondary = c.secondaryBefore;
    Keys(c.keys);
    Keys({kInventoryKey});
    int result = -1;
    ASSERT_TRUE(Runs(DisplayInventory, &result));
    EXPECT_EQ(result, 1);
    for (const auto& [hand, expected] : {std::pair{player->primary, c.primaryAfter},
                                         std::pair{player->secondary, c.secondaryAfter}}) {
      ASSERT_TRUE(hand);
      if (expected) {
        EXPECT_EQ(hand, *expected);
      } else {
        EXPECT_EQ(hand->itemID, 0);
        EXPECT_NE(hand, c.primaryBefore);
        EXPECT_NE(hand, c.secondaryBefore);
      }
    }
    EXPECT_NE(player->primary, player->secondary);
  }
}

TEST_F(Inventory, TwoItemsOfOneNumberMayBeHeldOneInEachHand) {
  player->primary = bow;
  Keys(std::vector<int>(10, kRightArrow));
  Keys({kReturn, kRightArrow, kReturn, kEscape});
  ASSERT_TRUE(Runs(DisplayInventory));
  EXPECT_EQ(player->primary, bow);
  EXPECT_EQ(player->secondary, bow2);
}

TEST_F(Inventory, ClosingResetsTheClockAndKeysStayOnTheScreen) {
  HoldRight();
  PostEvent(EVENT_KEYUP, settings->kRight);
  Keys({kLeftArrow, kUpArrow, kEscape});
  int result = -1;
  ASSERT_TRUE(Runs(DisplayInventory, &result));
  EXPECT_EQ(result, 1);
  EXPECT_EQ(logic->inits, 1);
  EXPECT_EQ(player->speedX, 0.0f);
  EXPECT_EQ(player->speedY, 0.0f);
  for (int held : keyHeld) EXPECT_EQ(held, 0);
  PostEvent(EVENT_WINDOWCLOSE);
  PostEvent(EVENT_APPTERMINATE);
  Keys({kInventoryKey});
  ASSERT_TRUE(Runs(DisplayInventory));
  EXPECT_EQ(QueuedEventCount(), 0);
}

}  // namespace
