// The video player over the decoding glue and the colour tables.
#include "media/theora.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include "media/media.h"
#include "media/theora_glue.h"
#include "media/yuv.h"
#include "platform/system/app.h"
#include "platform/system/clock.h"

namespace {

TStreamPtr OpenMovie(const std::string& path) { return LittleEndianStream(ReadStream(path)); }

// Seconds as whole milliseconds toward zero, within the clock's range; 0 for not-a-number.
uint32_t Milliseconds(float seconds) {
  const double ms = std::trunc(static_cast<double>(seconds) * 1000.0);
  if (std::isnan(ms)) return 0;
  return static_cast<uint32_t>(static_cast<int32_t>(std::clamp(ms, -2147483648.0, 2147483647.0)));
}

void CannotPlay(const std::string& path, const std::string& reason) {
  WriteError("Could not play the video " + path + ": " + reason + ".");
}

}  // namespace

Ttheora::~Ttheora() {
  if (decoder) freedecoder(decoder);
}

int32_t Ttheora::Elapsed() const {
  return static_cast<int32_t>(static_cast<uint32_t>(MilliSecs()) - timer);
}

int Ttheora::draw(TPixmap& pixmap) {
  if (!decoder || paused) return 0;
  if (sync == 1 && Elapsed() < 1000.0 * frames / static_cast<double>(fps)) return 0;  // early
  if (!theoradraw(decoder)) {
    const size_t n = movie ? ReadBytes(movie, buffer.data(), static_cast<size_t>(buffersize)) : 0;
    // Pages still complete in the sync layer play before the end counts.
    const int pages = theora_buffer(decoder, buffer.data(), static_cast<int>(n));
    if (n == 0 && pages == 0) {
      if (autoloop == 0) EOT = 1;
      else start(0);
    }
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
  timer = static_cast<uint32_t>(MilliSecs()) - Milliseconds(seconds);
  if (movie) SeekStream(movie, 0);
  else movie = OpenMovie(filename);
  // Feeding starts again at the first byte, so whatever was fed or shown before is dropped.
  if (decoder) resetdecoder(decoder);
  frames = 0;
  EOT = 0;
  paused = false;
  pausetimer = 0;
  return 0;
}

int Ttheora::pause() {
  if (!paused) {
    paused = true;
    pausetimer = Elapsed();
    return 1;
  }
  timer = static_cast<uint32_t>(MilliSecs()) - static_cast<uint32_t>(pausetimer);
  paused = false;
  pausetimer = 0;
  return 0;
}

TtheoraPtr OpenTheora(const std::string& path, int blocksize) {
  TheoraModuleInit();
  auto player = std::make_shared<Ttheora>();
  player->color = 1;
  player->decoder = initdecoder();
  if (!opentheora(player->decoder, path.c_str())) {
    CannotPlay(path, std::string("it cannot be opened (") + std::strerror(errno) + ")");
    return nullptr;
  }
  if (!theoraheader(player->decoder)) {
    CannotPlay(path, player->decoder->failure);
    return nullptr;
  }
  player->width = theorawidth(player->decoder);
  player->height = theoraheight(player->decoder);
  player->fps = static_cast<float>(theorafps(player->decoder));
  if (player->width <= 0 || player->height <= 0 || !(player->fps > 0) ||
      !std::isfinite(player->fps)) {
    CannotPlay(path, "its Theora headers give it no size or no frame rate");
    return nullptr;
  }
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

int StartTheora(const TtheoraPtr& player, float seconds) {
  return player ? player->start(seconds) : 0;
}

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
