// The sync log: fsync, fdatasync, syncfs and the renames are defined here, in the test
// program, so that every call of the program's own code (and of the libraries it loads) comes
// here first; each is recorded while a log is open and then handed on to the C library's own.
#include "support/sync_log.h"

#include <dirent.h>
#include <dlfcn.h>
#include <fcntl.h>
#include <limits.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <mutex>

namespace testsupport {
namespace {

std::mutex logLock;
std::vector<TSyncEvent>* openLog = nullptr;  // guarded by logLock

std::string Link(const std::string& path) {
  char buffer[PATH_MAX];
  const ssize_t n = readlink(path.c_str(), buffer, sizeof buffer);
  return n > 0 ? std::string(buffer, static_cast<size_t>(n)) : "";
}

std::string FdLink(int fd) { return "/proc/self/fd/" + std::to_string(fd); }

// The absolute path of `name` taken relative to the folder open as `dirFd`.
std::string AtPath(int dirFd, const char* name) {
  if (!name) return "";
  if (name[0] == '/') return name;
  return (dirFd == AT_FDCWD ? Link("/proc/self/cwd") : Link(FdLink(dirFd))) + "/" + name;
}

std::string FolderOf(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  return slash == std::string::npos || slash == 0 ? "/" : path.substr(0, slash);
}

TEntryState State(const std::string& path, bool follow) {
  TEntryState s;
  struct stat st {};
  if ((follow ? stat(path.c_str(), &st) : lstat(path.c_str(), &st)) != 0) return s;
  s.exists = true;
  s.device = st.st_dev;
  s.inode = st.st_ino;
  s.folder = S_ISDIR(st.st_mode);
  if (s.folder) {
    std::vector<std::string> names;
    if (DIR* dir = opendir(path.c_str())) {
      while (dirent* entry = readdir(dir)) {
        const std::string name = entry->d_name;
        if (name != "." && name != "..") names.push_back(name);
      }
      closedir(dir);
    }
    std::sort(names.begin(), names.end());
    for (const std::string& name : names) s.content += name + "/";
  } else if (S_ISREG(st.st_mode)) {
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd >= 0) {
      char buffer[65536];
      for (ssize_t n; (n = read(fd, buffer, sizeof buffer)) > 0;)
        s.content.append(buffer, static_cast<size_t>(n));
      close(fd);
    }
  }
  return s;
}

// Every entry below the folder, depth first, links not followed.
void StatesBelow(const std::string& dir, std::vector<TEntryState>& out) {
  DIR* d = opendir(dir.c_str());
  if (!d) return;
  std::vector<std::string> names;
  while (dirent* entry = readdir(d)) {
    const std::string name = entry->d_name;
    if (name != "." && name != "..") names.push_back(name);
  }
  closedir(d);
  for (const std::string& name : names) {
    out.push_back(State(dir + "/" + name, false));
    if (out.back().folder) StatesBelow(dir + "/" + name, out);
  }
}

bool Same(const TEntryState& a, const TEntryState& b) {
  return a.exists && b.exists && a.device == b.device && a.inode == b.inode &&
         a.folder == b.folder && a.content == b.content;
}

// The sync holds the entry as it is in `state`.
bool Holds(const TSyncEvent& e, const TEntryState& state) {
  if (e.kind != TSyncEvent::Sync) return false;
  if (Same(e.state, state)) return true;
  return std::any_of(e.below.begin(), e.below.end(),
                     [&](const TEntryState& s) { return Same(s, state); });
}

bool Below(const std::string& path, const std::string& dir) {
  return path == dir || path.rfind(dir.back() == '/' ? dir : dir + "/", 0) == 0;
}

std::string Canonical(const std::string& path) {
  char buffer[PATH_MAX];
  return realpath(path.c_str(), buffer) ? std::string(buffer) : path;
}

template <typename F>
F Real(const char* name) {
  return reinterpret_cast<F>(dlsym(RTLD_NEXT, name));
}

// A sync of the file or folder open as fd; with `below`, of everything below it too.
template <typename Call>
int Synced(int fd, bool below, Call call) {
  std::lock_guard<std::mutex> lock(logLock);
  const int result = call();
  if (openLog && result == 0) {
    TSyncEvent e{TSyncEvent::Sync, Link(FdLink(fd)), "", State(FdLink(fd), true)};
    if (below) StatesBelow(e.path, e.below);
    openLog->push_back(std::move(e));
  }
  return result;
}

template <typename Call>
int Renamed(int fromDir, const char* from, int toDir, const char* to, Call call) {
  std::lock_guard<std::mutex> lock(logLock);
  if (!openLog) return call();
  TSyncEvent e{TSyncEvent::Rename, AtPath(fromDir, from), AtPath(toDir, to), {}};
  e.state = State(e.path, false);
  const int result = call();
  if (result == 0) {
    const TEntryState folder = State(FolderOf(e.to), true);
    e.toFolderDevice = folder.device;
    e.toFolderInode = folder.inode;
    openLog->push_back(std::move(e));
  }
  return result;
}

}  // namespace

