// Refilling the working folder, checked copy by copy.
#include "core/working_folder.h"

#include <algorithm>

#include "core/globals.h"
#include "core/user_files.h"
#include "dialogs/dialogs.h"
#include "platform/files/files.h"
#include "platform/system/app.h"

namespace {

bool whole = true;

// Copies the folder's files into `to`, and with `subFolders` its sub-folders too (links to
// folders are not followed: they may lead back up and never end). The quest's map folder is
// its author's and is copied as it is; a slot's files are held to WorkingFileBound.
std::string CopyFolder(const std::string& from, const std::string& to, bool subFolders,
                       bool fromSlot) {
  const std::vector<std::string> names = LoadDir(from, 1);
  // A missing or unreadable folder has nothing to copy; something else in its place (a link
  // in the user folder) is no folder, and the copy fails.
  const int type = FileType(from);
  if (type == FILETYPE_NONE) return "";
  if (type == FILETYPE_FILE) return FileFailure();
  if (subFolders) return CopyDir(from, to) ? "" : FileFailure();
  for (const std::string& name : names) {
    const std::string source = from + name, target = to + name;
    const int entry = FileType(source);
    // Sub-folders stay behind; so does what is gone since the listing, or a link that leads
    // nowhere (outside the user folder), and in the quest what holds no file to copy (a
    // FIFO, a device).
    if (entry != FILETYPE_FILE || (!fromSlot && FileSize(source) < 0)) continue;
    DeleteFile(target);
    if (!CopyFile(source, target, fromSlot ? WorkingFileBound(name) : ANY_SIZE))
      return FileFailure();
  }
  return "";
}

std::string Cleared() {
  const std::string& dir = settings->tempDir;
  DeleteDir(dir, 1);
  if (!CreateDir(dir, 0)) return FileFailure();
  // A folder that could not be emptied would carry an earlier game's files into this one.
  if (!LoadDir(dir, 1).empty()) return "Could not empty the working folder " + dir;
  return "";
}

}  // namespace

int64_t WorkingFileBound(const std::string& name) {
  return std::max(WORKING_FILE_BYTES, FileSize(settings->mapDir + name));
}

std::string RefillWorkingFolder(bool subFolders) {
  std::string failure = Cleared();
  if (failure.empty())
    failure = CopyFolder(settings->mapDir, settings->tempDir, subFolders, false);
  whole = failure.empty();
  return failure;
}

std::string ClearWorkingFolder() {
  const std::string failure = Cleared();
  whole = failure.empty();
  return failure;
}

std::string CopyMapsIntoWorkingFolder() {
  const std::string failure = CopyFolder(settings->mapDir, settings->tempDir, false, false);
  whole = whole && failure.empty();
  return failure;
}

std::string CopyIntoWorkingFolder(const std::string& folder) {
  const std::string failure = CopyFolder(folder, settings->tempDir, false, true);
  whole = whole && failure.empty();
  return failure;
}

std::string CheckCopyIntoWorkingFolder(const std::string& folder) {
  if (FileType(folder) == FILETYPE_FILE) {
    const std::string why = ReadFailure(folder);
    return "Could not copy " + folder + ": " + (why.empty() ? "it is no folder" : why);
  }
  for (const std::string& name : LoadDir(folder, 1)) {
    const std::string source = folder + name;
    if (FileType(source) != FILETYPE_FILE) continue;
    const std::string why = ReadFailure(source, WorkingFileBound(name));
    if (!why.empty()) return "Could not copy " + source + ": " + why;
  }
  return "";
}

bool WorkingFolderWhole() { return whole; }

bool ResetWorkingFolder() {
  const std::string failure = RefillWorkingFolder(true);
  if (failure.empty()) return true;
  WriteError(failure);
  DisplayText(failure, 255, 255, 255, "", 0, 1);
  return false;
}
