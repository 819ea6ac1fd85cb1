// Display and window: the public operations, over the SDL or the headless backend.
#include <algorithm>
#include <cstring>
#include <utility>

#include "platform/display/display_state.h"
#include "platform/graphics/graphics_context.h"
#include "platform/system/app.h"
#include "platform/system/internal.h"

namespace {

// Never destroyed: the shutdown callback closes the backend in its place in the tear-down.
TDisplayState* gDisplay = nullptr;

// Closes every view and the backend; what follows is headless.
void ShutdownDisplay() {
  TDisplayState& d = *gDisplay;
  d.fullscreenView.reset();
  for (const TWindowGadgetPtr& w : d.windows) w->view.reset();
  d.backend = MakeHeadlessDisplay();
}

TWindowGadgetPtr AsWindow(const TGadgetPtr& gadget) {
  return std::dynamic_pointer_cast<TWindowGadget>(gadget);
}

// Fits the window's picture and its view's client area to the canvas plus the menu strip.
void FitWindow(TWindowGadget& w) {
  int height = w.height + w.menuBar.Height();
  if (!w.picture || w.picture->width != w.width || w.picture->height != height) {
    w.picture = std::make_shared<TPixmap>(std::max(w.width, 1), std::max(height, 1));
    if (w.view) w.view->SetClientSize(w.width, height);
  }
}

void PresentWindow(TWindowGadget& w, const TGraphics& canvas, int sync) {
  FitWindow(w);
  TPixmap& picture = *w.picture;
  const TPixmap& source = *canvas.backBuffer;
  int top = w.menuBar.Height();
  int rows = std::min(source.height, picture.height - top);
  size_t rowBytes = static_cast<size_t>(std::min(source.width, picture.width)) * 4;
  for (int y = 0; y < rows; ++y) {
    std::memcpy(picture.PixelPtr(0, y + top), source.PixelPtr(0, y), rowBytes);
  }
  w.menuBar.Draw(w.picture);
  w.view->Present(picture, sync);
}

std::pair<int, int> DesktopSize() {
  std::pair<int, int> size;
  Display().backend->DesktopSize(size.first, size.second);
  return size;
}

void SetMouseVisible(bool visible) {
  TDisplayState& d = Display();
  d.mouseVisible = visible;
  d.backend->SetCursorVisible(visible);
}

}  // namespace

TDisplayState& Display() {
  if (!gDisplay) {
    gDisplay = new TDisplayState;
    gDisplay->backend = MakeSdlDisplay();
    if (!gDisplay->backend) gDisplay->backend = MakeHeadlessDisplay();
    AddShutdownCallback(ShutdownDisplay);
  }
  return *gDisplay;
}

TWindowGadgetPtr WindowOfView(uint32_t windowId) {
  if (!gDisplay) return nullptr;
  for (const TWindowGadgetPtr& w : gDisplay->windows) {
    if (w->view && w->view->WindowId() == windowId) return w;
  }
  return nullptr;
}

void SetGraphicsDriver(const std::string& driver, int defaultFlags) {
  (void)defaultFlags;
  Display().driver = driver;
}

TGraphicsPtr CreateGraphics(int width, int height, int depth, int hertz, int flags) {
  (void)depth;
  (void)hertz;
  (void)flags;
  TDisplayState& d = Display();
  d.fullscreenView.reset();
  d.fullscreen.reset();
  d.fullscreenView = d.backend->OpenFullscreen(AppTitle, width, height);
  if (!d.fullscreenView) return nullptr;
  d.fullscreen = MakeGraphicsContext(width, height);
  SetMouseVisible(false);
  return d.fullscreen;
}

void SetGraphics(const TGraphicsPtr& context) { SetCurrentContext(context); }

TGraphicsPtr CurrentGraphics() { return CurrentContext(); }

void CloseGraphics(const TGraphicsPtr& context) {
  if (!context) return;
  TDisplayState& d = Display();
  if (context == d.fullscreen) {
    d.fullscreenView.reset();
    d.fullscreen.reset();
  }
  if (CurrentContext() == context) SetCurrentContext(nullptr);
}

