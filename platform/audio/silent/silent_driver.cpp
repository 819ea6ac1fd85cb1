// The silent audio driver, in use until a device opens and wherever none does.
#include "platform/audio/audio_driver.h"

namespace {

class TSilentDriver : public TAudioDriver {
public:
  std::string Name() const override { return "Null"; }
  bool Startup() override { return true; }
  void Shutdown() override {}
  TChannelPtr AllocChannel() override { return std::make_shared<TChannel>(); }
  TChannelPtr Play(const TSampleSoundPtr&, const TChannelPtr& channel) override {
    return channel ? channel : AllocChannel();
  }
};

}  // namespace

std::unique_ptr<TAudioDriver> MakeSilentDriver() { return std::make_unique<TSilentDriver>(); }
