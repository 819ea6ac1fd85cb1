// Actor movement, contact and NPC behaviour.
#include <cmath>
#include <cstdint>
#include "core/globals.h"
#include "scripting/commands.h"
#include "scripting/engine.h"
#include "world/collision.h"

namespace {

int SpriteWidth(const TActor& a) { return ImageWidth(TileImage(a.tileID)); }
int SpriteHeight(const TActor& a) { return ImageHeight(TileImage(a.tileID)); }

int Walkable(const TActor& a, float x, float y, TMap& map) {
  return CheckWalkability(x, y, SpriteWidth(a), SpriteHeight(a), map, a.footprintID);
}

void RecomputeFrame(TActor& a) { a.currentFrame = SheetFrame(a.facing, a.frames, a.frame); }

}  // namespace

int TActor::MoveActor(float newX, float newY, TMap& map, int facingOverride, int animate) {
  if (lockControls == 1 && player && this == player.get()) return 0;
  if (newX == X && newY == Y) return 0;
  if (!std::isfinite(newX) || !std::isfinite(newY)) return 0;

  bool stepped = true;
  if (movement <= -1) {
    // Free movement: through walls, held inside the play field.
    if (newX >= 608.0f) newX = 607.0f;
    if (newY >= 384.0f) newY = 383.0f;
    if (newX < 0.0f) newX = 0.0f;
    if (newY < 0.0f) newY = 0.0f;
    X = newX;
    Y = newY;
  } else if (Walkable(*this, newX, newY, map) == 1) {
    X = newX;
    Y = newY;
  } else if (newX != X && newY != Y && Walkable(*this, newX, Y, map) == 1) {
    X = newX;  // a diagonal move slides along a wall: X first
  } else if (newX != X && newY != Y && Walkable(*this, X, newY, map) == 1) {
    Y = newY;
  } else {
    // Blocked; a straight move into a wall neither moves nor animates.
    stepped = false;
  }

  if (stepped) {
    if (animate == 1) tempCount += Delta * walkSpeed;
    if (tempCount > walkSpeed * 3.0f) {
      // A sheet without walking frames keeps frame 0.
      // In 64 bits: a frame from a save record may be anything an int holds.
      frame = frames > 0 ? static_cast<int>((int64_t{frame} + framedir) % frames) : 0;
      tempCount = 0.0f;
    }
  }

  if (speedX > 0.0f) facing = 3;
  else if (speedX < 0.0f) facing = 2;
  else if (speedY > 0.0f) facing = 1;
  else if (speedY < 0.0f) facing = 0;
  if (facingOverride != -1) facing = facingOverride;
  RecomputeFrame(*this);

  TriggerEvent(X, Y, map);
  return 0;
}

int TActor::UpdateActor() {
  TMapPtr map = currentMap;

  if (moveCurrent != moveGoal && moveToX != -1 && moveToY != -1) {
    auto axisSpeed = [this](int target, float pos) {
      if (static_cast<float>(target) - pos >= walkSpeed) return walkSpeed;
      if (pos - static_cast<float>(target) >= walkSpeed) return -walkSpeed;
      return 0.0f;
    };
    speedX = axisSpeed(moveToX, X);
    speedY = axisSpeed(moveToY, Y);
    bool arrived = std::fabs(X - static_cast<float>(moveToX)) < walkSpeed &&
                   std::fabs(Y - static_cast<float>(moveToY)) < walkSpeed;
    bool blocked = !arrived && map &&
                   Walkable(*this, X + speedX * Delta, Y + speedY * Delta, *map) == 0;
    if (arrived || blocked) {
      speedX = speedY = 0.0f;
      moveToX = moveToY = -1;
      moveCurrent = moveGoal;
    }
  }

  tempLogic += Delta * walkSpeed;
  if (!(tempLogic > walkSpeed)) return 0;
  tempLogic = 0.0f;
  if (invincible > 0) --invincible;
  if (unmovable > 0) --unmovable;

  if (movement > 0) {
    if (lua) {
      lua->BeginLUAFunctionCall();
      lua->AddStringParameter(name);
      lua->CallFunction("setCurrentNPC", 1);
      lua->BeginLUAFunctionCall();
      lua->AddNumberParameter(attitude);
      lua->CallFunction("setCurrentAttitude", 1);
    }
    RunTrigger(movement);
  } else if (movement == -1) {
    if (Rand(1, 5) == 2) {
      speedX = static_cast<float>(2 - Rand(1, 3)) * walkSpeed;
      speedY = static_cast<float>(2 - Rand(1, 3)) * walkSpeed;
    }
  }
  return 0;
}

