// WAV sound effects: the RIFF chunk parser behind LoadSound.
#include "platform/audio/sound_data.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TSoundData sound;
  ParseWav(data, size, sound);
  return 0;
}
