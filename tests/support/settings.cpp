#include "support/settings.h"

#include "core/globals.h"
#include "support/files.h"

namespace testsupport {

void UseQuestSettings(const std::string& questDir, const std::string& homeDir) {
  baseAppDir = questDir;
  baseHomeDir = homeDir.empty() ? ScratchDir("home") : homeDir;
  // As the game's start-up does: no link below the user folder is followed, but for the
  // save folder.
  SetUserFolder(baseHomeDir);
  settings = std::make_unique<TConfig>();
  settings->mapDir = baseAppDir + "/Maps/";
  settings->imageDir = baseAppDir + "/Images/";
  settings->soundDir = baseAppDir + "/Sounds/";
  settings->musicDir = baseAppDir + "/Music/";
  settings->saveDir = baseHomeDir + "/Save/";
  settings->tempDir = baseHomeDir + "/Temporary Files/";
  SetLinkedFolder(settings->saveDir);
  settings->triggerDir = baseAppDir + "/Triggers/";
}

}  // namespace testsupport
