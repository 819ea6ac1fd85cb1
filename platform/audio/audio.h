#pragma once
// Audio: drivers selected by name, sounds and channels. "OpenAL" plays through OpenAL Soft;
// when no device opens, the silent "Null" driver takes every call and plays nothing.
#include <memory>
#include <string>
#include <vector>

class TSound {
public:
  virtual ~TSound() = default;
  bool loop = false;
  int channels = 0, bits = 0, rate = 0;
  size_t sampleCount = 0;  // frames of sound
};
using TSoundPtr = std::shared_ptr<TSound>;

// A channel plays one sound at a time. Music streams subclass it.
class TChannel {
public:
  virtual ~TChannel() = default;
  virtual void Stop() {}
  virtual void SetPaused(bool paused) { (void)paused; }
  virtual void SetVolume(float volume) { (void)volume; }
  virtual void SetPan(float pan) { (void)pan; }
  virtual void SetDepth(float depth) { (void)depth; }
  virtual void SetRate(float rate) { (void)rate; }
  virtual bool Playing() { return false; }
  // The kind of driver the channel belongs to: "OpenAL" or "Null".
  virtual std::string Kind() const { return "Null"; }
};
using TChannelPtr = std::shared_ptr<TChannel>;

// Makes the OpenAL driver available when OpenAL can be loaded.
bool EnableOpenALAudio();
// Shuts the current driver down and starts the named one (case-insensitive); when it cannot
// start, the silent driver stays in place. True when the named driver runs.
bool SetAudioDriver(const std::string& name);
std::string AudioDriverName();
// Starts the OpenAL driver on a device that plays into memory instead of a sound card: it
// mixes only when CaptureAudio asks, so what it renders does not depend on the clock. True
// when it runs; selecting "OpenAL" afterwards keeps it.
bool StartAudioCapture(int rate = 44100);
// The next `frames` frames that the listener hears, left and right interleaved, full scale
// 1.0; silence when the driver is not capturing.
std::vector<float> CaptureAudio(int frames);

// WAV (PCM 8/16 bit, mono/stereo) or Ogg Vorbis; flags 1 = loop. Null on failure.
TSoundPtr LoadSound(const std::string& path, int flags = 0);
// Plays the sound on the channel, or on a channel of its own when channel is null.
// Returns the channel used (null for a null sound).
TChannelPtr PlaySound(const TSoundPtr& sound, const TChannelPtr& channel = nullptr);
TChannelPtr AllocChannel();
// Null channels are ignored.
void StopChannel(const TChannelPtr& channel);
void PauseChannel(const TChannelPtr& channel);
void ResumeChannel(const TChannelPtr& channel);
void SetChannelVolume(const TChannelPtr& channel, float volume);
bool ChannelPlaying(const TChannelPtr& channel);

// Number of sounds started since program start (tests check effects without a device).
long SoundsPlayed();
