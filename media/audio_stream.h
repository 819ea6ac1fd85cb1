#pragma once
// Music streams: audio channels that pull PCM from a music source and keep an OpenAL source
// fed from a ring of queued buffers, refilled on the ticks of one shared 120 Hz timer.
#include <array>
#include <cstdint>
#include <memory>
#include <vector>
#include "media/music.h"
#include "platform/audio/audio.h"
#include "platform/events/events.h"

class TAudioStream : public TChannel {
public:
  ~TAudioStream() override;
  TMusicPtr Music;
  int32_t paused = 0;
  int32_t samplerate = 44100;  // the source's own rate, taken when the stream starts
  int32_t KeepMusic = 0;  // 1: the caller's source, never freed by the stream

  // The refill, run on every tick of the shared timer.
  virtual void Update() = 0;

  // The shared refill timer, made by AudioStreamModuleInit.
  static TTimerPtr Timer;
  // A stream of the current driver playing the music (adopted, or opened through the loader
  // registry) with its loop flag set; null when the music cannot be opened or the driver
  // plays no streams. `flag` has no effect: streams start playing.
  static std::shared_ptr<TAudioStream> Create(const TMusicPtr& music, int loop, int flag);
  static std::shared_ptr<TAudioStream> Create(const TMusicUrl& url, int loop, int flag);
  // The hook every stream adds to event emission: refills on the shared timer's ticks.
  static void eventhook(const TEvent& event, const std::shared_ptr<void>& context);

protected:
  // Hooks the stream onto event emission; the hook keeps it alive until Unhook.
  void Hook(const std::shared_ptr<TAudioStream>& self);
  void Unhook();

private:
  int hookHandle_ = 0;
};

class TOpenALAudioStream : public TAudioStream {
public:
  static constexpr int kBufferCount = 16;
  static constexpr int kBufferSize = 8192;

  TOpenALAudioStream();
  ~TOpenALAudioStream() override;

  std::array<uint32_t, kBufferCount> _buffers{};
  int32_t _buffersize = kBufferSize;
  std::vector<std::vector<uint8_t>> _bufferbanks;  // staging memory per buffer
  uint32_t _source = 0;                             // 0 once stopped
  int32_t format = MUSIC_STEREO16;                  // the source's sample format

  // A hooked stream playing the source in its own format and rate, its buffers filled and
  // queued; null when OpenAL gives no source or the source's format or rate is none.
  static std::shared_ptr<TOpenALAudioStream> Build(const TMusicPtr& source, int flag);

  void Stop() override;
  void SetPaused(bool pause) override;
  void SetVolume(float volume) override;
  void SetPan(float pan) override;
  void SetDepth(float depth) override;
  void SetRate(float rate) override;
  bool Playing() override;
  std::string Kind() const override { return "OpenAL"; }
  void Update() override;
  // Refills buffer `index` from the music.
  void FillBuffer(int index);

private:
  // Takes `count` played buffers off the head of the queue and queues each again refilled,
  // unless the piece has ended. Returns how many it queued on a source that had run dry.
  int Recycle(int count);
};
