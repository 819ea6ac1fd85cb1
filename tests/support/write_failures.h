#pragma once
// Ways to make writes fail: a small disk, and a limit on the size of the files the process
// writes.
#include <sys/resource.h>

#include <string>

namespace testsupport {

// A tmpfs of `kilobytes` mounted on the folder (made when missing) while it lives, so that
// the disk is full after that much. Mounting needs root: Mounted() is false otherwise, and
// the test skips.
class SmallDisk {
public:
  SmallDisk(const std::string& folder, int kilobytes);
  ~SmallDisk();
  SmallDisk(const SmallDisk&) = delete;
  SmallDisk& operator=(const SmallDisk&) = delete;
  bool Mounted() const { return mounted_; }
  // Writes a file of zeros until the disk is full; its path.
  std::string Fill() const;

private:
  std::string folder_;
  bool mounted_ = false;
};

// While it lives, no file this process writes grows past `bytes`: a write beyond fails with
// "File too large" (SIGXFSZ is ignored meanwhile). Works for any user, in every build.
class FileSizeLimit {
public:
  explicit FileSizeLimit(long bytes);
  ~FileSizeLimit();
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
  rlimit old_{};
  void (*oldHandler_)(int) = nullptr;
};

// The two ways of a failing write that tests try: a file-size limit (FileSizeLimit, for any
// user) and a full disk (SmallDisk, root only), with the reason the system gives for each.
struct TWriteFailure {
  const char* name;
  bool smallDisk;
  const char* reason;
};
inline constexpr TWriteFailure kWriteFailures[] = {
    {"a write that fails", false, "File too large"},
    {"a full disk", true, "No space left on device"},
};

}  // namespace testsupport
