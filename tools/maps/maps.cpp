// Map descriptions (docs/maps.md describes the format for authors), line by line:
//   // a comment            (also empty lines)
//   id N                    entry NAME|N   exit NAME|N   clear NAME|N   (map triggers)
//   cell C TOKEN...         what the grid character C stands for
//   grid                    followed by 13 lines of 20 characters
// Cell tokens: ground=TILE, feature=TILE, object=TILE (or object=none), each with a
// final "!" for walkability 0; overlay=TILE@ALPHA; touch=TRIGGER or talk=TRIGGER for the
// object cell. Tiles are named by their file name without ".png"; triggers by script file.
#include "tools/maps/maps.h"
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include "world/map.h"

namespace {

struct TCellSpec {
  TMapTile ground{-1, 1}, feature{-1, 1};
  TObject object;
  TOverlay overlay;
};

std::string Trim(const std::string& s) {
  const size_t a = s.find_first_not_of(" \t\r"), b = s.find_last_not_of(" \t\r");
  return a == std::string::npos ? "" : s.substr(a, b - a + 1);
}

bool ReadLines(const std::string& path, std::vector<std::string>& lines) {
  std::ifstream in(path);
  if (!in) return false;
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return true;
}

bool Number(const std::string& s, int& value) {
  if (s.empty()) return false;
  size_t used = 0;
  try {
    value = std::stoi(s, &used);
  } catch (...) {
    return false;
  }
  return used == s.size();
}

// A real number written whole, such as "0.7".
bool Real(const std::string& s, float& value) {
  if (s.empty()) return false;
  char* end = nullptr;
  value = std::strtof(s.c_str(), &end);
  return end == s.c_str() + s.size();
}

// A character of a message: control characters written as escapes, so a tab shows.
std::string Shown(char c) {
  if (c == '\t') return "\\t";
  if (static_cast<unsigned char>(c) >= 32) return std::string(1, c);
  char escaped[8];
  std::snprintf(escaped, sizeof escaped, "\\x%02x", static_cast<unsigned char>(c));
  return escaped;
}

const char* const kTriggerNames =
    "a trigger is a script's name as it stands in triggers.dat, or a trigger number";

bool Trigger(const TQuestNames& names, const std::string& s, int& value, std::string& error) {
  if (Number(s, value)) return true;
  const auto it = names.triggers.find(s);
  if (it == names.triggers.end()) {
    error = s.empty() ? std::string("no trigger given: ") + kTriggerNames
                      : "unknown trigger '" + s + "': " + kTriggerNames;
    return false;
  }
  value = it->second;
  return true;
}

bool Tile(const TQuestNames& names, std::string s, TMapTile& cell, std::string& error) {
  cell.walkability = 1;
  if (!s.empty() && s.back() == '!') {
    cell.walkability = 0;
    s.pop_back();
  }
  if (s == "none") {
    cell.tileID = -1;
    return true;
  }
  const auto it = names.tiles.find(s);
  if (it == names.tiles.end()) {
    const char* const from = "a tile is a picture's file name as it stands in tiles.dat, "
                             "without \".png\"";
    error = s.empty() ? std::string("no tile given: ") + from
                      : "unknown tile '" + s + "': " + from;
    return false;
  }
  cell.tileID = it->second;
  return true;
}

bool Overlay(const TQuestNames& names, const std::string& value, TOverlay& overlay,
             std::string& error) {
  const size_t at = value.find('@');
  if (at == std::string::npos) {
    error = "an overlay needs its alpha after '@', such as overlay=" +
            (value.empty() ? std::string("treetop") : value) + "@0.7";
    return false;
  }
  if (!Tile(names, value.substr(0, at), overlay, error)) return false;
  const std::string alpha = value.substr(at + 1);
  if (!Real(alpha, overlay.alpha)) {
    error = "the overlay's alpha '" + alpha + "' is not a number: it is written as 0.7, " +
            "from 0.0 (invisible) to 1.0 (solid)";
    return false;
  }
  return true;
}

bool CellSpec(const TQuestNames& names, std::istringstream& tokens, TCellSpec& spec,
              std::string& error) {
  std::string token;
  while (tokens >> token) {
    const size_t eq = token.find('=');
    const std::string key = token.substr(0, eq),
                      value = eq == std::string::npos ? "" : token.substr(eq + 1);
    bool ok = true;
    if (key == "ground") ok = Tile(names, value, spec.ground, error);
    else if (key == "feature") ok = Tile(names, value, spec.feature, error);
    else if (key == "object") ok = Tile(names, value, spec.object, error);
    else if (key == "overlay") ok = Overlay(names, value, spec.overlay, error);
    else if (key == "touch" || key == "talk") {
      int trigger = 0;
      ok = Trigger(names, value, trigger, error);
      spec.object.trigger = trigger;
      spec.object.interaction = key == "touch" ? 1 : 2;
    } else {
      error = "unknown token '" + token + "': a cell takes ground=, feature=, object=, " +
              "overlay=, touch= and talk=";
      return false;
    }
    if (!ok) {
      error = "in '" + token + "', " + error;
      return false;
    }
  }
  return true;
}

// The characters that have a cell line, for a message: "(cells: # . P)".
std::string LegendCharacters(const std::map<char, TCellSpec>& legend) {
  if (legend.empty()) return "(no cells)";
  std::string known = "(cells:";
  for (const auto& entry : legend) known += " " + Shown(entry.first);
  return known + ")";
}

}  // namespace

