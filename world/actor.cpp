// Actors: creation from table lines, copies of templates, drawing, depth order and life.
#include "world/actor.h"

#include <cmath>

#include "core/globals.h"
#include "platform/graphics/graphics.h"
#include "platform/system/clock.h"
#include "platform/system/random.h"
#include "platform/system/text.h"
#include "scripting/commands.h"
#include "world/tile.h"
#include "world/wrapping.h"

TActorPtr TActor::Create(int tileID, int footprintID, float X, float Y, float speedX,
                         float speedY, int facing, const std::string& name, int life,
                         int maxLife, int attitude, int movement, float walkSpeed, int damage,
                         int deathTrigger, int talkTrigger, int itemIndex) {
  auto actor = std::make_shared<TActor>();
  actor->tileID = tileID;
  actor->footprintID = footprintID;
  actor->X = X;
  actor->Y = Y;
  actor->speedX = speedX;
  actor->speedY = speedY;
  actor->facing = facing;
  actor->name = name;
  actor->life = life;
  actor->maxLife = maxLife;
  actor->attitude = attitude;
  actor->movement = movement;
  actor->walkSpeed = walkSpeed;
  actor->damage = damage;
  actor->deathTrigger = deathTrigger;
  actor->talkTrigger = talkTrigger;
  actor->primary = GameItemAt(itemIndex)->CopyItem();
  // A sprite sheet holds one row of frames per facing.
  actor->frames = TileFrames(tileID) / 4;
  actor->currentFrame = SheetFrame(actor->facing, actor->frames, actor->frame);
  return actor;
}

TActorPtr TActor::CopyActor(const std::string& newName, float newX, float newY) const {
  auto actor = std::make_shared<TActor>(*this);
  if (newX > -1.0f) actor->X = newX;
  if (newY > -1.0f) actor->Y = newY;
  if (!newName.empty()) actor->name = newName;
  actor->primary = primary ? primary->CopyItem() : nullptr;
  // The copy keeps the template's frame shown but starts its own walk cycle and timers.
  actor->frame = 0;
  actor->framedir = 1;
  actor->tempCount = actor->tempLogic = actor->waitUntil = 0.0f;
  actor->invincible = actor->unmovable = 0;
  return actor;
}

int TActor::CompareY(const TActor& o1, const TActor& o2) { return o1.Y <= o2.Y ? 1 : -1; }

int TActor::DrawActor(int offX, int offY) {
  // While invincible the sprite flickers in a new random tint every frame.
  const bool flicker = invincible != 0;
  if (flicker) {
    const int blue = Rand(1, 255);
    const int green = Rand(1, 255);
    const int red = Rand(1, 255);
    SetColor(red, green, blue);
  }
  DrawImage(TileImage(tileID), std::floor(X + static_cast<float>(offX)),
            std::floor(Y + static_cast<float>(offY)), currentFrame);
  if (flicker) SetColor(255, 255, 255);
  return 0;
}

int TActor::GiveLife(int n) {
  life = WrappingAdd(life, n);
  if (life > maxLife) life = maxLife;
  return 0;
}

int TActor::TakeLife(int n) {
  life = WrappingSub(life, n);
  if (life < 0) life = 0;
  if (life >= 1) return 0;
  // The death steps. The death script may drop this actor: nothing of it is read after it.
  triggerX = static_cast<float>(FloatToInt(X / 32.0f));
  triggerY = static_cast<float>(FloatToInt(Y / 32.0f));
  const TActor* self = this;
  RunTrigger(deathTrigger);
  npcList.Remove(self);
  if (npcList.IsEmpty() && currentMap) RunTrigger(currentMap->mapClearTrigger);
  return 0;
}

int TActor::TriggerEvent(float x, float y, TMap& map) {
  (void)x;
  (void)y;
  (void)map;
  return 0;
}
