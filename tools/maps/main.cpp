// The map tool: corvel_maps QUEST DESCRIPTION... builds each map description (a text grid
// with a legend, docs/maps.md) into QUEST/Maps, naming tiles and triggers as the quest's
// own "tiles.dat" and "triggers.dat" number them.
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>
#include "tools/maps/maps.h"

namespace {

const char* const kUsage =
    "usage: corvel_maps QUEST DESCRIPTION...\n"
    "Builds each map description NAME.txt into QUEST/Maps/NAME.map. QUEST is the quest's\n"
    "resource folder: tiles are named as in QUEST/Images/tiles.dat, triggers as in\n"
    "QUEST/Triggers/triggers.dat.\n";

int Fail(const std::string& message) {
  std::fprintf(stderr, "corvel_maps: %s\n", message.c_str());
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fputs(kUsage, stderr);
    return 2;
  }
  const std::filesystem::path quest = argv[1];
  const std::vector<std::string> descriptions(argv + 2, argv + argc);
  TQuestNames names;
  std::string error;
  if (!ReadQuestNames((quest / "Images/tiles.dat").string(),
                      (quest / "Triggers/triggers.dat").string(), names, error))
    return Fail(error);
  std::error_code ec;
  std::filesystem::create_directories(quest / "Maps", ec);
  if (ec) return Fail("cannot make " + (quest / "Maps").string() + ": " + ec.message());
  if (!BuildMaps(descriptions, (quest / "Maps").string(), names, error)) return Fail(error);
  return 0;
}
