// The WAV music reader: PCM straight from a RIFF/WAVE file, chunk headers parsed once.
#include <algorithm>
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
    if (length <= 0) return 0;
    if (static_cast<int64_t>(STREAM_POS) + length < STREAM_SIZE) {
      size_t got = ReadBytes(stream, buffer, static_cast<size_t>(length));
      std::memset(buffer + got, 0, static_cast<size_t>(length) - got);
      STREAM_POS += length;
      return 0;
    }
    int remain = STREAM_SIZE > STREAM_POS ? STREAM_SIZE - STREAM_POS : 0;
    size_t got = ReadBytes(stream, buffer, static_cast<size_t>(remain));
    std::memset(buffer + got, 0, static_cast<size_t>(length) - got);
    if (STREAM_LOOP == 1) {
      SeekStream(stream, loopseek);
      STREAM_POS = 0;
    } else {
      PlayStatus = 0;
      Stop();
    }
    return 0;
  }

  int Stop() override {
    SeekStream(stream, loopseek);
    STREAM_POS = 0;
    return 0;
  }
};

int32_t FormatCode(int bits, int channels) {
  if (bits == 8 && channels == 1) return MUSIC_MONO8;
  if (bits == 16 && channels == 1) return MUSIC_MONO16;
  if (bits == 8 && channels == 2) return MUSIC_STEREO8;
  if (bits == 16 && channels == 2) return MUSIC_STEREO16;
  return 0;
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
  if (!format) return nullptr;

  // Chunks are padded to an even size. A size that runs past the end of the file is cut to
  // what the file holds.
  const int64_t fileSize = StreamSize(file);
  int64_t at = StreamPos(file) + (formatSize - 16) + (formatSize & 1);
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
    at += size + (size & 1);
  }
  dataSize = std::min<int64_t>(dataSize, INT32_MAX);

  auto wav = std::make_shared<TWavStream>();
  wav->stream = file;
  wav->loopseek = dataStart;
  wav->SAMPLE_RATE = rate;
  wav->STREAM_SIZE = static_cast<int32_t>(dataSize);
  wav->STREAM_FORMAT = format;
  SeekStream(file, dataStart);
  return wav;
}
