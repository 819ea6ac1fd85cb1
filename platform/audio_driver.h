#pragma once
// Audio drivers behind audio.h: the sound object they play and the driver interface.
#include <memory>
#include <string>
#include <vector>
#include "platform/audio.h"

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
};

std::unique_ptr<TAudioDriver> MakeOpenALDriver();
