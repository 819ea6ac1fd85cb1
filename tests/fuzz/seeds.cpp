// Writes the seed corpus of every fuzz target: the files of the demo quest and of the test
// fixtures that each loader reads, and inputs made here for what those lack (the other image
// formats, sound layouts, a configuration, an NPC status file, a save record and save scripts).
// Usage: corvel_fuzz_seeds OUT FIXTURES RESOURCES
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "core/config.h"
#include "core/globals.h"
#include "core/tables.h"
#include "fuzz/harness.h"
#include "platform/files/files.h"
#include "platform/files/stream.h"
#include "support/files.h"
#include "support/images.h"
#include "support/lua_run.h"
#include "support/sounds.h"
#include "transitions/transitions.h"


using testsupport::U16;
using testsupport::U32;

namespace {

std::string gOut;

std::string Folder(const std::string& target) {
  const std::string dir = gOut + "/" + target;
  CreateDir(dir, 1);
  return dir + "/";
}

void Seed(const std::string& target, const std::string& name, const std::string& bytes) {
  testsupport::WriteFileBytes(Folder(target) + name, bytes);
}

void Seed(const std::string& target, const std::string& name, const std::vector<uint8_t>& bytes) {
  Seed(target, name, std::string(bytes.begin(), bytes.end()));
}

// Copies the file, or every file of the folder whose name ends in `suffix`, its name led by
// its place (`label`) so that files of the same name from different folders stay apart.
void CopySeeds(const std::string& target, const std::string& path, const std::string& label,
               const std::string& suffix = "") {
  if (FileType(path) == FILETYPE_FILE) {
    CopyFile(path, Folder(target) + label + "-" + StripDir(path));
    return;
  }
  for (const std::string& name : LoadDir(path, 1)) {
    const bool matches = name.size() >= suffix.size() &&
                         name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0;
    if (matches) CopyFile(path + "/" + name, Folder(target) + label + "-" + name);
  }
}

std::string Bmp(int width, int height, int bits, const std::string& palette,
                const std::string& rows, uint32_t compression = 0, const std::string& masks = "") {
  const std::string info = U32(40) + U32(width) + U32(height) + U16(1) + U16(bits) +
                           U32(compression) + U32(rows.size()) + U32(2835) + U32(2835) +
                           U32(palette.size() / 4) + U32(0);
  const uint32_t dataAt = 14 + info.size() + masks.size() + palette.size();
  return "BM" + U32(dataAt + rows.size()) + U32(0) + U32(dataAt) + info + masks + palette + rows;
}

std::string Tga(int type, int width, int height, int bits, int descriptor,
                const std::string& pixels, const std::string& id = "") {
  return std::string(1, static_cast<char>(id.size())) + std::string(1, '\0') +
         std::string(1, static_cast<char>(type)) + std::string(5, '\0') + U16(0) + U16(0) +
         U16(width) + U16(height) + std::string(1, static_cast<char>(bits)) +
         std::string(1, static_cast<char>(descriptor)) + id + pixels;
}

void MadeImages() {
  using testsupport::JpegBytes;
  Seed("image_jpeg", "colour.jpg", JpegBytes(24, 16, 200, 40, 90));
  Seed("image_jpeg", "progressive.jpg", JpegBytes(40, 24, 30, 160, 220, {.progressive = true}));
  Seed("image_jpeg", "grey.jpg", JpegBytes(16, 16, 120, 0, 0, {.grey = true, .quality = 50}));

  // Rows of BMP files are padded to 4 bytes and stored bottom-up unless the height is negative.
  const std::string rows = std::string("\1\2\3\4\5\6\7\10\11\0\0\0", 12) +
                           std::string("\12\13\14\15\16\17\20\21\22\0\0\0", 12);
  Seed("image_bmp", "rgb24.bmp", Bmp(3, 2, 24, "", rows));
  const std::string palette = U32(0x00FF0000) + U32(0x0000FF00) + U32(0x000000FF) + U32(0x00FFFFFF);
  Seed("image_bmp", "palette8.bmp", Bmp(4, 2, 8, palette, std::string("\0\1\2\3\3\2\1\0", 8)));
  const std::string masks = U32(0x00FF0000) + U32(0x0000FF00) + U32(0x000000FF) + U32(0xFF000000);
  const std::string pixels = U32(0x80102030) + U32(0xFF405060) + U32(0x00708090) + U32(0xFFA0B0C0);
  Seed("image_bmp", "bitfields32.bmp", Bmp(2, -2, 32, "", pixels, 3, masks));

  Seed("image_tga", "rgb24.tga", Tga(2, 3, 2, 24, 0, std::string(18, '\x40')));
  Seed("image_tga", "rle32.tga", Tga(10, 4, 2, 32, 0x28, "\x83" + U32(0x80102030) + "\x03" +
                                                            U32(1) + U32(2) + U32(3) + U32(4)));
  Seed("image_tga", "grey8.tga", Tga(3, 2, 2, 8, 0x20, "\x10\x20\x30\x40", "id"));
  Seed("image_tga", "rle16.tga", Tga(10, 3, 1, 16, 0, "\x82" + U16(0x7C1F)));
}

void MadeSounds() {
  using testsupport::PcmFormat;
  using testsupport::Wav;
  const std::string samples("\x10\x80\xF0\x7F\x00\x01\xFF\x40", 8);
  for (const char* target : {"sound_wav", "music_wav"}) {
    Seed(target, "stereo8.wav", Wav(PcmFormat(2, 22050, 8), samples));
    Seed(target, "tiny.wav", testsupport::TinyWav());
    // An extensible format chunk names PCM in the first two bytes of its GUID.
    const std::string pcmGuid =
        U16(1) + std::string("\0\0\0\0\x10\0\x80\0\0\xAA\0\x38\x9B\x71", 14);
    const std::string extensible =
        PcmFormat(2, 44100, 16, 0xFFFE) + U16(22) + U16(16) + U32(3) + pcmGuid;
    Seed(target, "extensible.wav", Wav(extensible, samples));
    // An odd-sized chunk before the data, without its pad byte.
    Seed(target, "list-chunk.wav", Wav(PcmFormat(1, 8000, 16), samples, "LIST" + U32(5) + "INFOx"));
  }
}

void MadeTexts() {
  const auto withWidth = [](float width, const std::string& text) {
    char bytes[sizeof width];
    std::memcpy(bytes, &width, sizeof width);
    return std::string(bytes, sizeof width) + text;
  };
  Seed("text_wrap", "words", withWidth(100, "The quick brown fox"));
  Seed("text_wrap", "line-feeds", withWidth(100, "Hello there friend\nBye\n\nab\r\ncd"));
  Seed("text_wrap", "unlimited", withWidth(0, "A long line that nothing wraps   with  spaces\t"));
  Seed("text_wrap", "narrow", withWidth(8, "Words wider than the width stand alone."));
}

// A configuration, an NPC status file and a save record, written by the game's own writers.
void WrittenByTheGame() {
  fuzz::LoadDemoTables();
  const std::string config = fuzz::ScratchDir() + "/config.dat";
  SaveConfig(config);
  CopySeeds("config", config, "defaults");

  std::string status;
  for (const TActorPtr& npc : LoadNPCs(baseAppDir + "/npc.dat"))
    status += NPCStatusLine(*npc) + "\r\n";
  Seed("npcs", "status.npc", status);

  player = TPlayer::CreatePlayer(0, 1, 120.0f, 64.0f, 0.0f, 0.0f, 1, "Seed", 6, 6, 0, 6.0f, 1);
  for (size_t slot = 0; slot < 3 && slot + 1 < gameItem.size(); ++slot)
    player->item[slot] = std::make_shared<TItem>(*gameItem[slot + 1]);
  player->SetPrimary(player->item[0]->itemID);
  player->gold = 42;
  flags[3] = 7;
  const std::string record = settings->saveDir + "0.SEED.sav";
  if (SaveGame(record, settings->saveDir + "0")) {
    CopySeeds("save_record", record, "written");
    CopySeeds("save_script", record + ".lua", "written");
  }
  player = nullptr;
}

// Save scripts that reach past what a save is: other code, the string library, endless time
// and memory, and a precompiled chunk.
void MadeSaveScripts() {
  Seed("save_script", "trip.lua",
       "AddPlayer(2, 3, 8.5, 9) GoToMap(\"a.map\", 7) GoToMap(\"gone\", 0) PlayMusic(1)");
  Seed("save_script", "escape.lua", "dofile('/etc/hostname') loadstring('x = 1')()");
  Seed("save_script", "methods.lua", "local s = ('a'):rep(10) s:find(('a?'):rep(10))");
  Seed("save_script", "loop.lua", "while true do end");
  Seed("save_script", "hungry.lua", "local s = 'x' while true do s = s .. s end");
  Seed("save_script", "chunk.luac", PrecompiledChunk("PlayMusic(1)"));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: %s OUT FIXTURES RESOURCES\n", argv[0]);
    return 2;
  }
  gOut = argv[1];
  const std::string fixtures = argv[2], res = argv[3], quest = fixtures + "/core_quest";
  DeleteDir(gOut, 1);
  CreateDir(gOut, 1);

