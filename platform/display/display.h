#pragma once
// Display and window: graphics contexts, the game window with its menu bar (drawn by this
// layer above the canvas), canvases, the mouse pointer and the desktop size.
#include <memory>
#include <string>
#include <vector>
#include "platform/graphics/graphics.h"

class TGraphics;
using TGraphicsPtr = std::shared_ptr<TGraphics>;

enum { GADGET_WINDOW = 1, GADGET_CANVAS = 2, GADGET_MENU = 3, GADGET_DESKTOP = 4 };
// Window style bits.
enum { WINDOW_TITLEBAR = 1, WINDOW_RESIZABLE = 2, WINDOW_MENU = 4, WINDOW_STATUS = 8,
       WINDOW_TOOL = 16, WINDOW_CLIENTCOORDS = 32 };
// Hot-key modifier bits of CreateMenu.
enum { MODIFIER_SHIFT = 1, MODIFIER_CONTROL = 2, MODIFIER_OPTION = 4, MODIFIER_SYSTEM = 8 };

class TGadget {
public:
  virtual ~TGadget() = default;
  int kind = 0;
  std::string text;
  int x = 0, y = 0, width = 0, height = 0;
  int tag = 0;
  int hotKey = 0, modifier = 0;
  std::weak_ptr<TGadget> parent;
  std::vector<std::shared_ptr<TGadget>> children;
};
using TGadgetPtr = std::shared_ptr<TGadget>;

// Selects the drawing driver for contexts made afterwards (names are accepted as given:
// all drawing is done by this layer's software renderer).
void SetGraphicsDriver(const std::string& driver, int defaultFlags = 2);
// A full-screen context: the picture fills the desktop, aspect kept, black bars; pointer hidden.
// Null when the full-screen display cannot be opened.
TGraphicsPtr CreateGraphics(int width, int height, int depth = 0, int hertz = 60, int flags = 2);
void SetGraphics(const TGraphicsPtr& context);
TGraphicsPtr CurrentGraphics();
void CloseGraphics(const TGraphicsPtr& context);
// Shows the back buffer. sync 0 does not wait for the vertical blank.
void Flip(int sync = -1);

TGadgetPtr Desktop();
int GadgetWidth(const TGadgetPtr& gadget);
int GadgetHeight(const TGadgetPtr& gadget);
TGadgetPtr CreateWindow(const std::string& title, int x, int y, int width, int height,
                        const TGadgetPtr& group, int style);
TGadgetPtr WindowMenu(const TGadgetPtr& window);
// A menu or menu entry; "&" marks the mnemonic. Choosing an entry posts EVENT_MENUACTION
// with its tag as data.
TGadgetPtr CreateMenu(const std::string& text, int tag, const TGadgetPtr& parent,
                      int hotKey = 0, int modifier = 0);
void UpdateWindowMenu(const TGadgetPtr& window);
TGadgetPtr CreateCanvas(int x, int y, int width, int height, const TGadgetPtr& parent, int style = 0);
TGraphicsPtr CanvasGraphics(const TGadgetPtr& canvas);
void ActivateGadget(const TGadgetPtr& gadget);

void ShowMouse();
void HideMouse();
bool MouseVisible();

// Number of Flip calls so far (tests wait on it).
long FlipCount();
// True when the SDL video backend is in use (false for the headless backend).
bool DisplayIsReal();
// The desktop size that the headless backend reports (1280 x 800 unless set).
void SetHeadlessDesktopSize(int width, int height);
// Whether the headless backend can open a full-screen display (it can unless set).
void SetHeadlessFullScreen(bool available);
