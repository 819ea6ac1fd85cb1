#pragma once
// Actors: NPCs and (as TPlayer) the player.
#include <memory>
#include <string>
#include "platform/graphics/graphics.h"
#include "world/item.h"
#include "world/map.h"

class TActor;
using TActorPtr = std::shared_ptr<TActor>;

class TActor {
public:
  virtual ~TActor() = default;

  int tileID = 0;
  float X = 0.0f;
  float Y = 0.0f;
  float speedX = 0.0f;
  float speedY = 0.0f;
  float walkSpeed = 6.0f;
  int facing = 0;  // 0 up, 1 down, 2 left, 3 right
  int frame = 0;
  int currentFrame = 0;
  float tempCount = 0.0f;
  float tempLogic = 0.0f;
  int footprintID = 0;
  int invincible = 0;
  int unmovable = 0;
  int frames = 2;
  int framedir = 1;
  std::string name;
  int life = 0;
  int maxLife = 0;
  int attitude = 0;
  int movement = 0;
  int damage = 0;
  int moveToX = -1;
  int moveToY = -1;
  int moveGoal = 0;
  int moveCurrent = 0;
  float waitUntil = 0.0f;
  int deathTrigger = 0;
  int talkTrigger = 0;
  TItemPtr primary;

  static TActorPtr Create(int tileID, int footprintID, float X, float Y, float speedX, float speedY,
                          int facing, const std::string& name, int life, int maxLife, int attitude,
                          int movement, float walkSpeed, int damage, int deathTrigger,
                          int talkTrigger, int itemIndex);
  static int CompareY(const TActor& o1, const TActor& o2);

  int AvoidActor(const TActor& other);
  TActorPtr CopyActor(const std::string& name, float X, float Y) const;
  int DrawActor(int offX, int offY);
  int FaceActor(const TActor& other);
  int FollowActor(const TActor& other);
  int GiveLife(int n);
  int BumpActor(float otherX, float otherY, float otherSpeedX, float otherSpeedY, int facing);
  int HitActor(int damage, float pushX, float pushY, int facing);
  int MoveActor(float newX, float newY, TMap& map, int facingOverride, int animate);
  int TakeLife(int n);
  // True when frame `frame` of `image` at (x, y), pre-tested as a w x h box, meets this
  // actor's sprite.
  bool TouchedBy(const TImagePtr& image, int x, int y, int w, int h, int frame) const;
  virtual int TriggerEvent(float x, float y, TMap& map);
  virtual int UpdateActor();
};
