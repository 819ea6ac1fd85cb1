#pragma once
// Shared pieces of the drawing functions (internal to the platform layer).
#include <cstdint>

#include "platform/graphics/blend.h"
#include "platform/graphics/graphics_context.h"
#include "platform/graphics/raster.h"

// The current context (made on first use), without touching its reference count.
TGraphics& ActiveContext();

// The pixels of one frame of an image: the frame's pixmap, limited to the image's frame size.
struct TFrameSource {
  const TPixmap* pixmap = nullptr;
  int width = 0, height = 0;
};
// False for a null image, a frame out of range or a frame without pixels.
bool GetFrame(const TImagePtr& image, int frame, TFrameSource& out);

// Pixels of the context's back buffer that drawing may touch: viewport within the buffer.
struct TClip {
  int x0, y0, x1, y1;
};
TClip ClipOf(const TGraphics& g);

// Bilinear samples of a frame along a row of n pixels, from the source coordinates (u, v) of
// the first pixel's centre, stepping (du, dv) per pixel; edges are clamped. Written to out
// as RGBA, to be blended as one row. Wide: eight pixels at a time where they can be (AVX2),
// which gives the same samples as one at a time.
void BilinearRow(uint8_t* out, const TFrameSource& f, double u, double v, double du, double dv, int n,
                 bool wide = CpuHasAvx2());

// With AVX2 (bilinear_avx2.cpp), eight pixels at a time: the n samples of a row whose pixels
// all take the texel rows r0 and r1 with the vertical weight wy, from the 16.16 coordinate fx
// stepping by sx, the frame's columns running from 0 to maxX. Returns how many it sampled: n,
// or 0 (none) for a coordinate or a step so far out that eight pixels cannot be checked by
// their first and last.
int BilinearBandAvx2(uint8_t* out, const uint8_t* r0, const uint8_t* r1, int wy, int64_t fx, int64_t sx,
                     int maxX, int n);

// The bilinear samples of row py of a placed frame from x0 to x1 (covered pixels), in pieces
// of at most 256 pixels, each handed on as piece(px, n, samples).
template <typename Piece>
void SampleRow(const TFrameSource& f, const TPixelMap& map, int py, int x0, int x1, Piece&& piece) {
  double u, v, du, dv;
  map.StepX(du, dv);
  uint8_t samples[4 * 256];
  for (int px = x0; px < x1; px += 256) {
    const int n = x1 - px < 256 ? x1 - px : 256;
    map.SourceAt(px, py, u, v);
    BilinearRow(samples, f, u, v, du, dv, n);
    piece(px, n, samples);
  }
}

// Where the context's origin, scale and rotation put the image's handle drawn at (x, y).
TPlacement PlaceImage(const TGraphics& g, const TImage& image, float x, float y);

// Draws a frame placed as given (origin already applied) with the context's state;
// filtered frames are sampled bilinearly unless they land 1:1 on the pixel grid.
void DrawFrame(TGraphics& g, const TFrameSource& frame, const TPlacement& place, bool filtered);
