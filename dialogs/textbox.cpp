// The dialog frame and the modal text box.
#include "dialogs/dialogs.h"
#include <algorithm>
#include "core/game.h"
#include "core/globals.h"
#include "core/quest_files.h"
#include "dialogs/text.h"
#include "platform/display/display.h"
#include "platform/events/events.h"

TDialogFrame DialogFrame(int contentHeight) {
  TDialogFrame frame;
  frame.width = ImageWidth(imgDialogMiddle);
  frame.height = contentHeight;
  frame.left = (640 - frame.width) / 2;
  frame.top = (416 - (contentHeight + 64)) / 2;
  return frame;
}

void DrawDialogFrame(const TDialogFrame& frame) {
  DrawImage(imgDialogTop, (640 - ImageWidth(imgDialogTop)) / 2, frame.top, 0);
  DrawImageRect(imgDialogMiddle, frame.left, frame.ContentTop(), frame.width, frame.height, 0);
  DrawImage(imgDialogBottom, (640 - ImageWidth(imgDialogBottom)) / 2,
            frame.ContentTop() + frame.height, 0);
}

TDialogContent DialogContent(const std::string& image, int imageRight) {
  TDialogContent content;
  content.lineHeight = TextHeight("Wg");
  content.textWidth = ImageWidth(imgDialogMiddle) - 64;
  content.imageRight = imageRight;
  // No portrait is named by an empty image name.
  if (!image.empty()) content.portrait = LoadQuestImage(settings->imageDir + image);
  if (content.portrait) content.textWidth -= ImageWidth(content.portrait) + 32;
  return content;
}

int TDialogContent::FrameHeight(int textHeight) const {
  return portrait ? std::max(textHeight, ImageHeight(portrait)) : textHeight;
}

int TDialogContent::TextX(const TDialogFrame& frame) const {
  if (!portrait) return (640 - textWidth) / 2;
  if (imageRight) return frame.left + 32;
  return frame.left + 64 + ImageWidth(portrait);
}

int TDialogContent::PortraitX(const TDialogFrame& frame) const {
  if (imageRight) return frame.left + frame.width - ImageWidth(portrait) - 32;
  return frame.left + 32;
}

void DrawDialogBackground(int menuBackground) {
  SetColor(255, 255, 255);
  if (menuBackground)
    DrawImage(imgMenu, 0, 0, 0);
  else
    DrawScreen();
}

void DrawDialogPortrait(const TDialogContent& content, const TDialogFrame& frame) {
  if (!content.portrait) return;
  SetColor(255, 255, 255);
  DrawImage(content.portrait, content.PortraitX(frame), frame.ContentTop(), 0);
}

void DrawShadowedText(const std::string& text, int x, int y, int width, int r, int g, int b) {
  SetColor(0, 0, 0);
  DrawTextEx(text, x + 1, y + 1, width, 0, 0);
  SetColor(r, g, b);
  DrawTextEx(text, x, y, width, 0, 0);
}

int DisplayText(const std::string& text, int r, int g, int b, const std::string& image,
                int imageRight, int menuBackground) {
  const TDialogContent content = DialogContent(image, imageRight);
  const int textHeight = CountLinesEx(text, content.textWidth) * content.lineHeight;
  const TDialogFrame frame = DialogFrame(content.FrameHeight(textHeight));
  const int x = content.TextX(frame);
  for (;;) {
    DrawDialogBackground(menuBackground);
    SetColor(255, 255, 255);
    DrawDialogFrame(frame);
    DrawDialogPortrait(content, frame);
    DrawShadowedText(text, x, frame.ContentTop(), content.textWidth, r, g, b);
    SetColor(255, 255, 255);
    const int key = ShowAndTakeKey();
    if (key >= 0 && (key == settings->kEnter || key == settings->kExit)) {
      FixedRateLogic->Init();
      return 1;
    }
  }
}
