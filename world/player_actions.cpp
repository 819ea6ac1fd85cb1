// What the player does on a key press: fire, swing, talk, and using an item in hand.
#include <cmath>
#include "core/game.h"
#include "core/globals.h"
#include "scripting/commands.h"
#include "world/melee.h"
#include "world/missile.h"
#include "world/player.h"
#include "world/wrapping.h"

namespace {

struct Velocity {
  float x, y;
};

// Splits speed s along the player's movement, or along its facing while it stands.
Velocity ShootingDirection(const TPlayer& p, float s) {
  if (p.speedX != 0.0f && p.speedY != 0.0f) s = std::sqrt(2.0f * s * s) / 2.0f;
  Velocity v{0.0f, 0.0f};
  switch (p.facing) {
    case 0: v = {0.0f, -s}; break;
    case 1: v = {0.0f, s}; break;
    case 2: v = {-s, 0.0f}; break;
    case 3: v = {s, 0.0f}; break;
    default: break;
  }
  if (p.speedX < 0.0f) v.x = -s;
  if (p.speedX > 0.0f) v.x = s;
  if (p.speedY < 0.0f) v.y = -s;
  if (p.speedY > 0.0f) v.y = s;
  return v;
}

}  // namespace

int TPlayer::FireMissile(const TItemPtr& it) {
  if (!it) return 0;
  Velocity v = ShootingDirection(*this, it->missileSpeed);
  if (it->UseItem() != 1 || CheckMissileCount(0) >= 3) return 0;
  if (it->ammoCount > 0) --it->ammoCount;
  AddMissile(it->ammoImage, X, Y, v.x, v.y, 0, it->damageRating, it->missileRange,
             it->missileRotationDiff);
  if (it->sound >= 0) PlaySoundEffect(it->sound);
  return 0;
}

int TPlayer::MeleeAttack(const TItemPtr& it) {
  if (melee != 0) return 1;
  if (!it) return 0;
  melee = 1;
  float k = static_cast<float>(WrappingMul(6, it->damageRating));
  float sx = 0.0f, sy = 0.0f;
  switch (facing) {
    case 0: sy = -k; break;
    case 1: sy = k; break;
    case 2: sx = -k; break;
    case 3: sx = k; break;
    default: break;
  }
  meleeList.AddLast(TMelee::Create(it->meleeImage, X, Y, sx, sy, 0, it->damageRating, facing));
  if (it->sound >= 0) PlaySoundEffect(it->sound);
  return 0;
}

int TPlayer::Talk() {
  Velocity v = ShootingDirection(*this, 8.0f);
  TImagePtr img = TileImage(tileID);
  int w = ImageWidth(img), h = ImageHeight(img);
  AddMissile(0, X + static_cast<float>((w - 32) / 2), Y + static_cast<float>((h - 32) / 2), v.x, v.y,
             2, 0, 1, 0);
  return 0;
}

int UseItem(const TItemPtr& item) {
  TPlayerPtr p = player;
  if (!p || !item) return 0;
  switch (item->itemType) {
    case 1: p->FireMissile(item); break;
    case 2:
      if (item->UseItem() == 1) RunTrigger(item->useTrigger);
      break;
    case 3: p->MeleeAttack(item); break;
    case 4:
      p->MeleeAttack(item);
      p->FireMissile(item);
      break;
    default: break;
  }
  return 0;
}
