// Map files: the 7556-byte cell layout, read into a map in place.
#include "fuzz/harness.h"
#include "world/map.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const TMapPtr map = TMap::Create();
  map->LoadMap(fuzz::InputFile(data, size, "input.map"));
  map->CopyMap();
  return 0;
}
