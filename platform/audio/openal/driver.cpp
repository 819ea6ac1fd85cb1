// The OpenAL driver: one device and context, a small pool of sources shared by the channels,
// and one buffer per sound made on its first play. The device is the default output, or a
// loopback device that mixes into memory when asked (tests listen through it).
#include <AL/al.h>
#include <AL/alc.h>
#include <AL/alext.h>

#include <algorithm>
#include <cmath>

#include "platform/audio/audio_driver.h"

namespace {

constexpr int kMaxSources = 128;

// The open device; channels and buffers hold it weakly and do nothing once it has closed.
struct TALCore {
  ALCdevice* device = nullptr;
  ALCcontext* context = nullptr;
  std::vector<ALuint> freeSources;
  int sourceCount = 0;

  ALuint TakeSource() {
    if (!freeSources.empty()) {
      ALuint source = freeSources.back();
      freeSources.pop_back();
      return source;
    }
    if (sourceCount >= kMaxSources) return 0;
    ALuint source = 0;
    alGetError();
    alGenSources(1, &source);
    if (alGetError() != AL_NO_ERROR) return 0;
    ++sourceCount;
    return source;
  }

  void GiveSource(ALuint source) {
    alSourceStop(source);
    alSourcei(source, AL_BUFFER, 0);
    freeSources.push_back(source);
  }
};
using TALCorePtr = std::shared_ptr<TALCore>;

class TALBuffer : public TDriverSoundData {
public:
  ALuint id = 0;
  std::weak_ptr<TALCore> core;
  ~TALBuffer() override {
    if (id != 0 && !core.expired()) alDeleteBuffers(1, &id);
  }
};

ALenum Format(const TSampleSound& sound) {
  if (sound.channels == 2) return sound.bits == 16 ? AL_FORMAT_STEREO16 : AL_FORMAT_STEREO8;
  return sound.bits == 16 ? AL_FORMAT_MONO16 : AL_FORMAT_MONO8;
}

class TOpenALChannel : public TChannel {
public:
  explicit TOpenALChannel(const TALCorePtr& owner) : core(owner) {}
  ~TOpenALChannel() override { Release(); }

  std::weak_ptr<TALCore> core;
  ALuint source = 0;
  TSoundPtr sound;     // held while it plays, so that its buffer stays
  bool loose = false;  // a fire-and-forget channel of PlaySound
  bool paused = false;
  float volume = 1.0f, pan = 0.0f, rate = 1.0f;

  // Gives the source back to the pool.
  void Release() {
    TALCorePtr c = core.lock();
    if (c && source != 0) c->GiveSource(source);
    source = 0;
    sound.reset();
    paused = false;
  }

  bool Live() const { return source != 0 && !core.expired(); }

  ALint State() const {
    ALint state = AL_STOPPED;
    if (Live()) alGetSourcei(source, AL_SOURCE_STATE, &state);
    return state;
  }

  void Stop() override {
    if (loose) {
      Release();
      return;
    }
    if (Live()) {
      alSourceStop(source);
      alSourcei(source, AL_BUFFER, 0);
    }
    sound.reset();
    paused = false;
  }

  void SetPaused(bool pause) override {
    if (!Live()) return;
    if (pause && !paused) {
      paused = true;
      if (State() == AL_PLAYING) alSourcePause(source);
    } else if (!pause && paused) {
      paused = false;
      if (State() == AL_PAUSED) alSourcePlay(source);
    }
  }

  void SetVolume(float v) override {
    volume = v;
    if (Live()) alSourcef(source, AL_GAIN, v);
  }

  void SetPan(float p) override {
    pan = p;
    if (Live()) ApplyPan();
  }

  void SetDepth(float) override {}

  void SetRate(float r) override {
    rate = r;
    if (Live()) alSourcef(source, AL_PITCH, r);
  }

  bool Playing() override { return State() == AL_PLAYING; }

  std::string Kind() const override { return "OpenAL"; }

  // The source sits on a circle of radius 1 around the listener: -1 left, 0 ahead, 1 right.
  void ApplyPan() {
    double p = std::min(1.0, std::max(-1.0, static_cast<double>(pan)));
    double a = p * M_PI / 2;
    alSource3f(source, AL_POSITION, static_cast<float>(std::sin(a)), 0.0f,
               static_cast<float>(-std::cos(a)));
  }

