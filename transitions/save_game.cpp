// Saving a game into a slot: the save record, the save script and the slot folder.
//
// The three are written into a staging folder and replace the slot's through one commit
// (save_folder.h), so a save that fails or is cut short half-way leaves the previous one.
// Everything is written first and synced at once, with one sync of the file system: one
// sync per file would cost a save of many maps most of its time.
#include <cstdio>
#include <string>

#include "core/globals.h"
#include "core/working_folder.h"
#include "platform/files/files.h"
#include "platform/files/stream.h"
#include "platform/system/text.h"
#include "transitions/save_folder.h"
#include "transitions/transitions.h"

namespace {

void WriteItem(const TStreamPtr& s, const TItem& item) {
  WriteLine(s, item.name);
  WriteLine(s, item.description);
  for (int value : {item.itemID, item.itemType, item.ammoCount, item.ammoMax, item.icon,
                    item.useImage, item.ammoImage, item.useTrigger, item.getTrigger,
                    item.damageRating, item.missileRange}) {
    WriteInt(s, value);
  }
  WriteFloat(s, item.missileSpeed);
  WriteInt(s, item.missileRotationDiff);
  WriteInt(s, item.sound);
  WriteInt(s, item.meleeImage);
}

bool WriteRecord(const std::string& path) {
  TStreamPtr s = BigEndianStream(WriteStream(path));
  if (!s) return false;
  const TPlayer& p = *player;
  WriteLine(s, p.name);
  WriteInt(s, p.tileID);
  WriteInt(s, FloatToInt(p.X));
  WriteInt(s, FloatToInt(p.Y));
  WriteFloat(s, p.speedX);
  WriteFloat(s, p.speedY);
  WriteFloat(s, p.walkSpeed);
  for (int value : {p.facing, p.frame, p.currentFrame, FloatToInt(p.tempCount), p.footprintID,
                    p.invincible, p.unmovable, p.life, p.maxLife, p.attitude, p.movement,
                    p.damage, p.moveToX, p.moveToY, p.moveGoal, p.moveCurrent, p.deathTrigger,
                    p.gold}) {
    WriteInt(s, value);
  }
  WriteInt(s, INVENTORY_SLOTS);
  const TItem blank;
  for (const TItemPtr& item : p.item) WriteItem(s, item ? *item : blank);
  WriteInt(s, p.primary ? p.primary->itemID : 0);
  WriteInt(s, p.secondary ? p.secondary->itemID : 0);
  WriteInt(s, 256);
  for (uint8_t flag : flags) WriteByte(s, flag);
  return CloseStream(s);
}

// A Lua string literal: quotes, backslashes and control characters escaped, every other
// byte as it is.
std::string LuaQuoted(const std::string& text) {
  std::string out = "\"";
  for (unsigned char c : text) {
    if (c == '"' || c == '\\') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c < 32 || c == 127) {
      char code[5];
      std::snprintf(code, sizeof code, "\\%03u", static_cast<unsigned>(c));
      out += code;
    } else {
      out += static_cast<char>(c);
    }
  }
  return out + "\"";
}

bool WriteScript(const std::string& path) {
  TStreamPtr s = WriteStream(path);
  if (!s) return false;
  WriteLine(s, "AddPlayer(" + StringFromInt(player->tileID) + "," +
                   StringFromInt(player->footprintID) + "," + StringFromFloat(player->X) + "," +
                   StringFromFloat(player->Y) + ")");
  WriteLine(s, "GoToMap(" + LuaQuoted(StripDir(currentMap ? currentMap->mapFile : "")) + ",0)");
  WriteLine(s, "PlayMusic(" + StringFromInt(lastMusic) + ")");
  return CloseStream(s);
}

// A new folder holding a copy of every file of the working folder.
bool CopyWorkingFolder(const std::string& dir) {
  if (!CreateDir(dir, 0)) return false;
  for (const std::string& name : LoadDir(settings->tempDir, 1)) {
    const std::string from = settings->tempDir + name;
    if (FileType(from) == FILETYPE_DIR) continue;  // the working folder's files only
    if (!CopyFile(from, dir + "/" + name, WorkingFileBound(name))) return false;
  }
  return true;
}

}  // namespace

int SaveGame(const std::string& savePath, const std::string& slotDir) {
  const std::string record = StripDir(savePath), script = record + ".lua";
  int slot = -1;
  std::string name;
  if (!player || !ParseSaveRecordName(record, slot, name) ||
      StripDir(slotDir) != StringFromInt(slot) || !FinishSlotCommit(slot))
    return 0;
  // A folder under the record's or the script's name could never be replaced by them.
  const std::string& saveDir = settings->saveDir;
  const std::string staging = StagingFolder(slot), committed = CommitFolder(slot);
  // A working folder larger than a slot may be would make a slot that cannot be loaded.
  std::string tooMuch;
  const bool staged = FileType(saveDir + record) != FILETYPE_DIR &&
                      FileType(saveDir + script) != FILETYPE_DIR && CreateDir(staging, 0) &&
                      WriteRecord(staging + "/" + record) &&
                      WriteScript(staging + "/" + script) && WriteMapStatus() &&
                      (tooMuch = SlotContentsFailure(settings->tempDir)).empty() &&
                      CopyWorkingFolder(staging + "/" + StripDir(slotDir)) &&
                      SyncFileSystem(staging) && RenameFile(staging, committed);
  if (!staged) {
    // What could not be written, and why ("No space left on device"); the old slot stands.
    WriteError(tooMuch.empty() ? FileFailure()
                               : "Could not save the working folder " + settings->tempDir +
                                     ": " + tooMuch);
    DeleteDir(staging, 1);
    return 0;
  }
  SyncPath(saveDir);
  return FinishSlotCommit(slot) ? 1 : 0;
}
