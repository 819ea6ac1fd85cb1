// SDL's window, keyboard and mouse events -> the platform's event queue.
#include <SDL2/SDL.h>

#include "platform/display/display_state.h"
#include "platform/display/sdl/keycodes.h"
#include "platform/display/sdl/sdl_video.h"
#include "platform/events/events.h"

namespace {

// A window close may be followed by SDL_QUIT; that one is not a terminate request.
constexpr Uint32 kQuitAfterCloseMs = 1000;
Uint32 gLastClose = 0;
bool gClosed = false;

int ButtonCode(Uint8 button) {
  switch (button) {
    case SDL_BUTTON_LEFT: return 1;
    case SDL_BUTTON_RIGHT: return 2;
    case SDL_BUTTON_MIDDLE: return 3;
    default: return 0;
  }
}

// Where a mouse event lands: its window and the position in canvas coordinates, with the
// position in the window's client area (menu strip included) for the menu bar.
struct TMouseTarget {
  TWindowGadgetPtr window;
  int clientX = 0, clientY = 0;
  int x = 0, y = 0;
};

TMouseTarget MouseTarget(Uint32 windowId, int x, int y) {
  TMouseTarget t;
  t.window = WindowOfView(windowId);
  t.clientX = t.x = x;
  t.clientY = t.y = y;
  if (t.window) t.y -= t.window->menuBar.Height();
  return t;
}

void HandleWindowEvent(const SDL_WindowEvent& e) {
  switch (e.event) {
    case SDL_WINDOWEVENT_CLOSE: {
      gClosed = true;
      gLastClose = SDL_GetTicks();
      PostEvent(EVENT_WINDOWCLOSE, 0, 0, 0, WindowOfView(e.windowID));
      break;
    }
    case SDL_WINDOWEVENT_FOCUS_LOST:
      if (TWindowGadgetPtr w = WindowOfView(e.windowID)) w->menuBar.Close();
      break;
    default:
      break;
  }
}

void HandleKey(const SDL_KeyboardEvent& e) {
  int code = KeyCodeFromSDL(e.keysym.sym, e.keysym.scancode);
  if (code == 0) return;
  if (e.type == SDL_KEYDOWN) {
    TWindowGadgetPtr w = WindowOfView(e.windowID);
    bool alt = (e.keysym.mod & KMOD_ALT) != 0;
    if (w && w->menuBar.KeyDown(code, alt)) return;
    PostEvent(e.repeat ? EVENT_KEYREPEAT : EVENT_KEYDOWN, code);
  } else {
    PostEvent(EVENT_KEYUP, code);
  }
}

void HandleButton(const SDL_MouseButtonEvent& e) {
  if (e.which == SDL_TOUCH_MOUSEID) return;
  TMouseTarget t = MouseTarget(e.windowID, e.x, e.y);
  bool down = e.type == SDL_MOUSEBUTTONDOWN;
  if (t.window) {
    TMenuBar& bar = t.window->menuBar;
    if (e.button == SDL_BUTTON_LEFT) {
      if (down ? bar.MouseDown(t.clientX, t.clientY) : bar.MouseUp(t.clientX, t.clientY)) return;
    } else if (bar.IsOpen() || t.clientY < bar.Height()) {
      return;  // other buttons on the strip or over an open menu are nobody's
    }
  }
  int button = ButtonCode(e.button);
  if (button == 0) return;
  PostEvent(down ? EVENT_MOUSEDOWN : EVENT_MOUSEUP, button, t.x, t.y, t.window);
}

void HandleMotion(const SDL_MouseMotionEvent& e) {
  if (e.which == SDL_TOUCH_MOUSEID) return;
  TMouseTarget t = MouseTarget(e.windowID, e.x, e.y);
  if (t.window && t.window->menuBar.MouseMove(t.clientX, t.clientY)) return;
  PostEvent(EVENT_MOUSEMOVE, 0, t.x, t.y, t.window);
}

}  // namespace

void PumpSdlEvents() {
  SDL_Event e;
  while (SDL_PollEvent(&e)) {
    switch (e.type) {
      case SDL_QUIT:
        if (!(gClosed && SDL_GetTicks() - gLastClose < kQuitAfterCloseMs)) {
          PostEvent(EVENT_APPTERMINATE);
        }
        gClosed = false;
        break;
      case SDL_WINDOWEVENT: HandleWindowEvent(e.window); break;
      case SDL_KEYDOWN:
      case SDL_KEYUP: HandleKey(e.key); break;
      case SDL_MOUSEBUTTONDOWN:
      case SDL_MOUSEBUTTONUP: HandleButton(e.button); break;
      case SDL_MOUSEMOTION: HandleMotion(e.motion); break;
      default: break;
    }
  }
}