int TActor::FaceActor(const TActor& other) {
  float dx = X - other.X, dy = Y - other.Y;
  if (std::fabs(dx) > std::fabs(dy)) facing = dx > 0.0f ? 2 : 3;
  else if (std::fabs(dy) > std::fabs(dx)) facing = dy > 0.0f ? 0 : 1;
  RecomputeFrame(*this);
  return 0;
}

namespace {

struct Around {
  bool left, right, up, down;
};

// The walkability one walking step away on each side, on the current map.
Around LookAround(const TActor& a) {
  if (!currentMap) return {false, false, false, false};
  TMap& map = *currentMap;
  return {Walkable(a, a.X - a.walkSpeed, a.Y, map) == 1, Walkable(a, a.X + a.walkSpeed, a.Y, map) == 1,
          Walkable(a, a.X, a.Y - a.walkSpeed, map) == 1, Walkable(a, a.X, a.Y + a.walkSpeed, map) == 1};
}

}  // namespace

int TActor::FollowActor(const TActor& other) {
  Around free = LookAround(*this);
  speedX = speedY = 0.0f;
  float dx = X - other.X, dy = Y - other.Y;
  float stop = attitude < 4 ? 42.0f : 32.0f;
  if (std::fabs(dx) < stop && std::fabs(dy) < stop) return 0;
  if (dx > walkSpeed && free.left) speedX = -walkSpeed;
  else if (dx < -walkSpeed && free.right) speedX = walkSpeed;
  if (dy > walkSpeed && free.up) speedY = -walkSpeed;
  else if (dy < -walkSpeed && free.down) speedY = walkSpeed;
  return 0;
}

int TActor::AvoidActor(const TActor& other) {
  Around free = LookAround(*this);
  speedX = speedY = 0.0f;
  float dx = X - other.X, dy = Y - other.Y;
  if (std::fabs(dx) > 132.0f && std::fabs(dy) > 132.0f) return 0;
  if (dx > 0.0f) {
    if (free.right) speedX = walkSpeed;
  } else if (dx < 0.0f) {
    if (free.left) speedX = -walkSpeed;
  } else if (free.right) {
    speedX = walkSpeed;
  } else if (free.left) {
    speedX = -walkSpeed;
  }
  if (dy > 0.0f) {
    if (free.down) speedY = walkSpeed;
  } else if (dy < 0.0f) {
    if (free.up) speedY = -walkSpeed;
  } else if (free.down) {
    speedY = walkSpeed;
  } else if (free.up) {
    speedY = -walkSpeed;
  }
  return 0;
}

bool TActor::TouchedBy(const TImagePtr& image, int x, int y, int w, int h, int frame) const {
  TImagePtr own = TileImage(tileID);
  const int ox = FloatToInt(X), oy = FloatToInt(Y);
  if (RectsOverlap(x, y, w, h, ox, oy, ImageWidth(own), ImageHeight(own)) != 1) return false;
  return ImagesCollide(image, x, y, frame, own, ox, oy, currentFrame) == 1;
}

int TActor::HitActor(int damage, float pushX, float pushY, int facing) {
  if (attitude <= 0 || invincible != 0) return 0;
  TakeLife(damage);
  invincible = 25;
  // The death steps may have switched maps; the knock-back happens on the map now current.
  if (TMapPtr map = currentMap)
    MoveActor(X + speedX + 3.0f * pushX, Y + speedY + 3.0f * pushY, *map, -1, 0);
  this->facing = facing;
  RecomputeFrame(*this);
  if (attitude == 2) attitude = 5;
  else if (attitude == 3) attitude = 6;
  return 0;
}

int TActor::BumpActor(float otherX, float otherY, float otherSpeedX, float otherSpeedY, int facing) {
  if (attitude <= 0 || invincible != 0 || unmovable != 0) return 0;
  float defaultX = 0.0f, defaultY = 0.0f;
  if (speedX == 0.0f && speedY == 0.0f) {
    defaultX = otherSpeedX;
    defaultY = otherSpeedY;
    if (otherSpeedX != 0.0f || otherSpeedY != 0.0f) unmovable = 15;
  }
  bool towardsX = (speedX > 0.0f && otherX > X) || (speedX < 0.0f && otherX < X);
  bool towardsY = (speedY > 0.0f && otherY > Y) || (speedY < 0.0f && otherY < Y);
  float pushX = towardsX ? -speedX : defaultX;
  float pushY = towardsY ? -speedY : defaultY;
  if (TMapPtr map = currentMap)
    MoveActor(X + (speedX + 2.0f * pushX) * Delta, Y + (speedY + 2.0f * pushY) * Delta, *map, -1, 0);
  this->facing = facing;
  RecomputeFrame(*this);
  return 0;
}
