// Byte streams over C files. Every multi-byte number is put together byte by byte in the
// stream's order, so the host's own order never leaks into files.
#include "platform/files/stream.h"

#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

#include <utility>

#include "platform/files/files.h"
#include "platform/files/places.h"

namespace {

bool BigOrder(const TStreamPtr& s) {
  // Native is the order of the machines the program runs on: little-endian (x86-64).
  return s->order == TStream::Order::Big;
}

// Reads `count` bytes; those past the end are zero.
void ReadRaw(const TStreamPtr& s, unsigned char* bytes, size_t count) {
  std::memset(bytes, 0, count);
  if (s && s->file) std::fread(bytes, 1, count, s->file);
}

uint32_t ReadNumber(const TStreamPtr& s, int width) {
  unsigned char b[4];
  ReadRaw(s, b, static_cast<size_t>(width));
  if (!s) return 0;
  uint32_t v = 0;
  for (int i = 0; i < width; ++i) {
    int at = BigOrder(s) ? i : width - 1 - i;
    v = (v << 8) | b[at];
  }
  return v;
}

void MarkFailed(const TStreamPtr& s) {
  if (!s->failed) s->error = errno;
  s->failed = true;
}

void WriteRaw(const TStreamPtr& s, const void* bytes, size_t count) {
  if (!s || !s->file) return;
  if (std::fwrite(bytes, 1, count, s->file) != count) MarkFailed(s);
}

TStreamPtr Opened(int fd, bool writable, const std::string& path) {
  if (fd < 0) return nullptr;
  std::FILE* f = fdopen(fd, writable ? "wb" : "rb");
  if (!f) {
    close(fd);
    return nullptr;
  }
  return std::make_shared<TStream>(f, writable, path);
}

void WriteNumber(const TStreamPtr& s, uint32_t v, int width) {
  if (!s) return;
  unsigned char b[4];
  for (int i = 0; i < width; ++i) {
    int shift = 8 * (BigOrder(s) ? width - 1 - i : i);
    b[i] = static_cast<unsigned char>(v >> shift);
  }
  WriteRaw(s, b, static_cast<size_t>(width));
}

}  // namespace

TStream::TStream(std::FILE* f, bool canWrite, std::string name)
    : file(f), writable(canWrite), path(std::move(name)) {}

TStream::~TStream() {
  if (file) std::fclose(file);
}

TStreamPtr ReadStream(const std::string& path, int64_t maxBytes) {
  return Opened(files::OpenForReading(path, maxBytes, "read"), false, path);
}

TStreamPtr WriteStream(const std::string& path) {
  FileStep();
  return Opened(files::OpenForWriting(path, "write", true), true, path);
}

TStreamPtr BigEndianStream(const TStreamPtr& stream) {
  if (stream) stream->order = TStream::Order::Big;
  return stream;
}

TStreamPtr LittleEndianStream(const TStreamPtr& stream) {
  if (stream) stream->order = TStream::Order::Little;
  return stream;
}

int32_t ReadInt(const TStreamPtr& stream) { return static_cast<int32_t>(ReadNumber(stream, 4)); }

int32_t ReadShort(const TStreamPtr& stream) {
  return static_cast<int16_t>(static_cast<uint16_t>(ReadNumber(stream, 2)));
}

int32_t ReadByte(const TStreamPtr& stream) { return static_cast<int32_t>(ReadNumber(stream, 1)); }

float ReadFloat(const TStreamPtr& stream) {
  uint32_t bits = ReadNumber(stream, 4);
  float value;
  std::memcpy(&value, &bits, sizeof value);
  return value;
}

std::string ReadLine(const TStreamPtr& stream) {
  std::string line;
  if (!stream || !stream->file) return line;
  for (int c; (c = std::getc(stream->file)) != EOF;) {
    if (c == '\n' || c == '\0') break;
    if (c != '\r') line.push_back(static_cast<char>(c));
  }
  return line;
}

size_t ReadBytes(const TStreamPtr& stream, void* buffer, size_t count) {
  if (!stream || !stream->file || count == 0) return 0;
  return std::fread(buffer, 1, count, stream->file);
}

void WriteInt(const TStreamPtr& stream, int32_t value) {
  WriteNumber(stream, static_cast<uint32_t>(value), 4);
}

void WriteShort(const TStreamPtr& stream, int32_t value) {
  WriteNumber(stream, static_cast<uint32_t>(value), 2);
}

void WriteByte(const TStreamPtr& stream, int32_t value) {
  WriteNumber(stream, static_cast<uint32_t>(value), 1);
}

void WriteFloat(const TStreamPtr& stream, float value) {
  uint32_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  WriteNumber(stream, bits, 4);
}

void WriteLine(const TStreamPtr& stream, const std::string& text) {
  WriteRaw(stream, text.data(), text.size());
  WriteRaw(stream, "\r\n", 2);
}

size_t WriteBytes(const TStreamPtr& stream, const void* buffer, size_t count) {
  if (!stream || !stream->file || count == 0) return 0;
  size_t written = std::fwrite(buffer, 1, count, stream->file);
  if (written != count) MarkFailed(stream);
  return written;
}

bool Eof(const TStreamPtr& stream) {
  if (!stream || !stream->file) return true;
  if (stream->writable) return StreamPos(stream) >= StreamSize(stream);
  int c = std::getc(stream->file);
  if (c == EOF) return true;
  std::ungetc(c, stream->file);
  return false;
}

void SeekStream(const TStreamPtr& stream, int64_t pos) {
  if (!stream || !stream->file || pos < 0) return;
  fseeko(stream->file, static_cast<off_t>(pos), SEEK_SET);
}

int64_t StreamPos(const TStreamPtr& stream) {
  if (!stream || !stream->file) return 0;
  off_t pos = ftello(stream->file);
  return pos < 0 ? 0 : static_cast<int64_t>(pos);
}

int64_t StreamSize(const TStreamPtr& stream) {
  if (!stream || !stream->file) return 0;
  if (stream->writable) std::fflush(stream->file);
  struct stat st {};
  if (fstat(fileno(stream->file), &st) != 0) return 0;
  return static_cast<int64_t>(st.st_size);
}

bool CloseStream(const TStreamPtr& stream) {
  if (!stream) return false;
  if (stream->file) {
    if (stream->writable) FileStep();
    if (std::fflush(stream->file) != 0) MarkFailed(stream);
    if (std::fclose(stream->file) != 0) MarkFailed(stream);
    stream->file = nullptr;
  }
  if (stream->failed) files::Fail("write " + stream->path, files::Reason(stream->error));
  return !stream->failed;
}

bool ReplaceFile(const TStreamPtr& written, const std::string& temp, const std::string& path,
                 TKeep keep) {
  if (CloseStream(written) && (keep == TKeep::Scratch || SyncPath(temp)) &&
      RenameFile(temp, path))
    return true;
  DeleteFile(temp);
  return false;
}
