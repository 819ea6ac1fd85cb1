// The load dialog: lists the slots in use and loads the chosen one.
#include "core/game.h"
#include "core/globals.h"
#include "dialogs/dialogs.h"
#include "screens/save_slots.h"
#include "screens/screens.h"
#include "transitions/transitions.h"

namespace {

// The next slot in use from `slot` on in steps of `step` (1 or -1), round the three; the
// slot itself when it is the only one.
int NextUsedSlot(const TSaveSlots& slots, int slot, int step) {
  for (int k = 1; k <= SAVE_SLOTS; ++k) {
    const int next = ((slot + step * k) % SAVE_SLOTS + SAVE_SLOTS) % SAVE_SLOTS;
    if (!slots.Empty(next)) return next;
  }
  return slot;
}

}  // namespace

int DisplayLoadDialog(int menuBackground) {
  const TSaveSlots slots = ListSaveSlots();
  const int first = NextUsedSlot(slots, SAVE_SLOTS - 1, 1);
  if (slots.Empty(first)) {
    // Nothing was loaded, also during play: callers take 1 for a load.
    DisplayText("There are no saved games available.", 255, 255, 255, "", 0, menuBackground);
    return 0;
  }
  const TDialogFrame frame = SlotFrame();
  int selected = first;
  for (;;) {
    DrawDialogBackground(menuBackground);
    DrawSlotBox(frame, slots, selected, "Load Game", [&](int slot) -> std::array<int, 3> {
      if (slot == selected) return {answerColor[0], answerColor[1], answerColor[2]};
      if (slots.Empty(slot)) return {155, 155, 155};
      return {255, 255, 255};
    });
    // A direction let go here must still stop the player.
    const int code = ShowAndTakeKey();
    if (code < 0) continue;
    if (code == 13) {
      const std::string& name = slots.name[selected];
      const std::string slotText = SlotLabel(selected) + name;
      const int loaded = LoadGame(SaveRecordPath(selected, name), SlotFolder(selected));
      if (loaded == 1) {
        DisplayText("Loaded " + slotText + ".", 0, 255, 255, "", 0, 0);
        FixedRateLogic->Init();
        return 1;
      }
      const std::string failed = slotText + " could not be loaded.";
      if (loaded == 0) {
        // Refused before anything changed: the game goes on as it was.
        DisplayText(failed, 255, 255, 255, "", 0, menuBackground);
        continue;
      }
      // The load stopped part-way, with the shipped maps left in the working folder: the
      // game returns to the title, whose menu is the caller or opens here.
      DisplayText(failed, 255, 255, 255, "", 0, 1);
      if (menuBackground != 0) return 0;
      DisplayMainMenu();
      FixedRateLogic->Init();
      return 1;
    }
    if (code == settings->kDown) {
      selected = NextUsedSlot(slots, selected, 1);
    } else if (code == settings->kUp) {
      selected = NextUsedSlot(slots, selected, -1);
    } else if (code == 27 || code == settings->kLoad) {
      if (menuBackground == 0) FixedRateLogic->Init();
      return 0;
    }
  }
}
