// Ogg Vorbis music: the streaming reader opened on the file, then filled through a loop and
// a stop.
#include "fuzz/music_fills.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::PlayMusic(Orvane_Loader_Ogg(fuzz::InputFile(data, size, "input.ogg")));
  return 0;
}
