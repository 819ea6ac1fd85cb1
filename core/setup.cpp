// Game set-up once per process, and a new game.
#include "core/game.h"
#include "core/globals.h"
#include "core/quest_files.h"
#include "core/tables.h"
#include "core/working_folder.h"
#include "scripting/engine.h"

namespace {

TPlayerPtr NewPlayer() {
  return TPlayer::CreatePlayer(0, 0, 0.0f, 0.0f, 0.0f, 0.0f, 1, "Corvel", 6, 6, 0, 6.0f, 1);
}

// The working folder starts as a flat copy of the map folder's files; anything an earlier
// run left in it is gone. Sub-folders are not copied. A game without its maps whole cannot
// be played: the reason ends the process.
void FillWorkingFolder() {
  const std::string failure = RefillWorkingFolder(false);
  if (failure.empty()) return;
  ReleaseGlobals();
  RuntimeError(failure);
}

// The setup and startup scripts are the quest's own choice: one that is not there is passed
// over without a word, while one that fails says so.
void RunQuestScript(const std::string& path) {
  if (FileType(path) != FILETYPE_NONE) lua->RunScriptFile(path);
}

void LoadInterfaceImages() {
  const std::string& dir = settings->imageDir;
  imgInterface = LoadQuestImage(dir + "interface.png");
  imgInventory = LoadQuestImage(dir + "inventory.png");
  imgDialogTop = LoadQuestImage(dir + "dialogtop.png");
  imgDialogMiddle = LoadQuestImage(dir + "dialogmiddle.png");
  imgDialogBottom = LoadQuestImage(dir + "dialogbottom.png");
  for (int i = 0; i < 3; ++i) imgLife[i] = LoadQuestImage(dir + "life" + StringFromInt(i) + ".png");
  imgGold = LoadQuestImage(dir + "coins.png");
  imgTalk = LoadQuestAnimImage(dir + "talk.png", 32, 32, 4);
  imgMenu = LoadQuestImage(dir + "menu.png");
  imgCredits = LoadQuestImage(dir + "credits.png");
  for (int i = 0; i < 5; ++i)
    imgMenuOption[i] = LoadQuestImage(dir + "menu" + StringFromInt(i + 1) + ".png");
}

}  // namespace

int InitGame() {
  SeedRnd(MilliSecs());
  // Before any image is loaded: magenta is transparent in all of them.
  SetMaskColor(255, 0, 255);
  EnableOpenALAudio();
  SetAudioDriver("OpenAL");
  HideMouse();
  FillWorkingFolder();
  Tile = LoadImages(settings->imageDir + "tiles.dat");
  sound = LoadSounds(settings->soundDir + "sounds.dat", 0);
  music = LoadMusic(settings->musicDir + "music.dat");
  LoadInterfaceImages();
  Trigger = LoadTriggers(settings->triggerDir + "triggers.dat");
  gameItem = LoadItems(baseAppDir + "/item.dat");
  npcType = LoadNPCs(baseAppDir + "/npc.dat", true);
  // The setup script runs before any player exists.
  SetupGame();
  player = NewPlayer();
  return 0;
}

int SetupGame() {
  RunQuestScript(settings->triggerDir + "setup" + ".lua");
  return 0;
}

int StartGame() {
  player.reset();
  // The held directions belonged to the old player's speed.
  ReleaseHeldKeys();
  player = NewPlayer();
  RunQuestScript(settings->triggerDir + "startup" + ".lua");
  return 0;
}
