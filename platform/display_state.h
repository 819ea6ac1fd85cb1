#pragma once
// State of the display shared by the display functions and the SDL event pump.
#include <memory>
#include <vector>
#include "platform/display.h"
#include "platform/menubar.h"
#include "platform/sdl_video.h"

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
  std::unique_ptr<TSdlView> view;       // null on the headless backend
  TPixmapPtr picture;                   // the client area: menu strip above the canvas
};
using TWindowGadgetPtr = std::shared_ptr<TWindowGadget>;

struct TDisplayState {
  bool started = false;
  bool real = false;
  int desktopWidth = 1280, desktopHeight = 800;
  TGadgetPtr desktop;
  std::vector<TWindowGadgetPtr> windows;
  TGraphicsPtr fullscreen;
  std::unique_ptr<TSdlView> fullscreenView;
  bool mouseVisible = true;
  long flips = 0;
  std::string driver = "GL2D";
};

// The display state, with the backend chosen on first use.
TDisplayState& Display();
// The window that an SDL window id belongs to (null for the full-screen view or none).
TWindowGadgetPtr WindowOfView(uint32_t windowId);

// The SDL event pump (sdl_input.cpp): gathers SDL's events into the event queue.
void PumpSdlEvents();
