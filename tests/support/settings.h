#pragma once
// Points the global `settings` at a quest folder (Images/, Sounds/, Music/, Maps/, Triggers/
// and item.dat, npc.dat at its top) for tests.
#include <string>

namespace testsupport {

// Sets baseAppDir to `questDir` and baseHomeDir to `homeDir` (a scratch folder when empty),
// and makes `settings` with the folders under them.
void UseQuestSettings(const std::string& questDir, const std::string& homeDir = "");

}  // namespace testsupport
