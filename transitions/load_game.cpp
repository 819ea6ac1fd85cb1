// Loading a saved game: the record and the save script checked (the script run in its
// sandbox), the record into the player, the slot's files into the working folder, the work
// the save script asked for done, then the working folder rebuilt from the shipped maps and
// the slot.
#include <bit>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "core/game.h"
#include "core/globals.h"
#include "core/user_files.h"
#include "core/working_folder.h"
#include "platform/files/files.h"
#include "platform/files/stream.h"
#include "platform/system/app.h"
#include "scripting/engine.h"
#include "scripting/sandbox.h"
#include "transitions/save_folder.h"
#include "transitions/transitions.h"

namespace {

constexpr int32_t kMaxFlags = 256;

// Reads the record's fields from its bytes; any read past the end marks it truncated.
class TRecordReader {
public:
  explicit TRecordReader(std::string bytes) : bytes_(std::move(bytes)) {}

  bool ok = true;

  int32_t Int() {
    if (pos_ + 4 > bytes_.size()) return Fail();
    uint32_t v = 0;
    for (int i = 0; i < 4; ++i) v = (v << 8) | static_cast<unsigned char>(bytes_[pos_++]);
    return static_cast<int32_t>(v);
  }
  float Float() { return std::bit_cast<float>(Int()); }
  uint8_t Byte() {
    if (pos_ >= bytes_.size()) return static_cast<uint8_t>(Fail());
    return static_cast<uint8_t>(bytes_[pos_++]);
  }
  // Up to LF or NUL, every CR dropped; a line without its end is a truncated record.
  std::string Line() {
    std::string line;
    while (pos_ < bytes_.size()) {
      const char c = bytes_[pos_++];
      if (c == '\n' || c == '\0') return line;
      if (c != '\r') line += c;
    }
    Fail();
    return line;
  }

private:
  int32_t Fail() {
    ok = false;
    pos_ = bytes_.size();
    return 0;
  }
  std::string bytes_;
  size_t pos_ = 0;
};

// The player's whole-number fields after tempCount, in record order; read and applied alike.
constexpr int TPlayer::*kRecordInts[] = {
    &TPlayer::footprintID, &TPlayer::invincible, &TPlayer::unmovable, &TPlayer::life,
    &TPlayer::maxLife, &TPlayer::attitude, &TPlayer::movement, &TPlayer::damage,
    &TPlayer::moveToX, &TPlayer::moveToY, &TPlayer::moveGoal, &TPlayer::moveCurrent,
    &TPlayer::deathTrigger, &TPlayer::gold};

struct TSaveRecord {
  TPlayer fields;  // the stored player fields; the rest unused
  std::vector<TItem> items;
  int32_t primary = 0, secondary = 0;
  std::vector<uint8_t> flags;
};

TItem ReadItem(TRecordReader& r) {
  TItem item;
  item.name = r.Line();
  item.description = r.Line();
  for (int* field : {&item.itemID, &item.itemType, &item.ammoCount, &item.ammoMax, &item.icon,
                     &item.useImage, &item.ammoImage, &item.useTrigger, &item.getTrigger,
                     &item.damageRating, &item.missileRange}) {
    *field = r.Int();
  }
  item.missileSpeed = r.Float();
  item.missileRotationDiff = r.Int();
  item.sound = r.Int();
  item.meleeImage = r.Int();
  return item;
}

// Empty when the record was read whole; else why not: it cannot be opened, ends early or
// holds counts outside the format.
std::string ReadRecord(const std::string& path, TSaveRecord& record) {
  TStreamPtr stream = ReadStream(path, SAVE_RECORD_BYTES);
  if (!stream) {
    const std::string why = ReadFailure(path, SAVE_RECORD_BYTES);
    return why.empty() ? "it cannot be opened" : why;
  }
  std::string bytes(static_cast<size_t>(StreamSize(stream)), '\0');
  bytes.resize(ReadBytes(stream, bytes.data(), bytes.size()));
  CloseStream(stream);

  TRecordReader r(std::move(bytes));
  TPlayer& p = record.fields;
  p.name = r.Line();
  p.tileID = r.Int();
  p.X = static_cast<float>(r.Int());
  p.Y = static_cast<float>(r.Int());
  p.speedX = r.Float();
  p.speedY = r.Float();
  p.walkSpeed = r.Float();
  p.facing = r.Int();
  p.frame = r.Int();
  p.currentFrame = r.Int();
  p.tempCount = static_cast<float>(r.Int());
  for (int TPlayer::*field : kRecordInts) p.*field = r.Int();
  const std::string early = "it ends early";
  const int32_t itemCount = r.Int();
  if (!r.ok) return early;
  if (itemCount < 0 || itemCount > INVENTORY_SLOTS)
    return "it holds " + std::to_string(itemCount) + " items";
  for (int32_t i = 0; i < itemCount; ++i) record.items.push_back(ReadItem(r));
  record.primary = r.Int();
  record.secondary = r.Int();
  const int32_t flagCount = r.Int();
  if (!r.ok) return early;
  if (flagCount < 0 || flagCount > kMaxFlags)
    return "it holds " + std::to_string(flagCount) + " flags";
  for (int32_t i = 0; i < flagCount; ++i) record.flags.push_back(r.Byte());
  return r.ok ? "" : early;
}

void ApplyRecord(const TSaveRecord& record) {
  TPlayer& p = *player;
  const TPlayer& f = record.fields;
  p.name = f.name;
  p.tileID = f.tileID;
  p.X = f.X;
  p.Y = f.Y;
  // The stored speeds are dropped: a loaded player stands still.
  p.speedX = 0.0f;
  p.speedY = 0.0f;
  p.walkSpeed = f.walkSpeed;
  p.facing = f.facing;
  p.frame = f.frame;
  p.currentFrame = f.currentFrame;
  p.tempCount = f.tempCount;
  for (int TPlayer::*field : kRecordInts) p.*field = f.*field;
  // The slot objects stay (the hands may share them); their fields are overwritten.
  for (size_t i = 0; i < record.items.size(); ++i) {
    if (!p.item[i]) p.item[i] = std::make_shared<TItem>();
    *p.item[i] = record.items[i];
  }
  p.SetPrimary(record.primary);
  p.SetSecondary(record.secondary);
  for (size_t i = 0; i < record.flags.size(); ++i) flags[i] = record.flags[i];
  // The held directions added their speeds to the speeds just dropped.
  ReleaseHeldKeys();
}

// A copy that fails is said on standard error, with the file and the reason.
bool Checked(const std::string& failure) {
  if (!failure.empty()) WriteError(failure);
  return failure.empty();
}

bool EmptyWorkingFolder() { return Checked(ClearWorkingFolder()); }

bool CopyFilesIn(const std::string& folder) { return Checked(CopyIntoWorkingFolder(folder)); }

bool CopyMapsIn() { return Checked(CopyMapsIntoWorkingFolder()); }

// A load that stopped part-way leaves no game to go on with: only the shipped maps.
int Abandon() {
  if (EmptyWorkingFolder()) CopyMapsIn();
  return -1;
}

}  // namespace

