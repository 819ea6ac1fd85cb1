// Game set-up once per process, and a new game.
#include "core/game.h"
#include "core/globals.h"
#include "core/tables.h"
#include "scripting/engine.h"

namespace {

TPlayerPtr NewPlayer() {
  return TPlayer::CreatePlayer(0, 0, 0.0f, 0.0f, 0.0f, 0.0f, 1, "Corvel", 6, 6, 0, 6.0f, 1);
}

// The working folder starts as a flat copy of the map folder's files; anything an earlier
// run left in it is gone. Sub-folders and other non-files are not copied.
void RefillWorkingFolder() {
  const TConfig& c = *settings;
  DeleteDir(c.tempDir, 1);
  CreateDir(c.tempDir, 0);
  for (const std::string& name : LoadDir(c.mapDir, 1)) {
    if (FileType(c.mapDir + name) == FILETYPE_FILE) CopyFile(c.mapDir + name, c.tempDir + name);
  }
}

void LoadInterfaceImages() {
  const std::string& dir = settings->imageDir;
  imgInterface = LoadImage(dir + "interface.png", -1);
  imgInventory = LoadImage(dir + "inventory.png", -1);
  imgDialogTop = LoadImage(dir + "dialogtop.png", -1);
  imgDialogMiddle = LoadImage(dir + "dialogmiddle.png", -1);
  imgDialogBottom = LoadImage(dir + "dialogbottom.png", -1);
  for (int i = 0; i < 3; ++i) imgLife[i] = LoadImage(dir + "life" + StringFromInt(i) + ".png", -1);
  imgGold = LoadImage(dir + "coins.png", -1);
  imgTalk = LoadAnimImage(dir + "talk.png", 32, 32, 0, 4, -1);
  imgMenu = LoadImage(dir + "menu.png", -1);
  imgCredits = LoadImage(dir + "credits.png", -1);
  for (int i = 0; i < 5; ++i)
    imgMenuOption[i] = LoadImage(dir + "menu" + StringFromInt(i + 1) + ".png", -1);
}

}  // namespace

int InitGame() {
  SeedRnd(MilliSecs());
  // Before any image is loaded: magenta is transparent in all of them.
  SetMaskColor(255, 0, 255);
  EnableOpenALAudio();
  SetAudioDriver("OpenAL");
  HideMouse();
  RefillWorkingFolder();
  Tile = LoadImages(settings->imageDir + "tiles.dat");
  sound = LoadSounds(settings->soundDir + "sounds.dat", 0);
  music = LoadMusic(settings->musicDir + "music.dat");
  LoadInterfaceImages();
  Trigger = LoadTriggers(settings->triggerDir + "triggers.dat");
  gameItem = LoadItems(baseAppDir + "/item.dat");
  npcType = LoadNPCs(baseAppDir + "/npc.dat");
  // The setup script runs before any player exists.
  SetupGame();
  player = NewPlayer();
  return 0;
}

int SetupGame() {
  lua->RunScriptFile(settings->triggerDir + "setup" + ".lua");
  return 0;
}

int StartGame() {
  player.reset();
  // The held directions belonged to the old player's speed.
  ReleaseHeldKeys();
  player = NewPlayer();
  lua->RunScriptFile(settings->triggerDir + "startup" + ".lua");
  return 0;
}
