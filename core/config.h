#pragma once
// The configuration record, the editing record beside it, and "config.dat".
#include <cstdint>
#include <string>

class TConfig {
public:
  TConfig();  // defaults; needs baseAppDir and baseHomeDir set
  uint8_t fullScreen = 0;
  uint8_t editMode = 0;
  uint8_t joystickMode = 0;
  uint8_t sound = 0;
  uint8_t music = 0;
  std::string mapDir, imageDir, musicDir, saveDir, soundDir, tempDir, triggerDir;
  uint8_t kUp = 0, kDown = 0, kLeft = 0, kRight = 0, kEnter = 0, kInventory = 0, kOption = 0,
          kPrimary = 0, kSecondary = 0, kExit = 0, kSave = 0, kLoad = 0, kEdit = 0, kCheat = 0;
};

class TEdit {
public:
  int32_t currentTile = 0;
  uint8_t currentLayer = 0;
  float currentAlpha = 0.0f;
  int32_t currentTrigger = 0;
  uint8_t currentWalkability = 0;
  uint8_t currentInteraction = 0;
};

int LoadConfig(const std::string& path);
int SaveConfig(const std::string& path);
