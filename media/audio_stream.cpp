// The stream factory, the refill hook on event emission and the streaming module's start-up.
#include "media/audio_stream.h"
#include "media/media.h"

TTimerPtr TAudioStream::Timer;

TAudioStream::~TAudioStream() = default;

void TAudioStream::Hook(const std::shared_ptr<TAudioStream>& self) {
  hookHandle_ = AddHook(EmitEventHook, &TAudioStream::eventhook, self, 0);
}

void TAudioStream::Unhook() {
  if (hookHandle_) RemoveHook(EmitEventHook, hookHandle_);
  hookHandle_ = 0;
}

void TAudioStream::eventhook(const TEvent& event, const std::shared_ptr<void>& context) {
  // Only streams add this hook, each with itself as the context.
  if (!context || event.id != EVENT_TIMERTICK || !Timer || event.source != Timer) return;
  static_cast<TAudioStream*>(context.get())->Update();
}

namespace {

// The stream kind of the current driver for the source; null when the driver plays none.
std::shared_ptr<TAudioStream> Attach(const TMusicPtr& source, int keep, int flag) {
  TChannelPtr probe = AllocChannel();
  if (!probe || probe->Kind() != "OpenAL") return nullptr;
  std::shared_ptr<TAudioStream> stream = TOpenALAudioStream::Build(source, flag);
  if (!stream) return nullptr;
  stream->KeepMusic = keep;
  return stream;
}

}  // namespace

std::shared_ptr<TAudioStream> TAudioStream::Create(const TMusicPtr& music, int loop, int flag) {
  AudioStreamModuleInit();
  if (!music) return nullptr;
  music->Seti(7, loop);
  return Attach(music, 1, flag);
}

std::shared_ptr<TAudioStream> TAudioStream::Create(const TMusicUrl& url, int loop, int flag) {
  AudioStreamModuleInit();
  TMusicPtr source = LoadMusic(url);
  if (!source) return nullptr;
  source->Seti(7, loop);
  std::shared_ptr<TAudioStream> stream = Attach(source, 0, flag);
  if (!stream) source->Free();
  return stream;
}

void AudioStreamModuleInit() {
  static bool started = false;
  if (started) return;
  started = true;
  EnableOpenALAudio();
  MusicModuleInit();
  if (!TAudioStream::Timer) TAudioStream::Timer = CreateTimer(120);
  OrvaneLoader::Create(Orvane_Loader_wav, "Microsoft Wave \".wav\"", "wav");
  OrvaneLoader::Create(Orvane_Loader_Ogg, "Ogg Vorbis \".ogg\"", "ogg");
}

TChannelPtr CreateAudioStream(const std::string& path, int loop, int flag) {
  return TAudioStream::Create(TMusicUrl(path), loop, flag);
}

TChannelPtr CreateAudioStream(const TMusicPtr& music, int loop, int flag) {
  return TAudioStream::Create(music, loop, flag);
}
