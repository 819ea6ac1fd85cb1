#pragma once
// A melee swing in progress, drawn in the player's place.
#include <memory>

class TMelee;
using TMeleePtr = std::shared_ptr<TMelee>;

class TMelee {
public:
  int tileID = 0;
  float X = 0.0f;
  float Y = 0.0f;
  float speedX = 0.0f;
  float speedY = 0.0f;
  int owner = 0;
  int damage = 0;
  int currentFrame = 0;
  int frames = 0;
  int frame = 0;
  int facing = 0;
  int count = 0;

  static TMeleePtr Create(int tileID, float X, float Y, float speedX, float speedY, int owner,
                          int damage, int facing);
  int DrawMelee(int offX, int offY);
  int MoveMelee();
};
