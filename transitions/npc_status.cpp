// The NPC status file of a map: its NPCs, one line each in the layout of "npc.dat".
#include <iterator>
#include <string>

#include "core/globals.h"
#include "platform/files/files.h"
#include "platform/files/stream.h"
#include "platform/system/text.h"
#include "transitions/transitions.h"

namespace {

// A name goes into the line unescaped, so what would not read back becomes "_": the field
// separator, the start of a comment and the line ends.
std::string FieldSafeName(const std::string& name) {
  std::string out;
  out.reserve(name.size());
  for (char c : name) {
    bool comment = c == '/' && !out.empty() && out.back() == '/';
    out += (c == ',' || c == '\r' || c == '\n' || c == '\0' || comment) ? '_' : c;
  }
  return out;
}

}  // namespace

std::string NPCStatusLine(const TActor& npc) {
  const std::string fields[] = {
      StringFromInt(npc.tileID),    StringFromInt(npc.footprintID), StringFromFloat(npc.X),
      StringFromFloat(npc.Y),       StringFromFloat(npc.speedX),    StringFromFloat(npc.speedY),
      StringFromInt(npc.facing),    FieldSafeName(npc.name),        StringFromInt(npc.life),
      StringFromInt(npc.maxLife),   StringFromInt(npc.attitude),    StringFromInt(npc.movement),
      StringFromFloat(npc.walkSpeed), StringFromInt(npc.damage),    StringFromInt(npc.deathTrigger),
      StringFromInt(npc.talkTrigger), StringFromInt(npc.primary ? npc.primary->itemID : 0)};
  std::string line = fields[0];
  for (size_t i = 1; i < std::size(fields); ++i) line += "," + fields[i];
  return line;
}

bool WriteMapStatus() {
  if (!currentMap || currentMap->mapFile.empty()) return true;
  const std::string& mapFile = currentMap->mapFile;
  const bool mapWritten = currentMap->WriteMapFile(mapFile);
  // Beside the file and renamed over it, as the map is: a write that fails (a full disk)
  // leaves the NPCs of the last one whole. Scratch, like every file of the working folder.
  const std::string path = mapFile + ".npc", temp = path + ".tmp";
  TStreamPtr stream = WriteStream(temp);
  if (!stream) {
    WriteError(FileFailure());
    return false;
  }
  for (const TActorPtr& npc : npcList.ToVector()) {
    if (npc) WriteLine(stream, NPCStatusLine(*npc));
  }
  if (!ReplaceFile(stream, temp, path, TKeep::Scratch)) {
    WriteError(FileFailure());
    return false;
  }
  return mapWritten;
}

int SaveMapStatus() {
  WriteMapStatus();
  return 0;
}