TEntryState EntryState(const std::string& path) { return State(path, false); }

TSyncLog::TSyncLog() {
  std::lock_guard<std::mutex> lock(logLock);
  delete openLog;
  openLog = new std::vector<TSyncEvent>;
}

TSyncLog::~TSyncLog() {
  std::lock_guard<std::mutex> lock(logLock);
  delete openLog;
  openLog = nullptr;
}

std::vector<TSyncEvent> TSyncLog::Events() const {
  std::lock_guard<std::mutex> lock(logLock);
  return openLog ? *openLog : std::vector<TSyncEvent>{};
}

int SyncedAsItIs(const std::vector<TSyncEvent>& events, const std::string& path, size_t from) {
  const TEntryState now = EntryState(path);
  for (size_t i = from; i < events.size(); ++i) {
    if (Holds(events[i], now)) return static_cast<int>(i);
  }
  return -1;
}

std::string RenamesOfUnsyncedEntries(const std::vector<TSyncEvent>& events,
                                     const std::string& under) {
  const std::string dir = Canonical(under);
  std::string out;
  for (size_t i = 0; i < events.size(); ++i) {
    if (events[i].kind != TSyncEvent::Rename || !Below(events[i].to, dir)) continue;
    const bool synced = std::any_of(events.begin(), events.begin() + static_cast<long>(i),
                                    [&](const TSyncEvent& e) { return Holds(e, events[i].state); });
    if (!synced) out += events[i].path + " -> " + events[i].to + "\n";
  }
  return out;
}

int SyncsBelow(const std::vector<TSyncEvent>& events, const std::string& dir) {
  const std::string canonical = Canonical(dir);
  return static_cast<int>(std::count_if(events.begin(), events.end(), [&](const TSyncEvent& e) {
    return e.kind == TSyncEvent::Sync && Below(e.path, canonical);
  }));
}

int LastSync(const std::vector<TSyncEvent>& events, const std::string& path) {
  const TEntryState now = EntryState(path);
  for (size_t i = events.size(); i-- > 0;) {
    const TEntryState& s = events[i].state;
    if (events[i].kind == TSyncEvent::Sync && s.device == now.device && s.inode == now.inode)
      return static_cast<int>(i);
  }
  return -1;
}

std::vector<size_t> RenamesInto(const std::vector<TSyncEvent>& events, const std::string& dir) {
  const TEntryState folder = EntryState(dir);
  std::vector<size_t> at;
  for (size_t i = 0; i < events.size(); ++i) {
    if (events[i].kind == TSyncEvent::Rename && events[i].toFolderDevice == folder.device &&
        events[i].toFolderInode == folder.inode)
      at.push_back(i);
  }
  return at;
}

}  // namespace testsupport

extern "C" {

int fsync(int fd) {
  static const auto real = testsupport::Real<int (*)(int)>("fsync");
  return testsupport::Synced(fd, false, [&] { return real(fd); });
}

int fdatasync(int fd) {
  static const auto real = testsupport::Real<int (*)(int)>("fdatasync");
  return testsupport::Synced(fd, false, [&] { return real(fd); });
}

int syncfs(int fd) noexcept {
  static const auto real = testsupport::Real<int (*)(int)>("syncfs");
  return testsupport::Synced(fd, true, [&] { return real(fd); });
}

int rename(const char* from, const char* to) noexcept {
  static const auto real = testsupport::Real<int (*)(const char*, const char*)>("rename");
  return testsupport::Renamed(AT_FDCWD, from, AT_FDCWD, to, [&] { return real(from, to); });
}

int renameat(int fromDir, const char* from, int toDir, const char* to) noexcept {
  static const auto real =
      testsupport::Real<int (*)(int, const char*, int, const char*)>("renameat");
  return testsupport::Renamed(fromDir, from, toDir, to,
                              [&] { return real(fromDir, from, toDir, to); });
}

int renameat2(int fromDir, const char* from, int toDir, const char* to,
              unsigned int flags) noexcept {
  static const auto real =
      testsupport::Real<int (*)(int, const char*, int, const char*, unsigned int)>("renameat2");
  return testsupport::Renamed(fromDir, from, toDir, to,
                              [&] { return real(fromDir, from, toDir, to, flags); });
}

}  // extern "C"
