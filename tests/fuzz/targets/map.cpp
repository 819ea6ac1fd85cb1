// Map files: the 7556-byte cell layout, read into a map in place; then a few ticks of the
// world on it: a player and the demo quest's NPC kinds walk and touch its cells, and it is
// drawn.
#include "core/globals.h"
#include "core/tables.h"
#include "fuzz/harness.h"
#include "world/update.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::LoadDemoTables();
  static const std::vector<TActorPtr> kinds = LoadNPCs(baseAppDir + "/npc.dat");
  const TMapPtr map = TMap::Create();
  map->LoadMap(fuzz::InputFile(data, size, "input.map"));
  currentMap = map->CopyMap();
  player = TPlayer::CreatePlayer(0, 0, 300.0f, 200.0f, 3.0f, 2.0f, 1, "Fuzz", 6, 6, 0, 6.0f, 1);
  for (size_t k = 0; k < kinds.size(); ++k) {
    TActorPtr npc = kinds[k]->CopyActor("", static_cast<float>(40 + 64 * (k % 9)),
                                        static_cast<float>(40 + 96 * (k / 9 % 4)));
    npc->speedX = 2.0f;
    npc->speedY = -1.0f;
    npcList.AddLast(npc);
  }
  fuzz::PlayWorld();
  currentMap->DrawMap(0, 0);
  currentMap->DrawOverlay(0, 0);
  player = nullptr;
  return 0;
}
