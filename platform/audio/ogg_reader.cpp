// Ogg Vorbis decoding of a whole file held in memory, through vorbisfile's callbacks.
#include <vorbis/vorbisfile.h>

#include <cstring>

#include "platform/audio/sound_data.h"

namespace {

struct TMemoryFile {
  const uint8_t* bytes;
  size_t size;
  size_t pos;
};

size_t ReadMemory(void* ptr, size_t size, size_t count, void* source) {
  auto* f = static_cast<TMemoryFile*>(source);
  if (size == 0) return 0;
  size_t items = (f->size - f->pos) / size;
  if (items > count) items = count;
  if (items == 0) return 0;  // an empty file has no bytes to copy from
  std::memcpy(ptr, f->bytes + f->pos, items * size);
  f->pos += items * size;
  return items;
}

int SeekMemory(void* source, ogg_int64_t offset, int whence) {
  auto* f = static_cast<TMemoryFile*>(source);
  ogg_int64_t base = whence == SEEK_SET ? 0 : whence == SEEK_CUR ? f->pos : f->size;
  ogg_int64_t target = base + offset;
  if (target < 0 || target > static_cast<ogg_int64_t>(f->size)) return -1;
  f->pos = static_cast<size_t>(target);
  return 0;
}

long TellMemory(void* source) { return static_cast<long>(static_cast<TMemoryFile*>(source)->pos); }

}  // namespace

bool DecodeOggVorbis(const uint8_t* bytes, size_t size, TSoundData& out) {
  TMemoryFile file{bytes, size, 0};
  ov_callbacks callbacks{ReadMemory, SeekMemory, nullptr, TellMemory};
  OggVorbis_File vf;
  if (ov_open_callbacks(&file, &vf, nullptr, 0, callbacks) != 0) return false;
  vorbis_info* info = ov_info(&vf, -1);
  if (!info || info->channels < 1 || info->channels > 2) {
    ov_clear(&vf);
    return false;
  }
  out.channels = info->channels;
  out.bits = 16;
  out.rate = static_cast<int>(info->rate);
  out.pcm.clear();
  char chunk[16384];
  int section = 0;
  for (;;) {
    long got = ov_read(&vf, chunk, sizeof chunk, 0, 2, 1, &section);
    if (got == OV_HOLE) continue;
    if (got <= 0) break;
    out.pcm.insert(out.pcm.end(), chunk, chunk + got);
  }
  ov_clear(&vf);
  return !out.pcm.empty();
}
