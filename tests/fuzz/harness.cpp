#include "fuzz/harness.h"

#include <cstdio>
#include <cstdlib>

#include "core/game.h"
#include "core/globals.h"
#include "core/tables.h"
#include "platform/files/files.h"
#include "world/missile.h"
#include "world/update.h"

namespace fuzz {

namespace {

std::string gScratch;

void RemoveScratch() { DeleteDir(gScratch, 1); }

}  // namespace

std::string ScratchDir() {
  if (gScratch.empty()) {
    char pattern[] = "/tmp/corvel-fuzz-XXXXXX";
    if (!mkdtemp(pattern)) {
      std::perror("corvel fuzz: no scratch folder");
      std::abort();
    }
    gScratch = pattern;
    std::atexit(RemoveScratch);
  }
  return gScratch;
}

std::string InputFile(const uint8_t* data, size_t size, const std::string& name) {
  const std::string path = ScratchDir() + "/" + name;
  std::FILE* out = std::fopen(path.c_str(), "wb");
  if (!out || (size && std::fwrite(data, 1, size, out) != size) || std::fclose(out) != 0) {
    std::perror("corvel fuzz: cannot write the input");
    std::abort();
  }
  return path;
}

void UseDemoQuest() {
  if (settings) return;
  baseAppDir = CORVEL_BINARY_DIR "/Resources";
  baseHomeDir = ScratchDir() + "/home";
  CreateDir(baseHomeDir);
  settings = std::make_unique<TConfig>();
  editor = std::make_unique<TEdit>();
  CreateDir(settings->saveDir);
  CreateDir(settings->tempDir);
}

void LoadDemoTables() {
  static bool loaded = false;
  if (loaded) return;
  loaded = true;
  UseDemoQuest();
  SetMaskColor(255, 0, 255);
  Tile = LoadImages(settings->imageDir + "tiles.dat");
  gameItem = LoadItems(baseAppDir + "/item.dat");
}

TMapPtr DemoMap() {
  static const TMapPtr map = [] {
    LoadDemoTables();
    const std::vector<std::string> maps = LoadDir(settings->mapDir, 1);
    const TMapPtr first = TMap::Create();
    if (!maps.empty()) first->LoadMap(settings->mapDir + maps.front());
    return first;
  }();
  return map->CopyMap();
}

void PlayWorld(int ticks) {
  Trigger.clear();
  Delta = 1.0f;
  if (TPlayerPtr p = player) {
    p->Talk();
    UseItem(p->primary);
    UseItem(p->secondary);
  }
  for (int tick = 0; tick < ticks; ++tick) MoveActors();
  DrawActors();
  DrawInterface();
  ClearMissileList();
  ClearNPCList();
}

}  // namespace fuzz
