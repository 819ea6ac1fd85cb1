// "music.dat": one music file per line.
#include "core/tables.h"
#include "fuzz/harness.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::UseDemoQuest();
  LoadMusic(fuzz::InputFile(data, size, "music.dat"));
  return 0;
}
