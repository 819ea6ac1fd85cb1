// Frame drawing: map layers, actors in depth order, overlay and the interface strip.
#include <algorithm>
#include "core/game.h"
#include "core/globals.h"

namespace {

// The line an actor stands on: its top plus the height of its sprite (0 without one).
float DepthLine(const TActor& actor) {
  return actor.Y + static_cast<float>(ImageHeight(TileImage(actor.tileID)));
}

// The player's sprite, or the swings in progress in its place.
void DrawPlayerPlace() {
  if (!player) return;
  if (player->melee == 0) {
    player->DrawActor(0, 0);
    return;
  }
  for (const TMeleePtr& swing : meleeList) swing->DrawMelee(0, 0);
}

constexpr int kStripTop = 416;
constexpr int kHeartY = 432;

// Hearts at places first..last (counted from 1, x = 84 + 32 place); places that lie wholly
// off the picture are left out, so a huge life value costs nothing.
void DrawHearts(const TImagePtr& heart, long long first, long long last) {
  const long long lowest = -(ImageWidth(heart) / 32) - 3;
  const long long highest = (640 - 84) / 32;
  for (long long k = std::max(first, lowest); k <= std::min(last, highest); ++k)
    DrawImage(heart, static_cast<float>(84 + 32 * k), static_cast<float>(kHeartY));
}

}  // namespace

int DrawScreen() {
  if (currentMap) currentMap->DrawMap(0, 0);
  DrawActors();
  if (currentMap) currentMap->DrawOverlay(0, 0);
  DrawInterface();
  return 0;
}

int DrawActors() {
  bool placeDrawn = false;
  const float playerLine = player ? DepthLine(*player) : 0.0f;
  for (const TActorPtr& npc : npcList) {
    if (!placeDrawn && DepthLine(*npc) >= playerLine) {
      DrawPlayerPlace();
      placeDrawn = true;
    }
    npc->DrawActor(0, 0);
  }
  for (const TMissilePtr& missile : missileList) missile->DrawMissile(0, 0);
  if (!placeDrawn) DrawPlayerPlace();
  return 0;
}

int DrawInterface() {
  DrawImage(imgInterface, 0, kStripTop);
  DrawImage(imgGold, 300, 427);
  if (!player) return 0;
  const std::string gold = StringFromInt(player->gold);
  const int w = TextWidth(gold);
  SetColor(0, 0, 0);
  DrawText(gold, static_cast<float>(301 + (32 - w) / 2), 455);
  SetColor(175, 0, 0);
  DrawText(gold, static_cast<float>(300 + (32 - w) / 2), 454);
  SetColor(255, 255, 255);

  const long long life = player->life, maxLife = player->maxLife;
  const long long whole = life / 2, half = life % 2;
  if (life > 1) DrawHearts(imgLife[2], 1, whole);
  if (half == 1) DrawHearts(imgLife[1], whole + 1, whole + 1);
  if (maxLife - life > 1)
    DrawHearts(imgLife[0], whole + half + 1, whole + half + (maxLife - life) / 2);

  if (player->primary && player->primary->icon > 0) player->primary->DrawIcon(370, kHeartY);
  if (player->secondary && player->secondary->icon > 0) player->secondary->DrawIcon(426, kHeartY);
  return 0;
}
