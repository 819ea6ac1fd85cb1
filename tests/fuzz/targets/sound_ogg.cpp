// Ogg Vorbis sound effects, decoded whole behind LoadSound.
#include "platform/audio/sound_data.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TSoundData sound;
  DecodeOggVorbis(data, size, sound);
  return 0;
}
