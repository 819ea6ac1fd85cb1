// The Ogg Vorbis music reader: decodes on demand, one fill at a time, through vorbisfile
// reading the open file with callbacks of our own.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vorbis/vorbisfile.h>
#include "media/music.h"

namespace {

// The open file under the decoder's data source; null once the reader is freed.
std::FILE* Source(void* source) { return (*static_cast<TStreamPtr*>(source))->file; }

size_t OggStreamRead(void* memory, size_t size, size_t count, void* source) {
  std::FILE* file = Source(source);
  return file && size > 0 ? std::fread(memory, size, count, file) : 0;
}

// fseek and ftell on the open file, failures included: a file without positions (a pipe)
// must not pass for a seekable one of length 0, which the decoder would search without end.
int OggStreamSeek(void* source, ogg_int64_t offset, int origin) {
  std::FILE* file = Source(source);
  return file && fseeko(file, static_cast<off_t>(offset), origin) == 0 ? 0 : -1;
}

// The file stays open: rewinds open new decoders on it, and Free closes it.
int OggStreamClose(void*) { return 0; }

long OggStreamTell(void* source) {
  std::FILE* file = Source(source);
  return file ? static_cast<long>(ftello(file)) : -1;
}

const ov_callbacks kCallbacks = {OggStreamRead, OggStreamSeek, OggStreamClose, OggStreamTell};

class TOGGStream : public TMusic {
public:
  TStreamPtr stream;
  OggVorbis_File ogg{};
  bool open = false;  // `ogg` holds a decoder
  int channels = 2;

  ~TOGGStream() override { CloseDecoder(); }

  // A decoder over the file from its start; false when the data is not Ogg Vorbis with one
  // or two channels, or the file cannot be rewound.
  bool OpenDecoder() {
    CloseDecoder();
    if (OggStreamSeek(&stream, 0, SEEK_SET) != 0) return false;
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
      // A new decoder from the start of the file. vorbisfile's own seek back to the first
      // sample is not used: on a damaged file it can hand libogg a page whose bytes its
      // buffer has overwritten since, and that corrupts the heap.
      // A piece whose new decoder gave nothing, or that no longer opens, ends.
      if ((rewound && got == 0) || !OpenDecoder()) {
        std::memset(buffer + done, 0, static_cast<size_t>(length - done));
        PlayStatus = 0;
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
