// BMP pictures.
#include <vector>

#include "platform/graphics/codecs/codecs.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  DecodeBmp(std::vector<uint8_t>(data, data + size));
  return 0;
}
