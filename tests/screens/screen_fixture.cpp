#include "screen_fixture.h"

#include <algorithm>
#include <filesystem>
#include <memory>

#include "core/game.h"
#include "core/globals.h"
#include "support/dialog_frame.h"
#include "support/files.h"
#include "support/settings.h"

uint32_t MenuOptionColour(int i) { return 0x102030 + 0x200000 * static_cast<uint32_t>(i); }

PixelBox TextCover(const std::string& text, int x, int y) {
  const TPixmapPtr saved = CopyPixmap(BackBuffer());
  SetClsColor(0, 0, 0);
  Cls();
  SetColor(255, 255, 255);
  DrawText(text, x, y);
  const PixelBox box = FindColour(kWhite);
  *BackBuffer() = *saved;
  return box;
}

void ScreenTest::SetUp() {
  testsupport::UseQuestSettings(testsupport::ScratchDir("screen-quest"));
  for (const std::string& dir :
       {settings->imageDir, settings->soundDir, settings->musicDir, settings->mapDir,
        settings->saveDir, settings->tempDir, settings->triggerDir})
    std::filesystem::create_directories(dir);
  titleColor[0] = 205, titleColor[1] = 255, titleColor[2] = 205;
  answerColor[0] = 255, answerColor[1] = 255, answerColor[2] = 155;
  testsupport::UseTestDialogFrame();
  imgMenu = testsupport::ColourImage(640, 480, 0xFF000000 | kBackground);
  for (int i = 0; i < 5; ++i)
    imgMenuOption[i] = testsupport::ColourImage(140, 30, 0xFF000000 | MenuOptionColour(i));
  imgInterface = testsupport::ColourImage(640, 64, 0xFF000000 | kInterface);
  imgGold = nullptr;
  for (TImagePtr& heart : imgLife) heart = nullptr;
  currentMap = nullptr;
  npcList.Clear();
  player = TPlayer::CreatePlayer(0, 0, 0, 0, 0, 0, 1, "Corvel", 6, 6, 0, 6.0f, 1);
  ReleaseHeldKeys();
  auto clock = std::make_unique<CountingLogic>();
  logic = clock.get();
  FixedRateLogic = std::move(clock);
  auto recorder = std::make_unique<RecordingEngine>();
  engine = recorder.get();
  lua = std::move(recorder);
  music = std::make_shared<ProbeChannel>();
  musicChannel = music;
  SetBlend(ALPHABLEND);
  SetAlpha(1);
  SetColor(255, 255, 255);
  FlushEvents();
  SetEventPump([] { throw QueueDrained{}; });
}

void ScreenTest::TearDown() {
  SetEventPump(nullptr);
  FlushEvents();
  lua.reset();
  musicChannel = nullptr;
}

void ScreenTest::Keys(const std::vector<int>& keys) {
  for (int key : keys) PostEvent(EVENT_KEYDOWN, key);
}

bool ScreenTest::Runs(const std::function<int()>& screen, int* result) {
  try {
    const int r = screen();
    if (result) *result = r;
    return true;
  } catch (const QueueDrained&) {
    return false;
  }
}

void ScreenTest::ExpectFrame(int h) {
  const int top = (416 - (h + 64)) / 2, middle = top + 32, bottom = middle + h;
  const uint32_t red = testsupport::kTestFrameTop & 0xFFFFFF,
                 green = testsupport::kTestFrameMiddle & 0xFFFFFF,
                 blue = testsupport::kTestFrameBottom & 0xFFFFFF;
  EXPECT_EQ(Pixel(60, top), red);
  EXPECT_EQ(Pixel(579, middle - 1), red);
  EXPECT_NE(Pixel(60, top - 1), red);
  EXPECT_EQ(Pixel(64, middle), green);
  EXPECT_EQ(Pixel(575, bottom - 1), green);
  EXPECT_NE(Pixel(63, middle), green);
  EXPECT_EQ(Pixel(56, bottom), blue);
  EXPECT_EQ(Pixel(583, bottom + 31), blue);
  EXPECT_NE(Pixel(583, bottom + 32), blue);
}

void ScreenTest::HoldRight() {
  GetKeyDown(settings->kRight);
  ASSERT_EQ(keyHeld[3], 1);
  ASSERT_EQ(player->speedX, player->walkSpeed);
}