bool ReadQuestNames(const std::string& tilesDat, const std::string& triggersDat, TQuestNames& names,
                    std::string& error) {
  std::vector<std::string> lines;
  if (!ReadLines(tilesDat, lines)) return error = "cannot read " + tilesDat, false;
  int number = 0;
  for (std::string line : lines) {
    const size_t comment = line.find("//");
    if (comment != std::string::npos) line = line.substr(0, comment);
    if (line.empty()) continue;
    std::string file = line.substr(0, line.find(','));
    if (file.size() > 4 && file.compare(file.size() - 4, 4, ".png") == 0) file.resize(file.size() - 4);
    names.tiles[file] = number++;
  }
  lines.clear();
  if (!ReadLines(triggersDat, lines)) return error = "cannot read " + triggersDat, false;
  for (size_t i = 0; i < lines.size(); ++i) names.triggers[lines[i]] = static_cast<int>(i + 1);
  return true;
}

bool BuildMap(const std::string& source, const std::string& target, const TQuestNames& names,
              std::string& error) {
  std::vector<std::string> lines;
  if (!ReadLines(source, lines)) return error = "cannot read " + source, false;
  TMapPtr map = TMap::Create();
  map->mapID = 0;
  std::map<char, TCellSpec> legend;
  size_t row = 0;
  bool inGrid = false;
  for (size_t n = 0; n < lines.size(); ++n) {
    const std::string where = source + ":" + std::to_string(n + 1) + ": ";
    const std::string& line = lines[n];
    if (inGrid) {
      if (row >= MAP_HEIGHT) {
        if (!Trim(line).empty())
          return error = where + "a 14th grid row: the grid has 13 rows, and after them only "
                                 "empty lines may follow", false;
        continue;
      }
      if (line.size() != MAP_WIDTH) {
        error = where + "a grid row needs 20 characters, this one has " +
                std::to_string(line.size());
        const size_t end = line.find_last_not_of(" \t");
        if (line.size() > MAP_WIDTH && end != std::string::npos && end + 1 < line.size())
          error += " (" + std::to_string(line.size() - end - 1) + " of them spaces or tabs at "
                   "its end)";
        return false;
      }
      for (int x = 0; x < MAP_WIDTH; ++x) {
        const auto it = legend.find(line[x]);
        if (it == legend.end()) {
          error = where + "'" + Shown(line[x]) + "' in column " + std::to_string(x) +
                  " has no cell line " + LegendCharacters(legend);
          return false;
        }
        const int y = static_cast<int>(row);
        map->mapTile[x][y] = it->second.ground;
        map->mapFeature[x][y] = it->second.feature;
        map->mapObject[x][y] = it->second.object;
        map->mapOverlay[x][y] = it->second.overlay;
      }
      ++row;
      continue;
    }
    if (Trim(line).empty() || Trim(line).rfind("//", 0) == 0) continue;
    std::istringstream tokens(line);
    std::string word;
    tokens >> word;
    if (word == "grid") {
      inGrid = true;
    } else if (word == "cell") {
      std::string c;
      tokens >> c;
      if (c.size() != 1) {
        error = where + "a cell line names one character" +
                (c.empty() ? std::string(", and this one names none")
                           : ", and this one names '" + c + "'");
        return false;
      }
      TCellSpec spec;
      spec.object.tileID = -1;
      spec.object.walkability = 1;
      spec.overlay.tileID = -1;
      spec.overlay.walkability = 1;
      if (!CellSpec(names, tokens, spec, error)) return error = where + error, false;
      if (spec.ground.tileID < 0)
        return error = where + "cell '" + c + "' has no ground: every cell needs ground=TILE",
               false;
      legend[c[0]] = spec;
    } else if (word == "id" || word == "entry" || word == "exit" || word == "clear") {
      std::string value;
      tokens >> value;
      int number = 0;
      if (word == "id" && !Number(value, number))
        return error = where + "the map number '" + value + "' is not a whole number", false;
      if (word != "id" && !Trigger(names, value, number, error))
        return error = where + "in the " + word + " trigger, " + error, false;
      if (word == "id") map->mapID = number;
      if (word == "entry") map->mapEntryTrigger = number;
      if (word == "exit") map->mapExitTrigger = number;
      if (word == "clear") map->mapClearTrigger = number;
    } else {
      return error = where + "unknown line '" + Trim(line) + "': a line before the grid is " +
                     "id, entry, exit, clear, cell, grid, or a // comment", false;
    }
  }
  if (!inGrid) return error = source + ": no grid line: the grid follows a line 'grid'", false;
  if (row != MAP_HEIGHT)
    return error = source + ": the grid needs 13 rows, it has " + std::to_string(row), false;
  map->SaveMap(target, 0);
  return true;
}

bool BuildMaps(const std::vector<std::string>& descriptions, const std::string& mapsDir,
               const TQuestNames& names, std::string& error) {
  for (const std::string& description : descriptions) {
    namespace fs = std::filesystem;
    const fs::path target =
        fs::path(mapsDir) / fs::path(description).filename().replace_extension(".map");
    if (!BuildMap(description, target.string(), names, error)) return false;
  }
  return true;
}
