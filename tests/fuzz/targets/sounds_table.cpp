// "sounds.dat": one sound file per line, loaded from the demo quest's sound folder.
#include "core/tables.h"
#include "fuzz/harness.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::UseDemoQuest();
  LoadSounds(fuzz::InputFile(data, size, "sounds.dat"), 0);
  return 0;
}
