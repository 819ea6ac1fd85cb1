#pragma once
// Start-up, game set-up, display, frame loop, drawing, keys, sound.
#include <cstdint>
#include <string>

// The start-up sequence of main; never returns.
[[noreturn]] void CorvelMain();
// Start-up steps after the globals: the user folder, "config.dat", the save and working
// folders, in that order; a folder that cannot be made ends the process.
int PrepareUserFolders();

int InitGame();
int SetupGame();
int StartGame();
int InitVideo(uint8_t fullScreen);

[[noreturn]] void MainGameLoop();
// One pass of the frame loop: draw, show, one event, logic step.
void MainGameLoopPass();
int ExitGame(int onMenu);

int DrawScreen();
int DrawActors();
int DrawInterface();

int GetKeyDown(int key);
int GetKeyUp(int key);
// Forgets every held direction without touching the player's speed; for a player that was
// just replaced (new or loaded game), whose speed never had them added.
void ReleaseHeldKeys();

int PlaySoundEffect(int n);
int PlayMusic(int n);