  CopySeeds("map", res + "/Maps", "demo", ".map");
  CopySeeds("map", quest + "/Maps", "fixture", ".map");
  for (const auto& [target, file] : {std::pair{"tiles_table", "/Images/tiles.dat"},
                                     {"sounds_table", "/Sounds/sounds.dat"},
                                     {"music_table", "/Music/music.dat"},
                                     {"triggers_table", "/Triggers/triggers.dat"},
                                     {"items_table", "/item.dat"},
                                     {"npcs", "/npc.dat"}}) {
    CopySeeds(target, res + file, "demo");
    CopySeeds(target, quest + file, "fixture");
  }
  for (const char* fixture : {"scripting", "transit"})
    CopySeeds("triggers_table", fixtures + "/" + fixture + "/Triggers/triggers.dat", fixture);
  CopySeeds("image_png", res + "/Images", "demo", ".png");
  CopySeeds("sound_wav", res + "/Sounds", "demo", ".wav");
  CopySeeds("music_wav", res + "/Sounds", "demo", ".wav");
  CopySeeds("sound_ogg", res + "/Music", "demo", ".ogg");
  CopySeeds("music_ogg", res + "/Music", "demo", ".ogg");
  CopySeeds("video", res + "/Images", "demo", ".ogv");

  MadeImages();
  MadeSounds();
  MadeTexts();
  WrittenByTheGame();
  MadeSaveScripts();
  CopySeeds("save_script", res + "/Triggers", "demo", ".lua");
  return 0;
}
