#include "support/quest_play.h"

#include <filesystem>

#include "core/game.h"
#include "core/globals.h"
#include "screens/screens.h"
#include "scripting/commands.h"
#include "support/files.h"
#include "support/keys_ran_out.h"
#include "world/tile.h"

namespace fs = std::filesystem;

namespace testsupport {

void QuestPlay::StartQuest(const std::string& resources, const std::string& scratch,
                           const std::function<void()>& beforeTitle) {
  const fs::path root = ScratchDir(scratch);
  fs::create_directories(root / "bin");
  fs::create_directories(root / "home" / "Documents");
  fs::create_directory_symlink(resources, root / "Resources");
  UseManualClock(0);
  InitGlobals((root / "home").string(), (root / "bin" / "corvel").string());
  PrepareUserFolders();
  InitLUA();
  InitGame();
  CreateTimers();
  SetEventPump([this] {
    if (framePoll_) {
      framePoll_ = false;
      return;
    }
    AdvanceManualClock(17);
    if (onModalPoll) onModalPoll();
    int key = 13;  // Return
    if (!modalKeys.empty()) {
      key = modalKeys.front();
      modalKeys.pop_front();
      returns_ = 0;
    } else if (++returns_ > kMostReturns) {
      FailForWantOfKeys("a screen took " + std::to_string(kMostReturns) +
                        " Returns in a row and is still open");
    }
    PostEvent(EVENT_KEYDOWN, key);
  });
  if (beforeTitle) beforeTitle();
  DisplayMainMenu();  // "New Game" is the first entry
  FixedRateLogic->Init();
}

void QuestPlay::TearDown() {
  SetEventPump(nullptr);
  FlushEvents();
  SetClockSource(nullptr);
  npcList.Clear();
  missileList.Clear();
  player.reset();
}

void QuestPlay::Pass() {
  returns_ = 0;
  AdvanceManualClock(34);
  framePoll_ = true;
  MainGameLoopPass();
  framePoll_ = false;
}

bool QuestPlay::OnMap(const std::string& name) {
  return currentMap->mapFile == settings->tempDir + name;
}

}  // namespace testsupport
