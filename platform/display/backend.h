#pragma once
// Display backends: where the display shows its windows and full-screen picture. The SDL
// backend (sdl/) opens real windows; the headless one (headless/) shows nothing.
#include <cstdint>
#include <memory>
#include <string>

#include "platform/graphics/graphics.h"

// A window of a backend, or its full-screen picture.
class TDisplayView {
public:
  virtual ~TDisplayView() = default;
  virtual void SetClientSize(int width, int height) = 0;
  // Shows the picture; sync 0 does not wait for the vertical blank.
  virtual void Present(const TPixmap& picture, int sync) = 0;
  virtual void Raise() = 0;
  // The id that the backend's input events name the window by (0: none).
  virtual uint32_t WindowId() const = 0;
};

class TDisplayBackend {
public:
  virtual ~TDisplayBackend() = default;
  // True when the pictures reach a screen.
  virtual bool Real() const = 0;
  virtual void DesktopSize(int& width, int& height) const = 0;
  // The picture of width x height on the whole desktop, aspect kept, black bars; null when
  // there is no full-screen display.
  virtual std::unique_ptr<TDisplayView> OpenFullscreen(const std::string& title, int width,
                                                       int height) = 0;
  // A window whose client area is width x height at (x, y), not resizable; null on failure.
  virtual std::unique_ptr<TDisplayView> OpenWindow(const std::string& title, int x, int y,
                                                   int width, int height) = 0;
  virtual void SetCursorVisible(bool visible) = 0;
};

// The SDL backend; null when SDL's video cannot start or SDL_VIDEODRIVER asks for "dummy".
// While it lives, its event pump feeds the event queue.
std::unique_ptr<TDisplayBackend> MakeSdlDisplay();
// The headless backend: its desktop and full-screen display are those that
// SetHeadlessDesktopSize and SetHeadlessFullScreen give.
std::unique_ptr<TDisplayBackend> MakeHeadlessDisplay();
