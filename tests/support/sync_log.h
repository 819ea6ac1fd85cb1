#pragma once
// What reaches the disk, watched at the system's boundary: while a TSyncLog lives, every
// fsync, fdatasync, syncfs and rename of the process is recorded with what the synced or
// renamed file or folder held at that moment, however the file layer comes to make those
// calls. A syncfs is recorded as a sync of the folder it was given and of everything below it:
// less than it makes durable (the whole file system), never more.
#include <sys/types.h>

#include <string>
#include <vector>

namespace testsupport {

// A file or folder as it stands: its identity on the disk and what it holds.
struct TEntryState {
  bool exists = false;
  dev_t device = 0;
  ino_t inode = 0;
  bool folder = false;
  std::string content;  // a file's bytes; a folder's entry names, sorted, each ending in "/"
};
// The entry at the path now (not following a last symbolic link).
TEntryState EntryState(const std::string& path);

struct TSyncEvent {
  enum Kind { Sync, Rename } kind;
  std::string path;  // what was synced, or the source of the rename
  std::string to;    // the destination of a rename
  TEntryState state;  // of what was synced, or of the source just before it was renamed
  dev_t toFolderDevice = 0;  // the folder a rename moved into
  ino_t toFolderInode = 0;
  std::vector<TEntryState> below{};  // a syncfs: every entry below the folder it was given
};

class TSyncLog {
public:
  TSyncLog();
  ~TSyncLog();
  TSyncLog(const TSyncLog&) = delete;
  TSyncLog& operator=(const TSyncLog&) = delete;
  // The syncs and successful renames so far, in the order they were made.
  std::vector<TSyncEvent> Events() const;
};

// The position of the first sync at or after `from` of the entry at `path` while it held
// what it holds now; -1 when there is none.
int SyncedAsItIs(const std::vector<TSyncEvent>& events, const std::string& path,
                 size_t from = 0);
// Every rename into the folder `under` or a folder below it of something that was not synced,
// holding what it held when it was renamed, before the rename ("" when there is none): a cut
// power could leave it short or empty.
std::string RenamesOfUnsyncedEntries(const std::vector<TSyncEvent>& events,
                                     const std::string& under = "/");
// How many syncs were made of files or folders below `dir` (or of `dir`).
int SyncsBelow(const std::vector<TSyncEvent>& events, const std::string& dir);
// The position of the last sync of the file or folder at `path`, whatever it held then; -1
// when there is none.
int LastSync(const std::vector<TSyncEvent>& events, const std::string& path);
// The positions of the renames into the folder at `dir`, in order.
std::vector<size_t> RenamesInto(const std::vector<TSyncEvent>& events, const std::string& dir);

}  // namespace testsupport
