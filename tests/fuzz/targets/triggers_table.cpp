// "triggers.dat": one script file per line.
#include "core/tables.h"
#include "fuzz/harness.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::UseDemoQuest();
  LoadTriggers(fuzz::InputFile(data, size, "triggers.dat"));
  return 0;
}
