// Files, folders and paths over POSIX calls. Failures are reported by result, never thrown.
#include "platform/files/files.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

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

// Empties the folder open as `dirFd` (which it takes over and closes). Symbolic links are
// removed as entries: nothing is ever opened through one.
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

}  // namespace

bool ReadDir(const std::string& path) {
  DIR* dir = opendir(path.c_str());
  if (!dir) return false;
  closedir(dir);
  return true;
}

std::vector<std::string> LoadDir(const std::string& path, int skipDots) {
  std::vector<std::string> names;
  DIR* dir = opendir(path.c_str());
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
  struct stat st {};
  if (path.empty() || stat(path.c_str(), &st) != 0) return FILETYPE_NONE;
  return S_ISDIR(st.st_mode) ? FILETYPE_DIR : FILETYPE_FILE;
}

std::string ReadFailure(const std::string& path) {
  struct stat st {};
  if (stat(path.c_str(), &st) != 0) return std::strerror(errno);
  if (S_ISDIR(st.st_mode)) return std::strerror(EISDIR);
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return std::strerror(errno);
  close(fd);
  return "";
}

bool CreateDir(const std::string& path, int recurse) {
  std::string dir = WithoutTrailingSlash(path);
  if (dir.empty()) return false;
  if (recurse) {
    for (size_t at = dir.find('/', 1); at != std::string::npos; at = dir.find('/', at + 1)) {
      std::string parent = dir.substr(0, at);
      if (!IsDir(parent)) mkdir(parent.c_str(), 0777);
    }
  }
  FileStep();
  mkdir(dir.c_str(), 0777);
  return IsDir(dir);
}

bool DeleteDir(const std::string& path, int recurse) {
  std::string dir = WithoutTrailingSlash(path);
  struct stat st {};
  // A link to a folder is not a folder to delete: neither it nor its target is touched.
  if (dir.empty() || lstat(dir.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return false;
  if (recurse) {
    int fd = open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd >= 0) DeleteContents(fd);
  }
  FileStep();
  return rmdir(dir.c_str()) == 0;
}

bool CopyFile(const std::string& from, const std::string& to) {
  struct stat source {}, target {};
  if (stat(from.c_str(), &source) != 0 || S_ISDIR(source.st_mode)) return false;
  // Copying a file onto itself would empty it first; it already holds the copy.
  if (stat(to.c_str(), &target) == 0 && SameFile(source, target)) return true;
  std::FILE* in = std::fopen(from.c_str(), "rb");
  if (!in) return false;
  FileStep();
  std::FILE* out = std::fopen(to.c_str(), "wb");
  if (!out) {
    std::fclose(in);
    return false;
  }
  bool ok = true;
  char buffer[65536];
  for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, in)) > 0;) {
    FileStep();
    if (std::fwrite(buffer, 1, n, out) != n || std::fflush(out) != 0) {
      ok = false;
      break;
    }
  }
  if (std::ferror(in)) ok = false;
  std::fclose(in);
  FileStep();
  if (std::fclose(out) != 0) ok = false;
  return ok;
}

bool CopyDir(const std::string& from, const std::string& to) {
  if (!IsDir(from)) return false;
  // List first, so that a destination inside the source is not copied into itself.
  std::vector<std::string> names = LoadDir(from);
  if (!CreateDir(to, 1)) return false;
  struct stat destination {};
  stat(to.c_str(), &destination);
  bool ok = true;
  for (const auto& name : names) {
    std::string source = Join(from, name), target = Join(to, name);
    struct stat link {}, st {};
    if (lstat(source.c_str(), &link) != 0 || stat(source.c_str(), &st) != 0) {
      ok = false;
      continue;
    }
    if (S_ISDIR(st.st_mode)) {
      // Linked folders are not descended into: a link may lead back up and never end.
      if (S_ISLNK(link.st_mode) || SameFile(st, destination)) continue;
      if (!CopyDir(source, target)) ok = false;
    } else if (!CopyFile(source, target)) {
      ok = false;
    }
  }
  return ok;
}

bool DeleteFile(const std::string& path) {
  struct stat st {};
  if (lstat(path.c_str(), &st) != 0 || S_ISDIR(st.st_mode)) return false;
  FileStep();
  return unlink(path.c_str()) == 0;
}

bool RenameFile(const std::string& from, const std::string& to) {
  FileStep();
  return std::rename(from.c_str(), to.c_str()) == 0;
}

bool SyncPath(const std::string& path) {
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  FileStep();
  const bool synced = fsync(fd) == 0;
  close(fd);
  return synced;
}

void SetFileStepHook(TFileStepHook hook) { fileStepHook = hook; }

void FileStep() {
  if (fileStepHook) fileStepHook();
}

bool ReadWholeFile(const std::string& path, std::vector<uint8_t>& bytes) {
  // Only regular files: a folder opens, but reading it fails.
  if (FileType(path) != FILETYPE_FILE) return false;
  std::FILE* in = std::fopen(path.c_str(), "rb");
  if (!in) return false;
  bytes.clear();
  uint8_t chunk[65536];
  size_t n;
  while ((n = std::fread(chunk, 1, sizeof chunk, in)) > 0)
    bytes.insert(bytes.end(), chunk, chunk + n);
  const bool ok = !std::ferror(in);
  std::fclose(in);
  return ok;
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
