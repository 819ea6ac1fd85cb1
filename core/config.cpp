// The configuration record and its file "config.dat".
#include "core/config.h"
#include "core/globals.h"
#include "core/user_files.h"

namespace {

// The folder lines of the file never take effect: the installation's folders are fixed.
void SetFixedFolders(TConfig& c) {
  c.mapDir = baseAppDir + "/Maps/";
  c.imageDir = baseAppDir + "/Images/";
  c.soundDir = baseAppDir + "/Sounds/";
  c.musicDir = baseAppDir + "/Music/";
  c.saveDir = baseHomeDir + "/Save/";
  c.tempDir = baseHomeDir + "/Temporary Files/";
  c.triggerDir = baseAppDir + "/Triggers/";
}

void ResetEditor() {
  editor->currentTile = -1;
  editor->currentLayer = 0;
  editor->currentAlpha = 1.0f;
}

}  // namespace

TConfig::TConfig() {
  fullScreen = 1;
  editMode = 0;
  joystickMode = 0;
  sound = 1;
  music = 1;
  SetFixedFolders(*this);
  kUp = 38;
  kDown = 40;
  kLeft = 37;
  kRight = 39;
  kEnter = 13;
  kInventory = 73;
  kOption = 9;
  kPrimary = 90;
  kSecondary = 88;
  kExit = 27;
  kSave = 83;
  kLoad = 76;
  kEdit = 69;
  kCheat = 67;
}

int LoadConfig(const std::string& path) {
  TConfig& c = *settings;
  TStreamPtr in = FileType(path) == FILETYPE_DIR ? nullptr : ReadStream(path, CONFIG_FILE_BYTES);
  if (!in) {
    // Only a missing file is written with the current settings; one that exists but cannot
    // be read is left alone rather than replaced by the defaults.
    if (FileType(path) == FILETYPE_NONE) SaveConfig(path);
  } else {
    c.fullScreen = static_cast<uint8_t>(ReadByte(in));
    c.sound = static_cast<uint8_t>(ReadByte(in));
    c.music = static_cast<uint8_t>(ReadByte(in));
    c.joystickMode = static_cast<uint8_t>(ReadByte(in));
    c.editMode = static_cast<uint8_t>(ReadByte(in));
    for (std::string* dir : {&c.mapDir, &c.imageDir, &c.soundDir, &c.musicDir, &c.saveDir,
                             &c.tempDir, &c.triggerDir})
      *dir = ReadLine(in);
    for (uint8_t* key : {&c.kUp, &c.kDown, &c.kLeft, &c.kRight, &c.kPrimary, &c.kSecondary,
                         &c.kEnter, &c.kInventory, &c.kOption, &c.kExit, &c.kSave, &c.kLoad,
                         &c.kEdit, &c.kCheat})
      *key = static_cast<uint8_t>(ReadByte(in));
    CloseStream(in);
    SetFixedFolders(c);
  }
  ResetEditor();
  return 0;
}

int SaveConfig(const std::string& path) {
  const TConfig& c = *settings;
  // Written beside the file and put in its place: never a short "config.dat".
  const std::string temporary = path + ".new";
  TStreamPtr out = WriteStream(temporary);
  if (!out) {
    WriteError(FileFailure());
    return 0;
  }
  for (uint8_t b : {c.fullScreen, c.sound, c.music, c.joystickMode, c.editMode}) WriteByte(out, b);
  for (const std::string* dir : {&c.mapDir, &c.imageDir, &c.soundDir, &c.musicDir, &c.saveDir,
                                 &c.tempDir, &c.triggerDir})
    WriteLine(out, *dir);
  for (uint8_t key : {c.kUp, c.kDown, c.kLeft, c.kRight, c.kPrimary, c.kSecondary, c.kEnter,
                      c.kInventory, c.kOption, c.kExit, c.kSave, c.kLoad, c.kEdit, c.kCheat})
    WriteByte(out, key);
  // On failure the old file stays whole; the settings in force are kept until the next save.
  if (!ReplaceFile(out, temporary, path, TKeep::Kept)) WriteError(FileFailure());
  return 0;
}
