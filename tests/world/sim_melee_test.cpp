// Melee swings: frames, pacing and end, reach, hits, and swings that cannot advance.
#include "sim_fixture.h"
#include "world/melee.h"
#include "world/update.h"

using namespace simtest;

namespace {

TItemPtr Sword(int meleeImage = kSwing) {
  auto it = std::make_shared<TItem>();
  it->itemID = 2;
  it->itemType = 3;
  it->damageRating = 2;
  it->meleeImage = meleeImage;
  it->sound = -1;
  return it;
}

TEST(MeleeCreate, FramesComeFromTheSheet) {
  testsupport::ScopedTiles tiles(SimTiles());
  TMeleePtr m = TMelee::Create(kSwing, 1, 2, 3, 4, 0, 5, 2);
  EXPECT_EQ(m->frames, 3);
  EXPECT_EQ(m->frame, 0);
  EXPECT_EQ(m->currentFrame, 6);
  EXPECT_EQ(m->count, 0);
  EXPECT_EQ(TMelee::Create(kSolid, 0, 0, 0, 0, 0, 1, 3)->frames, 0);
}

TEST_F(SimTest, SwingRunsTwoPassesPerFrameAndHoldsThePlayer) {
  player->facing = 3;
  player->MeleeAttack(Sword());
  TMeleePtr swing = meleeList.First();
  player->speedX = 6;  // a held key does not move the player during the swing
  const int frames[] = {0, 1, 1, 2, 2};
  for (int pass = 1; pass <= 5; ++pass) {
    MoveActors();
    ASSERT_EQ(player->melee, 1) << pass;
    EXPECT_EQ(swing->frame, frames[pass - 1]) << pass;
    EXPECT_EQ(swing->currentFrame, 3 * 3 + frames[pass - 1]);
  }
  EXPECT_FLOAT_EQ(player->X, 300);
  MoveActors();
  EXPECT_EQ(player->melee, 0);
  EXPECT_TRUE(meleeList.IsEmpty());
  EXPECT_FLOAT_EQ(player->tempMelee, 0);
  MoveActors();
  EXPECT_FLOAT_EQ(player->X, 306);  // walking again
  EXPECT_EQ(player->MeleeAttack(Sword()), 0);
}

TEST_F(SimTest, SwingHitsOnItsFifthPassButNotOnItsLast) {
  for (int lastPass : {5, 6}) {
    meleeList.Clear();
    npcList.Clear();
    player->melee = 0;
    player->tempMelee = 0;
    player->facing = 3;
    player->MeleeAttack(Sword());
    auto npc = MakeNPC(345, 200);
    for (int pass = 1; pass <= lastPass; ++pass) {
      if (pass == lastPass) npcList.AddLast(npc);
      for (const TMeleePtr& m : meleeList) m->MoveMelee();
    }
    EXPECT_EQ(npc->life, lastPass == 5 ? 8 : 10) << lastPass;
  }
}

TEST_F(SimTest, SwingReachIsTwentyPixelsTowardsTheFacing) {
  struct Case {
    int facing;
    float npcX, npcY;
    bool hit;
  } cases[] = {
      {3, 345, 200, true},  {2, 345, 200, false}, {2, 255, 200, true}, {0, 300, 155, true},
      {1, 300, 245, true},  {1, 300, 253, false}, {0, 300, 245, false},
  };
  for (const auto& c : cases) {
    meleeList.Clear();
    npcList.Clear();
    player->melee = 0;
    player->facing = c.facing;
    player->MeleeAttack(Sword());
    auto npc = MakeNPC(c.npcX, c.npcY);
    npcList.AddLast(npc);
    meleeList.First()->MoveMelee();
    EXPECT_EQ(npc->life == 8, c.hit) << c.facing << " " << c.npcX << "," << c.npcY;
  }
}

TEST_F(SimTest, SwingHitsEveryNPCUnderItOnce) {
  player->facing = 3;
  player->MeleeAttack(Sword());
  auto a = MakeNPC(330, 200), b = MakeNPC(340, 210), calm = MakeNPC(335, 205, 0);
  for (auto& n : {a, calm, b}) npcList.AddLast(n);
  TMeleePtr swing = meleeList.First();
  for (int pass = 0; pass < 4; ++pass) swing->MoveMelee();
  EXPECT_EQ(a->life, 8);  // once: invincible afterwards
  EXPECT_EQ(b->life, 8);
  EXPECT_EQ(calm->life, 10);
  EXPECT_FLOAT_EQ(a->X, 330 + 3 * 12);  // push 6 x damage, three times
  EXPECT_EQ(a->facing, 0);
  EXPECT_EQ(a->attitude, 5);
}

TEST_F(SimTest, SwingsThatCannotAdvanceEndAtOnce) {
  struct Case {
    const char* name;
    int image;
    float walkSpeed, tempMelee;
  } cases[] = {
      {"sheet without frames", kSolid, 6, 0},
      {"sheet without frames after a cut swing", kSolid, 6, 5.5f},
      {"no walking speed", kSwing, 0, 0},
      {"negative walking speed", kSwing, -3, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    meleeList.Clear();
    npcList.Clear();
    player->melee = 0;
    player->walkSpeed = c.walkSpeed;
    player->tempMelee = c.tempMelee;
    player->facing = 3;
    player->MeleeAttack(Sword(c.image));
    auto npc = MakeNPC(330, 200);
    npcList.AddLast(npc);
    MoveActors();
    EXPECT_EQ(player->melee, 0);
    EXPECT_TRUE(meleeList.IsEmpty());
    EXPECT_EQ(npc->life, 10);
  }
}

TEST_F(SimTest, DrawMeleeShowsTheCurrentFrame) {
  Cls();
  SetColor(255, 255, 255);
  TMeleePtr m = TMelee::Create(kSwing, 100, 60, 0, 0, 0, 1, 2);
  m->DrawMelee(5, 0);
  EXPECT_EQ(ReadPixel(BackBuffer(), 105, 60), testsupport::FrameColor(6));
  EXPECT_EQ(ReadPixel(BackBuffer(), 136, 91), testsupport::FrameColor(6));
}

}  // namespace
