// SDL windows that show the software renderer's pictures.
#include "platform/display/sdl/sdl_video.h"

#include <SDL2/SDL.h>

bool SdlVideoStart() {
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
  SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
  SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "linear");
  if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return false;
  SDL_DisplayMode mode;
  if (SDL_GetNumVideoDisplays() < 1 || SDL_GetDesktopDisplayMode(0, &mode) != 0) {
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    return false;
  }
  // Keys arrive as key events; no text input or input method is wanted.
  SDL_StopTextInput();
  return true;
}

void SdlVideoStop() {
  SDL_QuitSubSystem(SDL_INIT_VIDEO);
  SDL_Quit();
}

void SdlDesktopSize(int& width, int& height) {
  SDL_DisplayMode mode;
  if (SDL_GetDesktopDisplayMode(0, &mode) == 0) {
    width = mode.w;
    height = mode.h;
  }
}

void SdlSetCursorVisible(bool visible) { SDL_ShowCursor(visible ? SDL_ENABLE : SDL_DISABLE); }

std::unique_ptr<TSdlView> TSdlView::Fullscreen(const std::string& title, int width, int height) {
  std::unique_ptr<TSdlView> view(new TSdlView);
  // Made borderless on the whole desktop first, so that it covers the desktop also where no
  // window manager carries out the full-screen request.
  int desktopWidth = width, desktopHeight = height;
  SdlDesktopSize(desktopWidth, desktopHeight);
  view->window_ = SDL_CreateWindow(title.c_str(), 0, 0, desktopWidth, desktopHeight,
                                   SDL_WINDOW_BORDERLESS | SDL_WINDOW_FULLSCREEN_DESKTOP);
  if (!view->window_ || !view->MakeRenderer()) return nullptr;
  // The renderer scales the picture to the desktop with black bars and maps the mouse back.
  SDL_RenderSetLogicalSize(view->renderer_, width, height);
  return view;
}

std::unique_ptr<TSdlView> TSdlView::Windowed(const std::string& title, int x, int y, int width,
                                             int height) {
  std::unique_ptr<TSdlView> view(new TSdlView);
  view->window_ = SDL_CreateWindow(title.c_str(), x, y, width, height, SDL_WINDOW_SHOWN);
  if (!view->window_ || !view->MakeRenderer()) return nullptr;
  return view;
}

bool TSdlView::MakeRenderer() {
  renderer_ = SDL_CreateRenderer(window_, -1, 0);
  if (!renderer_) renderer_ = SDL_CreateRenderer(window_, -1, SDL_RENDERER_SOFTWARE);
  return renderer_ != nullptr;
}

TSdlView::~TSdlView() {
  if (texture_) SDL_DestroyTexture(texture_);
  if (renderer_) SDL_DestroyRenderer(renderer_);
  if (window_) SDL_DestroyWindow(window_);
}

void TSdlView::SetClientSize(int width, int height) { SDL_SetWindowSize(window_, width, height); }

void TSdlView::Present(const TPixmap& picture, int sync) {
  if (!texture_ || textureWidth_ != picture.width || textureHeight_ != picture.height) {
    if (texture_) SDL_DestroyTexture(texture_);
    texture_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_RGBA32, SDL_TEXTUREACCESS_STREAMING,
                                 picture.width, picture.height);
    if (!texture_) return;
    textureWidth_ = picture.width;
    textureHeight_ = picture.height;
  }
  int vsync = sync != 0 ? 1 : 0;
  if (vsync != vsync_) {
    SDL_RenderSetVSync(renderer_, vsync);
    vsync_ = vsync;
  }
  SDL_UpdateTexture(texture_, nullptr, picture.pixels.data(), picture.width * 4);
  SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
  SDL_RenderClear(renderer_);
  SDL_RenderCopy(renderer_, texture_, nullptr, nullptr);
  SDL_RenderPresent(renderer_);
}

void TSdlView::Raise() { SDL_RaiseWindow(window_); }

uint32_t TSdlView::WindowId() const { return SDL_GetWindowID(window_); }
