#pragma once
// One logic pass of the world, and the NPC list helpers.
#include <string>

int MoveActors();
int AddNPC(int type, float x, float y, const std::string& name);
int ClearNPCList();
