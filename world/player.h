#pragma once
// The player: an actor with gold, 48 inventory slots, a second item in hand and melee state.
#include <array>
#include "world/actor.h"

constexpr int INVENTORY_SLOTS = 48;

class TPlayer;
using TPlayerPtr = std::shared_ptr<TPlayer>;

class TPlayer : public TActor {
public:
  int gold = 0;
  std::array<TItemPtr, INVENTORY_SLOTS> item;
  TItemPtr secondary;
  int melee = 0;
  float tempMelee = 0.0f;

  static TPlayerPtr CreatePlayer(int tileID, int footprintID, float X, float Y, float speedX,
                                 float speedY, int facing, const std::string& name, int life,
                                 int maxLife, int gold, float walkSpeed, int deathTrigger);
  int FireMissile(const TItemPtr& item);
  int GiveGold(int amount);
  int GiveItem(int itemID);
  int MeleeAttack(const TItemPtr& item);
  int SetPrimary(int itemID);
  int SetSecondary(int itemID);
  int Talk();
  int TakeGold(int amount);
  int TakeItem(int itemID, int oneUnit);
  int TriggerEvent(float x, float y, TMap& map) override;
  int UpdateActor() override;
};
