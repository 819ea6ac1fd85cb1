// The music source base and the loader registry.
#include <algorithm>
#include <cctype>
#include "media/music.h"

TStreamPtr OpenMusicFile(const TMusicUrl& url) {
  if (url.stream) return url.stream;
  return ReadStream(url.path);
}

int TMusic::WriteBug(const std::string& text) {
  DebugData += text;
  return 0;
}

int TMusic::Free() { return 0; }

int TMusic::Setf(int, float) { return 0; }

float TMusic::Getf(int) { return 0.0f; }

int TMusic::Seti(int property, int32_t value) {
  switch (property) {
    case 4:
      if (GetBytesPerSample(value) == 0) return 0;
      STREAM_FORMAT = value;
      return 1;
    case 5: SAMPLE_RATE = value; return 1;
    case 7: STREAM_LOOP = value; return 1;
    default: return 0;
  }
}

int32_t TMusic::Geti(int property) {
  switch (property) {
    case 1: return STREAM_SIZE;
    case 2: return STREAM_POS;
    case 3: return PlayStatus;
    case 4: return STREAM_FORMAT;
    case 5: return SAMPLE_RATE;
    case 7: return STREAM_LOOP;
    default: return 0;
  }
}

std::string TMusic::GetS(int) { return ""; }

TList<OrvaneLoader>& OrvaneLoader::List() {
  static TList<OrvaneLoader> list;
  return list;
}

void OrvaneLoader::Create(TMusicLoaderFunc func, const std::string& name, const std::string& ext) {
  auto loader = std::make_shared<OrvaneLoader>();
  loader->Func = func;
  loader->Name = name;
  loader->Ext = ext;
  List().AddLast(loader);
}

namespace {

std::string Lower(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return s;
}

}  // namespace

std::string OrvaneLoader::GetExtensions(int all, int allFiles) {
  const auto loaders = List().ToVector();
  std::string out;
  if (all) {
    out += "All supported:";
    for (size_t i = 0; i < loaders.size(); ++i) out += (i ? "," : "") + Lower(loaders[i]->Ext);
  }
  for (const auto& loader : loaders) {
    if (!out.empty()) out += ";";
    out += loader->Name + ":" + Lower(loader->Ext);
  }
  if (allFiles) {
    if (!out.empty()) out += ";";
    out += "All Files:*";
  }
  return out;
}

TMusicPtr OrvaneLoader::Load(const TMusicUrl& url) {
  for (const auto& loader : List().ToVector()) {
    if (url.stream) SeekStream(url.stream, 0);
    if (!loader->Func) continue;
    if (TMusicPtr music = loader->Func(url)) return music;
  }
  return nullptr;
}

void MusicModuleInit() { OrvaneLoader::List(); }

TMusicPtr LoadMusic(const TMusicUrl& url) { return OrvaneLoader::Load(url); }

int FreeMusic(const TMusicPtr& music) {
  if (music) music->Free();
  return 0;
}

std::string MusicExtensions(int all, int allFiles) { return OrvaneLoader::GetExtensions(all, allFiles); }

int32_t GetBytesPerSample(int32_t format) {
  switch (format) {
    case MUSIC_MONO8: return 1;
    case MUSIC_MONO16: return 2;
    case MUSIC_STEREO8: return 2;
    case MUSIC_STEREO16: return 4;
    default: return 0;
  }
}
