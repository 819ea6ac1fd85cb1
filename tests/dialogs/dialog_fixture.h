#pragma once
// Shared set-up of the dialog tests: settings on a scratch quest with two portraits (64 x 48
// "portrait.png", 64 x 128 "tall.png", yellow), frame pieces, a plain title background, a
// counting logic clock, and pixel searches on the back buffer.
#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "core/logic.h"
#include "platform/graphics/graphics.h"
#include "support/pixels.h"

constexpr uint32_t kBackground = 0x404040;
constexpr uint32_t kYellow = 0xFFFF00;
constexpr int kEnter = 13, kExit = 27, kUp = 38, kDown = 40;

// A logic clock that counts its resets.
class CountingLogic : public TFixedRateLogic {
public:
  int inits = 0;
  int Init() override {
    ++inits;
    return 0;
  }
};

using testsupport::FindColour;
using testsupport::Pixel;
using testsupport::PixelBox;

// The box that DrawTextEx(text, 0, 0, width, 0, 0) covers.
PixelBox TextBox(const std::string& text, int width);
// `count` words "abcdefg" separated by spaces.
std::string Words(int count);

class DialogTest : public testing::Test {
protected:
  void SetUp() override;
  void TearDown() override;
  // Queues key-downs (and other events as {id, data} pairs).
  static void Keys(const std::vector<int>& keys);
  // Checks the three frame pieces around a middle piece of height h.
  static void ExpectFrame(int h);
  CountingLogic* logic = nullptr;
};
