#pragma once
// The video player: an Ogg Theora file, picture only, decoded step by step into a pixmap or
// an image frame and paced by the millisecond clock.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>
#include "platform/files/stream.h"
#include "platform/graphics/graphics.h"

struct theoradecoder;

class Ttheora {
public:
  ~Ttheora();
  std::string filename;
  int32_t color = 0;    // 1: colour pictures; otherwise grey from the luma plane
  int32_t width = 0, height = 0;
  int32_t sync = 0;     // 1: each packet waits for its time
  int32_t EOT = 0;      // the end of the file was reached (without autoloop)
  float fps = 0;
  int32_t frames = 0;   // picture packets taken since the last start
  bool paused = false;
  int32_t pausetimer = 0;  // while paused, the elapsed time at the pause
  int32_t autoloop = 0;
  TStreamPtr movie;     // the data pass
  std::vector<uint8_t> buffer;
  int32_t buffersize = 0;
  theoradecoder* decoder = nullptr;
  uint32_t timer = 0;   // MilliSecs at playback time zero; differences wrap with the clock

  // One step: holds back, feeds one block, or decodes one packet. 1 when a new picture was
  // written into the pixmap. Picture k is due at k frame intervals after the start and is
  // dropped when it comes more than two intervals late. The video ends once no byte, page
  // or packet is left.
  int draw(TPixmap& pixmap);
  int start(float seconds);
  // 1 when it paused, 0 when it resumed.
  int pause();
  int32_t Elapsed() const;
};
using TtheoraPtr = std::shared_ptr<Ttheora>;

// A started player; null when the file cannot be read, holds no Theora stream, or its
// headers are corrupt or incomplete, each said in one line on standard error. Blocks are cut
// to 1..4096.
TtheoraPtr OpenTheora(const std::string& path, int blocksize);
// Height 0: the video's width; otherwise the width that keeps the aspect at that height.
int TheoraWidth(const TtheoraPtr& player, int height);
int TheoraHeight(const TtheoraPtr& player, int width);
int StartTheora(const TtheoraPtr& player, float seconds);
// 1 once the video has ended (a null player has).
int EOT(const TtheoraPtr& player);
int PauseTheora(const TtheoraPtr& player);
// Scales drawing so that the whole video fits the screen undistorted.
int TheoraFullscreen(const TtheoraPtr& player);
int DrawTheora(const TtheoraPtr& player, const TPixmapPtr& pixmap);
int DrawTheoraImage(const TtheoraPtr& player, const TImagePtr& image, int frame);
// Releases the decoder and the file; the player then reports its end and plays nothing.
int CloseTheora(const TtheoraPtr& player);
