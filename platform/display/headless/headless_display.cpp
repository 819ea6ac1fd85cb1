// The headless display backend: windows that show nothing on a desktop whose size tests set.
#include "platform/display/backend.h"
#include "platform/display/display.h"

namespace {

int gDesktopWidth = 1280, gDesktopHeight = 800;
bool gFullScreen = true;

class THeadlessView : public TDisplayView {
public:
  void SetClientSize(int, int) override {}
  void Present(const TPixmap&, int) override {}
  void Raise() override {}
  uint32_t WindowId() const override { return 0; }
};

class THeadlessDisplay : public TDisplayBackend {
public:
  bool Real() const override { return false; }
  void DesktopSize(int& width, int& height) const override {
    width = gDesktopWidth;
    height = gDesktopHeight;
  }
  std::unique_ptr<TDisplayView> OpenFullscreen(const std::string&, int, int) override {
    if (!gFullScreen) return nullptr;
    return std::make_unique<THeadlessView>();
  }
  std::unique_ptr<TDisplayView> OpenWindow(const std::string&, int, int, int, int) override {
    return std::make_unique<THeadlessView>();
  }
  void SetCursorVisible(bool) override {}
};

}  // namespace

std::unique_ptr<TDisplayBackend> MakeHeadlessDisplay() {
  return std::make_unique<THeadlessDisplay>();
}

void SetHeadlessDesktopSize(int width, int height) {
  gDesktopWidth = width;
  gDesktopHeight = height;
}

void SetHeadlessFullScreen(bool available) { gFullScreen = available; }