void Flip(int sync) {
  TDisplayState& d = Display();
  ++d.flips;
  TGraphicsPtr current = CurrentContext();
  if (current == d.fullscreen && d.fullscreenView) {
    d.fullscreenView->Present(*current->backBuffer, sync);
    return;
  }
  for (const TWindowGadgetPtr& w : d.windows) {
    TCanvasGadgetPtr canvas = w->canvas.lock();
    if (w->view && canvas && canvas->graphics == current) {
      PresentWindow(*w, *current, sync);
      return;
    }
  }
}

TGadgetPtr Desktop() {
  TDisplayState& d = Display();
  if (!d.desktop) {
    d.desktop = std::make_shared<TGadget>();
    d.desktop->kind = GADGET_DESKTOP;
  }
  d.backend->DesktopSize(d.desktop->width, d.desktop->height);
  return d.desktop;
}

int GadgetWidth(const TGadgetPtr& gadget) {
  if (gadget && gadget->kind == GADGET_DESKTOP) return DesktopSize().first;
  return gadget ? gadget->width : 0;
}

int GadgetHeight(const TGadgetPtr& gadget) {
  if (gadget && gadget->kind == GADGET_DESKTOP) return DesktopSize().second;
  return gadget ? gadget->height : 0;
}

TGadgetPtr CreateWindow(const std::string& title, int x, int y, int width, int height,
                        const TGadgetPtr& group, int style) {
  TDisplayState& d = Display();
  auto w = std::make_shared<TWindowGadget>();
  w->kind = GADGET_WINDOW;
  w->text = title;
  w->x = x;
  w->y = y;
  w->width = width;
  w->height = height;
  w->style = style;
  w->parent = group;
  w->menuRoot = std::make_shared<TGadget>();
  w->menuRoot->kind = GADGET_MENU;
  w->menuRoot->parent = w;
  w->view = d.backend->OpenWindow(title, x, y, width, height);
  FitWindow(*w);
  d.windows.push_back(w);
  return w;
}

TGadgetPtr WindowMenu(const TGadgetPtr& window) {
  TWindowGadgetPtr w = AsWindow(window);
  return w ? w->menuRoot : nullptr;
}

TGadgetPtr CreateMenu(const std::string& text, int tag, const TGadgetPtr& parent, int hotKey,
                      int modifier) {
  auto menu = std::make_shared<TGadget>();
  menu->kind = GADGET_MENU;
  menu->text = text;
  menu->tag = tag;
  menu->hotKey = hotKey;
  menu->modifier = modifier;
  menu->parent = parent;
  if (parent) parent->children.push_back(menu);
  return menu;
}

void UpdateWindowMenu(const TGadgetPtr& window) {
  TWindowGadgetPtr w = AsWindow(window);
  if (!w) return;
  w->menuBar.SetMenus(w->menuRoot);
  FitWindow(*w);
}

TGadgetPtr CreateCanvas(int x, int y, int width, int height, const TGadgetPtr& parent, int style) {
  (void)style;
  auto canvas = std::make_shared<TCanvasGadget>();
  canvas->kind = GADGET_CANVAS;
  canvas->x = x;
  canvas->y = y;
  canvas->width = width;
  canvas->height = height;
  canvas->parent = parent;
  canvas->graphics = MakeGraphicsContext(width, height);
  if (TWindowGadgetPtr w = AsWindow(parent)) {
    // The window shows one canvas: a new one replaces the one before.
    auto& kids = w->children;
    kids.erase(std::remove_if(kids.begin(), kids.end(),
                              [](const TGadgetPtr& g) { return g->kind == GADGET_CANVAS; }),
               kids.end());
    kids.push_back(canvas);
    w->canvas = canvas;
  }
  return canvas;
}

TGraphicsPtr CanvasGraphics(const TGadgetPtr& canvas) {
  auto c = std::dynamic_pointer_cast<TCanvasGadget>(canvas);
  return c ? c->graphics : nullptr;
}

void ActivateGadget(const TGadgetPtr& gadget) {
  if (!gadget) return;
  TGadgetPtr top = gadget;
  while (top && top->kind != GADGET_WINDOW) top = top->parent.lock();
  TWindowGadgetPtr w = AsWindow(top);
  if (w && w->view) w->view->Raise();
}

void ShowMouse() { SetMouseVisible(true); }
void HideMouse() { SetMouseVisible(false); }
bool MouseVisible() { return Display().mouseVisible; }

long FlipCount() { return Display().flips; }
bool DisplayIsReal() { return Display().backend->Real(); }
