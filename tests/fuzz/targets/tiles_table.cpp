// "tiles.dat": image names, frame counts and rates; the images come from the demo quest.
#include "core/tables.h"
#include "fuzz/harness.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::UseDemoQuest();
  LoadImages(fuzz::InputFile(data, size, "tiles.dat"));
  return 0;
}
