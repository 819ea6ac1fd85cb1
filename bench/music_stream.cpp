// Music streaming: Ogg Vorbis decoded a fill of 8192 bytes at a time by the music reader, beside
// vorbisfile's own decoding of the same file; and one refill tick of a playing stream with a
// buffer to refill, with none, and of a paused stream. Streams play on OpenAL's loopback device,
// which mixes only when asked, so a tick finds exactly the buffers the benchmark let play.
#include <benchmark/benchmark.h>
#include <vorbis/vorbisfile.h>
#include <vector>
#include "media/media.h"
#include "support/files.h"
#include "support/sounds.h"

namespace {

constexpr int kFill = TOpenALAudioStream::kBufferSize;
constexpr int kRate = 44100;

// Ten seconds of a tone, mono or stereo at 44100 Hz, encoded once per run.
const std::string& Piece(int channels) {
  static std::string paths[3];
  std::string& path = paths[channels];
  if (path.empty()) {
    path = testsupport::ScratchDir("music_bench_" + std::to_string(channels)) + "/piece.ogg";
    testsupport::WriteFileBytes(path, testsupport::OggVorbis(channels, kRate, 10 * kRate));
  }
  return path;
}

// Seconds of music delivered per second of work.
void CountRealTime(benchmark::State& state) {
  state.counters["x_realtime"] = benchmark::Counter(
      static_cast<double>(state.iterations()) * kFill / 4 / kRate, benchmark::Counter::kIsRate);
}

void BM_OggFill(benchmark::State& state) {
  TMusicPtr music = Orvane_Loader_Ogg(Piece(static_cast<int>(state.range(0))));
  std::vector<uint8_t> buffer(kFill);
  for (auto _ : state) {
    music->FillBuffer(buffer.data(), kFill);
    benchmark::DoNotOptimize(buffer.data());
  }
  music->Free();
  CountRealTime(state);
}

// The same file and amount of sound through vorbisfile alone: its stdio reads, 16-bit samples
// as it writes them (mono stays mono), and a seek to the start at the end.
void BM_VorbisfileDecode(benchmark::State& state) {
  const int channels = static_cast<int>(state.range(0));
  OggVorbis_File file;
  if (ov_fopen(Piece(channels).c_str(), &file) != 0) {
    state.SkipWithError("vorbisfile cannot open the piece");
    return;
  }
  std::vector<char> buffer(kFill);
  const int bytes = kFill / 2 * channels;
  int bitstream = 0;
  for (auto _ : state) {
    for (int got = 0; got < bytes;) {
      const long n = ov_read(&file, buffer.data() + got, bytes - got, 0, 2, 1, &bitstream);
      if (n == 0) ov_pcm_seek(&file, 0);
      if (n < 0) break;
      got += static_cast<int>(n);
    }
    benchmark::DoNotOptimize(buffer.data());
  }
  ov_clear(&file);
  CountRealTime(state);
}

BENCHMARK(BM_OggFill)->Arg(2)->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_VorbisfileDecode)->Arg(2)->Arg(1)->Unit(benchmark::kMicrosecond);

void Tick() {
  PostEvent(EVENT_TIMERTICK, 1, 0, 0, TAudioStream::Timer);
  FlushEvents();
}

// A looping stream of the stereo piece on the loopback device; null when there is none.
TChannelPtr Stream() {
  AudioStreamModuleInit();
  if (!StartAudioCapture(kRate)) return nullptr;
  return CreateAudioStream(Piece(2), 1, 1);
}

// Arg 1: before each tick the source plays one buffer, which the tick refills; arg 0: nothing
// has played, and the tick finds nothing to do.
void BM_StreamTick(benchmark::State& state) {
  TChannelPtr stream = Stream();
  if (!stream) {
    state.SkipWithError("no loopback device");
    return;
  }
  for (auto _ : state) {
    if (state.range(0)) {
      state.PauseTiming();
      CaptureAudio(kFill / 4);
      state.ResumeTiming();
    }
    Tick();
  }
  StopChannel(stream);
}

void BM_PausedStreamTick(benchmark::State& state) {
  TChannelPtr stream = Stream();
  if (!stream) {
    state.SkipWithError("no loopback device");
    return;
  }
  PauseChannel(stream);
  for (auto _ : state) Tick();
  StopChannel(stream);
}

BENCHMARK(BM_StreamTick)->Arg(1)->Arg(0)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PausedStreamTick)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
