// The Ogg Vorbis music reader: decodes on demand, one fill at a time, through vorbisfile
// reading the open file with callbacks of our own.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vorbis/vorbisfile.h>
#include "media/music.h"

namespace {

size_t OggStreamRead(void* memory, size_t size, size_t count, void* source) {
  if (size == 0) return 0;
  auto& stream = *static_cast<TStreamPtr*>(source);
  return ReadBytes(stream, memory, size * count) / size;
}

int OggStreamSeek(void* source, ogg_int64_t offset, int origin) {
  auto& stream = *static_cast<TStreamPtr*>(source);
  int64_t target;
  switch (origin) {
    case SEEK_SET: target = offset; break;
    case SEEK_CUR: target = StreamPos(stream) + offset; break;
    case SEEK_END: target = StreamSize(stream) + offset; break;
    default: return -1;
  }
  if (target < 0) return -1;
  SeekStream(stream, target);
  return StreamPos(stream) == target ? 0 : -1;
}

// The file stays open: Stop opens new decoders on it, and Free closes it.
int OggStreamClose(void*) { return 0; }

long OggStreamTell(void* source) { return static_cast<long>(StreamPos(*static_cast<TStreamPtr*>(source))); }

const ov_callbacks kCallbacks = {OggStreamRead, OggStreamSeek, OggStreamClose, OggStreamTell};

class TOGGStream : public TMusic {
public:
  TStreamPtr stream;
  OggVorbis_File ogg{};
  bool open = false;  // `ogg` holds a decoder
  int channels = 2;

  ~TOGGStream() override { CloseDecoder(); }

  // A decoder over the file from its start; false when the data is not Ogg Vorbis with one
  // or two channels.
  bool OpenDecoder() {
    CloseDecoder();
    SeekStream(stream, 0);
    if (ov_open_callbacks(&stream, &ogg, nullptr, 0, kCallbacks) != 0) return false;
    open = true;
    const vorbis_info* info = ov_info(&ogg, 0);
    if (!info || info->channels < 1 || info->channels > 2) {
      CloseDecoder();
      return false;
    }
    channels = info->channels;
    SAMPLE_RATE = static_cast<int32_t>(info->rate);
    return true;
  }

  void CloseDecoder() {
    if (open) ov_clear(&ogg);
    open = false;
  }

  // Decodes up to `bytes` of 16-bit stereo into buffer (mono is doubled onto both sides).
  // Returns the bytes delivered, or -1 when the decoder reported an error; fewer at the end
  // of the music.
  int Decode(uint8_t* buffer, int bytes) {
    const int want = channels == 2 ? bytes : bytes / 2;
    int got = 0, bitstream = 0;
    bool failed = false;
    while (open && got < want) {
      long n = ov_read(&ogg, reinterpret_cast<char*>(buffer) + got, want - got, 0, 2, 1, &bitstream);
      if (n == OV_HOLE) continue;
      if (n < 0) failed = true;
      if (n <= 0) break;
      got += static_cast<int>(n);
    }
    if (channels == 1) {
      auto* samples = reinterpret_cast<int16_t*>(buffer);
      for (int i = got / 2 - 1; i >= 0; --i) samples[2 * i] = samples[2 * i + 1] = samples[i];
      got *= 2;
    }
    std::memset(buffer + got, 0, static_cast<size_t>(bytes - got));
    return failed ? -1 : got;
  }

  int FillBuffer(uint8_t* buffer, int length) override {
    int done = 0;
    bool rewound = false;
    while (done < length) {
      int want = length - done;
      if (STREAM_SIZE > 0)
        want = static_cast<int>(std::min<int64_t>(want, (int64_t{STREAM_SIZE} - STREAM_POS) * 4));
      int got = want > 0 ? Decode(buffer + done, want) : 0;
      if (got < 0) got = want;  // a decoder error: the silence in its place counts as played
      done += got;
      STREAM_POS += got / 4;
      if (done == length && (STREAM_SIZE == 0 || STREAM_POS < STREAM_SIZE)) break;
      // The end of the piece: its count is reached, or the decoder ran dry before it. A
      // looping piece goes on from its start in the same buffer.
      if (STREAM_LOOP != 1) {
        std::memset(buffer + done, 0, static_cast<size_t>(length - done));
        PlayStatus = 0;
        Stop();
        break;
      }
      STREAM_POS = 0;
      // The decoder seeks back to the first sample, which costs far less than a new one; a
      // new one where it cannot. It opened before: without a decoder the piece ends.
      if (!(open && ov_pcm_seek(&ogg, 0) == 0) && !OpenDecoder()) PlayStatus = 0;
      // Nothing decoded since the last rewind: the rest of the buffer stays silent.
      if (!open || (rewound && got == 0)) {
        std::memset(buffer + done, 0, static_cast<size_t>(length - done));
        break;
      }
      rewound = true;
    }
    return 0;
  }

  int Stop() override {
    STREAM_POS = 0;
    OpenDecoder();
    return 0;
  }

  int Free() override {
    TMusic::Free();
    CloseDecoder();
    CloseStream(stream);
    return 0;
  }
};

}  // namespace

TMusicPtr Orvane_Loader_Ogg(const TMusicUrl& url) {
  TStreamPtr file = OpenMusicFile(url);
  if (!file) return nullptr;
  auto reader = std::make_shared<TOGGStream>();
  reader->stream = file;
  if (!reader->OpenDecoder()) return nullptr;
  const ogg_int64_t total = ov_pcm_total(&reader->ogg, 0);
  reader->STREAM_SIZE = total > 0 ? static_cast<int32_t>(std::min<ogg_int64_t>(total, INT32_MAX)) : 0;
  return reader;
}
