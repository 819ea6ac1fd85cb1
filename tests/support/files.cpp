#include "support/files.h"

#include <filesystem>
#include <fstream>
#include <iterator>

namespace testsupport {

std::string ScratchDir(const std::string& name) {
  namespace fs = std::filesystem;
  const fs::path dir = fs::path(CORVEL_BINARY_DIR) / "test-scratch" / name;
  std::error_code ignored;
  fs::remove_all(dir, ignored);
  fs::create_directories(dir);
  return dir.string();
}

void WriteFileBytes(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string ReadFileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace testsupport
