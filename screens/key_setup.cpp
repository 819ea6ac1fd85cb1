// The key set-up screen: binds the ten action keys, or puts back the default keys.
#include "core/game.h"
#include "core/globals.h"
#include "dialogs/dialogs.h"
#include "screens/screen_text.h"
#include "screens/screens.h"

namespace {

struct TKeyRow {
  const char* label;
  uint8_t TConfig::*key;  // null for the two command rows
  uint8_t defaultCode;
  int x, y;
};

constexpr TKeyRow kRows[] = {
    {"Up = ", &TConfig::kUp, 38, 80, 158},
    {"Down = ", &TConfig::kDown, 40, 80, 178},
    {"Left = ", &TConfig::kLeft, 37, 80, 198},
    {"Right = ", &TConfig::kRight, 39, 80, 218},
    {"Primary = ", &TConfig::kPrimary, 90, 80, 238},
    {"Secondary = ", &TConfig::kSecondary, 88, 80, 258},
    {"Talk/Activate = ", &TConfig::kEnter, 13, 330, 158},
    {"Inventory = ", &TConfig::kInventory, 73, 330, 178},
    {"Options = ", &TConfig::kOption, 9, 330, 198},
    {"Exit = ", &TConfig::kExit, 27, 330, 218},
    {"Reset to Default Keys", nullptr, 0, 330, 238},
    {"Return to Options", nullptr, 0, 330, 258},
};
constexpr int kRowCount = sizeof kRows / sizeof kRows[0];
constexpr int kResetRow = 10, kReturnRow = 11;

std::string RowText(const TKeyRow& row) {
  if (!row.key) return row.label;
  return row.label + GetKeyText((*settings).*row.key);
}

void DrawKeyScreen(int menuBackground, int selected) {
  const TDialogFrame frame = DialogFrame(140);
  DrawDialogBackground(menuBackground);
  DrawDialogFrame(frame);
  DrawScreenText("Keyboard Settings", 80, frame.ContentTop(), titleColor);
  for (int i = 0; i < kRowCount; ++i)
    DrawRowText(RowText(kRows[i]), kRows[i].x, kRows[i].y, i == selected);
  SetColor(255, 255, 255);
}

void ChooseKey(int menuBackground, const TKeyRow& row) {
  // The whole screen again with the row in red: the same picture on any display.
  DrawKeyScreen(menuBackground, -1);
  SetColor(255, 0, 0);
  DrawText(RowText(row), row.x, row.y);
  SetColor(255, 255, 255);
  Flip(0);
  const int code = GetKeyPressed();
  if (KeyUsed(code) == 0) (*settings).*row.key = static_cast<uint8_t>(code);
}

}  // namespace

int GetKeyPressed() {
  for (;;) {
    PollEvent();
    if (EventID() == EVENT_KEYDOWN) return EventData() & 255;
    // A direction let go while the key is awaited must not keep the player walking.
    PassRelease();
  }
}

int KeyUsed(int code) {
  for (const TKeyRow& row : kRows) {
    if (row.key && code == (*settings).*row.key) return 1;
  }
  return 0;
}

int RunKeySetUp(int menuBackground) {
  int selected = 0;
  for (;;) {
    DrawKeyScreen(menuBackground, selected);
    const int code = ShowAndTakeKey();
    if (code < 0) continue;
    const TConfig& k = *settings;
    if (code == k.kExit) break;
    if (code == k.kEnter) {
      if (selected == kReturnRow) break;
      if (selected == kResetRow) {
        for (const TKeyRow& row : kRows)
          if (row.key) (*settings).*row.key = row.defaultCode;
      } else {
        ChooseKey(menuBackground, kRows[selected]);
      }
    } else if (code == k.kDown) {
      selected = (selected + 1) % kRowCount;
    } else if (code == k.kUp) {
      if (--selected < 0) selected = kRowCount - 1;
    }
  }
  return 0;
}

int DisplayKeys(int menuBackground) {
  RunKeySetUp(menuBackground);
  DisplaySettings(menuBackground);
  return 0;
}
