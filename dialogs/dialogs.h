#pragma once
// The modal text box and the question dialog, and the dialog frame they share with the
// option, key set-up, save and load screens.
#include <string>
#include "platform/graphics/graphics.h"

// A text box over the game picture (menuBackground 0) or the title background; closed by
// kEnter or kExit. Always returns 1.
int DisplayText(const std::string& text, int r, int g, int b, const std::string& image,
                int imageRight, int menuBackground);
// A question with up to three answers; returns the position (0 to 2) of the chosen one.
int DisplayOptions(const std::string& text, const std::string& option1, const std::string& option2,
                   const std::string& option3, int menuBackground, int r, int g, int b,
                   const std::string& image, int imageRight);

// The dialog frame around content of a given height: imgDialogTop, imgDialogMiddle stretched
// to that height, imgDialogBottom; centred on the 640-pixel screen and vertically in the
// 416-pixel play field. The top and bottom pieces count 32 pixels each.
struct TDialogFrame {
  int width = 0;   // of the middle piece
  int height = 0;  // of the middle piece: the content's
  int left = 0;    // the middle piece's left edge
  int top = 0;     // the box's top; the content starts 32 pixels lower
  int ContentTop() const { return top + 32; }
};
TDialogFrame DialogFrame(int contentHeight);
// Draws the three pieces in the current colour.
void DrawDialogFrame(const TDialogFrame& frame);

// What the text box and the question dialog lay out beside their text: the line height, the
// text width and the optional portrait, which narrows the text by its width and 32 pixels.
struct TDialogContent {
  int lineHeight = 0;
  int textWidth = 0;
  TImagePtr portrait;  // null without one, also when the file could not be loaded
  int imageRight = 0;
  // The middle piece's height for text of that height: never shorter than the portrait.
  int FrameHeight(int textHeight) const;
  int TextX(const TDialogFrame& frame) const;
  int PortraitX(const TDialogFrame& frame) const;
};
TDialogContent DialogContent(const std::string& image, int imageRight);

// The background of a modal dialog, in white: the title picture, or the frozen game picture.
void DrawDialogBackground(int menuBackground);
// The portrait, if any, in white.
void DrawDialogPortrait(const TDialogContent& content, const TDialogFrame& frame);
// Wrapped text with a black shadow one pixel right and down, then in the colour.
void DrawShadowedText(const std::string& text, int x, int y, int width, int r, int g, int b);

// One pass of a modal box's loop after drawing: shows the picture without waiting, takes one
// event and hands a key or mouse-button release on to GetKeyUp. Returns the code of a key
// press, -1 otherwise.
int ShowAndTakeKey();
