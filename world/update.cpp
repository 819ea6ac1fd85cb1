// One logic pass of the world, and the NPC list helpers.
#include "world/update.h"
#include "core/globals.h"
#include "world/collision.h"

namespace {

// The NPC's contact with the player after both have moved this pass; f is the player's
// facing from before the NPC loop, so touching never turns the player.
void TouchPlayer(TActor& npc, TPlayer& p, int f) {
  TImagePtr nimg = TileImage(npc.tileID);
  TImagePtr pimg = TileImage(p.tileID);
  int nx = FloatToInt(npc.X), ny = FloatToInt(npc.Y);
  int px = FloatToInt(p.X), py = FloatToInt(p.Y);
  if (RectsOverlap(nx, ny, ImageWidth(nimg), ImageHeight(nimg), px, py, 32, 32) != 1) return;
  if (ImagesCollide(nimg, nx, ny, npc.currentFrame, pimg, px, py, p.currentFrame) != 1) return;
  if (npc.attitude > 3 && npc.invincible == 0) p.HitActor(npc.damage, npc.speedX, npc.speedY, f);
  else if (npc.attitude >= 0) p.BumpActor(npc.X, npc.Y, npc.speedX, npc.speedY, f);
}

}  // namespace

int MoveActors() {
  if (TPlayerPtr p = player) {
    p->UpdateActor();
    if (p->melee != 0) {
      for (const TMeleePtr& m : meleeList) m->MoveMelee();
    } else if (TMapPtr map = currentMap) {
      p->MoveActor(p->X + p->speedX * Delta, p->Y + p->speedY * Delta, *map, -1, 1);
    }
  }

  const int f = player ? player->facing : 0;
  for (const TActorPtr& npc : npcList) {
    npc->UpdateActor();
    if (TMapPtr map = currentMap)
      npc->MoveActor(npc->X + npc->speedX * Delta, npc->Y + npc->speedY * Delta, *map, -1, 1);
    if (TPlayerPtr p = player) TouchPlayer(*npc, *p, f);
  }

  SortList<TActor>(npcList, false, TActor::CompareY);

  for (const TMissilePtr& m : missileList) m->MoveMissile();
  return 0;
}

int AddNPC(int type, float x, float y, const std::string& name) {
  if (type < 0 || static_cast<size_t>(type) >= npcType.size() || !npcType[type]) return 0;
  npcList.AddLast(npcType[type]->CopyActor(name, x, y));
  return 0;
}

int ClearNPCList() {
  ClearList(npcList);
  return 0;
}
