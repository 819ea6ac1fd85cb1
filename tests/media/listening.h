#pragma once
// Music streams heard as the listener hears them: OpenAL mixes into memory (its loopback
// device) only when a test renders, so a recording depends on nothing but the frames and the
// ticks of the shared refill timer that the test hands out, never on the clock.
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>
#include "media/media.h"

namespace mediatest {

constexpr int kListenRate = 44100;
constexpr int kFramesPerTick = 368;  // 1/120 s of output

// What was heard, per channel, in 16-bit sample units (full scale 32768).
struct Recording {
  std::vector<float> left, right;
  void Append(const std::vector<float>& interleaved);
  size_t Frames() const { return left.size(); }
};

// Left-channel values of a scripted music source (every byte of a buffer is its fill count)
// in the order heard, each run counted once; silence is left out.
std::vector<int> FillsHeard(const Recording& heard);

class Listening : public ::testing::Test {
protected:
  using StreamPtr = std::shared_ptr<TOpenALAudioStream>;
  void SetUp() override;
  void TearDown() override;
  StreamPtr Make(const TMusicPtr& music, int loop = 1);
  StreamPtr Make(const std::string& path, int loop = 1, int flag = 1);
  // One event through emission and the queue: by default a tick of the shared refill timer.
  static void Tick(std::shared_ptr<void> source = TAudioStream::Timer, int id = EVENT_TIMERTICK);
  // Renders `frames` frames into `heard`, a tick's worth at a time, each followed by a tick.
  void Listen(int frames);
  // Renders `frames` frames into `heard` with no tick: the program processes no events.
  void Render(int frames);

  Recording heard;
  std::vector<std::weak_ptr<TOpenALAudioStream>> made_;
};

}  // namespace mediatest
