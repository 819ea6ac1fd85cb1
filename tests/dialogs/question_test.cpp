// The question dialog: keys and wrap-around, the answers' placement and highlight.
#include <gtest/gtest.h>
#include "core/config.h"
#include "core/globals.h"
#include "dialog_fixture.h"
#include "dialogs/dialogs.h"
#include "platform/display/display.h"
#include "platform/events/events.h"

namespace {

constexpr uint32_t kQuestionColour = 0xFF00FF;
constexpr uint32_t kHighlight = 0xFFFF9B;

struct KeyCase {
  const char* name;
  std::string options[3];
  std::vector<int> keys;  // the last one must close the dialog
  int result;
};

const KeyCase kKeyCases[] = {
    {"TwoEnterFirst", {"Yes", "No", ""}, {kEnter}, 0},
    {"TwoDown", {"Yes", "No", ""}, {kDown, kEnter}, 1},
    {"TwoDownWraps", {"Yes", "No", ""}, {kDown, kDown, kEnter}, 0},
    {"TwoUpWraps", {"Yes", "No", ""}, {kUp, kEnter}, 1},
    {"ExitAndOtherKeysIgnored", {"Yes", "No", ""}, {kDown, kExit, 65, kEnter}, 1},
    {"OneAnswerStays", {"OK", "", ""}, {kUp, kDown, kDown, kEnter}, 0},
    {"ThreeUpWraps", {"A", "B", "C"}, {kUp, kEnter}, 2},
    {"ThreeDownTwice", {"A", "B", "C"}, {kDown, kDown, kEnter}, 2},
    {"ThreeDownWraps", {"A", "B", "C"}, {kDown, kDown, kDown, kEnter}, 0},
    {"ThreeUpTwice", {"A", "B", "C"}, {kUp, kUp, kEnter}, 1},
    {"NoAnswersEnter", {"", "", ""}, {kEnter}, 0},
    {"NoAnswersUp", {"", "", ""}, {kUp, kEnter}, -1},
    {"NoAnswersUpDown", {"", "", ""}, {kUp, kDown, kEnter}, 0},
    // Empty answers are skipped; the result is still the answer's position.
    {"GapFirstStartsOnSecond", {"", "B", "C"}, {kEnter}, 1},
    {"GapFirstDown", {"", "B", "C"}, {kDown, kEnter}, 2},
    {"GapFirstDownWraps", {"", "B", "C"}, {kDown, kDown, kEnter}, 1},
    {"GapMiddleDown", {"A", "", "C"}, {kDown, kEnter}, 2},
    {"GapMiddleUp", {"A", "", "C"}, {kUp, kEnter}, 2},
};

class DialogsQuestionKeys : public DialogTest, public testing::WithParamInterface<KeyCase> {};

TEST_P(DialogsQuestionKeys, SelectionAndResult) {
  const KeyCase& c = GetParam();
  Keys(c.keys);
  const long flips = FlipCount();
  EXPECT_EQ(DisplayOptions("Well?", c.options[0], c.options[1], c.options[2], 1, 255, 255, 255, "", 0),
            c.result);
  EXPECT_EQ(FlipCount() - flips, static_cast<long>(c.keys.size()));
  EXPECT_EQ(logic->inits, 1);
}

INSTANTIATE_TEST_SUITE_P(Cases, DialogsQuestionKeys, testing::ValuesIn(kKeyCases),
                         [](const auto& info) { return std::string(info.param.name); });

using DialogsQuestion = DialogTest;

TEST_F(DialogsQuestion, EnterActsBeforeDownAndDownBeforeUp) {
  settings->kDown = kUp;
  Keys({kUp, kEnter});
  EXPECT_EQ(DisplayOptions("Well?", "A", "B", "C", 1, 255, 255, 255, "", 0), 1);
  settings->kDown = kEnter;
  Keys({kEnter});
  EXPECT_EQ(DisplayOptions("Well?", "A", "B", "C", 1, 255, 255, 255, "", 0), 0);
}

TEST_F(DialogsQuestion, DropsNonKeyEvents) {
  for (int id : {EVENT_MOUSEDOWN, EVENT_MOUSEUP, EVENT_WINDOWCLOSE, EVENT_APPTERMINATE, EVENT_MENUACTION})
    PostEvent(id, kEnter);
  Keys({kDown, kEnter});
  EXPECT_EQ(DisplayOptions("Well?", "A", "B", "", 1, 255, 255, 255, "", 0), 1);
  EXPECT_EQ(QueuedEventCount(), 0);
}

struct PlacementCase {
  const char* name;
  std::string text;
  std::string options[3];
  std::string image;
  int downs;            // kDown presses before the frame that is checked
  int middleHeight;
  int textX;
  int highlightIndex;   // position of the highlighted answer
  int highlightLine;    // its first line, counted from the top of the middle piece
};

const PlacementCase kPlacementCases[] = {
    {"FirstHighlighted", "Question?", {"Yes", "No", ""}, "", 0, 96, 96, 0, 2},
    {"SecondHighlighted", "Question?", {"Yes", "No", ""}, "", 1, 96, 96, 1, 4},
    {"LongQuestionAndAnswerPushDown", "Q1\nQ2", {"A1\nA2", "B", ""}, "", 1, 128, 96, 1, 6},
    {"GapDrawnWithoutHole", "Question?", {"", "B", ""}, "", 0, 64, 96, 1, 2},
    {"TallPortrait", "Question?", {"Yes", "No", ""}, "tall.png", 1, 128, 192, 1, 4},
};

class DialogsQuestionPlacement : public DialogTest,
                                 public testing::WithParamInterface<PlacementCase> {};

TEST_P(DialogsQuestionPlacement, FrameQuestionAndHighlight) {
  const PlacementCase& c = GetParam();
  const int width = c.image.empty() ? 448 : 352;
  const PixelBox question = TextBox(c.text, width);
  const PixelBox answer = TextBox(c.options[c.highlightIndex], width);
  // The pump runs only once the queue is empty: the dialog has drawn the frame to check.
  PixelBox questionSeen, highlightSeen;
  std::vector<int> keys(c.downs, kDown);
  Keys(keys);
  SetEventPump([&] {
    questionSeen = FindColour(kQuestionColour);
    highlightSeen = FindColour(kHighlight);
    PostEvent(EVENT_KEYDOWN, kEnter);
  });
  DisplayOptions(c.text, c.options[0], c.options[1], c.options[2], 1, 255, 0, 255, c.image, 0);

  ExpectFrame(c.middleHeight);
  const int contentTop = (416 - (c.middleHeight + 64)) / 2 + 32;
  EXPECT_EQ(questionSeen, question.Moved(c.textX, contentTop));
  EXPECT_EQ(highlightSeen, answer.Moved(c.textX, contentTop + 16 * c.highlightLine));
}

INSTANTIATE_TEST_SUITE_P(Cases, DialogsQuestionPlacement, testing::ValuesIn(kPlacementCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(DialogsQuestion, ColourIsCutToBytes) {
  Keys({kEnter});
  DisplayOptions("Question?", "Yes", "", "", 1, 300, 256, -1, "", 0);
  const PixelBox question = FindColour(0x2C00FF);
  EXPECT_NE(question.x0, -1);
}

}  // namespace
