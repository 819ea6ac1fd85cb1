#pragma once
// Sound files for tests.
#include <string>

namespace testsupport {

// The bytes of a short 16-bit mono PCM WAV file (half a second at 8000 Hz).
std::string TinyWav();

}  // namespace testsupport
