#pragma once
// OpenAL sources and queued buffers for streaming channels outside the platform (music),
// without OpenAL's headers. They belong to the OpenAL driver's device: while another driver
// is current every call does nothing and every query answers 0.
#include <cstdint>

enum { AL_STATE_INITIAL = 1, AL_STATE_PLAYING = 2, AL_STATE_PAUSED = 3, AL_STATE_STOPPED = 4 };

// True while the OpenAL driver is current with its device open.
bool ALReady();
// A new source (0 on failure) and its release.
uint32_t ALGenSource();
void ALDeleteSource(uint32_t source);
void ALGenBuffers(int count, uint32_t* buffers);
void ALDeleteBuffers(int count, const uint32_t* buffers);
// Fills a buffer with PCM of 1 or 2 interleaved channels: 8-bit samples unsigned, 16-bit ones
// signed in the host's byte order; `rate` frames a second. Any other shape leaves it as it was.
void ALBufferPcm(uint32_t buffer, int channels, int bits, const void* data, int bytes, int rate);
void ALQueueBuffers(uint32_t source, int count, const uint32_t* buffers);
void ALUnqueueBuffers(uint32_t source, int count, uint32_t* buffers);
int ALBuffersProcessed(uint32_t source);
int ALBuffersQueued(uint32_t source);
// One of AL_STATE_*, 0 when it cannot be had.
int ALSourceState(uint32_t source);
void ALPlay(uint32_t source);
void ALStop(uint32_t source);
void ALPause(uint32_t source);
void ALSetPosition(uint32_t source, float x, float y, float z);
void ALSetVelocity(uint32_t source, float x, float y, float z);
void ALSetDirection(uint32_t source, float x, float y, float z);
void ALSetGain(uint32_t source, float gain);
void ALSetPitch(uint32_t source, float pitch);
void ALSetRolloff(uint32_t source, float factor);
// A relative source moves with the listener.
void ALSetRelative(uint32_t source, bool relative);
