// Synthesis of the effects (16-bit mono WAV) and of the music (Ogg Vorbis, fixed serial
// numbers, so that every build writes the same bytes).
#include "tools/questgen/audio.h"
#include <vorbis/vorbisenc.h>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <vector>
#include "tools/questgen/canvas.h"

namespace {

constexpr int kRate = 22050;
constexpr float kTau = 6.2831853f;

using TSamples = std::vector<float>;

// A tone whose frequency glides from f1 to f2, shaped by attack and decay.
void Tone(TSamples& s, float start, float length, float f1, float f2, float volume,
          float (*wave)(float), float attack = 0.005f) {
  const int first = static_cast<int>(start * kRate), count = static_cast<int>(length * kRate);
  if (s.size() < static_cast<size_t>(first + count)) s.resize(first + count, 0.0f);
  float phase = 0;
  for (int i = 0; i < count; ++i) {
    const float t = static_cast<float>(i) / kRate;
    const float f = f1 + (f2 - f1) * (static_cast<float>(i) / count);
    phase += f / kRate;
    const float env = std::min(1.0f, t / attack) * (1.0f - static_cast<float>(i) / count);
    s[first + i] += wave(phase) * env * volume;
  }
}

float Sine(float p) { return std::sin(p * kTau); }
float Square(float p) { return p - std::floor(p) < 0.5f ? 0.6f : -0.6f; }
float Triangle(float p) { const float f = p - std::floor(p); return 4.0f * std::fabs(f - 0.5f) - 1.0f; }

void NoiseBurst(TSamples& s, float start, float length, float volume, uint32_t seed) {
  TNoise n(seed);
  const int first = static_cast<int>(start * kRate), count = static_cast<int>(length * kRate);
  if (s.size() < static_cast<size_t>(first + count)) s.resize(first + count, 0.0f);
  float low = 0;
  for (int i = 0; i < count; ++i) {
    low = low * 0.7f + (n.Unit() * 2 - 1) * 0.3f;
    s[first + i] += low * volume * (1.0f - static_cast<float>(i) / count);
  }
}

bool WriteWav(const std::string& path, const TSamples& s) {
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  auto u32 = [f](uint32_t v) { for (int i = 0; i < 4; ++i) std::fputc((v >> (8 * i)) & 0xFF, f); };
  auto u16 = [f](uint16_t v) { std::fputc(v & 0xFF, f); std::fputc(v >> 8, f); };
  const uint32_t bytes = static_cast<uint32_t>(s.size() * 2);
  std::fwrite("RIFF", 1, 4, f); u32(36 + bytes); std::fwrite("WAVEfmt ", 1, 8, f);
  u32(16); u16(1); u16(1); u32(kRate); u32(kRate * 2); u16(2); u16(16);
  std::fwrite("data", 1, 4, f); u32(bytes);
  for (float v : s) u16(static_cast<uint16_t>(static_cast<int16_t>(std::lround(std::clamp(v, -1.0f, 1.0f) * 32000))));
  return std::fclose(f) == 0;
}

bool WriteOgg(const std::string& path, const TSamples& s, int serial) {
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  vorbis_info vi;
  vorbis_info_init(&vi);
  if (vorbis_encode_init_vbr(&vi, 1, kRate, 0.2f) != 0) { std::fclose(f); return false; }
  vorbis_comment vc;
  vorbis_comment_init(&vc);
  vorbis_comment_add_tag(&vc, "TITLE", "Corvel demo quest");
  vorbis_dsp_state vd;
  vorbis_block vb;
  vorbis_analysis_init(&vd, &vi);
  vorbis_block_init(&vd, &vb);
  ogg_stream_state os;
  ogg_stream_init(&os, serial);
  ogg_packet header, comment, code;
  vorbis_analysis_headerout(&vd, &vc, &header, &comment, &code);
  ogg_stream_packetin(&os, &header);
  ogg_stream_packetin(&os, &comment);
  ogg_stream_packetin(&os, &code);
  ogg_page og;
  auto writePage = [&] { std::fwrite(og.header, 1, og.header_len, f); std::fwrite(og.body, 1, og.body_len, f); };
  while (ogg_stream_flush(&os, &og)) writePage();
  size_t done = 0;
  bool eos = false;
  while (!eos) {
    const size_t chunk = std::min<size_t>(1024, s.size() - done);
    if (chunk == 0) {
      vorbis_analysis_wrote(&vd, 0);
    } else {
      float** buffer = vorbis_analysis_buffer(&vd, static_cast<int>(chunk));
      for (size_t i = 0; i < chunk; ++i) buffer[0][i] = s[done + i];
      vorbis_analysis_wrote(&vd, static_cast<int>(chunk));
      done += chunk;
    }
    while (vorbis_analysis_blockout(&vd, &vb) == 1) {
      vorbis_analysis(&vb, nullptr);
      vorbis_bitrate_addblock(&vb);
      ogg_packet op;
      while (vorbis_bitrate_flushpacket(&vd, &op)) {
        ogg_stream_packetin(&os, &op);
        while (ogg_stream_pageout(&os, &og)) {
          writePage();
          if (ogg_page_eos(&og)) eos = true;
        }
      }
    }
  }
  ogg_stream_clear(&os);
  vorbis_block_clear(&vb);
  vorbis_dsp_clear(&vd);
  vorbis_comment_clear(&vc);
  vorbis_info_clear(&vi);
  return std::fclose(f) == 0;
}

float Note(int semitonesFromA4) { return 440.0f * std::pow(2.0f, semitonesFromA4 / 12.0f); }

// A looping tune: a melody over a bass line, one note per beat, notes as semitones from A4.
TSamples Tune(const std::vector<int>& melody, const std::vector<int>& bass, float beat,
              float (*lead)(float), float volume) {
  TSamples s(static_cast<size_t>(melody.size() * beat * kRate), 0.0f);
  for (size_t i = 0; i < melody.size(); ++i)
    if (melody[i] > -99) Tone(s, i * beat, beat * 0.95f, Note(melody[i]), Note(melody[i]), volume, lead, 0.02f);
  for (size_t i = 0; i < melody.size(); i += 2) {
    const int b = bass[(i / 2) % bass.size()];
    Tone(s, i * beat, beat * 1.9f, Note(b), Note(b), volume * 0.8f, Triangle, 0.03f);
  }
  s.resize(static_cast<size_t>(melody.size() * beat * kRate));
  return s;
}

}  // namespace

