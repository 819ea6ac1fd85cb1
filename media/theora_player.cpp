// The video player over the decoding glue and the colour tables.
#include "media/theora.h"

#include <algorithm>
#include <cmath>
#include "media/media.h"
#include "media/theora_glue.h"
#include "media/yuv.h"
#include "platform/clock.h"

namespace {

TStreamPtr OpenMovie(const std::string& path) { return LittleEndianStream(ReadStream(path)); }

}  // namespace

Ttheora::~Ttheora() {
  if (decoder) freedecoder(decoder);
}

int32_t Ttheora::Elapsed() const {
  return static_cast<int32_t>(static_cast<uint32_t>(MilliSecs()) - static_cast<uint32_t>(timer));
}

int Ttheora::draw(TPixmap& pixmap) {
  if (!decoder || pausetimer > 0) return 0;
  if (sync == 1 && Elapsed() < 1000.0 * (frames - 1) / static_cast<double>(fps)) return 0;
  if (!theoradraw(decoder)) {
    const size_t n = movie ? ReadBytes(movie, buffer.data(), static_cast<size_t>(buffersize)) : 0;
    if (n == 0) {
      if (autoloop == 0) EOT = 1;
      else start(0);
    }
    theora_buffer(decoder, buffer.data(), static_cast<int>(n));
    return 0;
  }
  drawframe(decoder);
  ++frames;
  if (Elapsed() > 1000.0 * (frames + 1) / static_cast<double>(fps)) return 0;  // late: dropped
  if (!decoder->hasPicture) return 0;
  if (color == 1) TYUVdrawYUV(pixmap.pixels.data(), pixmap.width, pixmap.height, decoder);
  else TYUVdrawY(pixmap.pixels.data(), pixmap.width, pixmap.height, decoder);
  return 1;
}

int Ttheora::start(float seconds) {
  timer = MilliSecs() - static_cast<int32_t>(static_cast<double>(seconds) * 1000.0);
  if (movie) SeekStream(movie, 0);
  else movie = OpenMovie(filename);
  // Feeding starts again at the first byte, so whatever was fed before is dropped.
  if (decoder) resetdecoder(decoder);
  frames = 0;
  EOT = 0;
  pausetimer = 0;
  return 0;
}

int Ttheora::pause() {
  if (pausetimer == 0) {
    pausetimer = Elapsed();
    return 1;
  }
  timer = MilliSecs() - pausetimer;
  pausetimer = 0;
  return 0;
}

TtheoraPtr OpenTheora(const std::string& path, int blocksize) {
  TheoraModuleInit();
  auto player = std::make_shared<Ttheora>();
  player->color = 1;
  player->decoder = initdecoder();
  if (!opentheora(player->decoder, path.c_str()) || !theoraheader(player->decoder)) return nullptr;
  player->width = theorawidth(player->decoder);
  player->height = theoraheight(player->decoder);
  player->fps = static_cast<float>(theorafps(player->decoder));
  if (player->width <= 0 || player->height <= 0 || !(player->fps > 0) || !std::isfinite(player->fps)) return nullptr;
  player->buffersize = std::clamp(blocksize, 1, 4096);
  player->buffer.assign(static_cast<size_t>(player->buffersize), 0);
  player->filename = path;
  player->movie = OpenMovie(path);
  player->sync = 1;
  player->start(0);
  return player;
}

int TheoraWidth(const TtheoraPtr& player, int height) {
  if (!player || !player->decoder) return 0;
  const int w = theorawidth(player->decoder);
  if (height == 0) return w;
  return player->height ? static_cast<int>(static_cast<int64_t>(height) * w / player->height) : 0;
}

int TheoraHeight(const TtheoraPtr& player, int width) {
  if (!player || !player->decoder) return 0;
  const int h = theoraheight(player->decoder);
  if (width == 0) return h;
  return player->width ? static_cast<int>(static_cast<int64_t>(width) * h / player->width) : 0;
}

int StartTheora(const TtheoraPtr& player, float seconds) { return player ? player->start(seconds) : 0; }

int EOT(const TtheoraPtr& player) { return player ? player->EOT : 1; }

int PauseTheora(const TtheoraPtr& player) { return player ? player->pause() : 0; }

int TheoraFullscreen(const TtheoraPtr& player) {
  if (!player || player->width <= 0 || player->height <= 0) return 1;
  const float sx = static_cast<float>(GraphicsWidth()) / static_cast<float>(player->width);
  const float sy = static_cast<float>(GraphicsHeight()) / static_cast<float>(player->height);
  const float s = sx >= sy ? sy : sx;
  SetScale(s, s);
  return 1;
}

int DrawTheora(const TtheoraPtr& player, const TPixmapPtr& pixmap) {
  if (!player || !pixmap) return 0;
  return player->draw(*pixmap) ? 1 : 0;
}

int DrawTheoraImage(const TtheoraPtr& player, const TImagePtr& image, int frame) {
  TPixmapPtr pixmap = LockImage(image, frame);
  if (!player || !pixmap) return 0;
  return player->draw(*pixmap) ? 1 : 0;
}

int CloseTheora(const TtheoraPtr& player) {
  if (!player) return 0;
  if (player->decoder) freedecoder(player->decoder);
  player->decoder = nullptr;
  player->buffer.clear();
  CloseStream(player->movie);
  player->movie = nullptr;
  player->EOT = 1;  // nothing more to play
  return 0;
}

void TheoraModuleInit() {
  static bool started = false;
  if (started) return;
  started = true;
  TYUVinit();
}
