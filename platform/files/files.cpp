// Files, folders and paths over POSIX calls. Failures are reported by result, never thrown.
#include "platform/files/files.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <map>

#include "platform/files/places.h"
#include "platform/system/app.h"

namespace {

using files::Fail;
using files::Reason;
using files::Refuse;
using files::TPlace;

TFileStepHook fileStepHook = nullptr;

// The path without trailing "/" (but "/" itself stays).
std::string WithoutTrailingSlash(std::string path) {
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  return path;
}

std::string Join(const std::string& dir, const std::string& name) {
  if (dir.empty() || dir.back() == '/') return dir + name;
  return dir + "/" + name;
}

bool IsDir(const std::string& path) { return FileType(path) == FILETYPE_DIR; }

bool SameFile(const struct stat& a, const struct stat& b) {
  return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// Empties the folder open as `dirFd` (which it takes over and closes). Links are removed as
// entries: nothing is ever opened through one.
void DeleteContents(int dirFd) {
  DIR* dir = fdopendir(dirFd);
  if (!dir) {
    close(dirFd);
    return;
  }
  std::vector<std::string> names;
  while (dirent* entry = readdir(dir)) {
    std::string name = entry->d_name;
    if (name != "." && name != "..") names.push_back(name);
  }
  for (const auto& name : names) {
    struct stat st {};
    if (fstatat(dirFd, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) continue;
    if (S_ISDIR(st.st_mode)) {
      int child = openat(dirFd, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
      if (child >= 0) DeleteContents(child);
      FileStep();
      unlinkat(dirFd, name.c_str(), AT_REMOVEDIR);
    } else {
      FileStep();
      unlinkat(dirFd, name.c_str(), 0);
    }
  }
  closedir(dir);
}

// The folder open for listing, or null; refused when it is a link below the user folder.
DIR* OpenFolder(const std::string& path, const char* verb) {
  TPlace place(path, verb);
  if (!place.ok()) return nullptr;
  struct stat st {};
  if (place.Stat(st) && S_ISLNK(st.st_mode)) {
    if (verb) Refuse(verb, path, "it is a link");
    return nullptr;
  }
  const int fd = openat(place.dir(), place.name(),
                        O_RDONLY | O_DIRECTORY | O_NONBLOCK | O_CLOEXEC | place.noFollow());
  if (fd < 0) {
    if (verb) Fail(std::string(verb) + " " + path, Reason(errno));
    return nullptr;
  }
  DIR* dir = fdopendir(fd);
  if (!dir) close(fd);
  return dir;
}

// The last folder of the path made (a link in its place replaced); true when it is one.
bool MakeFolder(const std::string& path) {
  TPlace place(path, "create");
  if (!place.ok()) {
    Fail("create " + path, Reason(errno));
    return false;
  }
  struct stat st {};
  if (place.Stat(st)) {
    if (S_ISDIR(st.st_mode)) return true;
    if (!S_ISLNK(st.st_mode)) {
      // A plain file in the way is an ordinary failure; a FIFO or a device is refused.
      if (S_ISREG(st.st_mode))
        Fail("create " + path, Reason(EEXIST));
      else
        Refuse("create", path, "it is not an ordinary file");
      return false;
    }
    // A folder of the game's own that is a link: the link goes, what it led to stays.
    FileStep();
    if (unlinkat(place.dir(), place.name(), 0) != 0) {
      Fail("create " + path, Reason(errno));
      return false;
    }
    WriteError("Replaced the link " + path + " with a folder");
  }
  FileStep();
  if (mkdirat(place.dir(), place.name(), 0777) != 0 && errno != EEXIST) {
    Fail("create " + path, Reason(errno));
    return false;
  }
  return place.Stat(st) && S_ISDIR(st.st_mode);
}

// Writes all the bytes; false with errno on failure.
bool WriteAll(int fd, const char* bytes, size_t count) {
  while (count > 0) {
    const ssize_t n = write(fd, bytes, count);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    bytes += n;
    count -= static_cast<size_t>(n);
  }
  return true;
}

}  // namespace

bool ReadDir(const std::string& path) {
  DIR* dir = OpenFolder(path, nullptr);
  if (!dir) return false;
  closedir(dir);
  return true;
}

std::vector<std::string> LoadDir(const std::string& path, int skipDots) {
  std::vector<std::string> names;
  DIR* dir = OpenFolder(path, "list");
  if (!dir) return names;
  while (dirent* entry = readdir(dir)) {
    std::string name = entry->d_name;
    if (skipDots == 1 && (name == "." || name == "..")) continue;
    names.push_back(name);
  }
  closedir(dir);
  return names;
}

int FileType(const std::string& path) {
  TPlace place(path, nullptr);
  struct stat st {};
  if (!place.Stat(st)) return FILETYPE_NONE;
  return S_ISDIR(st.st_mode) ? FILETYPE_DIR : FILETYPE_FILE;
}

int64_t FileSize(const std::string& path) {
  TPlace place(path, nullptr);
  struct stat st {};
  if (!place.Stat(st) || !S_ISREG(st.st_mode)) return -1;
  return static_cast<int64_t>(st.st_size);
}

std::string ReadFailure(const std::string& path, int64_t maxBytes) {
  std::string why;
  const int fd = files::OpenForReading(path, maxBytes, nullptr, &why);
  if (fd < 0) return why;
  close(fd);
  return "";
}

bool CreateDir(const std::string& path, int recurse) {
  std::string dir = WithoutTrailingSlash(path);
  if (dir.empty()) return false;
  if (recurse) {
    for (size_t at = dir.find('/', 1); at != std::string::npos; at = dir.find('/', at + 1)) {
      std::string parent = dir.substr(0, at);
      if (!IsDir(parent)) MakeFolder(parent);
    }
  }
  return MakeFolder(dir);
}

bool DeleteDir(const std::string& path, int recurse) {
  const std::string dir = WithoutTrailingSlash(path);
  TPlace place(dir, "delete");
  struct stat st {};
  // Outside the user folder too, a link to a folder is no folder to delete.
  if (!place.ok() || fstatat(place.dir(), place.name(), &st, AT_SYMLINK_NOFOLLOW) != 0)
    return false;
  if (S_ISLNK(st.st_mode)) {
    Refuse("delete", path, "it is a link");
    return false;
  }
  if (!S_ISDIR(st.st_mode)) return false;
  if (recurse) {
    const int fd = openat(place.dir(), place.name(),
                          O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd >= 0) DeleteContents(fd);
  }
  FileStep();
  if (unlinkat(place.dir(), place.name(), AT_REMOVEDIR) == 0) return true;
  Fail("delete " + path, Reason(errno));
  return false;
}

bool CopyFile(const std::string& from, const std::string& to, int64_t maxBytes) {
  const std::string what = "copy " + from + " to " + to;
  std::string why;
  const int in = files::OpenForReading(from, maxBytes, "copy", &why);
  if (in < 0) {
    Fail(what, why);
    return false;
  }
  struct stat source {}, target {};
  fstat(in, &source);
  {
    // Copying a file onto itself would empty it first; it already holds the copy.
    TPlace place(to, nullptr);
    if (place.Stat(target) && SameFile(source, target)) {
      close(in);
      return true;
    }
  }
  FileStep();
  const int out = files::OpenForWriting(to, "write", true, &why);
  if (out < 0) {
    close(in);
    Fail(what, why);
    return false;
  }
  std::string failure;  // why the copy failed; empty while it goes on
  int64_t copied = 0;
  char buffer[65536];
  for (;;) {
    const ssize_t n = read(in, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) failure = Reason(errno);
    if (n <= 0) break;
    // A file that grows while it is copied is still held to its bound.
    copied += n;
    if (copied > maxBytes) {
      failure = "it holds more than " + std::to_string(maxBytes) + " bytes";
      break;
    }
    FileStep();
    if (!WriteAll(out, buffer, static_cast<size_t>(n))) {
      failure = Reason(errno);
      break;
    }
  }
  close(in);
  FileStep();
  if (close(out) != 0 && failure.empty()) failure = Reason(errno);
  if (failure.empty()) return true;
  Fail(what, failure);
  // No half copy stays behind.
  TPlace place(to, nullptr);
  if (place.ok()) unlinkat(place.dir(), place.name(), 0);
  return false;
}

bool CopyDir(const std::string& from, const std::string& to, int64_t maxBytes) {
  if (!IsDir(from)) return false;
  // List first, so that a destination inside the source is not copied into itself.
  std::vector<std::string> names = LoadDir(from);
  if (!CreateDir(to, 1)) return false;
  struct stat destination {};
  {
    TPlace place(to, nullptr);
    place.Stat(destination);
  }
  bool ok = true;
  for (const auto& name : names) {
    std::string source = Join(from, name), target = Join(to, name);
    TPlace place(source, nullptr);
    struct stat link {}, st {};
    if (!place.ok() || fstatat(place.dir(), place.name(), &link, AT_SYMLINK_NOFOLLOW) != 0)
      continue;  // gone since the listing
    // A link that leads nowhere (outside the user folder) has nothing to copy.
    if (!place.Stat(st)) continue;
    if (S_ISDIR(st.st_mode)) {
      // Linked folders are not descended into: a link may lead back up and never end.
      if (S_ISLNK(link.st_mode) || SameFile(st, destination)) continue;
      if (!CopyDir(source, target, maxBytes)) ok = false;
    } else if (S_ISREG(st.st_mode) || S_ISLNK(st.st_mode)) {
      // A link below the user folder is copied as a refusal says: it is not followed.
      if (!CopyFile(source, target, maxBytes)) ok = false;
    }
  }
  return ok;
}

bool DeleteFile(const std::string& path) {
  TPlace place(path, "delete");
  struct stat st {};
  if (!place.ok() || fstatat(place.dir(), place.name(), &st, AT_SYMLINK_NOFOLLOW) != 0 ||
      S_ISDIR(st.st_mode))
    return false;
  FileStep();
  if (unlinkat(place.dir(), place.name(), 0) == 0) return true;
  Fail("delete " + path, Reason(errno));
  return false;
}

bool RenameFile(const std::string& from, const std::string& to) {
  TPlace source(from, "rename"), target(source, to, "rename");
  if (!source.ok() || !target.ok()) return false;
  FileStep();
  // Neither name is followed: a link is moved, or replaced, as itself.
  if (renameat(source.dir(), source.name(), target.dir(), target.name()) == 0) return true;
  Fail("rename " + from + " to " + to, Reason(errno));
  return false;
}

namespace {

// Runs `sync` on the ordinary file or folder at the path, opened without following a link
// below the user folder.
bool SyncOpened(const std::string& path, bool folderOnly, int (*sync)(int)) {
  TPlace place(path, "sync");
  if (!place.ok()) return false;
  const int fd = openat(place.dir(), place.name(),
                        O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC | place.noFollow());
  if (fd < 0) return false;
  struct stat st {};
  if (fstat(fd, &st) != 0 || !((S_ISREG(st.st_mode) && !folderOnly) || S_ISDIR(st.st_mode))) {
    close(fd);
    return false;
  }
  FileStep();
  const bool synced = sync(fd) == 0;
  if (!synced) Fail("sync " + path, Reason(errno));
  close(fd);
  return synced;
}

}  // namespace

bool SyncPath(const std::string& path) { return SyncOpened(path, false, fsync); }

bool SyncFileSystem(const std::string& folder) { return SyncOpened(folder, true, syncfs); }

void SetFileStepHook(TFileStepHook hook) { fileStepHook = hook; }

void FileStep() {
  if (fileStepHook) fileStepHook();
}

bool ReadWholeFile(const std::string& path, std::vector<uint8_t>& bytes, int64_t maxBytes) {
  const int fd = files::OpenForReading(path, maxBytes, "read");
  if (fd < 0) return false;
  struct stat st {};
  fstat(fd, &st);
  bytes.clear();
  bytes.reserve(static_cast<size_t>(st.st_size));
  uint8_t chunk[65536];
  bool ok = true;
  for (;;) {
    const ssize_t n = read(fd, chunk, sizeof chunk);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      ok = n == 0;
      break;
    }
    // A file that grows while it is read is still held to its bound.
    if (static_cast<int64_t>(bytes.size()) + n > maxBytes) {
      Refuse("read", path, "it holds more than " + std::to_string(maxBytes) + " bytes");
      ok = false;
      break;
    }
    bytes.insert(bytes.end(), chunk, chunk + n);
  }
  close(fd);
  return ok;
}

int LockFile(const std::string& path) {
  static std::map<std::string, int> held;
  if (held.count(path)) return 1;
  FileStep();
  const int fd = files::OpenForWriting(path, "lock", false);
  if (fd < 0) return -1;
  if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
    const int error = errno;
    close(fd);
    if (error == EWOULDBLOCK) return 0;
    Fail("lock " + path, Reason(error));
    return -1;
  }
  held[path] = fd;  // open until the process ends
  return 1;
}

std::string AppFile() {
  std::vector<char> buffer(4096);
  ssize_t n = readlink("/proc/self/exe", buffer.data(), buffer.size());
  if (n <= 0 || static_cast<size_t>(n) >= buffer.size()) return "";
  return std::string(buffer.data(), static_cast<size_t>(n));
}

std::string ExtractDir(const std::string& path) {
  size_t slash = path.rfind('/');
  return slash == std::string::npos ? "" : path.substr(0, slash);
}

std::string ExtractExt(const std::string& path) {
  size_t dot = path.rfind('.');
  size_t slash = path.rfind('/');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return "";
  return path.substr(dot + 1);
}

std::string StripDir(const std::string& path) {
  size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string StripExt(const std::string& path) {
  size_t dot = path.rfind('.');
  size_t slash = path.rfind('/');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return path;
  return path.substr(0, dot);
}

std::string StripAll(const std::string& path) { return StripExt(StripDir(path)); }
