// Loaders of the data tables: tiles, sounds, music, triggers, items and NPCs.
#include "core/tables.h"

#include <algorithm>
#include <cmath>

#include "core/config.h"
#include "core/globals.h"
#include "core/quest_files.h"
#include "core/user_files.h"
#include "platform/files/files.h"
#include "platform/files/stream.h"
#include "platform/graphics/graphics.h"
#include "platform/system/app.h"
#include "platform/system/text.h"

namespace {

// Every line of the file, empty ones included; a file that cannot be opened (or holds more
// than maxBytes) reads as no lines, and says so on standard error when `required`.
std::vector<std::string> ReadLines(const std::string& path, bool required = true,
                                   int64_t maxBytes = ANY_SIZE) {
  std::vector<std::string> lines;
  TStreamPtr stream = ReadStream(path, maxBytes);
  if (!stream) {
    if (required) ReportFileFailure("open the table", path, "", maxBytes);
    return lines;
  }
  while (!Eof(stream)) lines.push_back(ReadLine(stream));
  CloseStream(stream);
  return lines;
}

// A line of a table with its place in the file, counted from 1.
struct TNumberedLine {
  size_t number;
  std::string text;
};

// The lines with "//" comments cut off, keeping only those with something left.
std::vector<TNumberedLine> ReadRecordLines(const std::string& path, bool required = true,
                                           int64_t maxBytes = ANY_SIZE) {
  std::vector<TNumberedLine> kept;
  size_t number = 0;
  for (std::string& line : ReadLines(path, required, maxBytes)) {
    ++number;
    if (int at = Instr(line, "//")) line = Left(line, at - 1);
    if (!line.empty()) kept.push_back({number, std::move(line)});
  }
  return kept;
}

// What a line of the item or NPC table holds, and what a comma in its text does to it.
struct TRecordKind {
  const char* line;   // "an item line"
  const char* comma;  // where a comma may have slipped in, and how to write one there
};
constexpr TRecordKind kItemLine{"an item line",
                                "the name or the description starts a new field (write \"~\" "
                                "for a comma in a description)"};
constexpr TRecordKind kNPCLine{"an NPC line", "the name starts a new field"};
constexpr size_t kRecordFields = 17;

// The 17 comma-separated fields of a record line, padded with empty fields. A line that is
// not empty but holds another number of fields is said on standard error with its file and
// line; it is read all the same, its first 17 fields in order.
std::vector<std::string> Fields(const std::string& path, const TNumberedLine& line,
                                const TRecordKind& kind) {
  std::vector<std::string> fields = *SplitString(line.text, ",");
  const size_t count = fields.size();
  if (count != kRecordFields && !Trim(line.text).empty()) {
    std::string what = path + ":" + std::to_string(line.number) + ": " +
                       std::to_string(count) + " fields where " + kind.line + " has 17; ";
    if (count > kRecordFields)
      what += std::string("a comma in ") + kind.comma + ", and fields after the 17th are ignored";
    else
      what += "the missing fields read 0 or empty";
    WriteError(what);
  }
  if (count < kRecordFields) fields.resize(kRecordFields);
  return fields;
}

// An NPC's X or Y, written as a real and read as a whole number. A decimal number is read
// as a real and truncated, so that every written value comes back, exponent form and
// values past 32 bits included; "$" and "%" numbers keep the integer reading.
float PositionField(const std::string& field) {
  size_t i = field.find_first_not_of(" \t\n\v\f\r");
  if (i != std::string::npos && (field[i] == '+' || field[i] == '-')) ++i;
  const char c = i < field.size() ? field[i] : '\0';
  const bool decimal = ((c >= '0' && c <= '9') || c == '.') &&
                       !(c == '0' && i + 1 < field.size() && (field[i + 1] | 0x20) == 'x');
  const float value = StringToFloat(field);
  if (!decimal || !std::isfinite(value)) return static_cast<float>(StringToInt(field));
  return std::trunc(value) + 0.0f;  // + 0 turns -0 into 0, as the integer reading gives
}

// The image of a tile line: one frame, or a strip of square frames as high as the image.
TImagePtr LoadTileImage(const std::string& path, int frames) {
  TImagePtr whole = LoadQuestImage(path);
  if (frames == 1 || !whole) return whole;
  const int side = ImageHeight(whole);
  if (side <= 0) return nullptr;
  return LoadQuestAnimImage(path, side, side, frames);
}

const std::string& FolderOr(const std::string TConfig::*field) {
  static const std::string none;
  return settings ? (*settings).*field : none;
}

}  // namespace

std::vector<TTilePtr> LoadImages(const std::string& path) {
  std::vector<TTilePtr> tiles;
  for (const TNumberedLine& record : ReadRecordLines(path)) {
    const std::string& line = record.text;
    // File name, frame count, frame rate: only the first two commas separate.
    const int first = Instr(line, ",");
    const int second = first ? Instr(line, ",", first + 1) : 0;
    std::string name = line, count, rate;
    if (first) {
      name = Left(line, first - 1);
      count = second ? Mid(line, first + 1, second - first - 1) : Mid(line, first + 1);
      if (second) rate = Mid(line, second + 1);
    }
    int frames = StringToInt(count);
    if (frames < 1) frames = 1;
    TImagePtr image = LoadTileImage(FolderOr(&TConfig::imageDir) + name, frames);
    tiles.push_back(TTile::Create(image, frames, StringToInt(rate)));
  }
  return tiles;
}

