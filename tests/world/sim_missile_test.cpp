// Missiles: creation, flight, range, walls, the play field, hits, the talk probe, drawing.
#include <limits>
#include "core/game.h"
#include "sim_fixture.h"
#include "world/missile.h"
#include "world/update.h"

using namespace simtest;

namespace {

TMissilePtr Launch(float x, float y, float sx, float sy, int owner, int damage, int range, int tile = kDot) {
  AddMissile(tile, x, y, sx, sy, owner, damage, range, 0);
  return missileList.Last();
}

bool Flying(const TMissilePtr& m) { return missileList.Contains(m.get()); }

void Pass(const TMissilePtr& m) {
  TMissilePtr keep = m;
  keep->MoveMissile();
}

TEST(MissileCreate, RotationAndSpinFollowTheSpeed) {
  struct Case {
    float sx, sy;
    int rotation, spin;
  } cases[] = {{4, 0, 90, 5},    {-4, 0, 270, -5}, {0, 4, 180, 5},   {0, -4, 0, 5}, {3, -3, 45, 5},
               {3, 3, 135, 5},   {-3, 3, 225, -5}, {-3, -3, 315, -5}, {0, 0, 0, 5}};
  for (const auto& c : cases) {
    TMissilePtr m = TMissile::Create(kDot, 1, 2, c.sx, c.sy, 0, 1, 3, 5);
    EXPECT_EQ(m->rotation, c.rotation) << c.sx << "," << c.sy;
    EXPECT_EQ(m->rotationDiff, c.spin) << c.sx << "," << c.sy;
  }
  EXPECT_FLOAT_EQ(TMissile::Create(kDot, 0, 0, 1, 0, 0, 0, 3, 0)->range, 96);
  EXPECT_FLOAT_EQ(TMissile::Create(kDot, 0, 0, 1, 0, 1, 0, 0, 0)->range, 0);
  EXPECT_FLOAT_EQ(TMissile::Create(kDot, 0, 0, 1, 0, 2, 0, 9, 0)->range, 16);
}

TEST_F(SimTest, RangeIsUsedUpByBothAxes) {
  TMissilePtr m = Launch(100, 100, 3, 3, 0, 1, 3);  // 96 pixels, 6 a pass
  for (int pass = 1; pass <= 15; ++pass) {
    Pass(m);
    ASSERT_TRUE(Flying(m)) << pass;
  }
  Pass(m);
  EXPECT_FALSE(Flying(m));
  EXPECT_FLOAT_EQ(m->X, 148);

  TMissilePtr half = Launch(100, 100, 4, 0, 0, 1, 1);
  Delta = 0.5f;
  for (int pass = 0; pass < 15; ++pass) Pass(half);
  EXPECT_TRUE(Flying(half));
  EXPECT_FLOAT_EQ(half->range, 2);
  EXPECT_FLOAT_EQ(half->X, 130);
}

TEST_F(SimTest, MissilesWithoutRangeOrSpeedFlyOn) {
  TMissilePtr still = Launch(100, 100, 0, 0, 0, 1, 2);
  TMissilePtr endless = Launch(100, 300, 4, 0, 1, 1, 0);
  for (int pass = 0; pass < 200; ++pass) {
    Pass(still);
    if (Flying(endless)) Pass(endless);
  }
  EXPECT_TRUE(Flying(still));
  EXPECT_FLOAT_EQ(still->range, 64);
  EXPECT_FLOAT_EQ(still->X, 100);
  EXPECT_FALSE(Flying(endless));  // left the field
  EXPECT_GT(endless->X, 600);
}

TEST_F(SimTest, WallsStopMissiles) {
  for (int row = 0; row < MAP_HEIGHT; ++row) Wall(*currentMap, 10, row);  // x 320 .. 351
  TMissilePtr right = Launch(280, 100, 4, 0, 0, 1, 0);
  while (Flying(right) && right->X < 400) Pass(right);
  EXPECT_FALSE(Flying(right));
  // Stopped once the 4 x 4 dot centred on X + 16 meets the wall.
  EXPECT_GE(right->X, 303);
  EXPECT_LE(right->X, 307);
}

TEST_F(SimTest, NonFiniteMissilesAreRemoved) {
  TMissilePtr m = Launch(std::numeric_limits<float>::quiet_NaN(), 100, 1, 0, 0, 1, 0);
  Pass(m);
  EXPECT_FALSE(Flying(m));
  TMissilePtr inf = Launch(100, 100, std::numeric_limits<float>::infinity(), 0, 0, 1, 0);
  Pass(inf);
  EXPECT_FALSE(Flying(inf));
}

TEST_F(SimTest, PlayerShotsHitEveryNPCTheyOverlap) {
  auto a = MakeNPC(200, 100), b = MakeNPC(210, 100), far = MakeNPC(300, 100);
  for (auto& n : {a, b, far}) npcList.AddLast(n);
  TMissilePtr m = Launch(190, 100, 4, 0, 0, 2, 5);  // dot at x 208 .. 211 after the move
  Pass(m);
  EXPECT_FALSE(Flying(m));
  EXPECT_EQ(a->life, 8);
  EXPECT_EQ(b->life, 8);
  EXPECT_EQ(far->life, 10);
  EXPECT_FLOAT_EQ(a->X, 212);  // knocked back by three times the displacement
  EXPECT_FLOAT_EQ(b->X, 222);
  EXPECT_EQ(a->facing, 0);     // their own facing
  EXPECT_EQ(a->attitude, 5);
}

TEST_F(SimTest, HitsUseTheDisplacementOfThePassAsPush) {
  auto a = MakeNPC(200, 100);
  npcList.AddLast(a);
  Delta = 0.5f;
  TMissilePtr m = Launch(192, 100, 8, 0, 0, 1, 5);  // moves 4
  Pass(m);
  EXPECT_EQ(a->life, 9);
  EXPECT_FLOAT_EQ(a->X, 212);
}

TEST_F(SimTest, ShotsAreUsedUpOnNPCsThatCannotBeHit) {
  auto calm = MakeNPC(200, 100, 0);
  npcList.AddLast(calm);
  TMissilePtr m = Launch(190, 100, 4, 0, 0, 2, 5);
  Pass(m);
  EXPECT_FALSE(Flying(m));
  EXPECT_EQ(calm->life, 10);
}

TEST_F(SimTest, TheLastPassOfRangeStillHits) {
  auto a = MakeNPC(200, 100);
  npcList.AddLast(a);
  TMissilePtr m = Launch(190, 100, 4, 0, 0, 2, 5);
  m->range = 4;
  Pass(m);
  EXPECT_FALSE(Flying(m));
  EXPECT_EQ(a->life, 8);
}

TEST_F(SimTest, LeavingTheFieldBlocksBeforeTheHitTestAndEndsThePassOnceWhollyOutside) {
  auto edge = MakeNPC(630, 100);
  npcList.AddLast(edge);
  TMissilePtr m = Launch(620, 100, 8, 0, 0, 2, 0);  // centre 644: blocked, but still tests hits
  Pass(m);
  EXPECT_FALSE(Flying(m));
  EXPECT_EQ(edge->life, 8);

  auto beyond = MakeNPC(650, 200);
  npcList.AddLast(beyond);
  TMissilePtr out = Launch(636, 200, 8, 0, 0, 2, 0);  // X 644: wholly outside, no hit test
  Pass(out);
  EXPECT_FALSE(Flying(out));
  EXPECT_EQ(beyond->life, 10);
}

TEST_F(SimTest, NPCShotsHitOnlyThePlayer) {
  auto npc = MakeNPC(300, 200);
  npcList.AddLast(npc);
  TMissilePtr m = Launch(290, 200, 4, 0, 1, 3, 5);
  Pass(m);
  EXPECT_FALSE(Flying(m));
  EXPECT_EQ(player->life, 7);
  EXPECT_EQ(player->invincible, 25);
  EXPECT_FLOAT_EQ(player->X, 312);
  EXPECT_EQ(player->facing, 1);
  EXPECT_EQ(npc->life, 10);

  TMissilePtr own = Launch(290, 200, 4, 0, 0, 3, 5);  // a player's shot passes the player
  player->X = 300;
  npcList.Clear();
  Pass(own);
  EXPECT_TRUE(Flying(own));
}

TEST_F(SimTest, TalkProbeMovesFullStepsAndEndsOnItsSecondWholePass) {
  TMissilePtr p = Launch(100, 100, 8, 0, 2, 0, 1, kSolid);
  Pass(p);
  EXPECT_TRUE(Flying(p));
  EXPECT_FLOAT_EQ(p->range, 8);
  Pass(p);
  EXPECT_FALSE(Flying(p));
  EXPECT_FLOAT_EQ(p->X, 116);

  TMissilePtr slow = Launch(100, 300, 8, 0, 2, 0, 1, kSolid);
  Delta = 0.25f;
  for (int pass = 0; pass < 7; ++pass) Pass(slow);
  EXPECT_TRUE(Flying(slow));
  EXPECT_FLOAT_EQ(slow->X, 156);  // full steps whatever Delta is
  EXPECT_FLOAT_EQ(slow->range, 2);
}

TEST_F(SimTest, TalkProbeIsUsedUpOnTheNPCItReaches) {
  auto npc = MakeNPC(120, 100);
  npcList.AddLast(npc);
  TMissilePtr p = Launch(100, 100, 8, 0, 2, 0, 1, kSolid);
  Pass(p);
  EXPECT_FALSE(Flying(p));
  EXPECT_EQ(npc->life, 10);
  EXPECT_FLOAT_EQ(npc->X, 120);
}

TEST_F(SimTest, ClearMissileListEndsTheSwingToo) {
  Launch(1, 1, 1, 0, 0, 1, 1);
  player->melee = 1;
  meleeList.AddLast(TMelee::Create(kSwing, 0, 0, 0, 0, 0, 1, 0));
  ClearMissileList();
  EXPECT_TRUE(missileList.IsEmpty());
  EXPECT_TRUE(meleeList.IsEmpty());
  EXPECT_EQ(player->melee, 0);
  player.reset();
  ClearMissileList();  // no player yet: still empties the lists
}

TEST_F(SimTest, DrawMissileCentresTheImageAndSpinsPerFrame) {
  SetColor(255, 255, 255);
  SetClsColor(0, 0, 0);
  Cls();
  TMissilePtr m = Launch(100.7f, 50.2f, 4, 0, 0, 1, 1);
  m->rotationDiff = 30;
  m->DrawMissile(0, 0);
  TPixmapPtr back = BackBuffer();
  EXPECT_EQ(ReadPixel(back, 116, 66), testsupport::FrameColor(0));  // the dot around (116, 66)
  EXPECT_EQ(ReadPixel(back, 110, 66) & 0xFFFFFF, 0u);
  EXPECT_EQ(m->rotation, 120);
  EXPECT_FLOAT_EQ(TileImage(kDot)->handleX, 0);
  EXPECT_FLOAT_EQ(GetRotation(), 0);

  TMissilePtr probe = Launch(300, 300, 0, 8, 2, 0, 1, kSolid);
  probe->rotationDiff = 30;
  probe->DrawMissile(0, 0);
  EXPECT_EQ(probe->rotation, 180);
  EXPECT_EQ(ReadPixel(back, 316, 316) & 0xFFFFFF, 0u);
}

// NPCs as far out as a float holds (an NPC line may say X = 99999999999): talking, shooting,
// touching and drawing pass them by, and the NPC beside the player is still reached.
TEST_F(SimTest, FarNPCsAreNeitherHitNorTalkedTo) {
  constexpr float kFar = 99999999999.0f, kMax = std::numeric_limits<float>::max();
  const float places[][2] = {{kFar, 200}, {-kFar, 200}, {300, kFar}, {kMax, kMax}, {-kMax, -kMax}};
  std::vector<TActorPtr> far;
  for (const auto& at : places) {
    far.push_back(MakeNPC(at[0], at[1]));
    npcList.AddLast(far.back());
  }
  auto near = MakeNPC(320, 200);
  npcList.AddLast(near);
  player->facing = 3;
  player->Talk();
  Launch(300, 200, 4, 0, 0, 3, 5);     // the player's shot, into the near NPC
  Launch(300, 200, 0, 0, 1, 3, 5);     // an NPC's shot where the player stands
  for (int pass = 0; pass < 4; ++pass) {
    MoveActors();
    DrawActors();
  }
  for (const TActorPtr& npc : far) {
    EXPECT_EQ(npc->life, 10);
    EXPECT_EQ(npc->attitude, 2);
  }
  EXPECT_EQ(near->life, 7);
  EXPECT_EQ(player->life, 7);
  EXPECT_TRUE(missileList.IsEmpty());
}

}  // namespace
