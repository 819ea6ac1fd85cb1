#pragma once
// Audio drivers behind audio.h: the sound object they play and the driver interface.
#include <memory>
#include <string>
#include <vector>
#include "platform/audio/audio.h"

// What a driver keeps of a sound (an OpenAL buffer); released with the sound.
class TDriverSoundData {
public:
  virtual ~TDriverSoundData() = default;
};

class TSampleSound : public TSound {
public:
  std::vector<uint8_t> pcm;
  std::shared_ptr<TDriverSoundData> driverData;
};
using TSampleSoundPtr = std::shared_ptr<TSampleSound>;

class TAudioDriver {
public:
  virtual ~TAudioDriver() = default;
  virtual std::string Name() const = 0;
  virtual bool Startup() = 0;
  virtual void Shutdown() = 0;
  virtual TChannelPtr AllocChannel() = 0;
  // Plays the sound on the channel, or on a new channel of its own when channel is null;
  // returns the channel used. A channel of another driver plays nothing.
  virtual TChannelPtr Play(const TSampleSoundPtr& sound, const TChannelPtr& channel) = 0;
  // Mixes the next `frames` frames of the output into `out` (left and right interleaved);
  // false for a driver that plays to a device of its own.
  virtual bool Render(float* out, int frames) {
    (void)out;
    (void)frames;
    return false;
  }
};

// The silent driver ("Null"): its channels take every call and play nothing.
std::unique_ptr<TAudioDriver> MakeSilentDriver();
// The OpenAL driver on the default device or, with a capture rate, on a device that mixes
// only when asked to render (32-bit float stereo at that rate).
std::unique_ptr<TAudioDriver> MakeOpenALDriver(int captureRate = 0);
