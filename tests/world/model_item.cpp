// Items: creation, copies, the usability test, table lookups and the icon with its count.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "core/globals.h"
#include "platform/graphics/graphics.h"
#include "support/tiles.h"
#include "world/item.h"

using namespace testsupport;

namespace {

TItemPtr Sample() {
  return TItem::Create(7, "Bow", "A bow, bent", 1, 12, 30, 3, 4, 5, 6, 8, 9, 10, 2.5f, 11, 13, 14);
}

std::vector<uint32_t> Snapshot(int x, int y, int w, int h) {
  std::vector<uint32_t> pixels;
  for (int j = y; j < y + h; ++j)
    for (int i = x; i < x + w; ++i) pixels.push_back(ReadPixel(BackBuffer(), i, j));
  return pixels;
}

void ClearScreen() {
  SetClsColor(0, 0, 64);
  Cls();
  SetColor(255, 255, 255);
  SetAlpha(1.0f);
}

}  // namespace

TEST(Item, CreateSetsEveryFieldInOrder) {
  TItemPtr item = Sample();
  EXPECT_EQ(item->itemID, 7);
  EXPECT_EQ(item->name, "Bow");
  EXPECT_EQ(item->description, "A bow, bent");
  EXPECT_EQ(item->itemType, 1);
  EXPECT_EQ(item->ammoCount, 12);
  EXPECT_EQ(item->ammoMax, 30);
  EXPECT_EQ(item->icon, 3);
  EXPECT_EQ(item->useImage, 4);
  EXPECT_EQ(item->ammoImage, 5);
  EXPECT_EQ(item->useTrigger, 6);
  EXPECT_EQ(item->getTrigger, 8);
  EXPECT_EQ(item->damageRating, 9);
  EXPECT_EQ(item->missileRange, 10);
  EXPECT_EQ(item->missileSpeed, 2.5f);
  EXPECT_EQ(item->missileRotationDiff, 11);
  EXPECT_EQ(item->sound, 13);
  EXPECT_EQ(item->meleeImage, 14);
}

TEST(Item, CopyIsEqualAndIndependent) {
  TItemPtr source = Sample();
  TItemPtr copy = source->CopyItem();
  ASSERT_NE(copy, source);
  EXPECT_EQ(copy->name, "Bow");
  EXPECT_EQ(copy->description, "A bow, bent");
  EXPECT_EQ(copy->missileSpeed, 2.5f);
  EXPECT_EQ(copy->meleeImage, 14);
  EXPECT_EQ(copy->getTrigger, 8);
  copy->ammoCount = 1;
  copy->name = "Broken bow";
  EXPECT_EQ(source->ammoCount, 12);
  EXPECT_EQ(source->name, "Bow");
}

TEST(Item, UsabilityTest) {
  struct Case {
    int itemID, ammoCount, ammoMax;
    int usable;
  };
  const Case cases[] = {
      {0, 0, 0, 0}, {0, 5, 5, 0},             // empty items never
      {3, 0, 0, 1}, {3, -4, 0, 1}, {3, 9, -1, 1},  // no ammunition needed
      {3, 0, 5, 0}, {3, 1, 5, 1}, {3, -1, 5, 0},
  };
  for (const Case& c : cases) {
    TItem item;
    item.itemID = c.itemID;
    item.ammoCount = c.ammoCount;
    item.ammoMax = c.ammoMax;
    EXPECT_EQ(item.UseItem(), c.usable) << c.itemID << " " << c.ammoCount << "/" << c.ammoMax;
  }
}

TEST(Item, GameItemAtGivesTheBlankItemOutsideTheTable) {
  std::vector<TItemPtr> saved = gameItem;
  gameItem.assign(48, nullptr);
  gameItem[3] = Sample();
  EXPECT_EQ(GameItemAt(3), gameItem[3]);
  for (int slot : {-1, 0, 47, 48, 1000}) {
    TItemPtr item = GameItemAt(slot);
    ASSERT_NE(item, nullptr) << slot;
    EXPECT_EQ(item->itemID, 0) << slot;
    EXPECT_EQ(item->name, "") << slot;
  }
  gameItem = saved;
}

TEST(ItemIcon, CountIsCentredOverTheIconAtAFixedHeight) {
  ScopedTiles tiles({MakeTile(SolidImage(32, 32)), MakeTile(SolidImage(32, 32, 3), 3)});
  struct Case {
    int ammoCount, ammoMax, y;
    int c;  // horizontal shift of the count: (32 - width) / 2
  };
  const Case cases[] = {{100, 200, 432, 4}, {12345, 99999, 432, -4}, {7, 9, 100, 12}};
  for (const Case& k : cases) {
    TItem item;
    item.itemID = 1;
    item.icon = 1;
    item.ammoCount = k.ammoCount;
    item.ammoMax = k.ammoMax;
    ClearScreen();
    SetColor(10, 20, 30);
    EXPECT_EQ(item.DrawIcon(370, k.y), 0);
    int r, g, b;
    GetColor(r, g, b);
    EXPECT_EQ(r + g + b, 3 * 255);
    const auto drawn = Snapshot(300, 0, 200, 480);

    ClearScreen();
    DrawImage(Tile[1]->image, 370, static_cast<float>(k.y), 0);
    const std::string text = std::to_string(k.ammoCount);
    SetColor(0, 0, 0);
    DrawText(text, static_cast<float>(370 + 1 + k.c), 455);
    SetColor(175, 0, 0);
    DrawText(text, static_cast<float>(370 + k.c), 454);
    const auto expected = Snapshot(300, 0, 200, 480);
    EXPECT_EQ(drawn, expected) << k.ammoCount;
    EXPECT_NE(std::count(expected.begin(), expected.end(), 0xFFAF0000u), 0);
  }
}

TEST(ItemIcon, NoCountWithoutAmmunition) {
  ScopedTiles tiles({MakeTile(SolidImage(32, 32)), MakeTile(SolidImage(32, 32))});
  TItem item;
  item.itemID = 1;
  item.icon = 1;
  item.ammoCount = 55;
  ClearScreen();
  item.DrawIcon(370, 432);
  const auto drawn = Snapshot(300, 400, 200, 80);
  ClearScreen();
  DrawImage(Tile[1]->image, 370, 432, 0);
  EXPECT_EQ(drawn, Snapshot(300, 400, 200, 80));

  // An icon outside the tile table draws nothing.
  item.icon = 40;
  ClearScreen();
  const auto before = Snapshot(300, 400, 200, 80);
  item.DrawIcon(370, 432);
  EXPECT_EQ(Snapshot(300, 400, 200, 80), before);
}
