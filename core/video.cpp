// Display set-up: full screen, or the window centred on the desktop with its menus.
#include "core/game.h"
#include "core/globals.h"

namespace {

constexpr int kWidth = 640, kHeight = 480;

// The window and its two menus, made once per process.
void MakeWindow() {
  MyWindow = CreateWindow(AppTitle, (desktopWidth - kWidth) / 2, (desktopHeight - kHeight) / 2,
                          kWidth, kHeight, nullptr, WINDOW_TITLEBAR | WINDOW_CLIENTCOORDS);
  const TGadgetPtr root = WindowMenu(MyWindow);
  GameMenu = CreateMenu("&Game", 1, root);
  HelpMenu = CreateMenu("&Help", 2, root);
  CreateMenu("Save Game", 100, GameMenu, 83, 0);
  CreateMenu("Load Game", 101, GameMenu, 76, 0);
  CreateMenu("Inventory", 103, GameMenu, 73, 0);
  CreateMenu("Options", 102, GameMenu, 9, 0);
  CreateMenu("About Corvel", 201, HelpMenu, 0, 0);
  UpdateWindowMenu(MyWindow);
  windowExists = 1;
}

}  // namespace

int InitVideo(uint8_t fullScreen) {
  SetGraphicsDriver("OpenGL", 2);
  g = fullScreen != 0 ? CreateGraphics(kWidth, kHeight, 32, 60, 2) : nullptr;
  if (fullScreen != 0 && !g) {
    // The player keeps a picture, in the window, and the setting says so.
    WriteError("Could not open the full-screen display; the game goes on in its window");
    if (settings) settings->fullScreen = 0;
  }
  if (g) {
    SetGraphics(g);
    HideMouse();
  } else {
    if (windowExists == 0) MakeWindow();
    MyCanvas = CreateCanvas(0, 0, kWidth, kHeight, MyWindow, 0);
    g = CanvasGraphics(MyCanvas);
    SetGraphics(g);
    ActivateGadget(MyCanvas);
    ShowMouse();
  }
  SetBlend(ALPHABLEND);
  SetColor(255, 255, 255);
  SetScale(1.0f, 1.0f);
  return 0;
}
