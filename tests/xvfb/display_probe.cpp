// Opens the game's display as the game does (window with menus and canvas, or full screen),
// shows a picture of known colours and prints every event it gets, one a line:
// "event ID DATA X Y". It ends 300 ms after a window close or on a terminate request, as the
// tests that drive it ask; else, in case no test is left to ask, after 4 minutes.
#include <chrono>
#include <cstdio>
#include <cstring>
#include <thread>

#include "platform/display/display.h"
#include "platform/events/events.h"
#include "platform/graphics/graphics.h"
#include "platform/graphics/graphics_context.h"
#include "platform/system/app.h"

namespace {

using Clock = std::chrono::steady_clock;

void FillPicture(const TPixmapPtr& picture) {
  for (int y = 0; y < picture->height; ++y) {
    for (int x = 0; x < picture->width; ++x) {
      uint8_t* p = picture->PixelPtr(x, y);
      bool left = x < picture->width / 2;
      p[0] = left ? 200 : 10;
      p[1] = 40;
      p[2] = left ? 10 : 200;
      p[3] = 255;
    }
  }
}

void OpenWindow() {
  TGadgetPtr window = CreateWindow(AppTitle, (GadgetWidth(Desktop()) - 640) / 2, 0, 640, 480,
                                   nullptr, WINDOW_TITLEBAR | WINDOW_CLIENTCOORDS);
  TGadgetPtr root = WindowMenu(window);
  TGadgetPtr game = CreateMenu("&Game", 1, root);
  TGadgetPtr help = CreateMenu("&Help", 2, root);
  CreateMenu("Save Game", 100, game, 83, 0);
  CreateMenu("Load Game", 101, game, 76, 0);
  CreateMenu("Inventory", 103, game, 73, 0);
  CreateMenu("Options", 102, game, 9, 0);
  CreateMenu("About Corvel", 201, help);
  UpdateWindowMenu(window);
  TGadgetPtr canvas = CreateCanvas(0, 0, 640, 480, window, 0);
  SetGraphics(CanvasGraphics(canvas));
  ActivateGadget(canvas);
  ShowMouse();
}

}  // namespace

int main(int argc, char** argv) {
  bool fullscreen = argc > 1 && std::strcmp(argv[1], "fullscreen") == 0;
  AppTitle = "Corvel Probe";
  PlatformInit();
  SetGraphicsDriver("GL2D", 2);
  if (fullscreen) {
    SetGraphics(CreateGraphics(640, 480, 32, 60, 2));
  } else {
    OpenWindow();
  }
  FillPicture(BackBuffer());
  Flip(0);
  std::printf("ready real=%d\n", DisplayIsReal() ? 1 : 0);
  std::fflush(stdout);

  Clock::time_point end = Clock::now() + std::chrono::minutes(4);
  bool closing = false;
  while (Clock::now() < end) {
    Flip(0);
    int id = PollEvent();
    if (id == 0) {
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
      continue;
    }
    if (id == EVENT_TIMERTICK) continue;
    std::printf("event %d %d %d %d\n", id, EventData(), EventX(), EventY());
    std::fflush(stdout);
    if (id == EVENT_APPTERMINATE) break;
    if (id == EVENT_WINDOWCLOSE && !closing) {
      closing = true;
      end = Clock::now() + std::chrono::milliseconds(300);
    }
  }
  End();
}
