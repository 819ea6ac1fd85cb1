// Confinement of map names to the working folder.
#include "transitions/map_path.h"

#include <cstdio>

#include "core/globals.h"

namespace {

bool HasParentStep(const std::string& name) {
  for (size_t start = 0; start <= name.size();) {
    size_t end = name.find('/', start);
    if (end == std::string::npos) end = name.size();
    if (name.compare(start, end - start, "..") == 0) return true;
    start = end + 1;
  }
  return false;
}

// The name on one line: control characters shown as "?".
std::string Printable(const std::string& name) {
  std::string out = name;
  for (char& c : out)
    if (static_cast<unsigned char>(c) < 32 || c == 127) c = '?';
  return out;
}

}  // namespace

bool MapNameInWorkingFolder(const std::string& map) {
  const std::string& dir = settings->tempDir;
  const bool inside = map.compare(0, dir.size(), dir) == 0;
  const char* reason = nullptr;
  if (!inside && !map.empty() && map[0] == '/')
    reason = "it is a path outside the working folder";
  else if (HasParentStep(inside ? map.substr(dir.size()) : map))
    reason = "its \"..\" would lead out of the working folder";
  if (!reason) return true;
  std::fprintf(stderr, "Refused the map \"%s\": %s.\n", Printable(map).c_str(), reason);
  return false;
}
