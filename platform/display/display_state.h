#pragma once
// State of the display shared by the display functions and the backends' event pumps.
#include <memory>
#include <vector>
#include "platform/display/backend.h"
#include "platform/display/display.h"
#include "platform/display/menubar.h"

class TCanvasGadget : public TGadget {
public:
  TGraphicsPtr graphics;
};
using TCanvasGadgetPtr = std::shared_ptr<TCanvasGadget>;

class TWindowGadget : public TGadget {
public:
  int style = 0;
  TGadgetPtr menuRoot;
  TMenuBar menuBar;
  std::weak_ptr<TCanvasGadget> canvas;  // the newest canvas: the one the window shows
  std::unique_ptr<TDisplayView> view;   // null when the backend could not open it
  TPixmapPtr picture;                   // the client area: menu strip above the canvas
};
using TWindowGadgetPtr = std::shared_ptr<TWindowGadget>;

struct TDisplayState {
  std::unique_ptr<TDisplayBackend> backend;
  TGadgetPtr desktop;
  std::vector<TWindowGadgetPtr> windows;
  TGraphicsPtr fullscreen;
  std::unique_ptr<TDisplayView> fullscreenView;
  bool mouseVisible = true;
  long flips = 0;
  std::string driver = "GL2D";
};

// The display state, with the backend chosen on first use: SDL where it starts, else headless.
TDisplayState& Display();
// The window that an SDL window id belongs to (null for the full-screen view or none).
TWindowGadgetPtr WindowOfView(uint32_t windowId);
