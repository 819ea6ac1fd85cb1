// NPC lines: "npc.dat" and the per-map NPC status files share the loader. The actors take
// their frame counts and items from the demo quest's tile and item tables. The NPCs of the
// lines as read (the quest table's reading, which holds nothing back) then live a few ticks
// of the world around a player, on a map of the demo quest; the bounded reading of a map's
// status file is run too.
#include "core/globals.h"
#include "core/tables.h"
#include "fuzz/harness.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::LoadDemoTables();
  const std::string path = fuzz::InputFile(data, size, "input.map.npc");
  LoadMapNPCs(path);
  for (const TActorPtr& npc : LoadNPCs(path)) npcList.AddLast(npc->CopyActor("", -1.0f, -1.0f));
  currentMap = fuzz::DemoMap();
  player = TPlayer::CreatePlayer(0, 0, 300.0f, 200.0f, 0.0f, 0.0f, 1, "Fuzz", 6, 6, 0, 6.0f, 1);
  fuzz::PlayWorld();
  player = nullptr;
  return 0;
}
