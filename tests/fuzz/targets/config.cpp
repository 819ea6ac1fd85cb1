// "config.dat": switches, folder lines and key bytes.
#include "core/config.h"
#include "fuzz/harness.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::UseDemoQuest();
  LoadConfig(fuzz::InputFile(data, size, "config.dat"));
  return 0;
}
