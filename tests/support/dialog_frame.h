#pragma once
// Plain-coloured dialog frame pieces for screen tests, so that pixel checks can tell them
// apart: top 520 x 32 red, middle 512 x 16 green (stretched by the dialogs), bottom 528 x 32
// blue. Each is centred by its own width: top from x 60, middle 64, bottom 56.
#include <cstdint>
#include "platform/graphics/graphics.h"

namespace testsupport {

constexpr uint32_t kTestFrameTop = 0xFFFF0000;
constexpr uint32_t kTestFrameMiddle = 0xFF00FF00;
constexpr uint32_t kTestFrameBottom = 0xFF0000FF;

// An opaque single-frame image of one colour (0xAARRGGBB), neither masked nor filtered.
TImagePtr ColourImage(int width, int height, uint32_t argb);
// Sets imgDialogTop, imgDialogMiddle and imgDialogBottom to the pieces above.
void UseTestDialogFrame();

}  // namespace testsupport
