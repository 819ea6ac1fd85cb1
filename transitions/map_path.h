#pragma once
// Where the map names of scripts and save scripts lead: into the working folder only.
#include <string>

// The path of the map that a script names, in the working folder. A name that begins with
// the working folder's path is that path itself when fullPathAllowed (GoToMap); every
// other name follows the working folder's path. A name that would lead out of the working
// folder (an absolute path elsewhere, or one with a ".." component) gives "", after one
// line on standard error.
std::string WorkingMapPath(const std::string& map, bool fullPathAllowed);