int LoadGame(const std::string& savePath, const std::string& slotDir) {
  if (!player || !lua) return 0;
  // The record, the script and the slot's files are checked before anything of the game in
  // play changes.
  TSaveRecord record;
  const std::string fault = ReadRecord(savePath, record);
  if (!fault.empty()) {
    WriteError("Could not load the save record " + savePath + ": " + fault);
    return 0;
  }
  TSaveScript script(*lua);
  if (!script.Load(savePath + ".lua") || !Checked(CheckCopyIntoWorkingFolder(slotDir + "/")))
    return 0;
  const std::string tooMuch = SlotContentsFailure(slotDir + "/");
  if (!tooMuch.empty()) {
    WriteError("Could not load the slot folder " + slotDir + ": " + tooMuch);
    return 0;
  }
  ApplyRecord(record);
  if (!EmptyWorkingFolder() || !CopyFilesIn(slotDir + "/")) return Abandon();
  // The map in play is not written back on the way out: the working folder is rebuilt
  // below anyway, and under the saved map's name it would replace the slot's NPCs.
  const TMapPtr inPlay = currentMap;
  const std::string inPlayFile = inPlay ? inPlay->mapFile : "";
  if (inPlay) inPlay->mapFile.clear();
  script.Run();
  if (inPlay) inPlay->mapFile = inPlayFile;
  if (!EmptyWorkingFolder() || !CopyMapsIn() || !CopyFilesIn(slotDir + "/"))
    return Abandon();
  return 1;
}
