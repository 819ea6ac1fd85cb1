#pragma once
// Scratch folders and whole-file reads and writes for tests.
#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace testsupport {

// The folder under the build tree named after `name` and the running test, made when
// missing and otherwise left as it is; ends without "/".
std::string TestDir(const std::string& name);
// TestDir(name), emptied first.
std::string ScratchDir(const std::string& name);
// Writes the bytes (or text, byte for byte) to the file, replacing it.
void WriteFileBytes(const std::string& path, const std::string& bytes);
// The whole file; empty when it cannot be read.
std::string ReadFileBytes(const std::string& path);
// Every entry under the folder by its path inside it ("sub/name"), with its bytes; a folder
// is listed as its path with "/" added, holding "". Empty for a missing folder.
std::map<std::string, std::string> FolderBytes(const std::string& dir);

}  // namespace testsupport
