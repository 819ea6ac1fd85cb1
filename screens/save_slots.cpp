// The save slots on disk, their listing, and the slot box the save and load dialogs share.
#include "screens/save_slots.h"

#include "core/globals.h"
#include "core/user_files.h"
#include "dialogs/dialogs.h"
#include "screens/screen_text.h"

const char* const EmptySlotName = "**EMPTY**";

std::string SaveRecordPath(int slot, const std::string& name) {
  return settings->saveDir + StringFromInt(slot) + "." + name + ".sav";
}

std::string SlotFolder(int slot) { return settings->saveDir + StringFromInt(slot); }

TSaveSlots ListSaveSlots() {
  // A save cut short is finished or undone first, so that a slot lists whole or not at all.
  RecoverSaves();
  TSaveSlots slots;
  for (const std::string& entry : LoadDir(settings->saveDir, 1)) {
    int slot = -1;
    std::string name;
    if (!ParseSaveRecordName(entry, slot, name) ||
        FileType(settings->saveDir + entry) != FILETYPE_FILE)
      continue;
    slots.name[slot] = name;
  }
  // Once per slot in use, however many records name it.
  for (int slot = 0; slot < SAVE_SLOTS; ++slot) {
    if (slots.name[slot].empty()) {
      slots.name[slot] = EmptySlotName;
      continue;
    }
    slots.thumbnail[slot] =
        LoadImage(SlotFolder(slot) + "/save.png", -1, THUMBNAIL_BYTES, THUMBNAIL_PIXELS);
  }
  return slots;
}

TDialogFrame SlotFrame() { return DialogFrame(96); }

std::string SlotLabel(int slot) { return "Slot " + StringFromInt(slot + 1) + " - "; }

void DrawSlotBox(const TDialogFrame& frame, const TSaveSlots& slots, int selected,
                 const std::string& title, const TSlotColour& rowColour) {
  const int textLeft = SlotTextLeft(frame);
  SetColor(255, 255, 255);
  DrawDialogFrame(frame);
  if (slots.thumbnail[selected])
    DrawImage(slots.thumbnail[selected], frame.left + frame.width - 179, 160, 0);
  DrawScreenText(title, textLeft, 160, titleColor);
  for (int slot = 0; slot < SAVE_SLOTS; ++slot) {
    const std::array<int, 3> rgb = rowColour(slot);
    DrawScreenText(SlotLabel(slot) + slots.name[slot], textLeft, SlotRowY(slot), rgb[0], rgb[1],
                   rgb[2]);
  }
}
