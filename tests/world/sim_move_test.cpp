// Actor movement: MoveActor, contact (HitActor, BumpActor), walk-to, pacing, face/follow/avoid.
#include <cctype>
#include <cmath>
#include <limits>
#include "sim_fixture.h"
#include "world/actor.h"
#include "world/update.h"

using namespace simtest;

namespace {

// An NPC that records the calls of its trigger hook.
struct RecordingActor : TActor {
  int triggers = 0;
  float lastX = 0, lastY = 0;
  int TriggerEvent(float x, float y, TMap&) override {
    ++triggers;
    lastX = x;
    lastY = y;
    return 0;
  }
};

std::shared_ptr<RecordingActor> Recorder(float x, float y) {
  auto a = MakeNPC<RecordingActor>(x, y);
  a->facing = 1;
  a->currentFrame = 2;
  return a;
}

const float kNaN = std::numeric_limits<float>::quiet_NaN();
const float kInf = std::numeric_limits<float>::infinity();

struct MoveCase {
  const char* name;
  int movement;
  float x, y;            // start
  float speedX, speedY;  // the speed that decides the facing
  float toX, toY;        // the aimed position
  int wallCol0, wallCol1, wallRow0, wallRow1;  // feature walls (col0 < 0: none)
  int override_;
  float endX, endY;
  int facing;
  int triggers;
  float tempCount;
};

const MoveCase kMoves[] = {
    {"open", 0, 100, 100, 6, 0, 106, 100, -1, 0, 0, 0, -1, 106, 100, 3, 1, 6},
    {"same position does nothing", 0, 100, 100, 6, 0, 100, 100, -1, 0, 0, 0, -1, 100, 100, 1, 0, 0},
    {"free movement clamps right", -1, 600, 100, 10, 0, 610, 100, -1, 0, 0, 0, -1, 607, 100, 3, 1, 6},
    {"free movement clamps at 608", -1, 600, 100, 10, 0, 608, 100, -1, 0, 0, 0, -1, 607, 100, 3, 1, 6},
    {"free movement clamps left", -1, 3, 100, -10, 0, -7, 100, -1, 0, 0, 0, -1, 0, 100, 2, 1, 6},
    {"free movement clamps bottom", -2, 100, 380, 0, 10, 100, 390, -1, 0, 0, 0, -1, 100, 383, 1, 1, 6},
    {"free movement through a wall", -1, 128, 96, 6, 0, 134, 96, 5, 5, 2, 4, -1, 134, 96, 3, 1, 6},
    {"diagonal into a wall below slides right", 0, 128, 96, 6, 6, 134, 102, 3, 5, 4, 4, -1, 134, 96, 3, 1, 6},
    {"diagonal into a wall on the right slides down", 0, 128, 96, 6, 6, 134, 102, 5, 5, 2, 4, -1, 128, 102, 3, 1, 6},
    {"straight into a wall stays", 0, 128, 96, 6, 0, 134, 96, 5, 5, 2, 4, -1, 128, 96, 3, 1, 0},
    {"blocked straight up keeps facing from speed", 0, 128, 130, 0, -6, 128, 124, 3, 5, 3, 3, -1, 128, 130, 0, 1, 0},
    {"diagonal against a lone corner cell slides along X", 0, 128, 96, 6, 6, 134, 102, 5, 5, 4, 4, -1, 134, 96, 3, 1, 6},
    {"facing override wins over speed", 0, 100, 100, 6, 0, 106, 100, -1, 0, 0, 0, 2, 106, 100, 2, 1, 6},
    {"no speed keeps the facing", 0, 100, 100, 0, 0, 106, 100, -1, 0, 0, 0, -1, 106, 100, 1, 1, 6},
    {"off the field is refused", 0, 606, 100, 6, 0, 612, 100, -1, 0, 0, 0, -1, 606, 100, 3, 1, 0},
    {"NaN is refused", 0, 100, 100, 6, 0, kNaN, 100, -1, 0, 0, 0, -1, 100, 100, 1, 0, 0},
    {"infinity is refused", -1, 100, 100, 6, 0, 100, kInf, -1, 0, 0, 0, -1, 100, 100, 1, 0, 0},
};

void PrintTo(const MoveCase& c, std::ostream* os) { *os << c.name; }

class MoveActorTable : public SimTest, public ::testing::WithParamInterface<MoveCase> {};

TEST_P(MoveActorTable, MovesSlidesAndCallsTheTrigger) {
  const MoveCase& c = GetParam();
  if (c.wallCol0 >= 0)
    for (int col = c.wallCol0; col <= c.wallCol1; ++col)
      for (int row = c.wallRow0; row <= c.wallRow1; ++row) Wall(*currentMap, col, row);
  auto a = Recorder(c.x, c.y);
  a->movement = c.movement;
  a->speedX = c.speedX;
  a->speedY = c.speedY;
  a->MoveActor(c.toX, c.toY, *currentMap, c.override_, 1);
  EXPECT_FLOAT_EQ(a->X, c.endX);
  EXPECT_FLOAT_EQ(a->Y, c.endY);
  EXPECT_EQ(a->facing, c.facing);
  EXPECT_EQ(a->currentFrame, a->facing * 2);
  EXPECT_EQ(a->triggers, c.triggers);
  if (c.triggers) {
    EXPECT_FLOAT_EQ(a->lastX, c.endX);
    EXPECT_FLOAT_EQ(a->lastY, c.endY);
  }
  EXPECT_FLOAT_EQ(a->tempCount, c.tempCount);
}

INSTANTIATE_TEST_SUITE_P(Cases, MoveActorTable, ::testing::ValuesIn(kMoves),
                         [](const auto& info) {
                           std::string n;
                           for (const char* p = info.param.name; *p; ++p)
                             n += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
                           return n;
                         });

TEST_F(SimTest, WalkingAnimationAdvancesEveryFourthMoveAndNotOnKnockBacks) {
  auto a = Recorder(100, 100);
  a->speedX = 6;
  const float counts[] = {6, 12, 18, 0};
  const int frames[] = {0, 0, 0, 1};
  for (int i = 0; i < 4; ++i) {
    a->MoveActor(a->X + 6, a->Y, *currentMap, -1, 1);
    EXPECT_FLOAT_EQ(a->tempCount, counts[i]) << i;
    EXPECT_EQ(a->frame, frames[i]) << i;
  }
  EXPECT_EQ(a->currentFrame, 3 * 2 + 1);
  a->MoveActor(a->X + 6, a->Y, *currentMap, -1, 0);
  EXPECT_FLOAT_EQ(a->X, 130);
  EXPECT_FLOAT_EQ(a->tempCount, 0);

  // A sheet without walking frames keeps frame 0 instead of dividing by zero.
  a->frames = 0;
  for (int i = 0; i < 5; ++i) a->MoveActor(a->X + 6, a->Y, *currentMap, -1, 1);
  EXPECT_EQ(a->frame, 0);
  EXPECT_EQ(a->currentFrame, 0);
}

TEST_F(SimTest, LockedControlsFreezeOnlyThePlayer) {
  lockControls = 1;
  player->speedX = 6;
  player->MoveActor(310, 200, *currentMap, 2, 1);
  EXPECT_FLOAT_EQ(player->X, 300);
  EXPECT_EQ(player->facing, 1);
  player->attitude = 1;
  player->HitActor(1, 5, 0, 0);  // the knock-back is ignored too
  EXPECT_FLOAT_EQ(player->X, 300);
  auto npc = Recorder(100, 100);
  npc->MoveActor(106, 100, *currentMap, -1, 1);
  EXPECT_FLOAT_EQ(npc->X, 106);
}

// --- contact ---------------------------------------------------------------

TEST_F(SimTest, HitActorTakesLifeKnocksBackAndTurnsHostile) {
  struct Case {
    int attitude, invincible;
    bool hit;
    int attitudeAfter;
  } cases[] = {{-1, 0, false, -1}, {0, 0, false, 0}, {2, 3, false, 2}, {1, 0, true, 1},
               {2, 0, true, 5},    {3, 0, true, 6},  {4, 0, true, 4}};
  for (const Case& c : cases) {
    auto a = Recorder(100, 100);
    a->attitude = c.attitude;
    a->invincible = c.invincible;
    a->speedX = 2;
    Delta = 0.5f;  // the knock-back ignores Delta
    a->HitActor(3, 4, -1, 2);
    SCOPED_TRACE(c.attitude);
    EXPECT_EQ(a->attitude, c.attitudeAfter);
    if (c.hit) {
      EXPECT_EQ(a->life, 7);
      EXPECT_EQ(a->invincible, 25);
      EXPECT_FLOAT_EQ(a->X, 100 + 2 + 12);
      EXPECT_FLOAT_EQ(a->Y, 100 - 3);
      EXPECT_EQ(a->facing, 2);
      EXPECT_EQ(a->currentFrame, 4);
      EXPECT_FLOAT_EQ(a->tempCount, 0);
    } else {
      EXPECT_EQ(a->life, 10);
      EXPECT_EQ(a->invincible, c.invincible);
      EXPECT_FLOAT_EQ(a->X, 100);
      EXPECT_EQ(a->facing, 1);
    }
  }
}

TEST_F(SimTest, HitActorKnockBackStopsAtWalls) {
  Wall(*currentMap, 4, 3);
  auto a = Recorder(96, 96);
  a->HitActor(1, 10, 0, 3);
  EXPECT_FLOAT_EQ(a->X, 96);
  EXPECT_EQ(a->invincible, 25);
  EXPECT_EQ(a->triggers, 1);  // the blocked knock-back still asks for triggers
}

TEST_F(SimTest, BumpActorPushes) {
  struct Case {
    const char* name;
    float speedX, speedY;
    float otherX, otherSpeedX, otherSpeedY;
    int attitude, invincible, unmovable;
    float delta;
    float endX, endY;
    int unmovableAfter;
    int facing;
  } cases[] = {
      {"both standing", 0, 0, 130, 0, 0, 2, 0, 0, 1, 100, 100, 0, 2},
      {"shoved while standing", 0, 0, 130, -4, 1, 2, 0, 0, 1, 92, 102, 15, 2},
      {"shove scales with Delta", 0, 0, 130, -4, 0, 2, 0, 0, 0.5f, 96, 100, 15, 2},
      {"walking into the other steps back", 6, 0, 130, -4, 0, 2, 0, 0, 1, 94, 100, 0, 2},
      {"walking away moves on", -6, 0, 130, -4, 0, 2, 0, 0, 1, 94, 100, 0, 2},
      {"walking down past the other moves on", 0, 6, 130, -4, 0, 2, 0, 0, 1, 100, 106, 0, 2},
      {"unmovable", 0, 0, 130, -4, 0, 2, 0, 3, 1, 100, 100, 3, 1},
      {"invincible", 0, 0, 130, -4, 0, 2, 5, 0, 1, 100, 100, 0, 1},
      {"attitude 0", 0, 0, 130, -4, 0, 0, 0, 0, 1, 100, 100, 0, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    auto a = Recorder(100, 100);
    a->speedX = c.speedX;
    a->speedY = c.speedY;
    a->attitude = c.attitude;
    a->invincible = c.invincible;
    a->unmovable = c.unmovable;
    Delta = c.delta;
    a->BumpActor(c.otherX, 100, c.otherSpeedX, c.otherSpeedY, 2);
    EXPECT_FLOAT_EQ(a->X, c.endX);
    EXPECT_FLOAT_EQ(a->Y, c.endY);
    EXPECT_EQ(a->unmovable, c.unmovableAfter);
    EXPECT_EQ(a->facing, c.facing);
  }
}

// --- NPC update: walk-to and pacing ---------------------------------------

TEST_F(SimTest, WalkToArrivesOrIsAbandoned) {
  struct Case {
    const char* name;
    float x, y;
    int toX, toY;
    bool wall;
    float speedX, speedY;  // after the first update
    bool doneAtOnce;
  } cases[] = {
      {"6 left of the target walks", 100, 100, 106, 103, false, 6, 0, false},
      {"5 left of the target has arrived", 101, 100, 106, 103, false, 0, 0, true},
      {"diagonal first", 100, 100, 130, 112, false, 6, 6, false},
      {"up and left", 100, 100, 70, 60, false, -6, -6, false},
      {"through a wall is abandoned", 96, 96, 200, 96, true, 0, 0, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    if (c.wall) Wall(*currentMap, 4, 3);
    auto a = Recorder(c.x, c.y);
    a->moveToX = c.toX;
    a->moveToY = c.toY;
    a->moveGoal = 7;
    a->UpdateActor();
    EXPECT_FLOAT_EQ(a->speedX, c.speedX);
    EXPECT_FLOAT_EQ(a->speedY, c.speedY);
    EXPECT_EQ(a->moveCurrent == 7, c.doneAtOnce);
    EXPECT_EQ(a->moveToX == -1 && a->moveToY == -1, c.doneAtOnce);
    currentMap = OpenMap();
  }
}

TEST_F(SimTest, WalkToFinishesOnTheNextPassAfterTheLastStep) {
  auto a = Recorder(100, 100);
  a->moveToX = 106;
  a->moveToY = 100;
  a->moveGoal = 1;
  npcList.AddLast(a);
  MoveActors();
  EXPECT_FLOAT_EQ(a->X, 106);
  EXPECT_EQ(a->moveCurrent, 0);
  MoveActors();
  EXPECT_EQ(a->moveCurrent, 1);
  EXPECT_FLOAT_EQ(a->speedX, 0);
  EXPECT_EQ(a->moveToX, -1);
  EXPECT_FLOAT_EQ(a->X, 106);
}

TEST_F(SimTest, PacingCountsDownEverySecondTick) {
  auto a = Recorder(100, 100);
  a->invincible = 25;
  a->unmovable = 15;
  for (int t = 1; t <= 50; ++t) {
    a->UpdateActor();
    if (t == 29) {
      EXPECT_EQ(a->unmovable, 1);
    } else if (t == 30) {
      EXPECT_EQ(a->unmovable, 0);
    } else if (t == 49) {
      EXPECT_EQ(a->invincible, 1);
    }
  }
  EXPECT_EQ(a->invincible, 0);

  auto still = Recorder(100, 100);
  still->walkSpeed = 0;
  still->invincible = 25;
  for (int t = 0; t < 100; ++t) still->UpdateActor();
  EXPECT_EQ(still->invincible, 25);

  auto half = Recorder(100, 100);
  half->invincible = 2;
  Delta = 0.5f;
  for (int t = 0; t < 3; ++t) half->UpdateActor();
  EXPECT_EQ(half->invincible, 1);
  EXPECT_FLOAT_EQ(half->tempLogic, 0);
}

TEST_F(SimTest, RandomWanderPicksWholeStepsOnPacingStepsOnly) {
  SeedRnd(12345);
  auto a = Recorder(100, 100);
  a->movement = -1;
  bool changed = false;
  for (int t = 0; t < 400; ++t) {
    float sx = a->speedX, sy = a->speedY;
    a->UpdateActor();
    if (t % 2 == 0) {  // no pacing step on the first tick of each pair
      EXPECT_FLOAT_EQ(a->speedX, sx);
      EXPECT_FLOAT_EQ(a->speedY, sy);
    }
    for (float s : {a->speedX, a->speedY}) EXPECT_TRUE(s == -6 || s == 0 || s == 6) << s;
    changed = changed || a->speedX != sx || a->speedY != sy;
  }
  EXPECT_TRUE(changed);
}

// --- facing, following and fleeing -----------------------------------------

TEST_F(SimTest, FaceActorTurnsTowardsTheLongerAxis) {
  struct Case {
    float dx, dy;  // the other's offset
    int facing;
  } cases[] = {{10, -3, 3}, {-10, 3, 2}, {3, -10, 0}, {-3, 10, 1}, {5, 5, 1}, {-7, 7, 1}, {0, 0, 1}};
  for (const auto& c : cases) {
    auto a = Recorder(200, 200);
    auto other = MakeNPC(200 + c.dx, 200 + c.dy);
    a->FaceActor(*other);
    EXPECT_EQ(a->facing, c.facing) << c.dx << "," << c.dy;
    EXPECT_EQ(a->currentFrame, c.facing * 2);
    EXPECT_FLOAT_EQ(a->X, 200);
  }
}

TEST_F(SimTest, FollowAndAvoidSetSpeeds) {
  struct Case {
    const char* name;
    bool follow;
    int attitude;
    float dx, dy;  // the other's offset
    int wallCol;   // a wall column beside the actor at (192, 192), or -1
    float speedX, speedY;
  } cases[] = {
      {"follow stops within 42 below attitude 4", true, 3, 41, 41, -1, 0, 0},
      {"follow approaches from 42", true, 3, 42, 0, -1, 6, 0},
      {"hostile follow keeps approaching inside 42", true, 4, 41, -41, -1, 6, -6},
      {"hostile follow stops within 32", true, 4, 31, 31, -1, 0, 0},
      {"follow ignores an axis within walkSpeed", true, 2, -100, 6, -1, -6, 0},
      {"follow does not walk into a wall", true, 2, -100, 100, 5, 0, 6},
      {"avoid flees left and up", false, 2, 200, 100, -1, -6, -6},
      {"avoid ignores what is far on both axes", false, 2, 200, 200, -1, 0, 0},
      {"avoid from straight above goes right and down", false, 2, 0, -50, -1, 6, 6},
      {"avoid from above with the right blocked goes left", false, 2, 0, -50, 7, -6, 6},
      {"avoid does not flee into a wall", false, 2, 50, 0, 5, 0, 6},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    currentMap = OpenMap();
    if (c.wallCol >= 0) Wall(*currentMap, c.wallCol, 6);
    auto a = Recorder(192, 192);
    a->attitude = c.attitude;
    a->speedX = a->speedY = 3;
    auto other = MakeNPC(a->X + c.dx, a->Y + c.dy);
    if (c.follow) a->FollowActor(*other);
    else a->AvoidActor(*other);
    EXPECT_FLOAT_EQ(a->speedX, c.speedX);
    EXPECT_FLOAT_EQ(a->speedY, c.speedY);
  }
}

}  // namespace
