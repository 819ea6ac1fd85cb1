#pragma once
// Missiles in flight: the player's shots (owner 0), NPCs' shots (1) and the talk probe (2).
#include <memory>

class TMissile;
using TMissilePtr = std::shared_ptr<TMissile>;

class TMissile {
public:
  int tileID = 0;
  float X = 0.0f;
  float Y = 0.0f;
  float speedX = 0.0f;
  float speedY = 0.0f;
  int owner = 0;
  int damage = 0;
  float range = 0.0f;
  int rotation = 0;
  int rotationDiff = 0;

  static TMissilePtr Create(int tileID, float X, float Y, float speedX, float speedY, int owner,
                            int damage, int range, int rotationDiff);
  int DrawMissile(int offX, int offY);
  int MoveMissile();
};

int AddMissile(int tileID, float X, float Y, float speedX, float speedY, int owner, int damage,
               int range, int rotationDiff);
int CheckMissileCount(int owner);
// Lets go of the turned frames kept for drawing missiles (the tile table's images stay).
void ClearMissileFrames();
int ClearMissileList();