  bool Start(const TSampleSoundPtr& s, ALuint buffer) {
    TALCorePtr c = core.lock();
    if (!c) return false;
    if (source == 0) source = c->TakeSource();
    if (source == 0) return false;
    alSourceStop(source);
    alSourcei(source, AL_BUFFER, static_cast<ALint>(buffer));
    alSourcei(source, AL_LOOPING, s->loop ? AL_TRUE : AL_FALSE);
    alSourcei(source, AL_SOURCE_RELATIVE, AL_TRUE);
    alSourcef(source, AL_ROLLOFF_FACTOR, 0.0f);
    alSourcef(source, AL_GAIN, volume);
    alSourcef(source, AL_PITCH, rate);
    ApplyPan();
    alSourcePlay(source);
    sound = s;
    paused = false;
    return true;
  }
};
using TOpenALChannelPtr = std::shared_ptr<TOpenALChannel>;

// A loopback device rendering 32-bit float stereo at `rate`, with nothing between the mix and
// the samples (no virtual headphones, no limiter); null without ALC_SOFT_loopback.
ALCdevice* OpenLoopback(int rate, const ALCint* attributes) {
  if (!alcIsExtensionPresent(nullptr, "ALC_SOFT_loopback")) return nullptr;
  auto open = reinterpret_cast<LPALCLOOPBACKOPENDEVICESOFT>(
      alcGetProcAddress(nullptr, "alcLoopbackOpenDeviceSOFT"));
  auto supported = reinterpret_cast<LPALCISRENDERFORMATSUPPORTEDSOFT>(
      alcGetProcAddress(nullptr, "alcIsRenderFormatSupportedSOFT"));
  if (!open || !supported) return nullptr;
  ALCdevice* device = open(nullptr);
  if (device && !supported(device, rate, attributes[1], attributes[3])) {
    alcCloseDevice(device);
    return nullptr;
  }
  return device;
}

class TOpenALDriver : public TAudioDriver {
public:
  explicit TOpenALDriver(int captureRate) : captureRate_(captureRate) {}
  ~TOpenALDriver() override { Shutdown(); }

  std::string Name() const override { return "OpenAL"; }

  bool Startup() override {
    const ALCint loopback[] = {ALC_FORMAT_CHANNELS_SOFT, ALC_STEREO_SOFT, ALC_FORMAT_TYPE_SOFT,
                               ALC_FLOAT_SOFT, ALC_FREQUENCY, captureRate_, ALC_HRTF_SOFT, ALC_FALSE,
                               ALC_OUTPUT_LIMITER_SOFT, ALC_FALSE, 0};
    ALCdevice* device =
        captureRate_ > 0 ? OpenLoopback(captureRate_, loopback) : alcOpenDevice(nullptr);
    if (!device) return false;
    ALCcontext* context = alcCreateContext(device, captureRate_ > 0 ? loopback : nullptr);
    if (!context || !alcMakeContextCurrent(context)) {
      if (context) alcDestroyContext(context);
      alcCloseDevice(device);
      return false;
    }
    core_ = std::make_shared<TALCore>();
    core_->device = device;
    core_->context = context;
    if (captureRate_ > 0) {
      render_ = reinterpret_cast<LPALCRENDERSAMPLESSOFT>(
          alcGetProcAddress(device, "alcRenderSamplesSOFT"));
    }
    return true;
  }

  bool Render(float* out, int frames) override {
    if (!core_ || !render_) return false;
    render_(core_->device, out, frames);
    return true;
  }

  void Shutdown() override {
    if (!core_) return;
    for (const TOpenALChannelPtr& c : loose_) c->Release();
    loose_.clear();
    // Channels still held elsewhere keep their source numbers; they do nothing from here on.
    TALCorePtr core = std::move(core_);
    core_.reset();
    if (!core->freeSources.empty()) {
      alDeleteSources(static_cast<ALsizei>(core->freeSources.size()), core->freeSources.data());
    }
    alcMakeContextCurrent(nullptr);
    alcDestroyContext(core->context);
    alcCloseDevice(core->device);
  }

  TChannelPtr AllocChannel() override {
    Reclaim();
    return std::make_shared<TOpenALChannel>(core_);
  }

  TChannelPtr Play(const TSampleSoundPtr& sound, const TChannelPtr& channel) override {
    Reclaim();
    TOpenALChannelPtr target;
    if (channel) {
      target = std::dynamic_pointer_cast<TOpenALChannel>(channel);
      if (!target || target->core.lock() != core_) return channel;
    } else {
      target = std::make_shared<TOpenALChannel>(core_);
      target->loose = true;
    }
    ALuint buffer = Buffer(*sound);
    if (buffer != 0 && target->Start(sound, buffer) && target->loose &&
        std::find(loose_.begin(), loose_.end(), target) == loose_.end()) {
      loose_.push_back(target);
    }
    return target;
  }

private:
  int captureRate_ = 0;                    // a loopback device's rate; 0 for the default output
  LPALCRENDERSAMPLESSOFT render_ = nullptr;  // the loopback device's renderer
  TALCorePtr core_;
  std::vector<TOpenALChannelPtr> loose_;  // fire-and-forget channels that hold a source

  // Sources of fire-and-forget channels that have finished go back to the pool.
  void Reclaim() {
    auto done = [](const TOpenALChannelPtr& c) {
      if (c->source == 0) return true;
      if (c->paused || c->State() != AL_STOPPED) return false;
      c->Release();
      return true;
    };
    loose_.erase(std::remove_if(loose_.begin(), loose_.end(), done), loose_.end());
  }

  ALuint Buffer(TSampleSound& sound) {
    auto data = std::dynamic_pointer_cast<TALBuffer>(sound.driverData);
    if (data && data->core.lock() == core_) return data->id;
    if (sound.pcm.empty()) return 0;
    auto made = std::make_shared<TALBuffer>();
    alGetError();
    alGenBuffers(1, &made->id);
    if (alGetError() != AL_NO_ERROR) return 0;
    made->core = core_;
    alBufferData(made->id, Format(sound), sound.pcm.data(), static_cast<ALsizei>(sound.pcm.size()),
                 sound.rate);
    sound.driverData = made;
    return made->id;
  }
};

}  // namespace

std::unique_ptr<TAudioDriver> MakeOpenALDriver(int captureRate) {
  return std::make_unique<TOpenALDriver>(captureRate);
}
