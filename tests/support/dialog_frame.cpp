#include "support/dialog_frame.h"
#include "core/globals.h"

TImagePtr SolidImage(int width, int height, uint32_t argb) {
  TImagePtr image = CreateImage(width, height, 1, 0);
  TPixmapPtr pixels = LockImage(image, 0);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) WritePixel(pixels, x, y, argb);
  return image;
}

void UseTestDialogFrame() {
  imgDialogTop = SolidImage(520, 32, kTestFrameTop);
  imgDialogMiddle = SolidImage(512, 16, kTestFrameMiddle);
  imgDialogBottom = SolidImage(528, 32, kTestFrameBottom);
}
