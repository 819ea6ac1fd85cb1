#include "dialog_fixture.h"
#include <algorithm>
#include <filesystem>
#include <memory>
#include "core/config.h"
#include "core/globals.h"
#include "dialogs/text.h"
#include "platform/events/events.h"
#include "support/dialog_frame.h"
#include "support/files.h"
#include "support/settings.h"

namespace {

void WritePortrait(const std::string& name, int width, int height) {
  TPixmapPtr pixmap = CreatePixmap(width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) WritePixel(pixmap, x, y, 0xFF000000 | kYellow);
  ASSERT_TRUE(SavePixmapPNG(pixmap, settings->imageDir + name));
}

}  // namespace

PixelBox TextBox(const std::string& text, int width) {
  SetClsColor(0, 0, 0);
  Cls();
  SetColor(255, 255, 255);
  DrawTextEx(text, 0, 0, width, 0, 0);
  return FindColour(0xFFFFFF);
}

std::string Words(int count) {
  std::string text;
  for (int i = 0; i < count; ++i) text += i ? " abcdefg" : "abcdefg";
  return text;
}

void DialogTest::SetUp() {
  testsupport::UseQuestSettings(testsupport::ScratchDir("dialog-quest"));
  std::filesystem::create_directories(settings->imageDir);
  WritePortrait("portrait.png", 64, 48);
  WritePortrait("tall.png", 64, 128);
  settings->kEnter = kEnter;
  settings->kExit = kExit;
  settings->kUp = kUp;
  settings->kDown = kDown;
  answerColor[0] = 255, answerColor[1] = 255, answerColor[2] = 155;
  testsupport::UseTestDialogFrame();
  imgMenu = testsupport::ColourImage(640, 480, 0xFF000000 | kBackground);
  auto clock = std::make_unique<CountingLogic>();
  logic = clock.get();
  FixedRateLogic = std::move(clock);
  SetColor(255, 255, 255);
  FlushEvents();
}

void DialogTest::TearDown() {
  SetEventPump(nullptr);
  FlushEvents();
}

void DialogTest::Keys(const std::vector<int>& keys) {
  for (int key : keys) PostEvent(EVENT_KEYDOWN, key);
}

void DialogTest::ExpectFrame(int h) {
  const int top = (416 - (h + 64)) / 2, middle = top + 32, bottom = middle + h;
  const uint32_t red = testsupport::kTestFrameTop & 0xFFFFFF, green = testsupport::kTestFrameMiddle & 0xFFFFFF,
                 blue = testsupport::kTestFrameBottom & 0xFFFFFF;
  // Top piece, 520 wide from x 60.
  EXPECT_EQ(Pixel(60, top), red);
  EXPECT_EQ(Pixel(579, middle - 1), red);
  EXPECT_EQ(Pixel(59, top), kBackground);
  EXPECT_EQ(Pixel(580, middle - 1), kBackground);
  EXPECT_EQ(Pixel(60, top - 1), kBackground);
  // Middle piece, 512 wide from x 64, stretched to h.
  EXPECT_EQ(Pixel(64, middle), green);
  EXPECT_EQ(Pixel(575, bottom - 1), green);
  EXPECT_EQ(Pixel(63, middle), kBackground);
  EXPECT_EQ(Pixel(576, bottom - 1), kBackground);
  // Bottom piece, 528 wide from x 56.
  EXPECT_EQ(Pixel(56, bottom), blue);
  EXPECT_EQ(Pixel(583, bottom + 31), blue);
  EXPECT_EQ(Pixel(55, bottom), kBackground);
  EXPECT_EQ(Pixel(583, bottom + 32), kBackground);
}
