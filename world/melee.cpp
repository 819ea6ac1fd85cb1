// Melee swings: creation, drawing, and one logic pass that paces the frames and hits NPCs.
#include "world/melee.h"
#include "core/globals.h"

TMeleePtr TMelee::Create(int tileID, float X, float Y, float speedX, float speedY, int owner,
                         int damage, int facing) {
  auto m = std::make_shared<TMelee>();
  m->tileID = tileID;
  m->X = X;
  m->Y = Y;
  m->speedX = speedX;
  m->speedY = speedY;
  m->owner = owner;
  m->damage = damage;
  m->facing = facing;
  const TTile* tile = TileAt(tileID);
  m->frames = tile ? tile->frames / 4 : 0;
  m->frame = 0;
  m->count = 0;
  m->currentFrame = SheetFrame(m->facing, m->frames, m->frame);
  return m;
}

int TMelee::DrawMelee(int offX, int offY) {
  DrawImage(TileImage(tileID), X + offX, Y + offY, currentFrame);
  return 0;
}

int TMelee::MoveMelee() {
  TPlayerPtr p = player;
  if (!p) return 0;

  float tx = 0.0f, ty = 0.0f;
  switch (facing) {
    case 0: tx = X; ty = Y - 20.0f; break;
    case 1: tx = X; ty = Y + 20.0f; break;
    case 2: tx = X - 20.0f; ty = Y; break;
    case 3: tx = X + 20.0f; ty = Y; break;
    default: break;
  }

  p->tempMelee += Delta * p->walkSpeed;
  if (p->tempMelee > p->walkSpeed) {
    p->tempMelee = 0.0f;
    ++frame;
  }

  // A sheet without frames, or a walking speed that never paces a frame, ends the swing at
  // once, so that a bad item cannot freeze the player.
  if (frame >= frames || !(p->walkSpeed > 0.0f)) {
    frame = 0;
    p->melee = 0;
    ListRemove(meleeList, this);
    return 0;
  }

  currentFrame = SheetFrame(facing, frames, frame);

  TImagePtr img = TileImage(tileID);
  int x = FloatToInt(tx), y = FloatToInt(ty);
  int w = ImageWidth(img), h = ImageHeight(img);
  for (const TActorPtr& npc : npcList) {
    if (!npc->TouchedBy(img, x, y, w, h, currentFrame)) continue;
    npc->HitActor(damage, speedX, speedY, npc->facing);
  }
  return 0;
}
