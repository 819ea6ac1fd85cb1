#pragma once
// Scratch folders and whole-file reads and writes for tests.
#include <cstdint>
#include <string>
#include <vector>

namespace testsupport {

// A fresh, empty folder under the build tree, named after `name` and the running test;
// ends without "/".
std::string ScratchDir(const std::string& name);
// Writes the bytes (or text, byte for byte) to the file, replacing it.
void WriteFileBytes(const std::string& path, const std::string& bytes);
// The whole file; empty when it cannot be read.
std::string ReadFileBytes(const std::string& path);

}  // namespace testsupport
