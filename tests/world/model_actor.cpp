// Actors: creation from table fields, copies of templates, depth order, drawing and life.
#include <gtest/gtest.h>

#include <vector>

#include "core/globals.h"
#include "platform/graphics/graphics.h"
#include "platform/system/clock.h"
#include "platform/system/random.h"
#include "support/tiles.h"
#include "world/actor.h"

using namespace testsupport;

namespace {

class Actors : public testing::Test {
protected:
  Actors()
      : tiles_({MakeTile(SolidImage(32, 32)), MakeTile(SolidImage(32, 32, 8), 8),
                MakeTile(SolidImage(32, 32, 3), 3)}),
        savedItems_(gameItem) {
    gameItem.assign(48, nullptr);
    gameItem[0] = std::make_shared<TItem>();
    gameItem[2] = TItem::Create(2, "Sling", "", 1, 5, 10, 0, 0, 0, 0, 0, 1, 4, 3.0f, 0, -1, 0);
  }
  ~Actors() override { gameItem = savedItems_; }

  static TActorPtr Template() {
    TActorPtr a = TActor::Create(1, 0, 100.0f, 63.9f, 1.5f, -2.0f, 3, "Guard", 4, 6, 2, -1,
                                 2.5f, 7, 11, 12, 2);
    a->invincible = 5;
    a->unmovable = 3;
    a->tempCount = 2.0f;
    a->tempLogic = 1.0f;
    a->waitUntil = 99.0f;
    a->framedir = -1;
    a->frame = 1;
    a->currentFrame = 7;
    a->moveToX = 40;
    a->moveToY = 50;
    a->moveGoal = 3;
    a->moveCurrent = 2;
    return a;
  }

  ScopedTiles tiles_;
  std::vector<TItemPtr> savedItems_;
};

}  // namespace

TEST_F(Actors, CreateTakesTheFieldsOfATableLine) {
  TActorPtr a = TActor::Create(1, 2, 10.0f, 20.0f, 1.5f, -2.0f, 3, "Guard", 4, 6, 2, -1, 2.5f,
                               7, 11, 12, 2);
  EXPECT_EQ(a->tileID, 1);
  EXPECT_EQ(a->footprintID, 2);
  EXPECT_EQ(a->X, 10.0f);
  EXPECT_EQ(a->Y, 20.0f);
  EXPECT_EQ(a->speedX, 1.5f);
  EXPECT_EQ(a->speedY, -2.0f);
  EXPECT_EQ(a->facing, 3);
  EXPECT_EQ(a->name, "Guard");
  EXPECT_EQ(a->life, 4);
  EXPECT_EQ(a->maxLife, 6);
  EXPECT_EQ(a->attitude, 2);
  EXPECT_EQ(a->movement, -1);
  EXPECT_EQ(a->walkSpeed, 2.5f);
  EXPECT_EQ(a->damage, 7);
  EXPECT_EQ(a->deathTrigger, 11);
  EXPECT_EQ(a->talkTrigger, 12);
  EXPECT_EQ(a->moveToX, -1);
  EXPECT_EQ(a->moveToY, -1);
  EXPECT_EQ(a->waitUntil, 0.0f);
  EXPECT_EQ(a->framedir, 1);
  // Eight frames make two per facing; facing 3 starts on frame 6.
  EXPECT_EQ(a->frames, 2);
  EXPECT_EQ(a->frame, 0);
  EXPECT_EQ(a->currentFrame, 6);
  // The primary item is a copy of the slot's item.
  ASSERT_NE(a->primary, nullptr);
  EXPECT_NE(a->primary, gameItem[2]);
  EXPECT_EQ(a->primary->name, "Sling");
}

TEST_F(Actors, CreateGuardsTheTableIndices) {
  struct Case {
    int tileID, itemIndex;
    int frames;
  };
  const Case cases[] = {{2, 0, 0}, {0, 1, 0}, {55, -1, 0}, {-1, 48, 0}, {1, 300, 2}};
  for (const Case& c : cases) {
    TActorPtr a = TActor::Create(c.tileID, 0, 0, 0, 0, 0, 1, "", 1, 1, 0, 0, 6, 0, 0, 0,
                                 c.itemIndex);
    EXPECT_EQ(a->frames, c.frames) << c.tileID;
    EXPECT_EQ(a->currentFrame, c.frames) << c.tileID;
    ASSERT_NE(a->primary, nullptr) << c.itemIndex;
    EXPECT_EQ(a->primary->itemID, 0) << c.itemIndex;
  }
}

TEST_F(Actors, CopyTakesNameAndPositionWhenGiven) {
  struct Case {
    const char* name;
    float x, y;
    const char* wantName;
    float wantX, wantY;
  };
  const Case cases[] = {
      {"", -1.0f, -1.0f, "Guard", 100.0f, 63.9f},
      {"Bob", 0.0f, 0.0f, "Bob", 0.0f, 0.0f},
      {"", -0.5f, -7.0f, "Guard", -0.5f, 63.9f},
      {"Ann", 300.25f, -1.01f, "Ann", 300.25f, 63.9f},
  };
  TActorPtr t = Template();
  for (const Case& c : cases) {
    TActorPtr a = t->CopyActor(c.name, c.x, c.y);
    EXPECT_EQ(a->name, c.wantName);
    EXPECT_EQ(a->X, c.wantX) << c.x;
    EXPECT_EQ(a->Y, c.wantY) << c.y;
  }
}

