// The player: creation, gold, giving and taking items, items in hand, per-tick bookkeeping.
#include <cstdint>
#include <set>
#include "sim_fixture.h"

using namespace simtest;

namespace {

TItemPtr Template(int id, int type, int ammoCount, int ammoMax) {
  auto it = std::make_shared<TItem>();
  it->itemID = id;
  it->name = "item" + std::to_string(id);
  it->description = "about " + it->name;
  it->itemType = type;
  it->ammoCount = ammoCount;
  it->ammoMax = ammoMax;
  it->icon = 4;
  it->ammoImage = 2;
  it->damageRating = 3;
  it->missileSpeed = 5;
  it->sound = 1;
  return it;
}

class PlayerTest : public SimTest {
protected:
  void SetUp() override {
    SimTest::SetUp();
    saved_ = gameItem;
    gameItem.assign(48, nullptr);
    for (auto& slot : gameItem) slot = std::make_shared<TItem>();
    gameItem[1] = Template(1, 1, 5, 10);  // bow with arrows
    gameItem[2] = Template(2, 3, 0, 0);   // sword
    gameItem[3] = Template(3, 2, 3, 0);   // potion
  }
  void TearDown() override {
    gameItem = saved_;
    SimTest::TearDown();
  }
  std::vector<int> Slots() const {
    std::vector<int> ids;
    for (auto& s : player->item) ids.push_back(s->itemID);
    ids.resize(6);
    return ids;
  }
  std::vector<TItemPtr> saved_;
};

TEST_F(PlayerTest, CreatePlayerFillsSlotsAndHandsWithEmptyItems) {
  TPlayerPtr p = TPlayer::CreatePlayer(kSprite, kSolid, 10, 20, 1, 2, 3, "hero", 6, 8, 50, 4.0f, 9);
  EXPECT_EQ(p->attitude, 1);
  EXPECT_EQ(p->frames, 2);
  EXPECT_EQ(p->framedir, 1);
  EXPECT_EQ(p->gold, 50);
  EXPECT_EQ(p->deathTrigger, 9);
  EXPECT_EQ(p->melee, 0);
  EXPECT_EQ(p->moveToX, -1);
  std::set<TItem*> seen;
  for (auto& slot : p->item) {
    ASSERT_TRUE(slot);
    EXPECT_EQ(slot->itemID, 0);
    seen.insert(slot.get());
  }
  ASSERT_TRUE(p->primary && p->secondary);
  EXPECT_EQ(p->primary->itemID, 0);
  seen.insert(p->primary.get());
  seen.insert(p->secondary.get());
  EXPECT_EQ(seen.size(), 50u);  // 48 slots and two hands, all distinct objects
}

TEST_F(PlayerTest, GoldIsTakenOnlyWhenHeld) {
  struct Case {
    int gold, take, result, after;
  } cases[] = {{10, 10, 1, 0}, {10, 11, 0, 10}, {10, -5, 1, 15}, {-3, 0, 0, -3}};
  for (const auto& c : cases) {
    player->gold = c.gold;
    EXPECT_EQ(player->TakeGold(c.take), c.result);
    EXPECT_EQ(player->gold, c.after);
  }
  player->GiveGold(-20);
  EXPECT_EQ(player->gold, -23);
}

TEST_F(PlayerTest, GiveItemCopiesTemplatesAndTopsUpAmmunition) {
  player->GiveItem(1);
  EXPECT_EQ(Slots(), (std::vector<int>{1, 0, 0, 0, 0, 0}));
  EXPECT_NE(player->item[0], gameItem[1]);  // a copy, not the template
  EXPECT_EQ(player->item[0]->ammoCount, 5);
  EXPECT_EQ(player->item[0]->name, "item1");

  player->item[0]->ammoCount = 8;
  player->GiveItem(1);  // 8 + 5, held at 10
  EXPECT_EQ(player->item[0]->ammoCount, 10);
  player->item[0]->ammoCount = 2147483647;
  player->GiveItem(1);  // a 32-bit count: past the top it wraps around, below the cap
  EXPECT_EQ(player->item[0]->ammoCount, -2147483644);
  EXPECT_EQ(gameItem[1]->ammoCount, 5);
  EXPECT_EQ(Slots(), (std::vector<int>{1, 0, 0, 0, 0, 0}));

  player->GiveItem(2);
  TItemPtr sword = player->item[1];
  player->GiveItem(2);  // owned, no ammunition: nothing
  EXPECT_EQ(player->item[1], sword);
  EXPECT_EQ(Slots(), (std::vector<int>{1, 2, 0, 0, 0, 0}));

  player->GiveItem(40);  // no template
  player->GiveItem(0);
  EXPECT_EQ(Slots(), (std::vector<int>{1, 2, 0, 0, 0, 0}));

  // The first empty slot is filled, also before a later one.
  player->GiveItem(3);
  player->TakeItem(1, 0);
  player->GiveItem(3);  // owned
  player->GiveItem(1);
  EXPECT_EQ(Slots(), (std::vector<int>{1, 2, 3, 0, 0, 0}));
}

TEST_F(PlayerTest, GiveItemTopsUpFromTheLastMatchingTemplate) {
  gameItem[9] = Template(1, 1, 2, 10);
  player->GiveItem(1);  // the first matching template is copied
  EXPECT_EQ(player->item[0]->ammoCount, 5);
  player->GiveItem(1);  // the last matching template gives the amount
  EXPECT_EQ(player->item[0]->ammoCount, 7);
}

TEST_F(PlayerTest, GiveItemToAFullInventoryChangesNothing) {
  for (auto& slot : player->item) slot = Template(2, 3, 0, 0);
  player->GiveItem(1);
  for (auto& slot : player->item) EXPECT_EQ(slot->itemID, 2);
}

TEST_F(PlayerTest, TakeItemEmptiesTheSlotObjectAndTheHandWithIt) {
  player->GiveItem(1);
  player->SetPrimary(1);
  TItemPtr bow = player->item[0];
  ASSERT_EQ(player->primary, bow);
  EXPECT_EQ(player->TakeItem(1, 0), 1);
  EXPECT_EQ(player->item[0], bow);  // the same object, emptied in place
  EXPECT_EQ(player->primary->itemID, 0);
  EXPECT_EQ(bow->itemType, 0);
  EXPECT_EQ(bow->ammoMax, 0);
  EXPECT_EQ(bow->ammoImage, 0);
  EXPECT_EQ(bow->icon, 0);
  EXPECT_EQ(bow->name, "");
  EXPECT_EQ(bow->description, "");
  EXPECT_EQ(bow->damageRating, 3);  // kept
  EXPECT_FLOAT_EQ(bow->missileSpeed, 5);
  EXPECT_EQ(bow->sound, 1);
  EXPECT_EQ(player->TakeItem(1, 0), 0);
}

TEST_F(PlayerTest, TakeItemOneUnit) {
  struct Case {
    int ammo;
    int idAfter, ammoAfter;
  } cases[] = {{3, 3, 2}, {1, 0, 0}, {0, 3, -1}, {-1, 3, -2}, {INT32_MIN, 3, INT32_MAX}};
  for (const auto& c : cases) {
    player->item[0] = Template(3, 2, c.ammo, 0);
    EXPECT_EQ(player->TakeItem(3, 1), 1);
    EXPECT_EQ(player->item[0]->itemID, c.idAfter) << c.ammo;
    EXPECT_EQ(player->item[0]->ammoCount, c.ammoAfter) << c.ammo;
  }
  EXPECT_EQ(player->TakeItem(2, 1), 0);
}

TEST_F(PlayerTest, SetPrimaryAndSecondaryHoldTheSlotObjects) {
  player->item[2] = Template(2, 3, 0, 0);
  player->item[5] = Template(2, 3, 0, 0);
  player->item[7] = Template(3, 2, 1, 0);
  player->SetPrimary(2);
  EXPECT_EQ(player->primary, player->item[5]);  // the last matching slot
  player->SetSecondary(3);
  EXPECT_EQ(player->secondary, player->item[7]);
  player->SetSecondary(2);
  EXPECT_EQ(player->secondary, player->primary);  // both hands may hold one object

  TItemPtr before = player->primary;
  player->SetPrimary(30);  // not held: the hand keeps its item
  EXPECT_EQ(player->primary, before);

  player->SetPrimary(0);  // the highest empty slot: an empty hand
  EXPECT_EQ(player->primary, player->item[47]);
  EXPECT_EQ(player->primary->itemID, 0);

  // Ammunition spent through the hand shows in the inventory.
  player->SetPrimary(3);
  player->primary->ammoCount = 0;
  EXPECT_EQ(player->item[7]->ammoCount, 0);
}

TEST_F(PlayerTest, UpdateActorFloorsSpeedsAndCountsDown) {
  player->speedX = -1.5f;
  player->speedY = 2.7f;
  player->invincible = 25;
  player->unmovable = 1;
  player->UpdateActor();
  EXPECT_FLOAT_EQ(player->speedX, -2);
  EXPECT_FLOAT_EQ(player->speedY, 2);
  EXPECT_EQ(player->unmovable, 1);  // the first tick is no pacing step
  for (int t = 2; t <= 50; ++t) player->UpdateActor();
  EXPECT_EQ(player->invincible, 0);
  EXPECT_EQ(player->unmovable, 0);

  player->walkSpeed = 0;
  player->invincible = 5;
  for (int t = 0; t < 20; ++t) player->UpdateActor();
  EXPECT_EQ(player->invincible, 5);
}

}  // namespace
