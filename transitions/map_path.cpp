// Confinement of map names to the working folder.
#include "transitions/map_path.h"

#include "core/globals.h"
#include "platform/system/app.h"

namespace {

// True when a ".." step of the name climbs above the folder the name starts in. Empty and
// "." steps stay where they are, so "/b.map" and "sub/../b.map" stay inside.
bool ClimbsOut(const std::string& name) {
  int depth = 0;
  for (size_t start = 0; start <= name.size();) {
    size_t end = name.find('/', start);
    if (end == std::string::npos) end = name.size();
    const std::string step = name.substr(start, end - start);
    if (step == "..") {
      if (--depth < 0) return true;
    } else if (!step.empty() && step != ".") {
      ++depth;
    }
    start = end + 1;
  }
  return false;
}

}  // namespace

bool MapNameInWorkingFolder(const std::string& map) {
  // A name that begins with the working folder's path is that path; any other name goes
  // after it.
  const std::string& dir = settings->tempDir;
  const bool full = map.compare(0, dir.size(), dir) == 0;
  if (!ClimbsOut(full ? map.substr(dir.size()) : map)) return true;
  WriteError("Refused the map \"" + map + "\": its \"..\" would lead out of the working folder.");
  return false;
}
