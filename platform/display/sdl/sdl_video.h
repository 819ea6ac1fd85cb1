#pragma once
// SDL video for the display: starting SDL's video, and views (one SDL window each, with a
// renderer and a streaming texture) that show RGBA pictures.
#include <cstdint>
#include <memory>
#include <string>
#include "platform/display/backend.h"

struct SDL_Window;
struct SDL_Renderer;
struct SDL_Texture;

// Starts SDL's video (false when no display can be opened). Sets the hints that keep signals
// and window closes ours.
bool SdlVideoStart();
void SdlVideoStop();
void SdlDesktopSize(int& width, int& height);
void SdlSetCursorVisible(bool visible);
// Gathers SDL's window, keyboard and mouse events into the event queue (sdl_input.cpp).
void PumpSdlEvents();

class TSdlView : public TDisplayView {
public:
  // The picture of width x height on the whole desktop, aspect kept, black bars.
  static std::unique_ptr<TSdlView> Fullscreen(const std::string& title, int width, int height);
  // A window whose client area is width x height at (x, y), not resizable.
  static std::unique_ptr<TSdlView> Windowed(const std::string& title, int x, int y, int width,
                                            int height);
  ~TSdlView() override;
  TSdlView(const TSdlView&) = delete;
  TSdlView& operator=(const TSdlView&) = delete;

  void SetClientSize(int width, int height) override;
  // Uploads the picture and shows it; sync 0 does not wait for the vertical blank.
  void Present(const TPixmap& picture, int sync) override;
  void Raise() override;
  uint32_t WindowId() const override;

private:
  TSdlView() = default;
  bool MakeRenderer();
  SDL_Window* window_ = nullptr;
  SDL_Renderer* renderer_ = nullptr;
  SDL_Texture* texture_ = nullptr;
  int textureWidth_ = 0, textureHeight_ = 0;
  int vsync_ = -2;
};
