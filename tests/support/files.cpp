#include "support/files.h"

#include <filesystem>
#include <fstream>
#include <iterator>

#include <gtest/gtest.h>

namespace testsupport {

std::string ScratchDir(const std::string& name) {
  namespace fs = std::filesystem;
  // Under the running test's own folder: ctest runs tests in parallel processes.
  std::string test = "no-test";
  if (const testing::TestInfo* info = testing::UnitTest::GetInstance()->current_test_info())
    test = std::string(info->test_suite_name()) + "." + info->name();
  const fs::path dir = fs::path(CORVEL_BINARY_DIR) / "test-scratch" / test / name;
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
