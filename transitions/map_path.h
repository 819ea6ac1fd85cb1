#pragma once
// Map names of scripts and save scripts lead into the working folder only.
#include <string>

// True for a map name that stays in the working folder. False, after one line on standard
// error, for a name that would lead out of it: an absolute path that does not begin with
// the working folder's path, or a name with a ".." component.
bool MapNameInWorkingFolder(const std::string& map);