bool WriteSounds(const std::string& dir) {
  const std::vector<std::pair<const char*, std::function<void(TSamples&)>>> effects = {
      {"chime.wav", [](TSamples& s) { Tone(s, 0, 0.25f, 880, 880, 0.5f, Sine); Tone(s, 0.08f, 0.3f, 1320, 1320, 0.4f, Sine); }},
      {"swing.wav", [](TSamples& s) { NoiseBurst(s, 0, 0.18f, 0.8f, 3); Tone(s, 0, 0.18f, 500, 200, 0.2f, Sine); }},
      {"bow.wav", [](TSamples& s) { Tone(s, 0, 0.15f, 300, 120, 0.6f, Triangle); NoiseBurst(s, 0, 0.08f, 0.4f, 4); }},
      {"zap.wav", [](TSamples& s) { Tone(s, 0, 0.3f, 1500, 300, 0.4f, Square); }},
      {"sling.wav", [](TSamples& s) { Tone(s, 0, 0.12f, 200, 600, 0.5f, Triangle); }},
      {"coin.wav", [](TSamples& s) { Tone(s, 0, 0.08f, 1000, 1000, 0.4f, Square); Tone(s, 0.08f, 0.2f, 1500, 1500, 0.4f, Square); }},
      {"hurt.wav", [](TSamples& s) { Tone(s, 0, 0.25f, 300, 90, 0.6f, Square); NoiseBurst(s, 0, 0.1f, 0.5f, 5); }},
      {"buzz.wav", [](TSamples& s) { Tone(s, 0, 0.2f, 110, 110, 0.5f, Square); }},
      {"door.wav", [](TSamples& s) { Tone(s, 0, 0.4f, 90, 60, 0.6f, Triangle); NoiseBurst(s, 0.05f, 0.3f, 0.3f, 6); }},
      {"open.wav", [](TSamples& s) { for (int k = 0; k < 4; ++k) Tone(s, k * 0.07f, 0.2f, Note(3 + k * 4), Note(3 + k * 4), 0.35f, Sine); }},
  };
  for (const auto& [name, make] : effects) {
    TSamples s;
    make(s);
    if (!WriteWav(dir + name, s)) return false;
  }
  return true;
}

bool WriteMusic(const std::string& dir) {
  const int R = -99;  // a rest
  struct TTrack {
    const char* name;
    std::vector<int> melody, bass;
    float beat;
    float (*lead)(float);
  };
  const TTrack tracks[] = {
      {"menu.ogg", {0, 3, 7, 12, 10, 7, 3, R, 5, 8, 12, 15, 12, 8, 5, R}, {-24, -19, -22, -17}, 0.3f, Sine},
      {"village.ogg", {3, 7, 10, 7, 8, 5, 3, R, 3, 5, 7, 10, 12, 10, 7, R}, {-21, -16, -18, -14}, 0.25f, Triangle},
      {"forest.ogg", {0, R, 3, 5, 7, R, 5, 3, 2, R, 5, 7, 8, 7, 5, R}, {-24, -21, -26, -19}, 0.3f, Sine},
      {"cave.ogg", {-5, R, -2, R, -7, R, -3, -2, -5, R, -9, R, -7, -5, -2, R}, {-29, -31, -34, -31}, 0.4f, Triangle},
  };
  int serial = 4100;
  for (const TTrack& t : tracks)
    if (!WriteOgg(dir + t.name, Tune(t.melody, t.bass, t.beat, t.lead, 0.25f), serial++)) return false;
  return true;
}
