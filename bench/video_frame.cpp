// The video's colour conversion on 640 x 480 flat, gradient and noise pictures, in ns per
// pixel beside a copy of the same 640 x 480 x 4 bytes; and one player step (decode and
// convert) per picture of a 640 x 480 video.
#include <benchmark/benchmark.h>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <random>
#include <vector>
#include <unistd.h>
#include "media/media.h"
#include "media/theora_glue.h"
#include "media/yuv.h"
#include "platform/system/clock.h"
#include "video_files.h"

namespace {

constexpr int kWidth = 640, kHeight = 480, kPixels = kWidth * kHeight;

benchmark::Counter PerPixel() {
  return benchmark::Counter(kPixels, benchmark::Counter::kIsIterationInvariantRate |
                                         benchmark::Counter::kInvert);
}

enum Picture { kFlat, kGradient, kNoise };

// A decoded 4:2:0 picture as the decoder delivers it: top row first, negative strides.
struct Planes {
  explicit Planes(Picture picture) : y(kPixels), cb(kPixels / 4), cr(kPixels / 4) {
    std::mt19937 noise(7);
    for (int row = 0; row < kHeight; ++row) {
      for (int col = 0; col < kWidth; ++col) {
        const size_t at = static_cast<size_t>(row) * kWidth + col;
        const size_t c = static_cast<size_t>(row / 2) * (kWidth / 2) + col / 2;
        switch (picture) {
          case kFlat:
            y[at] = 126, cb[c] = 128, cr[c] = 128;
            break;
          case kGradient:
            y[at] = static_cast<uint8_t>(16 + col * 219 / (kWidth - 1));
            cb[c] = static_cast<uint8_t>(16 + row * 224 / (kHeight - 1));
            cr[c] = static_cast<uint8_t>(240 - col * 224 / (kWidth - 1));
            break;
          case kNoise:
            y[at] = static_cast<uint8_t>(noise()), cb[c] = static_cast<uint8_t>(noise());
            cr[c] = static_cast<uint8_t>(noise());
            break;
        }
      }
    }
    decoder.info.frame_width = kWidth;
    decoder.info.frame_height = kHeight;
    decoder.hasPicture = true;
    yuv_buffer& yuv = decoder.yuv;
    yuv.y_width = kWidth, yuv.y_height = kHeight, yuv.y_stride = -kWidth;
    yuv.uv_width = kWidth / 2, yuv.uv_height = kHeight / 2, yuv.uv_stride = -kWidth / 2;
    // The rows are stored bottom row first, so the top row is the last.
    yuv.y = &y[static_cast<size_t>(kHeight - 1) * kWidth];
    yuv.u = &cb[static_cast<size_t>(kHeight / 2 - 1) * (kWidth / 2)];
    yuv.v = &cr[static_cast<size_t>(kHeight / 2 - 1) * (kWidth / 2)];
  }
  std::vector<uint8_t> y, cb, cr;
  theoradecoder decoder;
};

void BM_Convert(benchmark::State& state) {
  TheoraModuleInit();
  const Planes planes(static_cast<Picture>(state.range(0)));
  std::vector<uint8_t> out(kPixels * 4);
  for (auto _ : state) {
    TYUVdrawYUV(out.data(), kWidth, kHeight, &planes.decoder);
    benchmark::ClobberMemory();
  }
  state.counters["per_pixel"] = PerPixel();
}
BENCHMARK(BM_Convert)->ArgName("flat_gradient_noise")->DenseRange(kFlat, kNoise);

void BM_Memcpy(benchmark::State& state) {
  std::vector<uint8_t> from(kPixels * 4, 1), to(kPixels * 4);
  for (auto _ : state) {
    std::memcpy(to.data(), from.data(), to.size());
    benchmark::ClobberMemory();
  }
  state.counters["per_pixel"] = PerPixel();
}
BENCHMARK(BM_Memcpy);

// A 640 x 480 video of 32 pictures: a gradient that scrolls, a square that moves across it,
// and a little grain.
std::string BenchVideo() {
  mediatest::VideoSpec spec;
  spec.frameWidth = spec.picWidth = kWidth;
  spec.frameHeight = spec.picHeight = kHeight;
  spec.frames = 32;
  spec.colour = [](int k, int x, int y) {
    const int grain = ((x * 7 + y * 13 + k * 5) % 9) - 4;
    if (std::abs(x - 40 - 16 * k) < 48 && std::abs(y - 240) < 48)
      return mediatest::Yuv{200, 90, 200};
    return mediatest::Yuv{16 + (x + 4 * k) % 200 + grain, 16 + y * 224 / kHeight, 128};
  };
  return mediatest::TheoraVideo(spec);
}

void BM_DecodeAndConvertPerPicture(benchmark::State& state) {
  const std::string path = (std::filesystem::temp_directory_path() /
                            ("corvel-video-bench-" + std::to_string(getpid()) + ".ogv"))
                               .string();
  {
    const std::string bytes = BenchVideo();
    std::FILE* file = std::fopen(path.c_str(), "wb");
    std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
  }
  UseManualClock(0);  // no picture is ever late
  TtheoraPtr player = OpenTheora(path, 4096);
  TPixmapPtr pixmap = CreatePixmap(kWidth, kHeight);
  player->sync = 0;
  for (auto _ : state) {
    while (!DrawTheora(player, pixmap))
      if (EOT(player)) StartTheora(player, 0);
  }
  state.counters["per_pixel"] = PerPixel();
  CloseTheora(player);
  SetClockSource(nullptr);
  std::filesystem::remove(path);
}
BENCHMARK(BM_DecodeAndConvertPerPicture)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
