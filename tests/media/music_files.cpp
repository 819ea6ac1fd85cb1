#include "music_files.h"

#include <algorithm>
#include <cstring>
#include <vorbis/vorbisfile.h>

namespace mediatest {

std::string Pattern(size_t bytes) {
  std::string out(bytes, '\0');
  for (size_t i = 0; i < bytes; ++i) out[i] = static_cast<char>(i % 251);
  return out;
}

std::vector<int16_t> DecodeOggFile(const std::string& path) {
  std::vector<int16_t> out;
  OggVorbis_File file;
  if (ov_fopen(path.c_str(), &file) != 0) return out;
  char buffer[4096];
  int bitstream = 0;
  for (long n; (n = ov_read(&file, buffer, sizeof buffer, 0, 2, 1, &bitstream)) != 0;) {
    if (n < 0) continue;
    const auto* samples = reinterpret_cast<const int16_t*>(buffer);
    out.insert(out.end(), samples, samples + n / 2);
  }
  ov_clear(&file);
  return out;
}

ScriptedMusic::ScriptedMusic(std::string n, std::vector<std::string>* l, int size)
    : name(std::move(n)), log(l) {
  STREAM_SIZE = size;
}

int ScriptedMusic::FillBuffer(uint8_t* buffer, int length) {
  ++fills;
  std::memset(buffer, fills & 0xFF, static_cast<size_t>(length));
  if (onFill) onFill(fills);
  if (STREAM_SIZE == 0) return 0;
  STREAM_POS += length;
  if (STREAM_POS >= STREAM_SIZE) {
    if (STREAM_LOOP == 1) {
      STREAM_POS = 0;
    } else {
      PlayStatus = 0;
      Stop();
    }
  }
  return 0;
}

int ScriptedMusic::Stop() {
  STREAM_POS = 0;
  return 0;
}

int ScriptedMusic::Free() {
  ++frees;
  return 0;
}

int32_t ScriptedMusic::Geti(int property) {
  if (property == 3 && log) log->push_back(name);
  return TMusic::Geti(property);
}

}  // namespace mediatest
