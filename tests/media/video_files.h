#pragma once
// Ogg Theora videos made by the media tests with the encoder.
#include <functional>
#include <string>
#include <vector>
#include <theora/codec.h>

namespace mediatest {

struct Yuv {
  int y, cb, cr;
};

struct VideoSpec {
  int frameWidth = 32, frameHeight = 32;  // encoded size, multiples of 16
  int picWidth = 32, picHeight = 32, picX = 0, picY = 0;
  int fpsNumerator = 25, fpsDenominator = 1;
  int frames = 12;
  int serial = 77;
  th_pixel_fmt pixelFormat = TH_PF_420;
  int keyframeEvery = 64;       // 1: every picture stands alone
  bool pagePerPicture = false;  // each picture packet ends its page
  // The colour of a pixel (x, y over the encoded frame) of frame k.
  std::function<Yuv(int k, int x, int y)> colour = [](int k, int, int) { return Palette(k); };
  int corruptHeader = -1;  // index of a header packet to damage, -1 none
  static Yuv Palette(int k);  // red, green, blue, grey in turn
  static Yuv Numbered(int k);  // a grey of its own for each of the first 12 pictures
};

// The number of a picture of Numbered greys, from the red byte of a converted pixel.
int PictureNumber(const unsigned char* rgba);

// The video's Ogg pages, one string per page.
std::vector<std::string> TheoraPages(const VideoSpec& spec);
// Pages of the file's bytes.
std::vector<std::string> SplitPages(const std::string& ogg);
// Beginning pages first (in the order of the lists), then the rest of each list in turn.
std::string Mux(const std::vector<std::vector<std::string>>& streams);
std::string Join(const std::vector<std::string>& pages, size_t from = 0, size_t count = std::string::npos);
inline std::string TheoraVideo(const VideoSpec& spec = {}) { return Join(TheoraPages(spec)); }

}  // namespace mediatest
