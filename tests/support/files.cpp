#include "support/files.h"

#include <filesystem>
#include <fstream>
#include <iterator>

#include <gtest/gtest.h>

namespace testsupport {

namespace {

std::filesystem::path TestPath(const std::string& name) {
  // Under the running test's own folder: ctest runs tests in parallel processes.
  std::string test = "no-test";
  if (const testing::TestInfo* info = testing::UnitTest::GetInstance()->current_test_info())
    test = std::string(info->test_suite_name()) + "." + info->name();
  return std::filesystem::path(CORVEL_BINARY_DIR) / "test-scratch" / test / name;
}

}  // namespace

std::string TestDir(const std::string& name) {
  const std::filesystem::path dir = TestPath(name);
  std::filesystem::create_directories(dir);
  return dir.string();
}

std::string ScratchDir(const std::string& name) {
  std::error_code ignored;
  std::filesystem::remove_all(TestPath(name), ignored);
  return TestDir(name);
}

void WriteFileBytes(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string ReadFileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::map<std::string, std::string> FolderBytes(const std::string& dir) {
  std::map<std::string, std::string> entries;
  std::error_code error;
  for (auto it = std::filesystem::recursive_directory_iterator(dir, error);
       !error && it != std::filesystem::recursive_directory_iterator(); it.increment(error)) {
    const std::string name = std::filesystem::relative(it->path(), dir).string();
    if (it->is_directory())
      entries[name + "/"] = "";
    else
      entries[name] = ReadFileBytes(it->path().string());
  }
  return entries;
}

}  // namespace testsupport
