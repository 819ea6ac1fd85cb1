// The modal question dialog with up to three answers.
#include <string>
#include <vector>
#include "core/game.h"
#include "core/globals.h"
#include "dialogs/dialogs.h"
#include "dialogs/text.h"
#include "platform/display/display.h"
#include "platform/events/events.h"

namespace {

struct TAnswer {
  const std::string* text;
  int position;  // 0 to 2, what the dialog returns
  int lines;
};

}  // namespace

int DisplayOptions(const std::string& text, const std::string& option1, const std::string& option2,
                   const std::string& option3, int menuBackground, int r, int g, int b,
                   const std::string& image, int imageRight) {
  const TDialogContent content = DialogContent(image, imageRight);
  const int h = content.lineHeight;
  const int questionLines = CountLinesEx(text, content.textWidth);

  // Only the answers given are shown, and the highlight steps over those alone.
  std::vector<TAnswer> answers;
  const std::string* options[3] = {&option1, &option2, &option3};
  int height = h * (questionLines + 1);
  for (int k = 0; k < 3; ++k) {
    if (options[k]->empty()) continue;
    answers.push_back({options[k], k, CountLinesEx(*options[k], content.textWidth)});
    height += h * (answers.back().lines + 1);
  }
  const int n = static_cast<int>(answers.size());
  const TDialogFrame frame = DialogFrame(content.FrameHeight(height));
  const int x = content.TextX(frame);

  int s = 0;
  for (;;) {
    DrawDialogBackground(menuBackground);
    SetColor(255, 255, 255);
    DrawDialogFrame(frame);
    DrawDialogPortrait(content, frame);
    DrawShadowedText(text, x, frame.ContentTop(), content.textWidth, r & 255, g & 255, b & 255);
    // Each answer follows one empty line after the block above it.
    int line = questionLines + 1;
    for (int j = 0; j < n; ++j) {
      const int y = frame.ContentTop() + h * (line + j);
      if (j == s)
        DrawShadowedText(*answers[j].text, x, y, content.textWidth, answerColor[0], answerColor[1],
                         answerColor[2]);
      else
        DrawShadowedText(*answers[j].text, x, y, content.textWidth, 255, 255, 255);
      line += answers[j].lines;
    }
    SetColor(255, 255, 255);
    const int key = ShowAndTakeKey();
    if (key < 0) continue;
    if (key == settings->kEnter) {
      FixedRateLogic->Init();
      // With no answers at all the selection itself (0, or -1 after kUp) is the result.
      return n > 0 ? answers[s].position : s;
    }
    if (key == settings->kDown) {
      if (++s > n - 1) s = 0;
    } else if (key == settings->kUp) {
      if (--s < 0) s = n - 1;
    }
  }
}
