#pragma once
// The game window's menus, built as the game builds them, for the display tests.
#include "platform/display/display.h"

struct TGameMenus {
  TGadgetPtr window, game, help;
};

inline TGameMenus MakeGameMenus(const TGadgetPtr& window) {
  TGameMenus m;
  m.window = window;
  TGadgetPtr root = WindowMenu(window);
  m.game = CreateMenu("&Game", 1, root);
  m.help = CreateMenu("&Help", 2, root);
  CreateMenu("Save Game", 100, m.game, 83, 0);
  CreateMenu("Load Game", 101, m.game, 76, 0);
  CreateMenu("Inventory", 103, m.game, 73, 0);
  CreateMenu("Options", 102, m.game, 9, 0);
  CreateMenu("About Corvel", 201, m.help);
  UpdateWindowMenu(window);
  return m;
}
