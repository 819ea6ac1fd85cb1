// One logic pass: the player, the NPCs and their contact with the player, the sort, missiles.
#include <limits>
#include "sim_fixture.h"
#include "world/missile.h"
#include "world/update.h"

using namespace simtest;

namespace {

std::vector<std::string> Names() {
  std::vector<std::string> out;
  for (const TActorPtr& a : npcList) out.push_back(a->name);
  return out;
}

TEST_F(SimTest, NPCsEndSortedByTheirTopEdgeKeepingTies) {
  const float ys[] = {50, 10, 50, 30, 10};
  const char* names[] = {"a", "b", "c", "d", "e"};
  for (int i = 0; i < 5; ++i) {
    auto n = MakeNPC(20.0f + 40 * i, ys[i]);
    n->name = names[i];
    npcList.AddLast(n);
  }
  MoveActors();
  EXPECT_EQ(Names(), (std::vector<std::string>{"b", "e", "d", "a", "c"}));
}

TEST_F(SimTest, SortTerminatesWithPositionsThatAreNotNumbers) {
  for (int i = 0; i < 6; ++i) {
    auto n = MakeNPC(20.0f + 40 * i, i % 2 ? std::numeric_limits<float>::quiet_NaN() : 100.0f - i);
    n->name = std::to_string(i);
    npcList.AddLast(n);
  }
  MoveActors();
  EXPECT_EQ(npcList.Count(), 6u);
}

TEST_F(SimTest, APassMovesEveryoneByTheirSpeedTimesDelta) {
  auto npc = MakeNPC(100, 100);
  npc->speedX = 4;
  npc->speedY = -2;
  npcList.AddLast(npc);
  player->speedX = 6;
  AddMissile(kDot, 100, 300, 8, 0, 0, 1, 0, 0);
  Delta = 0.5f;
  MoveActors();
  EXPECT_FLOAT_EQ(player->X, 303);
  EXPECT_FLOAT_EQ(player->tempCount, 3);
  EXPECT_FLOAT_EQ(player->tempLogic, 3);
  EXPECT_FLOAT_EQ(npc->X, 102);
  EXPECT_FLOAT_EQ(npc->Y, 99);
  EXPECT_FLOAT_EQ(npc->tempLogic, 3);
  EXPECT_FLOAT_EQ(missileList.First()->X, 104);
}

struct ContactCase {
  const char* name;
  int attitude, npcInvincible, playerInvincible;
  float npcX, npcY, npcSpeedX;
  int playerTile;
  float playerX;  // after the pass
  int playerLife, unmovable;
};

const ContactCase kContacts[] = {
    {"hostile hurts and knocks back", 4, 0, 0, 310, 200, 2, kSprite, 306, 7, 0},
    {"invincible hostile pushes instead", 4, 5, 0, 322, 200, -2, kSprite, 296, 10, 15},
    {"hostile on an invincible player does nothing", 4, 0, 5, 322, 200, -2, kSprite, 300, 10, 0},
    {"attitude 0 pushes", 0, 0, 0, 322, 200, -2, kSprite, 296, 10, 15},
    {"attitude 2 pushes", 2, 0, 0, 322, 200, -2, kSprite, 296, 10, 15},
    {"attitude -1 walks through", -1, 0, 0, 322, 200, -2, kSprite, 300, 10, 0},
    {"no contact beyond the player's 32 x 32 box", 4, 0, 0, 340, 240, 0, kBig, 300, 10, 0},
    {"a large sprite is hurt inside its box", 4, 0, 0, 320, 220, 0, kBig, 300, 7, 0},
    {"boxes that meet without solid pixels", 4, 0, 0, 310, 200, 0, kBlank, 300, 10, 0},
};

void PrintTo(const ContactCase& c, std::ostream* os) { *os << c.name; }

class ContactTable : public SimTest, public ::testing::WithParamInterface<ContactCase> {};

TEST_P(ContactTable, NPCsTouchThePlayerAfterMoving) {
  const ContactCase& c = GetParam();
  player->tileID = c.playerTile;
  player->invincible = c.playerInvincible;
  auto npc = MakeNPC(c.npcX, c.npcY, c.attitude);
  npc->damage = 3;
  npc->invincible = c.npcInvincible;
  npc->speedX = c.npcSpeedX;
  npcList.AddLast(npc);
  MoveActors();
  EXPECT_FLOAT_EQ(player->X, c.playerX);
  EXPECT_EQ(player->life, c.playerLife);
  EXPECT_EQ(player->unmovable, c.unmovable);
  EXPECT_EQ(player->facing, 1);  // touching never turns the player
}

INSTANTIATE_TEST_SUITE_P(Cases, ContactTable, ::testing::ValuesIn(kContacts),
                         [](const auto& info) { return "case" + std::to_string(info.index); });

TEST_F(SimTest, ASwingHoldsThePlayerButNPCsStillPushIt) {
  player->melee = 1;
  meleeList.AddLast(TMelee::Create(kSwing, 0, 0, 0, 0, 0, 1, 1));  // far from everyone
  player->speedX = 6;
  MoveActors();
  EXPECT_FLOAT_EQ(player->X, 300);
  player->speedX = 0;
  auto npc = MakeNPC(322, 200, 2);
  npc->speedX = -2;
  npcList.AddLast(npc);
  MoveActors();
  ASSERT_EQ(player->melee, 1);
  EXPECT_FLOAT_EQ(player->X, 296);
  EXPECT_EQ(player->unmovable, 15);
}

TEST_F(SimTest, WithoutAPlayerTheWorldStillMoves) {
  player.reset();
  auto npc = MakeNPC(100, 100);
  npc->speedX = 3;
  npcList.AddLast(npc);
  AddMissile(kDot, 100, 300, 8, 0, 1, 1, 0, 0);
  MoveActors();
  EXPECT_FLOAT_EQ(npc->X, 103);
  EXPECT_FLOAT_EQ(missileList.First()->X, 108);
}

TEST_F(SimTest, AddNPCAppendsACopyOfTheTemplate) {
  auto saved = npcType;
  auto t = MakeNPC(40, 50);
  t->name = "guard";
  npcType = {t};
  AddNPC(0, 64, -1, "");
  AddNPC(0, 0, 0, "scout");
  AddNPC(1, 10, 10, "none");
  AddNPC(-1, 10, 10, "none");
  ASSERT_EQ(Names(), (std::vector<std::string>{"guard", "scout"}));
  TActorPtr first = npcList.First();
  EXPECT_NE(first, t);
  EXPECT_FLOAT_EQ(first->X, 64);
  EXPECT_FLOAT_EQ(first->Y, 50);
  EXPECT_FLOAT_EQ(npcList.Last()->X, 0);
  ClearNPCList();
  EXPECT_TRUE(npcList.IsEmpty());
  npcType = saved;
}

}  // namespace
