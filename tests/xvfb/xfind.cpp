// Finds a colour on the X screen: xfind X Y W H R G B prints "x y n", the centre of the
// pixels of the rectangle (X, Y, W, H) whose red, green and blue each lie within 12 of R G B,
// relative to the rectangle's corner, and their number n; exit status 1 when there are none.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstdio>
#include <cstdlib>

#include "xchannel.h"

namespace {

bool Near(int a, int b) { return std::abs(a - b) <= 12; }

}  // namespace

int main(int argc, char** argv) {
  if (argc != 8) {
    std::fprintf(stderr, "usage: xfind X Y W H R G B\n");
    return 2;
  }
  int v[7];
  for (int i = 0; i < 7; ++i) v[i] = std::atoi(argv[i + 1]);
  Display* display = XOpenDisplay(nullptr);
  if (!display) {
    std::fprintf(stderr, "xfind: no X display\n");
    return 2;
  }
  XImage* image = XGetImage(display, DefaultRootWindow(display), v[0], v[1], v[2], v[3],
                            AllPlanes, ZPixmap);
  if (!image) {
    std::fprintf(stderr, "xfind: cannot read the screen\n");
    return 2;
  }
  long sumX = 0, sumY = 0, n = 0;
  for (int y = 0; y < v[3]; ++y)
    for (int x = 0; x < v[2]; ++x) {
      const unsigned long p = XGetPixel(image, x, y);
      if (Near(Channel(p, image->red_mask), v[4]) && Near(Channel(p, image->green_mask), v[5]) &&
          Near(Channel(p, image->blue_mask), v[6])) {
        sumX += x;
        sumY += y;
        ++n;
      }
    }
  XDestroyImage(image);
  XCloseDisplay(display);
  if (n == 0) return 1;
  std::printf("%ld %ld %ld\n", sumX / n, sumY / n, n);
  return 0;
}
