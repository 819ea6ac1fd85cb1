// Thin OpenAL calls for streaming channels; guarded by the driver being OpenAL.
#include "platform/audio/openal/sources.h"

#include <AL/al.h>

#include "platform/audio/audio.h"

bool ALReady() { return AudioDriverName() == "OpenAL"; }

uint32_t ALGenSource() {
  if (!ALReady()) return 0;
  ALuint source = 0;
  alGetError();
  alGenSources(1, &source);
  return alGetError() == AL_NO_ERROR ? source : 0;
}

void ALDeleteSource(uint32_t source) {
  ALuint id = source;
  if (ALReady() && id != 0) alDeleteSources(1, &id);
}

void ALGenBuffers(int count, uint32_t* buffers) {
  for (int i = 0; i < count; ++i) buffers[i] = 0;
  if (ALReady() && count > 0) alGenBuffers(count, reinterpret_cast<ALuint*>(buffers));
}

void ALDeleteBuffers(int count, const uint32_t* buffers) {
  if (ALReady() && count > 0) alDeleteBuffers(count, reinterpret_cast<const ALuint*>(buffers));
}

void ALBufferPcm(uint32_t buffer, int channels, int bits, const void* data, int bytes, int rate) {
  ALenum format = 0;
  if (channels == 1) format = bits == 8 ? AL_FORMAT_MONO8 : bits == 16 ? AL_FORMAT_MONO16 : 0;
  if (channels == 2) format = bits == 8 ? AL_FORMAT_STEREO8 : bits == 16 ? AL_FORMAT_STEREO16 : 0;
  if (ALReady() && format != 0) alBufferData(buffer, format, data, bytes, rate);
}

void ALQueueBuffers(uint32_t source, int count, const uint32_t* buffers) {
  if (ALReady() && count > 0) {
    alSourceQueueBuffers(source, count, reinterpret_cast<const ALuint*>(buffers));
  }
}

void ALUnqueueBuffers(uint32_t source, int count, uint32_t* buffers) {
  if (ALReady() && count > 0) {
    alSourceUnqueueBuffers(source, count, reinterpret_cast<ALuint*>(buffers));
  }
}

int ALBuffersProcessed(uint32_t source) {
  ALint processed = 0;
  if (ALReady()) alGetSourcei(source, AL_BUFFERS_PROCESSED, &processed);
  return processed;
}

int ALBuffersQueued(uint32_t source) {
  ALint queued = 0;
  if (ALReady()) alGetSourcei(source, AL_BUFFERS_QUEUED, &queued);
  return queued;
}

int ALSourceState(uint32_t source) {
  ALint state = 0;
  if (ALReady()) alGetSourcei(source, AL_SOURCE_STATE, &state);
  switch (state) {
    case AL_INITIAL: return AL_STATE_INITIAL;
    case AL_PLAYING: return AL_STATE_PLAYING;
    case AL_PAUSED: return AL_STATE_PAUSED;
    case AL_STOPPED: return AL_STATE_STOPPED;
    default: return 0;
  }
}

void ALPlay(uint32_t source) {
  if (ALReady()) alSourcePlay(source);
}

void ALStop(uint32_t source) {
  if (ALReady()) alSourceStop(source);
}

void ALPause(uint32_t source) {
  if (ALReady()) alSourcePause(source);
}

void ALSetPosition(uint32_t source, float x, float y, float z) {
  if (ALReady()) alSource3f(source, AL_POSITION, x, y, z);
}

void ALSetVelocity(uint32_t source, float x, float y, float z) {
  if (ALReady()) alSource3f(source, AL_VELOCITY, x, y, z);
}

void ALSetDirection(uint32_t source, float x, float y, float z) {
  if (ALReady()) alSource3f(source, AL_DIRECTION, x, y, z);
}

void ALSetGain(uint32_t source, float gain) {
  if (ALReady()) alSourcef(source, AL_GAIN, gain);
}

void ALSetPitch(uint32_t source, float pitch) {
  if (ALReady()) alSourcef(source, AL_PITCH, pitch);
}

void ALSetRolloff(uint32_t source, float factor) {
  if (ALReady()) alSourcef(source, AL_ROLLOFF_FACTOR, factor);
}

void ALSetRelative(uint32_t source, bool relative) {
  if (ALReady()) alSourcei(source, AL_SOURCE_RELATIVE, relative ? AL_TRUE : AL_FALSE);
}
