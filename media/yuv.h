#pragma once
// Studio-range (BT.601) Y'CbCr to RGBA through lookup tables built once, when the first video
// is opened (TheoraModuleInit).
#include <cstdint>

struct theoradecoder;

// Every entry is a colour component 0..255.
extern uint8_t yuv_bw[256];            // [Y]
extern uint8_t yuv_r[256 * 256];       // [Y * 256 + Cr]
extern uint8_t yuv_b[256 * 256];       // [Y * 256 + Cb]
extern uint8_t yuv_g[256 * 256 * 256]; // [Y * 65536 + Cr * 256 + Cb]

void TYUVinit();
// Writes the top-left width x height pixels of the decoder's picture (its displayed region)
// as RGBA rows of exactly width * 4 bytes; alpha 255. Pixels beyond the displayed picture are
// left as they are.
void TYUVdrawYUV(uint8_t* pixels, int width, int height, const theoradecoder* decoder);
// The same in grey, from the luma plane alone.
void TYUVdrawY(uint8_t* pixels, int width, int height, const theoradecoder* decoder);
