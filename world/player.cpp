// The player: creation, gold, inventory, items in hand, touch triggers, per-tick bookkeeping.
#include "world/player.h"
#include <cmath>
#include "core/globals.h"
#include "scripting/commands.h"
#include "world/collision.h"
#include "world/wrapping.h"

namespace {

int SlotID(const TItemPtr& item) { return item ? item->itemID : 0; }

}  // namespace

TPlayerPtr TPlayer::CreatePlayer(int tileID, int footprintID, float X, float Y, float speedX,
                                 float speedY, int facing, const std::string& name, int life,
                                 int maxLife, int gold, float walkSpeed, int deathTrigger) {
  auto p = std::make_shared<TPlayer>();
  p->tileID = tileID;
  p->footprintID = footprintID;
  p->X = X;
  p->Y = Y;
  p->speedX = speedX;
  p->speedY = speedY;
  p->facing = facing;
  p->name = name;
  p->life = life;
  p->maxLife = maxLife;
  p->gold = gold;
  p->walkSpeed = walkSpeed;
  p->deathTrigger = deathTrigger;
  p->frame = 0;
  p->attitude = 1;
  for (auto& slot : p->item) slot = std::make_shared<TItem>();
  p->primary = std::make_shared<TItem>();
  p->secondary = std::make_shared<TItem>();
  const TTile* tile = TileAt(tileID);
  p->frames = tile ? tile->frames / 4 : 0;
  p->framedir = 1;
  // Drawn in the row of its facing from the first frame on, not the row of facing up.
  p->currentFrame = SheetFrame(p->facing, p->frames, p->frame);
  return p;
}

int TPlayer::GiveGold(int amount) {
  gold = WrappingAdd(gold, amount);
  return 0;
}

int TPlayer::TakeGold(int amount) {
  if (amount > gold) return 0;
  gold = WrappingSub(gold, amount);
  return 1;
}

int TPlayer::GiveItem(int itemID) {
  if (itemID == 0) return 0;
  int empty = -1;
  for (int i = 0; i < INVENTORY_SLOTS; ++i) {
    if (SlotID(item[i]) == itemID) {
      TItem& owned = *item[i];
      if (owned.ammoMax > 0) {
        int amount = 0;
        for (int k = 0; k < INVENTORY_SLOTS; ++k) {
          TItemPtr t = GameItemAt(k);
          if (t && t->itemID == itemID) amount = t->ammoCount;
        }
        owned.ammoCount = WrappingAdd(owned.ammoCount, amount);
        if (owned.ammoCount > owned.ammoMax) owned.ammoCount = owned.ammoMax;
      }
      return 0;
    }
    if (empty < 0 && SlotID(item[i]) == 0) empty = i;
  }
  if (empty < 0) return 0;
  for (int k = 0; k < INVENTORY_SLOTS; ++k) {
    TItemPtr t = GameItemAt(k);
    if (t && t->itemID == itemID) {
      item[empty] = t->CopyItem();
      RunTrigger(item[empty]->getTrigger);
      return 0;
    }
  }
  return 0;
}

int TPlayer::TakeItem(int itemID, int oneUnit) {
  for (auto& slot : item) {
    if (SlotID(slot) != itemID || !slot) continue;
    TItem& it = *slot;
    if (oneUnit == 0 || it.ammoCount == 1) {
      // Emptied in place, so a hand holding this object is emptied with it.
      it.itemID = 0;
      it.itemType = 0;
      it.ammoCount = 0;
      it.ammoMax = 0;
      it.icon = 0;
      it.useImage = 0;
      it.ammoImage = 0;
      it.useTrigger = 0;
      it.getTrigger = 0;
      it.name.clear();
      it.description.clear();
    } else {
      it.ammoCount = WrappingSub(it.ammoCount, 1);
    }
    return 1;
  }
  return 0;
}

int TPlayer::SetPrimary(int itemID) {
  for (auto& slot : item)
    if (slot && slot->itemID == itemID) primary = slot;
  return 0;
}

int TPlayer::SetSecondary(int itemID) {
  for (auto& slot : item)
    if (slot && slot->itemID == itemID) secondary = slot;
  return 0;
}

int TPlayer::TriggerEvent(float x, float y, TMap& map) {
  RunTrigger(CheckTileTrigger(FloatToInt(x), FloatToInt(y), map, 1, footprintID));
  return 0;
}

int TPlayer::UpdateActor() {
  tempLogic += Delta * walkSpeed;
  if (tempLogic > walkSpeed) {
    tempLogic = 0.0f;
    if (invincible > 0) --invincible;
    if (unmovable > 0) --unmovable;
  }
  speedX = std::floor(speedX);
  speedY = std::floor(speedY);
  return 0;
}
