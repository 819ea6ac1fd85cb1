// The player's actions: firing, melee swings, talking, and using the item in hand.
#include "sim_fixture.h"
#include "world/melee.h"
#include "world/missile.h"

using namespace simtest;

namespace {

TItemPtr Weapon(int type, int ammoCount, int ammoMax) {
  auto it = std::make_shared<TItem>();
  it->itemID = 5;
  it->itemType = type;
  it->ammoCount = ammoCount;
  it->ammoMax = ammoMax;
  it->ammoImage = kDot;
  it->damageRating = 3;
  it->missileRange = 4;
  it->missileSpeed = 10;
  it->missileRotationDiff = 7;
  it->sound = -1;
  it->meleeImage = kSwing;
  return it;
}

TEST_F(SimTest, FireMissileShootsAlongMovementOrFacing) {
  const float d = 7.0710678f;
  struct Case {
    int facing;
    float speedX, speedY;
    float vx, vy;
  } cases[] = {
      {2, 0, 0, -10, 0}, {3, 0, 0, 10, 0},   {0, 0, 0, 0, -10},  {1, 0, 0, 0, 10},
      {1, 6, -6, d, -d}, {2, -6, 6, -d, d},  {0, 6, 0, 10, -10}, {3, 0, -6, 10, -10},
      {1, -6, 0, -10, 10},
  };
  for (const auto& c : cases) {
    missileList.Clear();
    player->facing = c.facing;
    player->speedX = c.speedX;
    player->speedY = c.speedY;
    player->FireMissile(Weapon(1, 0, 0));
    ASSERT_EQ(missileList.Count(), 1u);
    TMissilePtr m = missileList.First();
    SCOPED_TRACE(c.facing);
    EXPECT_NEAR(m->speedX, c.vx, 1e-4);
    EXPECT_NEAR(m->speedY, c.vy, 1e-4);
    EXPECT_EQ(m->tileID, kDot);
    EXPECT_FLOAT_EQ(m->X, 300);
    EXPECT_FLOAT_EQ(m->Y, 200);
    EXPECT_EQ(m->owner, 0);
    EXPECT_EQ(m->damage, 3);
    EXPECT_FLOAT_EQ(m->range, 128);
  }
}

TEST_F(SimTest, AtMostThreePlayerShotsFly) {
  AddMissile(kDot, 0, 0, 1, 0, 1, 1, 5, 0);  // an NPC's shot
  AddMissile(0, 0, 0, 1, 0, 2, 0, 1, 0);     // a talk probe
  TItemPtr bow = Weapon(1, 9, 9);
  for (int i = 0; i < 5; ++i) player->FireMissile(bow);
  EXPECT_EQ(CheckMissileCount(0), 3);
  EXPECT_EQ(CheckMissileCount(1), 1);
  EXPECT_EQ(CheckMissileCount(2), 1);
  EXPECT_EQ(bow->ammoCount, 6);  // refused shots spend nothing
}

TEST_F(SimTest, FireMissileNeedsAUsableItem) {
  struct Case {
    int itemID, ammoCount, ammoMax;
    std::vector<int> counts;  // ammoCount after each of three shots
    int fired;
  } cases[] = {
      {5, 2, 0, {1, 0, 0}, 3},  // no ammunition needed: fires on, count stops at 0
      {5, 1, 5, {0, 0, 0}, 1},  // the last arrow, then refused
      {0, 4, 0, {4, 4, 4}, 0},  // an empty hand never fires
  };
  for (const auto& c : cases) {
    missileList.Clear();
    TItemPtr it = Weapon(1, c.ammoCount, c.ammoMax);
    it->itemID = c.itemID;
    for (int i = 0; i < 3; ++i) {
      player->FireMissile(it);
      EXPECT_EQ(it->ammoCount, c.counts[i]) << i;
    }
    EXPECT_EQ(CountList(missileList), c.fired);
  }
}

TEST_F(SimTest, MeleeAttackStartsOneSwingAtATime) {
  player->facing = 1;
  TItemPtr sword = Weapon(3, 0, 0);
  EXPECT_EQ(player->MeleeAttack(sword), 0);
  EXPECT_EQ(player->melee, 1);
  ASSERT_EQ(meleeList.Count(), 1u);
  TMeleePtr m = meleeList.First();
  EXPECT_EQ(m->tileID, kSwing);
  EXPECT_FLOAT_EQ(m->X, 300);
  EXPECT_FLOAT_EQ(m->Y, 200);
  EXPECT_FLOAT_EQ(m->speedX, 0);
  EXPECT_FLOAT_EQ(m->speedY, 18);
  EXPECT_EQ(m->damage, 3);
  EXPECT_EQ(m->facing, 1);
  EXPECT_EQ(m->owner, 0);
  EXPECT_EQ(player->MeleeAttack(sword), 1);
  EXPECT_EQ(meleeList.Count(), 1u);
}

TEST_F(SimTest, SwingSpeedFollowsTheFacing) {
  const float k = 18;
  struct Case {
    int facing;
    float sx, sy;
  } cases[] = {{0, 0, -k}, {1, 0, k}, {2, -k, 0}, {3, k, 0}};
  for (const auto& c : cases) {
    meleeList.Clear();
    player->melee = 0;
    player->facing = c.facing;
    player->MeleeAttack(Weapon(3, 0, 0));
    EXPECT_FLOAT_EQ(meleeList.First()->speedX, c.sx);
    EXPECT_FLOAT_EQ(meleeList.First()->speedY, c.sy);
  }
  // 6 x 400000000 is a 32-bit product: it wraps around.
  meleeList.Clear();
  player->melee = 0;
  player->facing = 1;
  TItemPtr heavy = Weapon(3, 0, 0);
  heavy->damageRating = 400000000;
  player->MeleeAttack(heavy);
  EXPECT_EQ(meleeList.First()->speedY, -1894967296.0f);
}

TEST_F(SimTest, TalkSendsTheProbeFromTheSpriteCentre) {
  Tile.push_back(testsupport::MakeTile(testsupport::SolidImage(48, 64), 1));
  struct Case {
    int tileID, facing;
    float speedX, speedY;
    float x, y, vx, vy;
  } cases[] = {
      {kSprite, 2, 0, 0, 300, 200, -8, 0},
      {static_cast<int>(Tile.size()) - 1, 0, 0, 0, 308, 216, 0, -8},
      {kSprite, 0, 6, 6, 300, 200, 5.656854f, 5.656854f},
  };
  for (const auto& c : cases) {
    missileList.Clear();
    player->tileID = c.tileID;
    player->facing = c.facing;
    player->speedX = c.speedX;
    player->speedY = c.speedY;
    player->Talk();
    ASSERT_EQ(missileList.Count(), 1u);
    TMissilePtr m = missileList.First();
    EXPECT_EQ(m->owner, 2);
    EXPECT_EQ(m->tileID, 0);
    EXPECT_EQ(m->damage, 0);
    EXPECT_FLOAT_EQ(m->range, 16);
    EXPECT_FLOAT_EQ(m->X, c.x);
    EXPECT_FLOAT_EQ(m->Y, c.y);
    EXPECT_NEAR(m->speedX, c.vx, 1e-4);
    EXPECT_NEAR(m->speedY, c.vy, 1e-4);
  }
}

TEST_F(SimTest, UseItemByType) {
  struct Case {
    int type;
    size_t missiles, swings;
  } cases[] = {{0, 0, 0}, {1, 1, 0}, {2, 0, 0}, {3, 0, 1}, {4, 1, 1}, {9, 0, 0}};
  for (const auto& c : cases) {
    missileList.Clear();
    meleeList.Clear();
    player->melee = 0;
    TItemPtr it = Weapon(c.type, 3, 5);
    UseItem(it);
    EXPECT_EQ(missileList.Count(), c.missiles) << c.type;
    EXPECT_EQ(meleeList.Count(), c.swings) << c.type;
    EXPECT_EQ(it->ammoCount, c.missiles ? 2 : 3) << c.type;
  }
}

TEST_F(SimTest, UseItemOfType4SwingsEvenWhenTheShotIsRefused) {
  for (int i = 0; i < 3; ++i) AddMissile(kDot, 0, 0, 1, 0, 0, 1, 5, 0);
  TItemPtr it = Weapon(4, 3, 5);
  UseItem(it);
  EXPECT_EQ(meleeList.Count(), 1u);
  EXPECT_EQ(CheckMissileCount(0), 3);
  EXPECT_EQ(it->ammoCount, 3);
}

TEST_F(SimTest, ActionsWithoutAPlayerOrItemDoNothing) {
  UseItem(nullptr);
  player->FireMissile(nullptr);
  EXPECT_EQ(player->MeleeAttack(nullptr), 0);
  EXPECT_EQ(player->melee, 0);
  player.reset();
  UseItem(Weapon(4, 3, 5));
  EXPECT_TRUE(missileList.IsEmpty());
  EXPECT_TRUE(meleeList.IsEmpty());
}

}  // namespace
