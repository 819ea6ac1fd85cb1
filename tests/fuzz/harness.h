#pragma once
// What the fuzz targets share. Loaders that take a path get the input as a file of this
// process's own; loaders that read further files by name (tile images, sounds, the tile and
// item tables behind NPC lines) find them in the demo quest of the build tree.
#include <cstddef>
#include <cstdint>
#include <string>

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

}  // namespace fuzz
