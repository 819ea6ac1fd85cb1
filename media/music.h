#pragma once
// Music sources: PCM handed out on request, with numbered properties, and the registry of
// loaders that open a file as a music source (each is tried in turn until one accepts it).
#include <cstdint>
#include <memory>
#include <string>
#include "platform/files/stream.h"
#include "platform/system/list.h"

// Sample format codes of STREAM_FORMAT.
enum { MUSIC_MONO8 = 200, MUSIC_MONO16 = 201, MUSIC_STEREO8 = 202, MUSIC_STEREO16 = 203 };

// What a loader opens: a file path, or a stream that is already open.
struct TMusicUrl {
  TMusicUrl(std::string filePath) : path(std::move(filePath)) {}
  TMusicUrl(const char* filePath) : path(filePath) {}
  TMusicUrl(TStreamPtr openStream) : stream(std::move(openStream)) {}
  std::string path;
  TStreamPtr stream;
};
// The stream itself, or the file opened for reading; null when it cannot be opened.
TStreamPtr OpenMusicFile(const TMusicUrl& url);

class TMusic {
public:
  virtual ~TMusic() = default;
  std::string DebugData;
  int32_t PlayStatus = 0;  // 1 while being played; 0 once a source that does not loop ends
  int32_t SAMPLE_RATE = 44100;
  int32_t STREAM_FORMAT = MUSIC_STEREO16;
  int32_t STREAM_LOOP = 1;
  int32_t STREAM_POS = 0;   // delivered since the start, in the reader's unit
  int32_t STREAM_SIZE = 0;  // length of the data in the same unit

  virtual int WriteBug(const std::string& text);
  // Releases what the source holds.
  virtual int Free();
  // Writes the next `length` bytes to buffer. At the end of the data a looping source goes
  // on from its loop point in the same buffer; one that does not loop fills the rest of the
  // buffer with silence, sets PlayStatus 0 and stops. Always 0.
  virtual int FillBuffer(uint8_t* buffer, int length) = 0;
  // Rewinds to the loop point; STREAM_POS 0.
  virtual int Stop() = 0;
  virtual int Setf(int property, float value);
  virtual float Getf(int property);
  // Codes: 1 size, 2 position, 3 play status (read-only), 4 format (200..203), 5 rate,
  // 7 loop. Seti answers 1 when it stored the value.
  virtual int Seti(int property, int32_t value);
  virtual int32_t Geti(int property);
  virtual std::string GetS(int property);
};
using TMusicPtr = std::shared_ptr<TMusic>;

using TMusicLoaderFunc = TMusicPtr (*)(const TMusicUrl& url);

class OrvaneLoader {
public:
  std::string Name;
  TMusicLoaderFunc Func = nullptr;
  std::string Ext;

  // Every loader ever made, in the order of registration.
  static TList<OrvaneLoader>& List();
  // Registers a loader.
  static void Create(TMusicLoaderFunc func, const std::string& name, const std::string& ext);
  // A file-requester filter: "label:ext,ext;label:ext;...".
  static std::string GetExtensions(int all, int allFiles);
  // The first registered loader that accepts the url; a stream is rewound for each.
  static TMusicPtr Load(const TMusicUrl& url);
};

void MusicModuleInit();
TMusicPtr LoadMusic(const TMusicUrl& url);
int FreeMusic(const TMusicPtr& music);
std::string MusicExtensions(int all, int allFiles);
int32_t GetBytesPerSample(int32_t format);

// The two readers and their loaders.
TMusicPtr Orvane_Loader_wav(const TMusicUrl& url);
TMusicPtr Orvane_Loader_Ogg(const TMusicUrl& url);
// The next 4 bytes as text; bytes missing at the end read as 0.
std::string ReadChunkTag(const TStreamPtr& stream);
