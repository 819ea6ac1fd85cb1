// Audio: driver selection, sound loading and the channel operations.
#include <algorithm>

#include "platform/audio/audio_driver.h"
#include "platform/audio/sound_data.h"
#include "platform/files/files.h"
#include "platform/system/internal.h"
#include "platform/system/text.h"

namespace {

struct TAudioState {
  std::unique_ptr<TAudioDriver> driver = MakeSilentDriver();
  bool openALEnabled = false;
  bool shutdownHooked = false;
  long played = 0;
};

TAudioState& Audio() {
  static TAudioState state;
  return state;
}

void CloseAudio() {
  TAudioState& a = Audio();
  a.driver->Shutdown();
  a.driver = MakeSilentDriver();
  a.shutdownHooked = false;
}

// Shuts the current driver down and starts `next`; the silent driver stays when it fails.
bool StartDriver(std::unique_ptr<TAudioDriver> next) {
  TAudioState& a = Audio();
  a.driver->Shutdown();
  a.driver = MakeSilentDriver();
  if (!next->Startup()) return false;
  a.driver = std::move(next);
  if (!a.shutdownHooked) {
    AddShutdownCallback(CloseAudio);
    a.shutdownHooked = true;
  }
  return true;
}

}  // namespace

bool EnableOpenALAudio() {
  Audio().openALEnabled = true;
  return true;
}

bool SetAudioDriver(const std::string& name) {
  TAudioState& a = Audio();
  std::string wanted = Lower(name);
  std::unique_ptr<TAudioDriver> next;
  if (wanted == "openal") {
    EnableOpenALAudio();
    next = MakeOpenALDriver();
  } else if (wanted == "null") {
    next = MakeSilentDriver();
  } else {
    return false;
  }
  // Selecting the driver in use keeps it, with its channels, running.
  if (Lower(a.driver->Name()) == wanted) return true;
  return StartDriver(std::move(next));
}

bool StartAudioCapture(int rate) { return StartDriver(MakeOpenALDriver(rate)); }

std::vector<float> CaptureAudio(int frames) {
  std::vector<float> out(2 * static_cast<size_t>(std::max(frames, 0)), 0.0f);
  if (frames > 0) Audio().driver->Render(out.data(), frames);
  return out;
}

std::string AudioDriverName() { return Audio().driver->Name(); }

TSoundPtr LoadSound(const std::string& path, int flags) {
  std::vector<uint8_t> bytes;
  if (!ReadWholeFile(path, bytes)) return nullptr;
  TSoundData data;
  if (!ParseWav(bytes.data(), bytes.size(), data) &&
      !DecodeOggVorbis(bytes.data(), bytes.size(), data)) {
    return nullptr;
  }
  auto sound = std::make_shared<TSampleSound>();
  sound->loop = (flags & 1) != 0;
  sound->channels = data.channels;
  sound->bits = data.bits;
  sound->rate = data.rate;
  sound->sampleCount = data.Frames();
  sound->pcm = std::move(data.pcm);
  return sound;
}

TChannelPtr PlaySound(const TSoundPtr& sound, const TChannelPtr& channel) {
  auto samples = std::dynamic_pointer_cast<TSampleSound>(sound);
  if (!samples) return nullptr;
  ++Audio().played;
  return Audio().driver->Play(samples, channel);
}

TChannelPtr AllocChannel() { return Audio().driver->AllocChannel(); }

void StopChannel(const TChannelPtr& channel) {
  if (channel) channel->Stop();
}

void PauseChannel(const TChannelPtr& channel) {
  if (channel) channel->SetPaused(true);
}

void ResumeChannel(const TChannelPtr& channel) {
  if (channel) channel->SetPaused(false);
}

void SetChannelVolume(const TChannelPtr& channel, float volume) {
  if (channel) channel->SetVolume(volume);
}

bool ChannelPlaying(const TChannelPtr& channel) { return channel && channel->Playing(); }

long SoundsPlayed() { return Audio().played; }
