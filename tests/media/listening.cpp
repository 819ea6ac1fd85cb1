#include "listening.h"

#include <algorithm>
#include <cmath>

namespace mediatest {

void Recording::Append(const std::vector<float>& interleaved) {
  for (size_t i = 0; i + 1 < interleaved.size(); i += 2) {
    left.push_back(interleaved[i] * 32768);
    right.push_back(interleaved[i + 1] * 32768);
  }
}

std::vector<int> FillsHeard(const Recording& heard) {
  std::vector<int> fills;
  for (float sample : heard.left) {
    const int fill = static_cast<int>(std::lround(sample / 257));
    if (fill != 0 && (fills.empty() || fills.back() != fill)) fills.push_back(fill);
  }
  return fills;
}

void Listening::SetUp() {
  AudioStreamModuleInit();
  if (!StartAudioCapture(kListenRate)) GTEST_SKIP() << "OpenAL has no loopback device";
}

void Listening::TearDown() {
  for (auto& weak : made_)
    if (auto stream = weak.lock()) stream->Stop();
}

Listening::StreamPtr Listening::Make(const TMusicPtr& music, int loop) {
  auto stream = std::dynamic_pointer_cast<TOpenALAudioStream>(CreateAudioStream(music, loop, 1));
  made_.push_back(stream);
  return stream;
}

Listening::StreamPtr Listening::Make(const std::string& path, int loop, int flag) {
  auto stream = std::dynamic_pointer_cast<TOpenALAudioStream>(CreateAudioStream(path, loop, flag));
  made_.push_back(stream);
  return stream;
}

void Listening::Tick(std::shared_ptr<void> source, int id) {
  PostEvent(id, 1, 0, 0, std::move(source));
  FlushEvents();
}

void Listening::Listen(int frames) {
  for (int done = 0; done < frames; done += kFramesPerTick) {
    Render(std::min(kFramesPerTick, frames - done));
    Tick();
  }
}

void Listening::Render(int frames) { heard.Append(CaptureAudio(frames)); }

}  // namespace mediatest