std::vector<TSoundPtr> LoadSounds(const std::string& path, int flags) {
  const std::vector<std::string> lines = ReadLines(path);
  const std::string& folder = FolderOr(flags == 1 ? &TConfig::musicDir : &TConfig::soundDir);
  std::vector<TSoundPtr> sounds;
  for (const std::string& line : lines) {
    // An empty line keeps a number free: a place without a sound, by design.
    sounds.push_back(line.empty() ? nullptr : LoadQuestSound(folder + line, flags));
  }
  return sounds;
}

std::vector<std::string> LoadMusic(const std::string& path) {
  std::vector<std::string> tracks;
  for (const std::string& line : ReadLines(path)) tracks.push_back(FolderOr(&TConfig::musicDir) + line);
  return tracks;
}

std::vector<std::string> LoadTriggers(const std::string& path) {
  std::vector<std::string> triggers{""};
  for (std::string& line : ReadLines(path)) triggers.push_back(std::move(line));
  return triggers;
}

std::vector<TItemPtr> LoadItems(const std::string& path) {
  std::vector<TItemPtr> items(48);
  for (auto& item : items) item = std::make_shared<TItem>();
  size_t slot = 1;
  for (const std::string& line : ReadLines(path)) {
    if (slot >= items.size()) break;
    const std::vector<std::string> f = Fields(path, {slot, line}, kItemLine);
    items[slot++] = TItem::Create(
        StringToInt(f[0]), f[1], Replace(f[2], "~", ","), StringToInt(f[3]), StringToInt(f[4]),
        StringToInt(f[5]), StringToInt(f[6]), StringToInt(f[7]), StringToInt(f[8]),
        StringToInt(f[9]), StringToInt(f[10]), StringToInt(f[11]), StringToInt(f[12]),
        StringToFloat(f[13]), StringToInt(f[14]), StringToInt(f[15]), StringToInt(f[16]));
  }
  return items;
}

namespace {

// An NPC's line as an actor. The position comes back whole: a fraction is dropped.
TActorPtr NPCOfLine(const std::vector<std::string>& f) {
  return TActor::Create(
      StringToInt(f[0]), StringToInt(f[1]), PositionField(f[2]), PositionField(f[3]),
      StringToFloat(f[4]), StringToFloat(f[5]), StringToInt(f[6]), f[7], StringToInt(f[8]),
      StringToInt(f[9]), StringToInt(f[10]), StringToInt(f[11]), StringToFloat(f[12]),
      StringToInt(f[13]), StringToInt(f[14]), StringToInt(f[15]), StringToInt(f[16]));
}

// Holds a position or speed of a saved NPC within the reach (a value that is not a number
// is 0), saying so on standard error with the file, the line and the field.
void HoldWithinReach(float& value, const char* field, const std::string& where) {
  if (std::isnan(value)) {
    WriteError(where + ": " + field + " is not a number; it is read as 0");
    value = 0.0f;
  } else if (std::fabs(value) > NPC_REACH) {
    const float held = std::clamp(value, -NPC_REACH, NPC_REACH);
    WriteError(where + ": " + field + " " + StringFromFloat(value) + " lies beyond " +
               StringFromInt(FloatToInt(NPC_REACH)) + " pixels; it is read as " +
               StringFromInt(FloatToInt(held)));
    value = held;
  }
}

}  // namespace

std::vector<TActorPtr> LoadNPCs(const std::string& path, bool required) {
  std::vector<TActorPtr> actors;
  for (const TNumberedLine& line : ReadRecordLines(path, required, ANY_SIZE))
    actors.push_back(NPCOfLine(Fields(path, line, kNPCLine)));
  return actors;
}

std::vector<TActorPtr> LoadMapNPCs(const std::string& path) {
  std::vector<TActorPtr> actors;
  for (const TNumberedLine& line : ReadRecordLines(path, false, NPC_FILE_BYTES)) {
    const std::string where = path + ":" + std::to_string(line.number);
    if (actors.size() == NPC_FILE_NPCS) {
      WriteError(where + ": more than " + std::to_string(NPC_FILE_NPCS) +
                 " NPCs on one map; this line and those after it are left out");
      break;
    }
    TActorPtr npc = NPCOfLine(Fields(path, line, kNPCLine));
    HoldWithinReach(npc->X, "X", where);
    HoldWithinReach(npc->Y, "Y", where);
    HoldWithinReach(npc->speedX, "the speed across", where);
    HoldWithinReach(npc->speedY, "the speed down", where);
    HoldWithinReach(npc->walkSpeed, "the walking speed", where);
    actors.push_back(std::move(npc));
  }
  return actors;
}

std::unique_ptr<std::vector<std::string>> SplitString(const std::string& text,
                                                      const std::string& separator) {
  if (separator.size() != 1) return nullptr;
  const std::string line = Trim(text);
  auto fields = std::make_unique<std::vector<std::string>>();
  size_t start = 0;
  for (size_t i = 0; i < line.size(); ++i) {
    if (line[i] == separator[0]) {
      fields->push_back(line.substr(start, i - start));
      start = i + 1;
    }
  }
  fields->push_back(line.substr(start));
  return fields;
}
