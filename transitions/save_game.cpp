// Saving a game into a slot: the save record, the save script and the slot folder.
//
// Everything is first written under temporary names beside its place; only a complete set
// replaces the slot, so a save that fails half-way leaves the previous one as it was.
#include <cstdio>
#include <string>

#include "core/globals.h"
#include "platform/files.h"
#include "platform/stream.h"
#include "platform/text.h"
#include "transitions/transitions.h"

namespace {

const char* const kPartSuffix = ".part";
const char* const kOldSuffix = ".old";

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
    if (!CopyFile(from, dir + "/" + name)) return false;
  }
  return true;
}

// The slot folder is put in place first; on failure the old one comes back.
bool ReplaceSlot(const std::string& savePath, const std::string& slotDir) {
  const std::string slotOld = slotDir + kOldSuffix;
  DeleteDir(slotOld, 1);
  const bool hadSlot = FileType(slotDir) != FILETYPE_NONE;
  if (hadSlot && !RenameFile(slotDir, slotOld)) return false;
  if (!RenameFile(slotDir + kPartSuffix, slotDir)) {
    if (hadSlot) RenameFile(slotOld, slotDir);
    return false;
  }
  if (!RenameFile(savePath + ".lua" + kPartSuffix, savePath + ".lua") ||
      !RenameFile(savePath + kPartSuffix, savePath)) {
    RenameFile(slotDir, slotDir + kPartSuffix);
    if (hadSlot) RenameFile(slotOld, slotDir);
    return false;
  }
  DeleteDir(slotOld, 1);
  return true;
}

// The slot's earlier record and script, whatever their save name, and every other file of
// the save folder whose name begins with the slot digit.
void ClearOldEntries(const std::string& savePath, const std::string& slotDir) {
  const std::string digit = Left(StripAll(savePath), 1);
  if (digit.empty()) return;
  const std::string keep[] = {StripDir(savePath), StripDir(savePath) + ".lua", StripDir(slotDir)};
  for (const std::string& entry : LoadDir(settings->saveDir, 1)) {
    if (Left(StripAll(entry), 1) != digit) continue;
    if (entry == keep[0] || entry == keep[1] || entry == keep[2]) continue;
    DeleteFile(settings->saveDir + entry);
  }
}

void DeleteParts(const std::string& savePath, const std::string& slotDir) {
  DeleteFile(savePath + kPartSuffix);
  DeleteFile(savePath + ".lua" + kPartSuffix);
  DeleteDir(slotDir + kPartSuffix, 1);
}

}  // namespace

int SaveGame(const std::string& savePath, const std::string& slotDir) {
  if (!player) return 0;
  DeleteParts(savePath, slotDir);
  const bool written = WriteRecord(savePath + kPartSuffix) &&
                       WriteScript(savePath + ".lua" + kPartSuffix) && WriteMapStatus() &&
                       CopyWorkingFolder(slotDir + kPartSuffix);
  if (!written || !ReplaceSlot(savePath, slotDir)) {
    DeleteParts(savePath, slotDir);
    return 0;
  }
  ClearOldEntries(savePath, slotDir);
  return 1;
}
