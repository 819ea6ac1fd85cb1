#pragma once
// The title, option, key set-up, credits, splash, inventory, save and load screens.
#include <string>

int DisplayMainMenu();
int DisplaySettings(int menuBackground);
int DisplayCredits();
int DisplaySplash(const std::string& image, int seconds, int noSkip);
int DisplayInventory();
// 1 when a game is in play from it: the slot loaded, or, during play, the title menu that a
// save script stopping part-way led to started or loaded one. 0 when nothing was loaded.
int DisplayLoadDialog(int menuBackground);
int DisplaySaveDialog();

// The key set-up screen; on leaving it opens the options screen again. Always 0.
int DisplayKeys(int menuBackground);
// The key set-up screen alone: returns 0 when it is left, to the options screen that opened
// it.
int RunKeySetUp(int menuBackground);
// Waits for the next key-down and returns its code's low 8 bits; key and mouse-button
// releases meanwhile reach GetKeyUp.
int GetKeyPressed();
// 1 when one of the ten action keys shown by the key set-up screen has this code.
int KeyUsed(int code);
// The display name of a key code; "Unknown #" and the code for codes without one.
std::string GetKeyText(int code);
