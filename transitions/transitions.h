#pragma once
// Map transitions, NPC status files and saved games.
#include <string>
#include "world/map.h"

int TransitionMap(TMapPtr& current, TMapPtr& next, int type);
int SaveMapStatus();
int SaveGame(const std::string& savePath, const std::string& slotDir);
int LoadGame(const std::string& savePath, const std::string& slotDir);
