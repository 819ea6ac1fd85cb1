#include "support/sounds.h"

#include <vorbis/vorbisenc.h>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace testsupport {

std::string U32(uint32_t v) {
  return {static_cast<char>(v), static_cast<char>(v >> 8), static_cast<char>(v >> 16), static_cast<char>(v >> 24)};
}

std::string U16(uint16_t v) { return {static_cast<char>(v), static_cast<char>(v >> 8)}; }

std::string PcmFormat(int channels, int rate, int bits, int tag) {
  const int align = channels * bits / 8;
  return U16(static_cast<uint16_t>(tag)) + U16(static_cast<uint16_t>(channels)) + U32(rate) +
         U32(rate * align) + U16(static_cast<uint16_t>(align)) + U16(static_cast<uint16_t>(bits));
}

std::string Wav(const std::string& fmt, const std::string& data, const std::string& middle) {
  const std::string body = "WAVE" + std::string("fmt ") + U32(fmt.size()) + fmt + middle + "data" +
                           U32(data.size()) + data;
  return "RIFF" + U32(body.size()) + body;
}

std::string TinyWav() {
  std::string data(2 * 4000, '\0');
  for (size_t i = 0; i < data.size(); i += 2) data[i + 1] = (i / 40) % 2 ? 0x20 : -0x20;
  return Wav(PcmFormat(1, 8000, 16), data);
}

namespace {

double Sine(double hz, int rate, int frame) {
  return 0.5 * std::sin(2 * std::numbers::pi * hz * frame / rate);
}

}  // namespace

std::string TonePcm(int channels, int rate, int bits, double hz, int frames) {
  std::string out;
  for (int i = 0; i < frames; ++i) {
    const double v = Sine(hz, rate, i);
    for (int c = 0; c < channels; ++c) {
      if (bits == 8) {
        out += static_cast<char>(static_cast<uint8_t>(std::lround(128 + 127 * v)));
      } else {
        out += U16(static_cast<uint16_t>(static_cast<int16_t>(std::lround(32767 * v))));
      }
    }
  }
  return out;
}

namespace {

void Drain(ogg_stream_state& os, std::string& out, bool flush) {
  ogg_page page;
  while (flush ? ogg_stream_flush(&os, &page) : ogg_stream_pageout(&os, &page)) {
    out.append(reinterpret_cast<const char*>(page.header), page.header_len);
    out.append(reinterpret_cast<const char*>(page.body), page.body_len);
  }
}

}  // namespace

std::string OggVorbis(int channels, int rate, int frames, double hz) {
  vorbis_info vi;
  vorbis_info_init(&vi);
  vorbis_encode_init_vbr(&vi, channels, rate, 0.3f);
  vorbis_comment vc;
  vorbis_comment_init(&vc);
  vorbis_dsp_state vd;
  vorbis_analysis_init(&vd, &vi);
  vorbis_block vb;
  vorbis_block_init(&vd, &vb);
  ogg_stream_state os;
  ogg_stream_init(&os, 1234);
  ogg_packet header, comments, codebooks;
  vorbis_analysis_headerout(&vd, &vc, &header, &comments, &codebooks);
  ogg_stream_packetin(&os, &header);
  ogg_stream_packetin(&os, &comments);
  ogg_stream_packetin(&os, &codebooks);
  std::string out;
  Drain(os, out, true);

  auto encode = [&] {
    while (vorbis_analysis_blockout(&vd, &vb) == 1) {
      vorbis_analysis(&vb, nullptr);
      vorbis_bitrate_addblock(&vb);
      ogg_packet packet;
      while (vorbis_bitrate_flushpacket(&vd, &packet)) {
        ogg_stream_packetin(&os, &packet);
        Drain(os, out, false);
      }
    }
  };
  for (int done = 0; done < frames;) {
    const int n = std::min(4096, frames - done);
    float** buffer = vorbis_analysis_buffer(&vd, n);
    for (int i = 0; i < n; ++i)
      for (int c = 0; c < channels; ++c)
        buffer[c][i] = static_cast<float>(Sine(hz, rate, done + i));
    vorbis_analysis_wrote(&vd, n);
    encode();
    done += n;
  }
  vorbis_analysis_wrote(&vd, 0);
  encode();
  Drain(os, out, true);
  ogg_stream_clear(&os);
  vorbis_block_clear(&vb);
  vorbis_dsp_clear(&vd);
  vorbis_comment_clear(&vc);
  vorbis_info_clear(&vi);
  return out;
}

}  // namespace testsupport
