#include "music_files.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vorbis/vorbisenc.h>

namespace mediatest {

std::string Pattern(size_t bytes) {
  std::string out(bytes, '\0');
  for (size_t i = 0; i < bytes; ++i) out[i] = static_cast<char>(i % 251);
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

std::string OggVorbis(int channels, int rate, int frames) {
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
    for (int i = 0; i < n; ++i) {
      const float t = static_cast<float>(done + i) / static_cast<float>(rate);
      for (int c = 0; c < channels; ++c) buffer[c][i] = 0.5f * std::sin(2 * 3.14159f * (440.0f + 110 * c) * t);
    }
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
