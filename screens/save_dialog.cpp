// The save dialog: a thumbnail of the play field, the three slots, a name typed for the
// chosen one, and the save.
#include "core/game.h"
#include "core/globals.h"
#include "dialogs/dialogs.h"
#include "screens/save_slots.h"
#include "screens/screen_text.h"
#include "transitions/transitions.h"

namespace {

constexpr size_t kMaxNameLength = 25;

// The keys that type into a name: space, digits and capital letters.
bool TypesACharacter(int code) {
  return code == 32 || (code >= 48 && code <= 57) || (code >= 65 && code <= 90);
}

void WriteThumbnail() {
  const TPixmapPtr field = GrabPixmap(0, 0, 640, 416);
  SavePixmapPNG(ResizePixmap(field, 147, 96), settings->tempDir + "save.png", 5);
}

struct TSaveState {
  TSaveSlots slots;
  int selected = 0;
  int edited = -1;  // the slot whose name is being typed, or -1
  std::string buffer;
  std::string kept;  // the edited slot's name before, put back on cancel
};

void DrawSaveDialog(const TDialogFrame& frame, const TSaveState& s) {
  DrawScreen();
  DrawSlotBox(frame, s.slots, s.selected, "Save Game", [&](int slot) -> std::array<int, 3> {
    if (slot == s.edited) return {255, 0, 0};
    if (slot == s.selected) return {answerColor[0], answerColor[1], answerColor[2]};
    return {255, 255, 255};
  });
  if (s.edited < 0) return;
  const int x = SlotTextLeft(frame) + TextWidth(SlotLabel(s.edited)), y = SlotRowY(s.edited);
  DrawScreenText(s.buffer, x, y, 255, 0, 0);
  const int32_t phase = (MilliSecs() % 800 + 800) % 800;
  if (phase < 400) DrawRect(x + TextWidth(s.buffer), y, TextWidth("W"), TextHeight("W"));
}

void BeginEditing(TSaveState& s) {
  s.edited = s.selected;
  s.kept = s.slots.name[s.selected];
  s.buffer = s.slots.Empty(s.selected) ? "" : s.kept;
  s.slots.name[s.selected] = "";
}

void Save(const TSaveState& s) {
  if (SaveGame(SaveRecordPath(s.selected, s.buffer), SlotFolder(s.selected)) == 1)
    DisplayText("Saved game as " + s.buffer + ".", 0, 255, 255, "", 0, 0);
  else
    DisplayText("The game could not be saved.", 255, 255, 255, "", 0, 0);
}

}  // namespace

int DisplaySaveDialog() {
  WriteThumbnail();
  TSaveState s;
  s.slots = ListSaveSlots();
  const TDialogFrame frame = SlotFrame();
  for (;;) {
    DrawSaveDialog(frame, s);
    // A direction let go here must still stop the player.
    const int code = ShowAndTakeKey();
    if (code < 0) continue;
    const bool naming = s.edited >= 0;
    if (code == 13) {
      if (!naming) {
        BeginEditing(s);
      } else if (!s.buffer.empty()) {
        Save(s);
        break;
      }
    } else if (code == settings->kDown) {
      if (!naming) s.selected = (s.selected + 1) % SAVE_SLOTS;
    } else if (code == settings->kUp) {
      if (!naming && --s.selected < 0) s.selected = SAVE_SLOTS - 1;
    } else if (code == 27) {
      if (!naming) break;
      s.slots.name[s.edited] = s.kept;
      s.buffer.clear();
      s.edited = -1;
    } else if (code == 8) {
      if (naming && !s.buffer.empty()) s.buffer.pop_back();
    } else if (!naming) {
      // The save key closes the dialog whatever its code.
      if (code == settings->kSave) break;
    } else if (TypesACharacter(code) && s.buffer.size() < kMaxNameLength) {
      s.buffer += static_cast<char>(code);
    }
  }
  FixedRateLogic->Init();
  return 1;
}
