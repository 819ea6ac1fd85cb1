// The title menu: new game, load game, options, credits and exit over the title picture.
#include "core/game.h"
#include "core/globals.h"
#include "core/quest_files.h"
#include "core/working_folder.h"
#include "screens/screens.h"

namespace {

enum { kNewGame, kLoadGame, kOptions, kCredits, kExit, kEntries };

// The title music plays whatever the music switch says; the options screen pauses it.
void PlayTitleMusic() {
  StopChannel(musicChannel);
  musicChannel = CreateMusicStream(settings->musicDir + "menu.ogg", 1, 0);
}

// A new game, begun on a working folder that holds the shipped maps whole; false when the
// working folder could not be made so (said in a text box): the title menu stays.
bool NewGame() {
  // A copy that failed earlier left the working folder unfit for the startup script's trip.
  if (!WorkingFolderWhole() && !ResetWorkingFolder()) return false;
  StopChannel(musicChannel);
  StartGame();
  // The startup script's own trips wrote into the working folder: start afresh.
  if (ResetWorkingFolder()) return true;
  PlayTitleMusic();
  return false;
}

}  // namespace

int DisplayMainMenu() {
  PlayTitleMusic();
  Cls();
  int selected = kNewGame;
  for (;;) {
    SetColor(255, 255, 255);
    DrawImage(imgMenu, 0, 0, 0);
    DrawImage(imgMenuOption[selected], 250, 295, 0);
    Flip(0);
    PollEvent();
    PassRelease();
    const int id = EventID(), code = EventData();
    if (id == EVENT_WINDOWCLOSE) {
      ExitGame(1);
    } else if (id == EVENT_KEYDOWN) {
      const TConfig& k = *settings;
      if (code == k.kExit || code == 27) {
        ExitGame(1);
      } else if (code == k.kDown || code == 40) {
        selected = (selected + 1) % kEntries;
      } else if (code == k.kUp || code == 38) {
        if (--selected < 0) selected = kEntries - 1;
      } else if (code == k.kEnter || code == 13) {
        switch (selected) {
          case kNewGame:
            if (NewGame()) return 0;
            break;
          case kLoadGame: {
            const TChannelPtr title = musicChannel;
            if (DisplayLoadDialog(1) == 1) return 0;
            // A load that stopped part-way may have started the saved game's music.
            if (musicChannel != title) PlayTitleMusic();
            break;
          }
          case kOptions: DisplaySettings(1); break;
          case kCredits: DisplayCredits(); break;
          default: ExitGame(1); break;
        }
      }
    }
  }
}
