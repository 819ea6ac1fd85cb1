#include "music_files.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>
#include <vorbis/vorbisenc.h>
#include <vorbis/vorbisfile.h>

namespace mediatest {

std::string Pattern(size_t bytes) {
  std::string out(bytes, '\0');
  for (size_t i = 0; i < bytes; ++i) out[i] = static_cast<char>(i % 251);
  return out;
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

std::vector<int16_t> DecodeOggFile(const std::string& path) {
  std::vector<int16_t> out;
  OggVorbis_File file;
  if (ov_fopen(path.c_str(), &file) != 0) return out;
  char buffer[4096];
  int bitstream = 0;
  for (long n; (n = ov_read(&file, buffer, sizeof buffer, 0, 2, 1, &bitstream)) != 0;) {
    if (n < 0) continue;
    const auto* samples = reinterpret_cast<const int16_t*>(buffer);
    out.insert(out.end(), samples, samples + n / 2);
  }
  ov_clear(&file);
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

ScriptedMusic::ScriptedMusic(std::string n, std::vector<std::string>* l, int size)
    : name(std::move(n)), log(l) {
  STREAM_SIZE = size;
}

int ScriptedMusic::FillBuffer(uint8_t* buffer, int length) {
  ++fills;
  std::memset(buffer, fills & 0xFF, static_cast<size_t>(length));
  if (onFill) onFill(fills);
  if (STREAM_SIZE == 0) return 0;
  STREAM_POS += length;
  if (STREAM_POS >= STREAM_SIZE) {
    if (STREAM_LOOP == 1) {
      STREAM_POS = 0;
    } else {
      PlayStatus = 0;
      Stop();
    }
  }
  return 0;
}

int ScriptedMusic::Stop() {
  STREAM_POS = 0;
  return 0;
}

int ScriptedMusic::Free() {
  ++frees;
  return 0;
}

int32_t ScriptedMusic::Geti(int property) {
  if (property == 3 && log) log->push_back(name);
  return TMusic::Geti(property);
}

}  // namespace mediatest
