#pragma once
// The title, option, credits, splash, inventory, save and load screens.
#include <string>

int DisplayMainMenu();
int DisplaySettings(int menuBackground);
int DisplayCredits();
int DisplaySplash(const std::string& image, int seconds, int noSkip);
int DisplayInventory();
int DisplayLoadDialog(int menuBackground);
int DisplaySaveDialog();
