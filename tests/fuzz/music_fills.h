#pragma once
// Drives a music source the way the stream channel does: fills of the channel's buffer size
// through the end of the data (looping once), then a stop and one more fill.
#include <vector>

#include "fuzz/harness.h"
#include "media/music.h"

namespace fuzz {

inline void PlayMusic(const TMusicPtr& music) {
  if (!music) return;
  std::vector<uint8_t> buffer(8192);
  for (int fill = 0; fill < 64; ++fill) {
    music->FillBuffer(buffer.data(), static_cast<int>(buffer.size()));
    if (music->Geti(2) == 0) break;  // back at the loop point
  }
  music->Stop();
  music->FillBuffer(buffer.data(), static_cast<int>(buffer.size()));
  music->Free();
}

}  // namespace fuzz
