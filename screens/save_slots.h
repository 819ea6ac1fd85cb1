#pragma once
// The save slots of the save and load dialogs, and the box they show them in.
#include <array>
#include <functional>
#include <string>

#include "dialogs/dialogs.h"
#include "platform/graphics/graphics.h"
#include "transitions/save_folder.h"

// The three save slots as the save and load dialogs list them.
extern const char* const EmptySlotName;  // "**EMPTY**"
struct TSaveSlots {
  std::array<std::string, SAVE_SLOTS> name;
  std::array<TImagePtr, SAVE_SLOTS> thumbnail;  // null without one
  bool Empty(int slot) const { return name[slot] == EmptySlotName; }
};
// Reads the save folder's records ("<slot>.<name>.sav", every other entry ignored) and the
// thumbnail of each slot in use, after finishing any save that was cut short. A thumbnail
// that is missing, damaged or too large (THUMBNAIL_BYTES, THUMBNAIL_PIXELS) is none.
TSaveSlots ListSaveSlots();
// The save record of a slot under a name, and the slot's folder.
std::string SaveRecordPath(int slot, const std::string& name);
std::string SlotFolder(int slot);

// The dialog frame around a middle part 96 high, the selected slot's thumbnail at the
// right, the title and one row per slot.
TDialogFrame SlotFrame();
// The left edge of every text in the box.
inline int SlotTextLeft(const TDialogFrame& frame) { return frame.left + 32; }
inline int SlotRowY(int slot) { return 192 + 20 * slot; }
// "Slot " + (slot + 1) + " - ", what each row shows before the slot's name.
std::string SlotLabel(int slot);

using TSlotColour = std::function<std::array<int, 3>(int slot)>;
// Everything but the background; rows in the colours that rowColour gives.
void DrawSlotBox(const TDialogFrame& frame, const TSaveSlots& slots, int selected,
                 const std::string& title, const TSlotColour& rowColour);
