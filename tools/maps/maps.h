#pragma once
// Map descriptions: a text grid of 20 x 13 characters with a legend, turned into map files.
#include <map>
#include <string>
#include <vector>

// Names of the quest's tables: tile file names (without ".png") to tile numbers, trigger
// script names to trigger numbers.
struct TQuestNames {
  std::map<std::string, int> tiles;
  std::map<std::string, int> triggers;
};

// Reads "tiles.dat" and "triggers.dat" the way the game counts their lines.
bool ReadQuestNames(const std::string& tilesDat, const std::string& triggersDat, TQuestNames& names,
                    std::string& error);
// Turns one description into a map file; false with a message naming the line at fault.
bool BuildMap(const std::string& source, const std::string& target, const TQuestNames& names,
              std::string& error);
// Builds each description (NAME.txt) into mapsDir/NAME.map, in order; stops at the first
// that fails, with its message.
bool BuildMaps(const std::vector<std::string>& descriptions, const std::string& mapsDir,
               const TQuestNames& names, std::string& error);
