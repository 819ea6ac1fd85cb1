// The SDL display backend: real windows, the full-screen view and SDL's event pump.
#include <cstdlib>
#include <cstring>

#include "platform/display/backend.h"
#include "platform/display/display_state.h"
#include "platform/display/sdl/sdl_video.h"
#include "platform/system/internal.h"

namespace {

class TSdlDisplay : public TDisplayBackend {
public:
  TSdlDisplay() {
    SdlDesktopSize(desktopWidth_, desktopHeight_);
    SetSystemEventPump(PumpSdlEvents);
  }
  ~TSdlDisplay() override {
    SetSystemEventPump(nullptr);
    SdlVideoStop();
  }
  TSdlDisplay(const TSdlDisplay&) = delete;
  TSdlDisplay& operator=(const TSdlDisplay&) = delete;

  bool Real() const override { return true; }
  void DesktopSize(int& width, int& height) const override {
    width = desktopWidth_;
    height = desktopHeight_;
  }
  std::unique_ptr<TDisplayView> OpenFullscreen(const std::string& title, int width,
                                               int height) override {
    return TSdlView::Fullscreen(title, width, height);
  }
  std::unique_ptr<TDisplayView> OpenWindow(const std::string& title, int x, int y, int width,
                                           int height) override {
    return TSdlView::Windowed(title, x, y, width, height);
  }
  void SetCursorVisible(bool visible) override { SdlSetCursorVisible(visible); }

private:
  int desktopWidth_ = 1280, desktopHeight_ = 800;
};

}  // namespace

std::unique_ptr<TDisplayBackend> MakeSdlDisplay() {
  const char* driver = std::getenv("SDL_VIDEODRIVER");
  if (driver && std::strcmp(driver, "dummy") == 0) return nullptr;
  if (!SdlVideoStart()) return nullptr;
  return std::make_unique<TSdlDisplay>();
}
