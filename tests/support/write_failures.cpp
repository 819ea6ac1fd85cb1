#include "support/write_failures.h"

#include <signal.h>
#include <sys/mount.h>

#include <filesystem>
#include <fstream>
#include <vector>

namespace testsupport {

SmallDisk::SmallDisk(const std::string& folder, int kilobytes) : folder_(folder) {
  std::filesystem::create_directories(folder);
  const std::string size = "size=" + std::to_string(kilobytes) + "k";
  mounted_ = mount("tmpfs", folder.c_str(), "tmpfs", 0, size.c_str()) == 0;
}

SmallDisk::~SmallDisk() {
  // Detached: a descriptor the game keeps open (its lock) must not keep the disk mounted.
  if (mounted_) umount2(folder_.c_str(), MNT_DETACH);
}

std::string SmallDisk::Fill() const {
  const std::string path = folder_ + "/filler";
  std::ofstream out(path, std::ios::binary);
  const std::vector<char> zeros(4096, '\0');
  while (out.write(zeros.data(), static_cast<std::streamsize>(zeros.size()))) out.flush();
  return path;
}

FileSizeLimit::FileSizeLimit(long bytes) {
  getrlimit(RLIMIT_FSIZE, &old_);
  oldHandler_ = signal(SIGXFSZ, SIG_IGN);
  rlimit limit = old_;
  limit.rlim_cur = static_cast<rlim_t>(bytes);
  setrlimit(RLIMIT_FSIZE, &limit);
}

FileSizeLimit::~FileSizeLimit() {
  setrlimit(RLIMIT_FSIZE, &old_);
  signal(SIGXFSZ, oldHandler_);
}

}  // namespace testsupport
