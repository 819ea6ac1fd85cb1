#pragma once
// Map names of scripts and save scripts lead into the working folder only.
#include <string>

// True for a map name that stays in the working folder, where every name is taken: "/b.map"
// is the working copy of b.map. False, after one line on standard error, for a name whose
// ".." steps climb out of it.
bool MapNameInWorkingFolder(const std::string& map);
