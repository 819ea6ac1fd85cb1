// The save folder's records, what a slot folder may hold, and the commit of a save.
//
// A slot is three entries side by side (record, save script, slot folder), which no single
// rename can replace. A save therefore writes the new three into a staging folder, syncs
// them, and renames that folder to its commit name: before that rename the old slot stands,
// after it the new one does. Finishing moves the committed entries into place; every step
// of it can be run again, so a commit cut short is finished by whoever comes next.
#include "transitions/save_folder.h"

#include <algorithm>
#include <cstdint>

#include "core/globals.h"
#include "core/user_files.h"
#include "platform/files/files.h"
#include "platform/system/text.h"

namespace {

const std::string kRecordExt = ".sav";
const std::string kScriptExt = ".lua";
const std::string kOldSlotFolder = "old";

bool Exists(const std::string& path) { return FileType(path) != FILETYPE_NONE; }

// A link is removed as itself, never followed.
bool RemoveEntry(const std::string& path) { return DeleteFile(path) || DeleteDir(path, 1); }

// A record or a save script of the slot, under any save name.
bool IsSlotEntry(const std::string& entry, int slot) {
  int entrySlot = -1;
  std::string name;
  const bool script = entry.size() > kScriptExt.size() &&
                      entry.compare(entry.size() - kScriptExt.size(), kScriptExt.size(),
                                    kScriptExt) == 0;
  const std::string record = script ? entry.substr(0, entry.size() - kScriptExt.size()) : entry;
  return ParseSaveRecordName(record, entrySlot, name) && entrySlot == slot;
}

// The slot's other records and scripts go, its old folder is set aside in the commit
// folder, and the new folder, script and record take their places, the record last.
bool MoveCommittedEntries(int slot, const std::string& committed, const std::string& record) {
  const std::string& saveDir = settings->saveDir;
  const std::string script = record + kScriptExt;
  for (const std::string& entry : LoadDir(saveDir, 1)) {
    // A folder under such a name is no record: it stays, like every other stray entry.
    if (entry != record && entry != script && IsSlotEntry(entry, slot) &&
        FileType(saveDir + entry) != FILETYPE_DIR && !DeleteFile(saveDir + entry))
      return false;
  }
  const std::string slotName = StringFromInt(slot);
  const std::string slotDir = saveDir + slotName, staged = committed + "/" + slotName;
  if (Exists(staged)) {
    const std::string old = committed + "/" + kOldSlotFolder;
    if (Exists(slotDir) && !(Exists(old) ? RemoveEntry(slotDir) : RenameFile(slotDir, old)))
      return false;
    if (!RenameFile(staged, slotDir)) return false;
  }
  if (Exists(committed + "/" + script) &&
      !RenameFile(committed + "/" + script, saveDir + script))
    return false;
  if (!RenameFile(committed + "/" + record, saveDir + record)) return false;
  SyncPath(saveDir);
  return true;
}

}  // namespace

bool ParseSaveRecordName(const std::string& entry, int& slot, std::string& name) {
  const size_t size = entry.size();
  // The digit, the dot, a name of one character at least, and the extension.
  const size_t ext = kRecordExt.size();
  if (size < 2 + 1 + ext || entry[0] < '0' || entry[0] >= '0' + SAVE_SLOTS || entry[1] != '.' ||
      entry.compare(size - ext, ext, kRecordExt) != 0)
    return false;
  slot = entry[0] - '0';
  name = entry.substr(2, size - 2 - ext);
  return true;
}

std::string SlotContentsFailure(const std::string& folder) {
  const std::vector<std::string> names = LoadDir(folder, 1);
  if (static_cast<int64_t>(names.size()) > SLOT_ENTRIES)
    return "it holds " + std::to_string(names.size()) + " entries, more than " +
           std::to_string(SLOT_ENTRIES);
  // A file counts beyond the size of the quest's own file of its name: the quest's maps are
  // its author's and may be as large as they like, a stranger's slot brings no more than that.
  int64_t bytes = 0;
  for (const std::string& name : names) {
    const int64_t quests = std::max<int64_t>(0, FileSize(settings->mapDir + name));
    const int64_t size = FileSize(folder + name) - quests;
    if (size > 0) bytes = size > INT64_MAX - bytes ? INT64_MAX : bytes + size;
  }
  if (bytes > SLOT_BYTES)
    return "its files hold " + std::to_string(bytes) + " bytes, more than " +
           std::to_string(SLOT_BYTES);
  return "";
}

std::string StagingFolder(int slot) {
  return settings->saveDir + "." + StringFromInt(slot) + ".staged";
}

std::string CommitFolder(int slot) {
  return settings->saveDir + "." + StringFromInt(slot) + ".committed";
}

bool FinishSlotCommit(int slot) {
  // The two names are the save's own: anything but a folder under them (a link that came
  // with a shared save folder, say) is removed as it is, and what it leads to stays.
  for (const std::string& own : {StagingFolder(slot), CommitFolder(slot)})
    if (FileType(own) == FILETYPE_FILE) DeleteFile(own);
  DeleteDir(StagingFolder(slot), 1);
  const std::string committed = CommitFolder(slot);
  if (FileType(committed) != FILETYPE_DIR) return true;
  // The record moves last: while it is in the commit folder, the rest may still be to do.
  for (const std::string& entry : LoadDir(committed, 1)) {
    int entrySlot = -1;
    std::string name;
    if (ParseSaveRecordName(entry, entrySlot, name) && entrySlot == slot &&
        !MoveCommittedEntries(slot, committed, entry))
      return false;
  }
  return DeleteDir(committed, 1);
}

void RecoverSaves() {
  for (int slot = 0; slot < SAVE_SLOTS; ++slot) FinishSlotCommit(slot);
}
