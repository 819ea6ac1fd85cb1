// Reaching and opening entries without following links inside the user folder.
#include "platform/files/places.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <vector>

#include "platform/files/files.h"
#include "platform/system/app.h"

namespace {

std::string userFolder;  // without a final "/"; empty: none
std::string linkedName;  // the folder inside it that may be a link; empty: none
std::string lastFailure;

std::string WithoutTrailingSlash(std::string path) {
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  return path;
}

// The components of the path below the user folder ("." and empty ones left out); false
// when the path does not lie below it.
bool BelowUserFolder(const std::string& path, std::vector<std::string>& parts) {
  if (userFolder.empty() || path.size() <= userFolder.size() + 1 ||
      path.compare(0, userFolder.size(), userFolder) != 0 || path[userFolder.size()] != '/')
    return false;
  size_t at = userFolder.size() + 1;
  while (at <= path.size()) {
    size_t end = path.find('/', at);
    if (end == std::string::npos) end = path.size();
    std::string part = path.substr(at, end - at);
    if (!part.empty() && part != ".") parts.push_back(std::move(part));
    at = end + 1;
  }
  return !parts.empty();
}

}  // namespace

void SetUserFolder(const std::string& path) {
  userFolder = WithoutTrailingSlash(path);
  linkedName.clear();
}

void SetLinkedFolder(const std::string& path) {
  const std::string folder = WithoutTrailingSlash(path);
  const std::string name = folder.substr(folder.rfind('/') + 1);
  const bool inside = !userFolder.empty() && !name.empty() && name != "." && name != ".." &&
                      folder == userFolder + "/" + name;
  linkedName = inside ? name : "";
}

std::string FileFailure() { return lastFailure; }

