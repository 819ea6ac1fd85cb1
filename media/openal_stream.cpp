// The OpenAL stream: one source fed from a ring of 16 buffers of 8192 bytes in the music's own
// sample format and rate, refilled as OpenAL reports them played.
#include <algorithm>
#include <cmath>
#include <numbers>
#include "media/audio_stream.h"
#include "platform/audio/openal/sources.h"

TOpenALAudioStream::TOpenALAudioStream() {
  _bufferbanks.assign(kBufferCount, std::vector<uint8_t>(kBufferSize));
  ALGenBuffers(kBufferCount, _buffers.data());
  _source = ALGenSource();
  if (!_source) return;
  ALSetPosition(_source, 0, 0, 0);
  ALSetVelocity(_source, 0, 0, 0);
  ALSetDirection(_source, 0, 0, 0);
  ALSetRolloff(_source, 0);
  ALSetRelative(_source, true);
}

TOpenALAudioStream::~TOpenALAudioStream() {
  if (_source) Stop();
  else ALDeleteBuffers(kBufferCount, _buffers.data());
}

std::shared_ptr<TOpenALAudioStream> TOpenALAudioStream::Build(const TMusicPtr& source, int flag) {
  (void)flag;  // every stream starts playing
  if (GetBytesPerSample(source->Geti(4)) == 0 || source->Geti(5) <= 0) return nullptr;
  auto stream = std::make_shared<TOpenALAudioStream>();
  if (!stream->_source) return nullptr;  // its buffers go with it
  stream->Hook(stream);
  stream->Music = source;
  stream->format = source->Geti(4);
  stream->samplerate = source->Geti(5);
  source->PlayStatus = 1;
  // A piece shorter than the ring is queued once, not repeated from its start.
  int filled = 0;
  while (filled < kBufferCount && source->Geti(3) != 0) stream->FillBuffer(filled++);
  ALQueueBuffers(stream->_source, filled, stream->_buffers.data());
  ALPlay(stream->_source);
  return stream;
}

void TOpenALAudioStream::FillBuffer(int index) {
  uint8_t* bank = _bufferbanks[index].data();
  Music->FillBuffer(bank, _buffersize);
  const bool mono = format == MUSIC_MONO8 || format == MUSIC_MONO16;
  const bool eightBit = format == MUSIC_MONO8 || format == MUSIC_STEREO8;
  ALBufferPcm(_buffers[index], mono ? 1 : 2, eightBit ? 8 : 16, bank, _buffersize, samplerate);
}

int TOpenALAudioStream::Recycle(int count) {
  int queuedDry = 0;
  for (int k = 0; k < count; ++k) {
    uint32_t name = 0;
    ALUnqueueBuffers(_source, 1, &name);
    if (name == 0) break;
    if (Music->Geti(3) == 0) continue;  // the piece has ended: the buffer stays off the queue
    auto at = std::find(_buffers.begin(), _buffers.end(), name);
    if (at == _buffers.end()) continue;
    FillBuffer(static_cast<int>(at - _buffers.begin()));
    ALQueueBuffers(_source, 1, &name);
    // A source that has run dry plays nothing more of its queue until it is restarted.
    if (!Playing()) ++queuedDry;
  }
  return queuedDry;
}

void TOpenALAudioStream::Update() {
  if (!_source || !Music) return;
  if (Music->Geti(3) == 0 && !Playing()) {
    Stop();
    return;
  }
  // A paused source keeps its queue; nothing is read ahead while it waits.
  if (paused) return;
  // A source that has run dry has played its whole queue; a playing one counts what it has
  // played.
  const int unheard = Recycle(Playing() ? ALBuffersProcessed(_source) : ALBuffersQueued(_source));
  if (Playing()) return;
  // It ran dry, before this tick or during the refill. A restart plays the queue from its
  // head, so every buffer queued before the source stopped (all heard) is refilled first,
  // leaving only what nobody has heard yet.
  Recycle(ALBuffersQueued(_source) - unheard);
  if (ALBuffersQueued(_source) > 0) ALPlay(_source);
}

void TOpenALAudioStream::Stop() {
  if (!_source) return;
  ALStop(_source);
  Unhook();
  ALDeleteSource(_source);
  _source = 0;
  ALDeleteBuffers(kBufferCount, _buffers.data());
  _buffers.fill(0);
  if (!KeepMusic && Music) Music->Free();
  Music = nullptr;
  _bufferbanks.clear();
}

void TOpenALAudioStream::SetPaused(bool pause) {
  if (!_source) return;
  if (pause && !paused) {
    paused = 1;
    ALPause(_source);
  } else if (!pause && paused) {
    paused = 0;
    if (Music) Music->PlayStatus = 1;
    // A source that had run dry before the pause is refilled and restarted by a refill.
    if (ALSourceState(_source) == AL_STATE_PAUSED) ALPlay(_source);
    else Update();
  }
}

void TOpenALAudioStream::SetVolume(float volume) {
  if (_source) ALSetGain(_source, volume);
}

void TOpenALAudioStream::SetPan(float pan) {
  if (!_source) return;
  const double p = std::min(std::max(static_cast<double>(pan), -1.0), 1.0);
  const float degrees = static_cast<float>(p * 90);
  const double radians = degrees * std::numbers::pi / 180.0;
  ALSetPosition(_source, static_cast<float>(std::sin(radians)), 0, static_cast<float>(-std::cos(radians)));
}

void TOpenALAudioStream::SetDepth(float) {}

void TOpenALAudioStream::SetRate(float rate) {
  if (_source) ALSetPitch(_source, rate);
}

bool TOpenALAudioStream::Playing() { return _source && ALSourceState(_source) == AL_STATE_PLAYING; }
