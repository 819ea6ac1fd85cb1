#pragma once
// Byte streams over files with explicit byte order.
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

class TStream {
public:
  enum class Order { Native, Big, Little };
  TStream(std::FILE* file, bool writable, std::string path = "");
  ~TStream();
  TStream(const TStream&) = delete;
  TStream& operator=(const TStream&) = delete;

  std::FILE* file = nullptr;
  bool writable = false;
  Order order = Order::Native;
  bool failed = false;  // a write that could not be completed
  int error = 0;        // why, as an error number
  std::string path;
};
using TStreamPtr = std::shared_ptr<TStream>;

// Null when the file cannot be opened (read) or created (write), or is refused (files.h):
// a file read is one of at most maxBytes.
TStreamPtr ReadStream(const std::string& path, int64_t maxBytes = INT64_MAX);
TStreamPtr WriteStream(const std::string& path);
// Both return the same stream, set to read and write multi-byte numbers in that order.
TStreamPtr BigEndianStream(const TStreamPtr& stream);
TStreamPtr LittleEndianStream(const TStreamPtr& stream);

// Reads past the end give zero for the missing bytes and never fail.
int32_t ReadInt(const TStreamPtr& stream);
int32_t ReadShort(const TStreamPtr& stream);  // 16 bits, sign-extended
int32_t ReadByte(const TStreamPtr& stream);   // 0..255
float ReadFloat(const TStreamPtr& stream);
// Bytes up to LF or NUL (consumed, not returned); every CR dropped; "" past the end.
std::string ReadLine(const TStreamPtr& stream);
// Reads up to `count` bytes into buffer; returns the number read.
size_t ReadBytes(const TStreamPtr& stream, void* buffer, size_t count);

void WriteInt(const TStreamPtr& stream, int32_t value);
void WriteShort(const TStreamPtr& stream, int32_t value);
void WriteByte(const TStreamPtr& stream, int32_t value);  // the low 8 bits
void WriteFloat(const TStreamPtr& stream, float value);
void WriteLine(const TStreamPtr& stream, const std::string& text);  // adds CR LF
size_t WriteBytes(const TStreamPtr& stream, const void* buffer, size_t count);

bool Eof(const TStreamPtr& stream);
void SeekStream(const TStreamPtr& stream, int64_t pos);
int64_t StreamPos(const TStreamPtr& stream);
int64_t StreamSize(const TStreamPtr& stream);
// Flushes and closes; returns false when a write or the flush failed (FileFailure says why).
// Null does nothing.
bool CloseStream(const TStreamPtr& stream);
// How a replaced file must survive: a kept file (the configuration) is synced before it
// replaces the old one, so that a power cut leaves one of the two whole; a scratch file (the
// working folder's, which every start refills) is only renamed over it, never synced.
enum class TKeep { Kept, Scratch };
// Ends the writing of a file meant to replace another: closes the stream written to `temp`
// and renames it over `path`, so that a failed write leaves the old file whole; a kept file
// is synced first. False, with `temp` removed, when a step failed (FileFailure says why).
bool ReplaceFile(const TStreamPtr& written, const std::string& temp, const std::string& path,
                 TKeep keep);
