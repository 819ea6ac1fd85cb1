#pragma once
// What the fuzz targets share. Loaders that take a path get the input as a file of this
// process's own; loaders that read further files by name (tile images, sounds, the tile and
// item tables behind NPC lines) find them in the demo quest of the build tree.
#include <cstddef>
#include <cstdint>
#include <string>

#include "world/map.h"

namespace fuzz {

// Writes the input to this process's scratch file (named `name`) and returns its path.
std::string InputFile(const uint8_t* data, size_t size, const std::string& name = "input");
// The scratch folder of this process, without a final "/"; removed when the process ends.
std::string ScratchDir();
// Points `settings` at the demo quest, with the user folder in the scratch folder, and makes
// `editor`. Once per process.
void UseDemoQuest();
// UseDemoQuest, then the demo quest's tile and item tables into `Tile` and `gameItem`.
void LoadDemoTables();
// The demo quest's first map, loaded once; every call gives a fresh copy of it.
TMapPtr DemoMap();
// A few logic ticks of the world as play runs them, on `currentMap` with `npcList` and
// `player` (when there is one), then its actors, missiles and interface strip drawn (the
// map's layers are left to the map target: they take the most time). First the player
// talks and uses the items in its hands: missiles, the talk probe and swings fly too. The
// lists are emptied afterwards. No trigger runs (the trigger table is empty).
void PlayWorld(int ticks = 4);

}  // namespace fuzz
