// Word-wrapped text: the first four bytes are the width (a float), the rest the text.
#include <cstring>
#include <string>

#include "dialogs/text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  float width = 0.0f;
  if (size >= sizeof width) {
    std::memcpy(&width, data, sizeof width);
    data += sizeof width;
    size -= sizeof width;
  }
  const std::string text(reinterpret_cast<const char*>(data), size);
  WrapText(text, width);
  return 0;
}
