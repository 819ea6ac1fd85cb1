// "item.dat": 17 comma-separated fields a line, into the 48 item slots.
#include "core/tables.h"
#include "fuzz/harness.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  LoadItems(fuzz::InputFile(data, size, "item.dat"));
  return 0;
}
