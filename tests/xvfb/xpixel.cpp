// Prints the red, green and blue of one pixel of the X screen: xpixel X Y -> "R G B".
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstdio>
#include <cstdlib>

#include "xchannel.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: xpixel X Y\n");
    return 2;
  }
  Display* display = XOpenDisplay(nullptr);
  if (!display) {
    std::fprintf(stderr, "xpixel: no X display\n");
    return 1;
  }
  Window root = DefaultRootWindow(display);
  XImage* image = XGetImage(display, root, std::atoi(argv[1]), std::atoi(argv[2]), 1, 1, AllPlanes,
                            ZPixmap);
  if (!image) {
    std::fprintf(stderr, "xpixel: cannot read the screen\n");
    return 1;
  }
  unsigned long pixel = XGetPixel(image, 0, 0);
  std::printf("%d %d %d\n", Channel(pixel, image->red_mask), Channel(pixel, image->green_mask),
              Channel(pixel, image->blue_mask));
  XDestroyImage(image);
  XCloseDisplay(display);
  return 0;
}
