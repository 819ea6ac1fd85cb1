#include "support/dialog_frame.h"
#include "core/globals.h"

namespace testsupport {

TImagePtr ColourImage(int width, int height, uint32_t argb) {
  TImagePtr image = CreateImage(width, height, 1, 0);
  TPixmapPtr pixels = LockImage(image, 0);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) WritePixel(pixels, x, y, argb);
  return image;
}

void UseTestDialogFrame() {
  imgDialogTop = ColourImage(520, 32, kTestFrameTop);
  imgDialogMiddle = ColourImage(512, 16, kTestFrameMiddle);
  imgDialogBottom = ColourImage(528, 32, kTestFrameBottom);
}

}  // namespace testsupport
