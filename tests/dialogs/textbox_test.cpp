// The text box: frame geometry, text and portrait placement, closing keys, the clock reset.
#include <gtest/gtest.h>
#include "dialog_fixture.h"
#include "dialogs/dialogs.h"
#include "platform/display/display.h"
#include "platform/events/events.h"
#include "support/dialog_frame.h"

namespace {

constexpr uint32_t kTextColour = 0xFF00FF;

struct BoxCase {
  const char* name;
  std::string text;
  std::string image;
  int imageRight;
  int middleHeight;
  int textX, textWidth;
  int portraitX;  // -1 without a portrait
};

// The middle piece is 512 wide from x 64; a 64 x 48 portrait narrows the text to 352.
const BoxCase kBoxCases[] = {
    {"OneLine", "Hello there", "", 0, 16, 96, 448, -1},
    {"FiveLines", Words(26), "", 0, 80, 96, 448, -1},
    {"EmptyTextIsOneLine", "", "", 0, 16, 96, 448, -1},
    {"PortraitLeftTallerThanText", "Hello there", "portrait.png", 0, 48, 192, 352, 96},
    {"PortraitLeftFiveNarrowLines", Words(21), "portrait.png", 0, 80, 192, 352, 96},
    {"PortraitRightTallerThanText", "Hello there", "portrait.png", 1, 48, 96, 352, 480},
    {"PortraitRightFiveNarrowLines", Words(21), "portrait.png", 7, 80, 96, 352, 480},
    {"MissingPortraitAsNone", Words(26), "missing.png", 1, 80, 96, 448, -1},
};

class DialogsTextBoxLayout : public DialogTest, public testing::WithParamInterface<BoxCase> {};

TEST_P(DialogsTextBoxLayout, FramePortraitAndText) {
  const BoxCase& c = GetParam();
  const PixelBox glyphs = TextBox(c.text, c.textWidth);
  Keys({kEnter});
  EXPECT_EQ(DisplayText(c.text, 255, 0, 255, c.image, c.imageRight, 1), 1);

  ExpectFrame(c.middleHeight);
  const int contentTop = (416 - (c.middleHeight + 64)) / 2 + 32;
  if (c.portraitX >= 0)
    EXPECT_EQ(FindColour(kYellow), (PixelBox{c.portraitX, contentTop, c.portraitX + 63, contentTop + 47}));
  else
    EXPECT_EQ(FindColour(kYellow).x0, -1);
  if (glyphs.x0 < 0) {
    EXPECT_EQ(FindColour(kTextColour).x0, -1);
    return;
  }
  EXPECT_EQ(FindColour(kTextColour), glyphs.Moved(c.textX, contentTop));
  // The shadow's far corner is never covered by the text itself.
  const PixelBox shadow = FindColour(0x000000);
  EXPECT_EQ(shadow.x1, glyphs.x1 + c.textX + 1);
  EXPECT_EQ(shadow.y1, glyphs.y1 + contentTop + 1);
}

INSTANTIATE_TEST_SUITE_P(Cases, DialogsTextBoxLayout, testing::ValuesIn(kBoxCases),
                         [](const auto& info) { return std::string(info.param.name); });

using DialogsTextBox = DialogTest;

TEST_F(DialogsTextBox, ClosesOnEnterOrExitAfterDrawingAFrame) {
  for (int key : {kEnter, kExit}) {
    logic->inits = 0;
    const long flips = FlipCount();
    Keys({key});
    SetColor(10, 20, 30);  // left by the caller: the picture is still drawn in white
    EXPECT_EQ(DisplayText("Hi", 255, 255, 255, "", 0, 1), 1);
    EXPECT_EQ(FlipCount() - flips, 1);
    EXPECT_EQ(logic->inits, 1);
    EXPECT_EQ(Pixel(0, 0), kBackground);
    EXPECT_EQ(Pixel(64, 200), testsupport::kTestFrameMiddle & 0xFFFFFF);
  }
}

TEST_F(DialogsTextBox, DropsEveryOtherEventOnePerFrame) {
  Keys({65, kUp, kDown});
  for (int id : {EVENT_MOUSEDOWN, EVENT_MOUSEUP, EVENT_WINDOWCLOSE, EVENT_APPTERMINATE, EVENT_MENUACTION})
    PostEvent(id, kEnter);
  Keys({kExit, kEnter});
  const long flips = FlipCount();
  SetColor(10, 20, 30);
  EXPECT_EQ(DisplayText("Hi", 300, -5, 7, "", 0, 1), 1);
  EXPECT_EQ(FlipCount() - flips, 9);
  EXPECT_EQ(QueuedEventCount(), 1);  // the kEnter after kExit is left for the game
  EXPECT_EQ(logic->inits, 1);
  int r, g, b;
  GetColor(r, g, b);
  EXPECT_EQ(r + g + b, 3 * 255);
}

TEST_F(DialogsTextBox, WaitsForAKeyThatArrivesLater) {
  int polls = 0;
  SetEventPump([&] {
    if (++polls == 5) PostEvent(EVENT_KEYDOWN, kEnter);
  });
  const long flips = FlipCount();
  EXPECT_EQ(DisplayText("Hi", 255, 255, 255, "", 0, 1), 1);
  EXPECT_GE(FlipCount() - flips, 5);
}

}  // namespace
