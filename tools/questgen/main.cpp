// Builds the demo quest: corvel_questgen SOURCE RESOURCES. SOURCE holds the readable quest
// (tables, scripts and map descriptions); RESOURCES is made afresh with those text files
// copied as they are, the maps built from their descriptions, and every picture, sound,
// music track and the video made by code.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>
#include "tools/questgen/audio.h"
#include "tools/maps/maps.h"
#include "tools/questgen/painters.h"
#include "tools/questgen/video.h"

namespace fs = std::filesystem;

namespace {

int Fail(const std::string& message) {
  std::fprintf(stderr, "corvel_questgen: %s\n", message.c_str());
  return 1;
}

// Every file named on a line of a list must exist in the folder.
bool ListedFilesExist(const fs::path& list, const fs::path& dir, bool tileList, std::string& error) {
  std::ifstream in(list);
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (tileList) {
      const size_t comment = line.find("//");
      if (comment != std::string::npos) line.resize(comment);
      if (line.empty()) continue;
      line = line.substr(0, line.find(','));
    }
    if (!fs::exists(dir / line)) {
      error = list.string() + " names " + line + ", which the generator does not make";
      return false;
    }
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) return Fail("usage: corvel_questgen SOURCE RESOURCES");
  const fs::path source = argv[1], out = argv[2];
  std::error_code ec;
  fs::remove_all(out, ec);
  for (const char* dir : {"Maps", "Images", "Sounds", "Music", "Triggers"}) fs::create_directories(out / dir);

  // Text files: every file of the source except the map descriptions.
  for (const auto& entry : fs::recursive_directory_iterator(source)) {
    if (!entry.is_regular_file()) continue;
    const fs::path relative = fs::relative(entry.path(), source);
    if (relative.begin()->string() == "Maps") continue;
    fs::create_directories((out / relative).parent_path());
    fs::copy_file(entry.path(), out / relative, fs::copy_options::overwrite_existing, ec);
    if (ec) return Fail("cannot copy " + relative.string() + ": " + ec.message());
  }

  TPainterTable painters;
  AddTerrainPainters(painters);
  AddSpritePainters(painters);
  AddItemPainters(painters);
  AddScreenPainters(painters);
  for (const auto& [name, paint] : painters)
    if (!paint().Save((out / "Images" / name).string())) return Fail("cannot write " + name);

  TQuestNames names;
  std::string error;
  if (!ReadQuestNames((source / "Images/tiles.dat").string(), (source / "Triggers/triggers.dat").string(), names, error))
    return Fail(error);
  std::vector<std::string> descriptions;
  for (const auto& entry : fs::directory_iterator(source / "Maps"))
    if (entry.path().extension() == ".txt") descriptions.push_back(entry.path().string());
  if (!BuildMaps(descriptions, (out / "Maps").string(), names, error)) return Fail(error);

  if (!WriteSounds((out / "Sounds/").string())) return Fail("cannot write the sounds");
  if (!WriteMusic((out / "Music/").string())) return Fail("cannot write the music");
  if (!WriteVideo((out / "Images/sunrise.ogv").string())) return Fail("cannot write the video");

  if (!ListedFilesExist(out / "Images/tiles.dat", out / "Images", true, error) ||
      !ListedFilesExist(out / "Sounds/sounds.dat", out / "Sounds", false, error) ||
      !ListedFilesExist(out / "Music/music.dat", out / "Music", false, error) ||
      !ListedFilesExist(out / "Triggers/triggers.dat", out / "Triggers", false, error))
    return Fail(error);
  return 0;
}
