#include "video_files.h"

#include <ogg/ogg.h>
#include <theora/theoraenc.h>

namespace mediatest {

Yuv VideoSpec::Palette(int k) {
  static const Yuv colours[] = {{81, 90, 240}, {145, 54, 34}, {41, 240, 110}, {126, 128, 128}};
  return colours[k % 4];
}

Yuv VideoSpec::Numbered(int k) { return {32 + 16 * k, 128, 128}; }

int PictureNumber(const unsigned char* rgba) {
  const double luma = rgba[0] / 1.164 + 16;
  return static_cast<int>((luma - 32) / 16 + 0.5);
}

namespace {

void Pages(ogg_stream_state& os, std::vector<std::string>& out, bool flush) {
  ogg_page page;
  while (flush ? ogg_stream_flush(&os, &page) : ogg_stream_pageout(&os, &page)) {
    out.emplace_back(reinterpret_cast<const char*>(page.header), page.header_len);
    out.back().append(reinterpret_cast<const char*>(page.body), page.body_len);
  }
}

}  // namespace

std::vector<std::string> TheoraPages(const VideoSpec& spec) {
  th_info info;
  th_info_init(&info);
  info.frame_width = spec.frameWidth;
  info.frame_height = spec.frameHeight;
  info.pic_width = spec.picWidth;
  info.pic_height = spec.picHeight;
  info.pic_x = spec.picX;
  info.pic_y = spec.picY;
  info.fps_numerator = spec.fpsNumerator;
  info.fps_denominator = spec.fpsDenominator;
  info.aspect_numerator = 1;
  info.aspect_denominator = 1;
  info.colorspace = TH_CS_UNSPECIFIED;
  info.pixel_fmt = spec.pixelFormat;
  info.quality = 63;
  info.keyframe_granule_shift = 6;
  th_enc_ctx* encoder = th_encode_alloc(&info);
  int keyframeEvery = spec.keyframeEvery;
  th_encode_ctl(encoder, TH_ENCCTL_SET_KEYFRAME_FREQUENCY_FORCE, &keyframeEvery,
                sizeof keyframeEvery);
  th_comment comment;
  th_comment_init(&comment);
  ogg_stream_state os;
  ogg_stream_init(&os, spec.serial);
  std::vector<std::string> pages;
  ogg_packet packet;
  for (int n = 0; th_encode_flushheader(encoder, &comment, &packet) > 0; ++n) {
    std::string damaged;
    if (n == spec.corruptHeader) {
      damaged.assign(reinterpret_cast<const char*>(packet.packet), packet.bytes);
      damaged[1] = 'x';  // no longer "theora"
      packet.packet = reinterpret_cast<unsigned char*>(damaged.data());
    }
    ogg_stream_packetin(&os, &packet);
    if (n == 0) Pages(os, pages, true);  // the first page holds the first header alone
  }
  Pages(os, pages, true);

  const int w = spec.frameWidth, h = spec.frameHeight;
  const int cw = spec.pixelFormat == TH_PF_444 ? w : w / 2;
  const int ch = spec.pixelFormat == TH_PF_420 ? h / 2 : h;
  std::vector<unsigned char> y(w * h), cb(cw * ch), cr(cw * ch);
  for (int k = 0; k < spec.frames; ++k) {
    for (int row = 0; row < h; ++row) {
      for (int col = 0; col < w; ++col) {
        const Yuv c = spec.colour(k, col, row);
        y[row * w + col] = static_cast<unsigned char>(c.y);
        // Each chroma sample takes the colour of the first pixel it covers.
        if (row % (h / ch) == 0 && col % (w / cw) == 0) {
          const int at = (row / (h / ch)) * cw + col / (w / cw);
          cb[at] = static_cast<unsigned char>(c.cb);
          cr[at] = static_cast<unsigned char>(c.cr);
        }
      }
    }
    th_ycbcr_buffer planes = {
        {w, h, w, y.data()}, {cw, ch, cw, cb.data()}, {cw, ch, cw, cr.data()}};
    th_encode_ycbcr_in(encoder, planes);
    while (th_encode_packetout(encoder, k == spec.frames - 1, &packet) > 0) {
      ogg_stream_packetin(&os, &packet);
      Pages(os, pages, spec.pagePerPicture);
    }
  }
  Pages(os, pages, true);
  ogg_stream_clear(&os);
  th_comment_clear(&comment);
  th_encode_free(encoder);
  th_info_clear(&info);
  return pages;
}

std::vector<std::string> SplitPages(const std::string& ogg) {
  std::vector<std::string> pages;
  for (size_t at = 0; at + 27 <= ogg.size();) {
    const size_t segments = static_cast<unsigned char>(ogg[at + 26]);
    size_t body = 0;
    for (size_t s = 0; s < segments; ++s) body += static_cast<unsigned char>(ogg[at + 27 + s]);
    const size_t size = 27 + segments + body;
    pages.push_back(ogg.substr(at, size));
    at += size;
  }
  return pages;
}

std::string Join(const std::vector<std::string>& pages, size_t from, size_t count) {
  std::string out;
  for (size_t i = from; i < pages.size() && i - from < count; ++i) out += pages[i];
  return out;
}

std::string Mux(const std::vector<std::vector<std::string>>& streams) {
  std::string out;
  for (const auto& pages : streams) out += pages.at(0);
  for (const auto& pages : streams) out += Join(pages, 1);
  return out;
}

}  // namespace mediatest
