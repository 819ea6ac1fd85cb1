// The WAV music reader: PCM straight from a RIFF/WAVE file, chunk headers parsed once.
#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstring>
#include "media/music.h"

namespace {

class TWavStream : public TMusic {
public:
  TStreamPtr stream;
  int64_t loopseek = 0;  // file position of the first sample byte

  int Free() override { return 0; }

  int FillBuffer(uint8_t* buffer, int length) override {
    int done = 0;
    while (done < length) {
      const int want = static_cast<int>(std::min<int64_t>(length - done, STREAM_SIZE - STREAM_POS));
      if (want > 0) {
        const size_t got = ReadBytes(stream, buffer + done, static_cast<size_t>(want));
        Silence(buffer + done + got, static_cast<size_t>(want) - got);
      }
      done += want;
      STREAM_POS += want;
      if (STREAM_POS < STREAM_SIZE) break;
      // The end of the data: a looping piece goes on from its loop point in the same buffer.
      if (STREAM_LOOP != 1) {
        Silence(buffer + done, static_cast<size_t>(length - done));
        PlayStatus = 0;
        Stop();
        break;
      }
      SeekStream(stream, loopseek);
      STREAM_POS = 0;
      if (STREAM_SIZE == 0) {
        Silence(buffer + done, static_cast<size_t>(length - done));
        break;
      }
    }
    return 0;
  }

  int Stop() override {
    SeekStream(stream, loopseek);
    STREAM_POS = 0;
    return 0;
  }

private:
  // Silence of the format: 8-bit samples are unsigned, centred on 128.
  void Silence(uint8_t* at, size_t bytes) const {
    const bool eightBit = STREAM_FORMAT == MUSIC_MONO8 || STREAM_FORMAT == MUSIC_STEREO8;
    std::memset(at, eightBit ? 0x80 : 0, bytes);
  }
};

int32_t FormatCode(int bits, int channels) {
  if (bits == 8 && channels == 1) return MUSIC_MONO8;
  if (bits == 16 && channels == 1) return MUSIC_MONO16;
  if (bits == 8 && channels == 2) return MUSIC_STEREO8;
  if (bits == 16 && channels == 2) return MUSIC_STEREO16;
  return 0;
}

constexpr int32_t kMaxRate = 192000;

// Four printable characters, as every chunk tag is.
bool TagAt(const TStreamPtr& file, int64_t at) {
  SeekStream(file, at);
  const std::string tag = ReadChunkTag(file);
  return std::all_of(tag.begin(), tag.end(),
                     [](char c) { return std::isprint(static_cast<unsigned char>(c)) != 0; });
}

// Where the chunk after a body of `size` bytes ending at `end` starts: an odd size is
// followed by a pad byte, unless its writer left that out (no tag after the pad byte, but
// one at `end` itself).
int64_t AfterChunk(const TStreamPtr& file, int64_t end, int64_t size) {
  if (!(size & 1)) return end;
  return !TagAt(file, end + 1) && TagAt(file, end) ? end : end + 1;
}

}  // namespace

std::string ReadChunkTag(const TStreamPtr& stream) {
  char tag[4] = {0, 0, 0, 0};
  ReadBytes(stream, tag, 4);
  return std::string(tag, 4);
}

TMusicPtr Orvane_Loader_wav(const TMusicUrl& url) {
  TStreamPtr file = LittleEndianStream(OpenMusicFile(url));
  if (!file) return nullptr;
  if (ReadChunkTag(file) != "RIFF") return nullptr;
  ReadInt(file);
  if (ReadChunkTag(file) != "WAVE" || ReadChunkTag(file) != "fmt ") return nullptr;
  const int32_t formatSize = ReadInt(file);
  if (formatSize < 16 || (ReadShort(file) & 0xFFFF) != 1) return nullptr;
  const int channels = ReadShort(file) & 0xFFFF;
  const int32_t rate = ReadInt(file);
  ReadInt(file);    // byte rate
  ReadShort(file);  // block align
  const int bits = ReadShort(file) & 0xFFFF;
  const int32_t format = FormatCode(bits, channels);
  if (!format || rate <= 0 || rate > kMaxRate) return nullptr;

  // A data size that runs past the end of the file is cut to what the file holds.
  const int64_t fileSize = StreamSize(file);
  int64_t at = AfterChunk(file, StreamPos(file) + (formatSize - 16), formatSize);
  int64_t dataSize = 0, dataStart = 0;
  while (at + 8 <= fileSize) {
    SeekStream(file, at);
    const std::string tag = ReadChunkTag(file);
    const int64_t size = static_cast<uint32_t>(ReadInt(file));
    at += 8;
    if (tag == "data") {
      dataStart = at;
      dataSize = std::min(size, fileSize - at);
      break;
    }
    at = AfterChunk(file, at + size, size);
  }
  // Whole sample frames only, so that a loop starts on the first channel.
  const int frameBytes = GetBytesPerSample(format);
  dataSize = std::min<int64_t>(dataSize, INT32_MAX);
  dataSize -= dataSize % frameBytes;

  auto wav = std::make_shared<TWavStream>();
  wav->stream = file;
  wav->loopseek = dataStart;
  wav->SAMPLE_RATE = rate;
  wav->STREAM_SIZE = static_cast<int32_t>(dataSize);
  wav->STREAM_FORMAT = format;
  SeekStream(file, dataStart);
  return wav;
}