namespace files {

TPlace::TPlace(const std::string& path, const char* verb) { Reach(path, verb); }

TPlace::TPlace(const TPlace& near, const std::string& path, const char* verb) {
  std::vector<std::string> parts;
  if (near.ok_ && near.confined_ && BelowUserFolder(WithoutTrailingSlash(path), parts) &&
      parts.back() != ".." && parts.size() == near.folder_.size() + 1 &&
      std::equal(near.folder_.begin(), near.folder_.end(), parts.begin())) {
    // The same components lead to the same folder: the one that near's walk reached.
    dir_ = near.dir_;
    owned_ = false;
    confined_ = true;
    name_ = parts.back();
    folder_ = near.folder_;
    top_ = near.top_;
    followed_ = top_ && name_ == linkedName;
    ok_ = true;
    return;
  }
  Reach(path, verb);
}

void TPlace::Reach(const std::string& path, const char* verb) {
  const std::string whole = WithoutTrailingSlash(path);
  std::vector<std::string> parts;
  if (!BelowUserFolder(whole, parts)) {
    name_ = whole;
    ok_ = !whole.empty();
    if (!ok_) errno = ENOENT;
    return;
  }
  confined_ = true;
  // A ".." goes back to the folder the walk came from: every folder on the way was opened
  // without following a link, so that is the folder the system would reach. Only one that
  // would climb out of the user folder, or that the path ends in, is refused.
  if (parts.back() == "..") {
    if (verb) Refuse(verb, path, "it leads out of the user folder");
    errno = EACCES;
    return;
  }
  // The user folder itself may be reached through links, and so may the linked folder in it;
  // nothing else below it is.
  std::vector<int> way{open(userFolder.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC)};
  int fd = way.back();
  std::string reached = userFolder;
  for (size_t i = 0; fd >= 0 && i + 1 < parts.size(); ++i) {
    reached += "/" + parts[i];
    if (parts[i] == "..") {
      if (way.size() == 1) {
        if (verb) Refuse(verb, path, "it leads out of the user folder");
        fd = -1;
        errno = EACCES;
        break;
      }
      close(fd);
      way.pop_back();
      fd = way.back();
      continue;
    }
    // The linked folder is the one folder on the way that is followed when it is a link.
    const bool linked = way.size() == 1 && parts[i] == linkedName;
    // O_DIRECTORY opens folders only: a link (not followed), a file or a device fails here.
    const int next = openat(fd, parts[i].c_str(),
                            O_PATH | O_DIRECTORY | (linked ? 0 : O_NOFOLLOW) | O_CLOEXEC);
    if (next >= 0) {
      way.push_back(next);
      fd = next;
      continue;
    }
    int error = errno;
    struct stat st {};
    if (!linked && fstatat(fd, parts[i].c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 &&
        S_ISLNK(st.st_mode)) {
      if (verb) Refuse(verb, path, reached + " is a link");
      error = ELOOP;
    }
    fd = -1;
    errno = error;
  }
  // The folders passed on the way are let go; the one reached stays open as dir_.
  const int error = errno;
  for (int passed : way) {
    if (passed >= 0 && passed != fd) close(passed);
  }
  errno = error;
  if (fd < 0) return;
  dir_ = fd;
  name_ = parts.back();
  parts.pop_back();
  folder_ = std::move(parts);
  top_ = way.size() == 1;
  followed_ = top_ && name_ == linkedName;
  ok_ = true;
}

TPlace::~TPlace() {
  if (owned_ && dir_ >= 0) close(dir_);
}

int TPlace::noFollow() const { return confined_ && !followed_ ? O_NOFOLLOW : 0; }
int TPlace::statFlags() const { return confined_ && !followed_ ? AT_SYMLINK_NOFOLLOW : 0; }

bool TPlace::Stat(struct stat& st) const {
  return ok_ && fstatat(dir_, name_.c_str(), &st, statFlags()) == 0;
}

void Refuse(const char* verb, const std::string& path, const std::string& why) {
  WriteError("Refused to " + std::string(verb) + " " + path + ": " + why);
  Fail(std::string(verb) + " " + path, why);
}

void Fail(const std::string& what, const std::string& why) {
  lastFailure = "Could not " + what + ": " + why;
}

std::string Reason(int error) { return std::strerror(error); }

std::string Unfit(const struct stat& st, int64_t maxBytes) {
  if (S_ISLNK(st.st_mode)) return "it is a link";
  if (!S_ISREG(st.st_mode)) return "it is not an ordinary file";
  if (static_cast<int64_t>(st.st_size) > maxBytes)
    return "it holds " + std::to_string(st.st_size) + " bytes, more than " +
           std::to_string(maxBytes);
  return "";
}

namespace {

// The entry's fitness, checked before opening it and again on the open descriptor (whose
// status `st` gets), so that what was checked is what is used. -1 when it does not fit:
// refused, or kept as a failure.
int CheckOpen(int fd, const struct stat* before, const std::string& path, int64_t maxBytes,
              const char* verb, std::string* why, struct stat& st) {
  if (fstat(fd, &st) != 0 || (before && (st.st_dev != before->st_dev ||
                                         st.st_ino != before->st_ino))) {
    close(fd);
    if (why) *why = Reason(EAGAIN);
    if (verb) Fail(std::string(verb) + " " + path, Reason(EAGAIN));
    return -1;
  }
  const std::string unfit = Unfit(st, maxBytes);
  if (unfit.empty()) return fd;
  close(fd);
  if (why) *why = unfit;
  if (verb) Refuse(verb, path, unfit);
  return -1;
}

}  // namespace

int OpenForReading(const std::string& path, int64_t maxBytes, const char* verb,
                   std::string* why) {
  const auto failed = [&](int error) {
    if (why) *why = Reason(error);
    if (verb) Fail(std::string(verb) + " " + path, Reason(error));
    return -1;
  };
  TPlace place(path, verb);
  struct stat st {};
  if (!place.ok()) return failed(errno);
  if (!place.Stat(st)) return failed(errno);
  if (S_ISDIR(st.st_mode)) return failed(EISDIR);
  const std::string unfit = Unfit(st, maxBytes);
  if (!unfit.empty()) {
    if (why) *why = unfit;
    if (verb) Refuse(verb, path, unfit);
    return -1;
  }
  // Non-blocking: what turned into a FIFO or a device since the check does not hang here.
  const int fd = openat(place.dir(), place.name(),
                        O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC | place.noFollow());
  if (fd < 0) return failed(errno);
  struct stat opened {};
  return CheckOpen(fd, &st, path, maxBytes, verb, why, opened);
}

int OpenForWriting(const std::string& path, const char* verb, bool empty, std::string* why) {
  const auto failed = [&](int error) {
    if (why) *why = Reason(error);
    Fail(std::string(verb) + " " + path, Reason(error));
    return -1;
  };
  TPlace place(path, verb);
  struct stat st {};
  if (!place.ok()) return failed(errno);
  const bool existed = place.Stat(st);
  if (existed && S_ISDIR(st.st_mode)) return failed(EISDIR);
  const std::string unfit = existed ? Unfit(st, INT64_MAX) : "";
  if (!unfit.empty()) {
    if (why) *why = unfit;
    Refuse(verb, path, unfit);
    return -1;
  }
  const int fd = openat(place.dir(), place.name(),
                        O_WRONLY | O_CREAT | O_NONBLOCK | O_NOCTTY | O_CLOEXEC | place.noFollow(),
                        0666);
  if (fd < 0) return failed(errno);
  struct stat opened {};
  if (CheckOpen(fd, existed ? &st : nullptr, path, INT64_MAX, verb, why, opened) < 0) return -1;
  // A file just made (or found empty) is empty already.
  if (empty && opened.st_size > 0 && ftruncate(fd, 0) != 0) {
    const int error = errno;
    close(fd);
    return failed(error);
  }
  return fd;
}

}  // namespace files
