// NPC lines: "npc.dat" and the per-map NPC status files share the loader. The actors take
// their frame counts and items from the demo quest's tile and item tables.
#include "core/tables.h"
#include "fuzz/harness.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::LoadDemoTables();
  LoadNPCs(fuzz::InputFile(data, size, "input.map.npc"));
  return 0;
}
