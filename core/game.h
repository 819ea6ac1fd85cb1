#pragma once
// Start-up, game set-up, display, frame loop, drawing, keys, sound.
#include <cstdint>
#include <string>
#include "world/item.h"

// The start-up sequence of main; never returns.
[[noreturn]] void CorvelMain();
// Start-up steps after the globals: the user folder, its lock, "config.dat", the save and
// working folders, in that order; a folder that cannot be made, or a user folder that
// another copy of the game holds, ends the process.
int PrepareUserFolders();

// A working folder that cannot be filled whole ends the process with the reason.
int InitGame();
int SetupGame();
int StartGame();
int InitVideo(uint8_t fullScreen);

[[noreturn]] void MainGameLoop();
// One pass of the frame loop: draw, show, one event, logic step.
void MainGameLoopPass();
int ExitGame(int onMenu);
// The way out of the exit question's "Yes", also taken when a signal ends the program: the
// working folder is deleted, the display closed, the game let go of, and the process ends
// with status 0.
[[noreturn]] void QuitGame();

int DrawScreen();
int DrawActors();
int DrawInterface();

int GetKeyDown(int key);
// GetKeyDown inside a map transition: the directions steer and the inventory, options and
// exit keys open their screens, while the save, load, item and talk keys do nothing. A save
// would write the left map's emptied NPC list over its NPC file, a load would be undone when
// the transition ends, an item or a talk would leave a missile or a swing in the lists that
// the transition leaves empty, and an item's use trigger could start a trip inside this one.
int GetKeyDownInTransition(int key);
// A key's or a mouse button's release (the buttons share the key codes). Only the frame loop
// passes mouse-button releases.
int GetKeyUp(int key);
// Hands the event just polled to GetKeyUp when it is a key release, as every modal loop that
// passes releases on does; mouse-button releases are dropped there. 1 when it was one.
int PassRelease();

// What the bound keys run: the items in hand, the screens, talking and the exit question.
// Tests put probes in their place to watch the dispatch.
struct TKeyActions {
  int (*useItem)(const TItemPtr& item);
  int (*inventory)();
  int (*load)(int menuBackground);
  int (*save)();
  int (*options)(int menuBackground);
  int (*talk)();
  int (*exit)(int onMenu);
};
extern TKeyActions KeyActions;
// Forgets every held direction without touching the player's speed; for a player that was
// just replaced (new or loaded game), whose speed never had them added.
void ReleaseHeldKeys();

int PlaySoundEffect(int n);
int PlayMusic(int n);
