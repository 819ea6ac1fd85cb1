// Pixel coverage of a placed, scaled and rotated source rectangle.
#include "platform/graphics/raster.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// Sine and cosine of an angle in degrees, exact for multiples of 90 degrees so that
// quarter turns map pixel centres onto pixel centres.
void SinCos(double degrees, double& s, double& c) {
  const double d = TurnOf(degrees);
  if (d == 0) { s = 0; c = 1; return; }
  if (d == 90) { s = 1; c = 0; return; }
  if (d == 180) { s = 0; c = -1; return; }
  if (d == 270) { s = -1; c = 0; return; }
  const double r = d * (3.14159265358979323846 / 180.0);
  s = std::sin(r);
  c = std::cos(r);
}

int FloorToInt(double v) {
  constexpr double kLimit = 1 << 28;  // far outside any buffer; keeps the cast defined
  return static_cast<int>(std::floor(std::clamp(v, -kLimit, kLimit)));
}

}  // namespace

double TurnOf(double degrees) {
  if (degrees >= 0 && degrees < 360) return degrees;  // what fmod gives, without its cost
  const double d = std::fmod(degrees, 360.0);
  return d < 0 ? d + 360.0 : d;
}

TPixelMap::TPixelMap(double sourceWidth, double sourceHeight, const TPlacement& p)
    : w_(sourceWidth), h_(sourceHeight) {
  if (!(w_ > 0) || !(h_ > 0) || p.scaleX == 0 || p.scaleY == 0 || !std::isfinite(p.scaleX) ||
      !std::isfinite(p.scaleY) || !std::isfinite(p.x) || !std::isfinite(p.y) ||
      !std::isfinite(p.handleX) || !std::isfinite(p.handleY) || !std::isfinite(p.degrees)) {
    return;  // empty
  }
  double s, c;
  SinCos(p.degrees, s, c);
  ua_ = c / p.scaleX;
  ub_ = s / p.scaleX;
  uc_ = p.handleX - (c * p.x + s * p.y) / p.scaleX;
  va_ = -s / p.scaleY;
  vb_ = c / p.scaleY;
  vc_ = p.handleY - (-s * p.x + c * p.y) / p.scaleY;

  axis_ = c == 1 && p.scaleX == 1 && p.scaleY == 1;
  if (axis_) {
    // Texel of pixel px is floor(px + 0.5 - left), left = x - handleX.
    const double left = p.x - p.handleX, top = p.y - p.handleY;
    offX = -FloorToInt(0.5 - left);
    offY = -FloorToInt(0.5 - top);
    offGrid_ = left != std::floor(left) || top != std::floor(top);
    bx0 = offX;
    by0 = offY;
    bx1 = offX + static_cast<int>(std::ceil(w_));
    by1 = offY + static_cast<int>(std::ceil(h_));
    return;
  }
  double minX = std::numeric_limits<double>::max(), minY = minX;
  double maxX = -minX, maxY = -minX;
  for (double u : {0.0, w_}) {
    for (double v : {0.0, h_}) {
      const double dx = p.scaleX * (u - p.handleX), dy = p.scaleY * (v - p.handleY);
      const double X = p.x + c * dx - s * dy, Y = p.y + s * dx + c * dy;
      minX = std::min(minX, X);
      maxX = std::max(maxX, X);
      minY = std::min(minY, Y);
      maxY = std::max(maxY, Y);
    }
  }
  bx0 = FloorToInt(minX) - 1;
  by0 = FloorToInt(minY) - 1;
  bx1 = FloorToInt(maxX) + 2;
  by1 = FloorToInt(maxY) + 2;
  upright_ = ub_ == 0 && va_ == 0;
}

void TPixelMap::SourceAt(int px, int py, double& u, double& v) const {
  const double X = px + 0.5, Y = py + 0.5;
  u = ua_ * X + ub_ * Y + uc_;
  v = va_ * X + vb_ * Y + vc_;
}

bool TPixelMap::Inside(int px, int py) const {
  double u, v;
  SourceAt(px, py, u, v);
  return u >= 0 && u < w_ && v >= 0 && v < h_;
}

bool TPixelMap::RowSpan(int py, int& x0, int& x1) const {
  if (Empty() || py < by0 || py >= by1) return false;
  if (axis_) {
    x0 = bx0;
    x1 = bx1;
    return true;
  }
  if (upright_) {
    // The row's test of v, as Span and Inside make it; the columns are the same on every row
    // that passes it.
    const double v = vb_ * (py + 0.5) + vc_;
    if (v < 0 || v >= h_) return false;
    if (!spanKnown_) {
      spanFound_ = Span(py, spanX0_, spanX1_);
      spanKnown_ = true;
    }
    x0 = spanX0_;
    x1 = spanX1_;
    return spanFound_;
  }
  return Span(py, x0, x1);
}

bool TPixelMap::Span(int py, int& x0, int& x1) const {
  // Interval of centre abscissas X where 0 <= u < w and 0 <= v < h on this row.
  const double Y = py + 0.5;
  double lo = bx0, hi = bx1 + 1.0;
  const double coef[2] = {ua_, va_}, rest[2] = {ub_ * Y + uc_, vb_ * Y + vc_}, lim[2] = {w_, h_};
  for (int k = 0; k < 2; ++k) {
    if (std::fabs(coef[k]) < 1e-12) {
      if (rest[k] < 0 || rest[k] >= lim[k]) return false;
      continue;
    }
    const double t1 = -rest[k] / coef[k], t2 = (lim[k] - rest[k]) / coef[k];
    lo = std::max(lo, std::min(t1, t2));
    hi = std::min(hi, std::max(t1, t2));
  }
  if (lo > hi) return false;
  // Widen by a pixel and trim with the exact test that TexelAt uses.
  x0 = std::max(bx0, FloorToInt(lo - 0.5) - 1);
  x1 = std::min(bx1, FloorToInt(hi - 0.5) + 2);
  while (x0 < x1 && !Inside(x0, py)) ++x0;
  while (x1 > x0 && !Inside(x1 - 1, py)) --x1;
  return x0 < x1;
}

bool TPixelMap::TexelAt(int px, int py, int& tx, int& ty) const {
  if (Empty()) return false;
  if (axis_) {
    tx = px - offX;
    ty = py - offY;
    return px >= bx0 && px < bx1 && py >= by0 && py < by1;
  }
  double u, v;
  SourceAt(px, py, u, v);
  if (!(u >= 0 && u < w_ && v >= 0 && v < h_)) return false;
  const int maxX = static_cast<int>(std::ceil(w_)) - 1, maxY = static_cast<int>(std::ceil(h_)) - 1;
  tx = std::min(static_cast<int>(u), maxX);
  ty = std::min(static_cast<int>(v), maxY);
  return true;
}