TEST_F(Actors, CopyResetsCountersAndOwnsItsItem) {
  TActorPtr t = Template();
  TActorPtr a = t->CopyActor("", -1, -1);
  EXPECT_EQ(a->invincible, 0);
  EXPECT_EQ(a->unmovable, 0);
  EXPECT_EQ(a->tempCount, 0.0f);
  EXPECT_EQ(a->tempLogic, 0.0f);
  EXPECT_EQ(a->waitUntil, 0.0f);
  EXPECT_EQ(a->framedir, 1);
  EXPECT_EQ(a->frame, 0);
  // Kept as the template holds them.
  EXPECT_EQ(a->currentFrame, 7);
  EXPECT_EQ(a->frames, 2);
  EXPECT_EQ(a->moveToX, 40);
  EXPECT_EQ(a->moveToY, 50);
  EXPECT_EQ(a->moveGoal, 3);
  EXPECT_EQ(a->moveCurrent, 2);
  EXPECT_EQ(a->tileID, 1);
  EXPECT_EQ(a->speedX, 1.5f);
  EXPECT_EQ(a->facing, 3);
  EXPECT_EQ(a->life, 4);
  EXPECT_EQ(a->maxLife, 6);
  EXPECT_EQ(a->attitude, 2);
  EXPECT_EQ(a->movement, -1);
  EXPECT_EQ(a->walkSpeed, 2.5f);
  EXPECT_EQ(a->damage, 7);
  EXPECT_EQ(a->deathTrigger, 11);
  EXPECT_EQ(a->talkTrigger, 12);

  ASSERT_NE(a->primary, nullptr);
  EXPECT_NE(a->primary, t->primary);
  a->primary->ammoCount = 0;
  a->X = 5.0f;
  a->name = "Changed";
  EXPECT_EQ(t->primary->ammoCount, 5);
  EXPECT_EQ(t->X, 100.0f);
  EXPECT_EQ(t->name, "Guard");

  t->primary = nullptr;
  EXPECT_EQ(t->CopyActor("", -1, -1)->primary, nullptr);
}

TEST_F(Actors, CompareYSortsNpcsByHeightKeepingEqualOnesInOrder) {
  TActor low, high;
  low.Y = 10.0f;
  high.Y = 20.0f;
  EXPECT_EQ(TActor::CompareY(low, high), 1);
  EXPECT_EQ(TActor::CompareY(high, low), -1);
  EXPECT_EQ(TActor::CompareY(low, low), 1);

  TList<TActor> list;
  const float ys[] = {30, 10, 20, 10, 5};
  for (int i = 0; i < 5; ++i) {
    auto a = std::make_shared<TActor>();
    a->Y = ys[i];
    a->name = std::to_string(i);
    list.AddLast(a);
  }
  SortList<TActor>(list, false, TActor::CompareY);
  std::string order;
  for (const auto& a : list) order += a->name;
  EXPECT_EQ(order, "41320");
}

TEST_F(Actors, GiveLifeStopsAtMaxLifeOnly) {
  struct Case {
    int life, maxLife, n, after;
  };
  const Case cases[] = {{4, 6, 5, 6}, {1, 6, -2, -1}, {3, 10, 2, 5}, {8, 6, 0, 6}};
  for (const Case& c : cases) {
    TActor a;
    a.life = c.life;
    a.maxLife = c.maxLife;
    a.GiveLife(c.n);
    EXPECT_EQ(a.life, c.after) << c.life << " + " << c.n;
  }
}

TEST_F(Actors, DrawActorDrawsItsFrameAtTheFlooredPosition) {
  SetClsColor(0, 0, 0);
  Cls();
  SetColor(255, 255, 255);
  SetAlpha(1.0f);
  TActor a;
  a.tileID = 1;
  a.currentFrame = 6;
  a.X = 10.7f;
  a.Y = -0.5f;
  a.DrawActor(-3, 5);  // at (7, 4)
  EXPECT_EQ(ReadPixel(BackBuffer(), 7, 4), FrameColor(6));
  EXPECT_EQ(ReadPixel(BackBuffer(), 38, 35), FrameColor(6));
  EXPECT_EQ(ReadPixel(BackBuffer(), 6, 4) & 0xFFFFFF, 0u);
  EXPECT_EQ(ReadPixel(BackBuffer(), 7, 3) & 0xFFFFFF, 0u);
  EXPECT_EQ(ReadPixel(BackBuffer(), 39, 4) & 0xFFFFFF, 0u);

  // An actor whose tile is outside the table draws nothing.
  Cls();
  a.tileID = 9;
  a.DrawActor(0, 0);
  EXPECT_EQ(ReadPixel(BackBuffer(), 20, 10) & 0xFFFFFF, 0u);
}

TEST_F(Actors, InvincibleActorsFlickerAndTheColourComesBack) {
  SetClsColor(0, 0, 0);
  SeedRnd(5);
  TActor a;
  a.tileID = 1;
  a.currentFrame = 7;  // white: the pixel shows the tint itself
  a.invincible = 3;
  std::vector<uint32_t> tints;
  for (int i = 0; i < 4; ++i) {
    Cls();
    a.DrawActor(0, 0);
    tints.push_back(ReadPixel(BackBuffer(), 5, 5) & 0xFFFFFF);
    int r, g, b;
    GetColor(r, g, b);
    EXPECT_EQ(r + g + b, 3 * 255);
  }
  for (uint32_t t : tints) {
    EXPECT_NE(t, 0xFFFFFFu);
    EXPECT_NE(t >> 16, 0u);
    EXPECT_NE((t >> 8) & 0xFF, 0u);
    EXPECT_NE(t & 0xFF, 0u);
  }
  EXPECT_NE(tints[0], tints[1]);
}
