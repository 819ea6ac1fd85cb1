#pragma once
// The game after start-up on the demo quest that the build makes: the program finds its quest
// beside the folder it runs from, so a benchmark in build/bench plays build/Resources. Each
// benchmark has a user folder of its own under build/bench/scratch, on the build's disk.
#include <filesystem>
#include <string>

#include "core/game.h"
#include "core/globals.h"
#include "platform/files/files.h"
#include "scripting/commands.h"

namespace bench {

// A HOME of its own for the benchmark, emptied, with its Documents folder.
inline std::string ScratchHome(const std::string& name) {
  const std::filesystem::path home =
      std::filesystem::path(CORVEL_BINARY_DIR) / "bench" / "scratch" / name / "home";
  std::filesystem::remove_all(home);
  std::filesystem::create_directories(home / "Documents");
  return home.string();
}

// Start-up as the game makes it, without a display, sound or music, and a new game: the
// player stands in the village.
inline void StartDemoGame(const std::string& name) {
  InitGlobals(ScratchHome(name), AppFile());
  PrepareUserFolders();
  settings->sound = 0;
  settings->music = 0;
  InitLUA();
  InitGame();
  StartGame();
}

}  // namespace bench
