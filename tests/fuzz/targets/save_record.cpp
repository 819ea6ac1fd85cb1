// Save records: a slot loaded from the record and an empty save script (its slot folder
// missing), so that the record is applied; then a few ticks of the world with the player it
// made, on a map of the demo quest. The map folder is an empty one, so that the working
// folder the load rebuilds costs little.
#include "core/globals.h"
#include "fuzz/harness.h"
#include "scripting/commands.h"
#include "transitions/transitions.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const TMapPtr map = [] {
    const TMapPtr demo = fuzz::DemoMap();
    InitLUA();
    settings->mapDir = fuzz::ScratchDir() + "/no-maps/";
    return demo;
  }();
  player = TPlayer::CreatePlayer(0, 0, 0.0f, 0.0f, 0.0f, 0.0f, 1, "Corvel", 6, 6, 0, 6.0f, 1);
  const std::string record = fuzz::InputFile(data, size, "0.FUZZ.sav");
  fuzz::InputFile(nullptr, 0, "0.FUZZ.sav.lua");
  currentMap = map->CopyMap();
  if (LoadGame(record, fuzz::ScratchDir() + "/no-slot") != 0) fuzz::PlayWorld();
  player = nullptr;
  return 0;
}
