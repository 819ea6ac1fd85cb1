// Missiles in flight: creation, drawing, one logic pass, and the missile list helpers.
#include "world/missile.h"
#include <cmath>
#include <cstdint>
#include "core/globals.h"
#include "scripting/commands.h"
#include "scripting/engine.h"
#include "world/collision.h"
#include "world/wrapping.h"

TMissilePtr TMissile::Create(int tileID, float X, float Y, float speedX, float speedY, int owner,
                             int damage, int range, int rotationDiff) {
  auto m = std::make_shared<TMissile>();
  m->tileID = tileID;
  m->X = X;
  m->Y = Y;
  m->speedX = speedX;
  m->speedY = speedY;
  m->owner = owner;
  m->damage = damage;
  m->range = owner == 2 ? 16.0f : static_cast<float>(static_cast<int64_t>(range) * 32);
  m->rotationDiff = rotationDiff;
  // Point the image along the flight; leftward flights spin the other way.
  const int negated = rotationDiff == INT32_MIN ? INT32_MAX : -rotationDiff;
  if (speedX > 0 && speedY == 0) m->rotation = 90;
  else if (speedX < 0 && speedY == 0) m->rotation = 270, m->rotationDiff = negated;
  else if (speedX == 0 && speedY > 0) m->rotation = 180;
  else if (speedX == 0 && speedY < 0) m->rotation = 0;
  else if (speedX > 0 && speedY < 0) m->rotation = 45;
  else if (speedX > 0 && speedY > 0) m->rotation = 135;
  else if (speedX < 0 && speedY > 0) m->rotation = 225, m->rotationDiff = negated;
  else if (speedX < 0 && speedY < 0) m->rotation = 315, m->rotationDiff = negated;
  else m->rotation = 0;
  return m;
}

namespace {

// A missile's turned picture depends only on its tile's frame and its angle: each is sampled
// once. 4 MB hold some 480 turned frames of 32 x 32.
TTurnedFrames turnedFrames(4 << 20);

}  // namespace

void ClearMissileFrames() { turnedFrames.Clear(); }

int TMissile::DrawMissile(int offX, int offY) {
  if (owner == 2) return 0;
  TImagePtr img = TileImage(tileID);
  const TTile* tile = TileAt(tileID);
  MidHandleImage(img);
  SetRotation(static_cast<float>(rotation));
  DrawImage(img, std::floor(X + offX + 16.0f), std::floor(Y + offY + 16.0f),
            tile ? tile->currentFrame : 0, turnedFrames);
  SetRotation(0.0f);
  SetImageHandle(img, 0.0f, 0.0f);
  // The angle is never brought back into 0 to 359; a long spin wraps around as an int32.
  rotation = WrappingAdd(rotation, rotationDiff);
  return 0;
}

namespace {

// The trigger number that a trigger missile of this (negative) damage runs.
int TriggerOfDamage(int damage) { return damage == INT32_MIN ? 0 : -damage; }

void RunMissileTrigger(int damage) {
  targetActor.clear();
  RunTrigger(TriggerOfDamage(damage));
}

}  // namespace

int TMissile::MoveMissile() {
  auto remove = [this] { ListRemove(missileList, this); };

  if (owner == 2) {
    X += speedX;
    Y += speedY;
  } else {
    X += speedX * Delta;
    Y += speedY * Delta;
  }

  if (owner == 2 && range >= 12.0f) {
    TMapPtr map = currentMap;
    if (map && CheckTileTriggerTalk(FloatToInt(X), FloatToInt(Y), *map, 2, rotation) > 0) {
      if (lua) {
        lua->BeginLUAFunctionCall();
        lua->AddNumberParameter(player ? player->facing : 0);
        lua->CallFunction("setTriggerDirection", 1);
      }
      // Asked again: setTriggerDirection may have changed the cell.
      RunTrigger(CheckTileTriggerTalk(FloatToInt(X), FloatToInt(Y), *map, 2, rotation));
      remove();
    }
  }

  if (range > 0.0f) {
    range -= std::fabs(speedX * Delta) + std::fabs(speedY * Delta);
    if (!(range > 0.0f)) {
      if (damage < 0 && owner < 2) RunMissileTrigger(damage);
      remove();
    }
  }

  if (TMapPtr map = currentMap) {
    if (CheckFlyability(X + 16.0f, Y + 16.0f, 32, 32, *map, tileID, rotation) == 0) {
      if (damage < 0 && owner < 2) RunMissileTrigger(damage);
      remove();
    }
  }

  TImagePtr img = TileImage(tileID);
  int w = ImageWidth(img), h = ImageHeight(img);
  // A position that is not a number lies nowhere on the field.
  if (!std::isfinite(X) || !std::isfinite(Y) || X < -w || X > 640.0f || Y < -h || Y > 416.0f) {
    remove();
    return 0;
  }

  int x = FloatToInt(X), y = FloatToInt(Y);
  if (owner == 1) {
    TPlayerPtr p = player;
    if (p && p->TouchedBy(img, x, y, w, h, 0)) {
      if (damage >= 0) p->HitActor(damage, speedX * Delta, speedY * Delta, p->facing);
      else RunTrigger(TriggerOfDamage(damage));
      remove();
    }
  } else if (owner == 0) {
    for (const TActorPtr& npc : npcList) {
      if (!npc->TouchedBy(img, x, y, w, h, 0)) continue;
      if (damage >= 0) {
        npc->HitActor(damage, speedX * Delta, speedY * Delta, npc->facing);
      } else {
        targetActor = npc->name;
        RunTrigger(TriggerOfDamage(damage));
        targetActor.clear();
      }
      remove();
    }
  } else if (owner == 2) {
    for (const TActorPtr& npc : npcList) {
      if (!npc->TouchedBy(img, x, y, 32, 32, 0)) continue;
      RunTrigger(npc->talkTrigger);
      remove();
    }
  }
  return 0;
}

int AddMissile(int tileID, float X, float Y, float speedX, float speedY, int owner, int damage,
               int range, int rotationDiff) {
  missileList.AddLast(TMissile::Create(tileID, X, Y, speedX, speedY, owner, damage, range, rotationDiff));
  return 0;
}

int CheckMissileCount(int owner) {
  int n = 0;
  for (const TMissilePtr& m : missileList)
    if (m->owner == owner) ++n;
  return n;
}

int ClearMissileList() {
  ClearList(missileList);
  ClearList(meleeList);
  if (player) player->melee = 0;
  return 0;
}
