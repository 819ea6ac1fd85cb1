// The options screen: full screen, sound and music switches, and the way to the key set-up.
#include "core/game.h"
#include "core/globals.h"
#include "dialogs/dialogs.h"
#include "screens/screen_text.h"
#include "screens/screens.h"

namespace {

struct TSwitchRow {
  const char* label;
  uint8_t TConfig::*flag;
};

constexpr TSwitchRow kSwitches[] = {{"Full Screen = ", &TConfig::fullScreen},
                                    {"Sound = ", &TConfig::sound},
                                    {"Music = ", &TConfig::music}};
constexpr int kKeysRow = 3, kRows = 4;
constexpr int kTextX = 80, kFirstRowY = 178, kRowStep = 20;

void Toggle(int row) {
  uint8_t& flag = (*settings).*kSwitches[row].flag;
  flag = static_cast<uint8_t>((flag + 1) % 2);
  if (row == 0) {
    CloseGraphics(g);
    InitVideo(settings->fullScreen);
  } else if (row == 2) {
    if (settings->music == 0)
      PauseChannel(musicChannel);
    else
      ResumeChannel(musicChannel);
  }
}

}  // namespace

int DisplaySettings(int menuBackground) {
  int selected = 0;
  for (;;) {
    // The frame is measured each pass: a display switch may come between passes.
    const TDialogFrame frame = DialogFrame(100);
    DrawDialogBackground(menuBackground);
    DrawDialogFrame(frame);
    DrawScreenText("Options", kTextX, frame.ContentTop(), titleColor);
    for (int row = 0; row < kRows; ++row) {
      std::string text = "Keyboard Settings";
      if (row < kKeysRow)
        text =
            std::string(kSwitches[row].label) + ((*settings).*kSwitches[row].flag ? "YES" : "NO");
      DrawRowText(text, kTextX, kFirstRowY + kRowStep * row, row == selected);
    }
    SetColor(255, 255, 255);
    const int code = ShowAndTakeKey();
    if (code < 0) continue;
    const TConfig& k = *settings;
    if (code == k.kEnter) {
      if (selected == kKeysRow) {
        // Back from the key set-up the screen starts afresh on its first row, as a new
        // options screen would; its own leaving saves the new keys and resets the clock.
        RunKeySetUp(menuBackground);
        selected = 0;
        continue;
      }
      Toggle(selected);
    } else if (code == k.kDown) {
      selected = (selected + 1) % kRows;
    } else if (code == k.kUp) {
      if (--selected < 0) selected = kRows - 1;
    } else if (code == k.kOption || code == k.kExit) {
      SaveConfig(baseHomeDir + "/config.dat");
      FixedRateLogic->Init();
      return 0;
    }
  }
}
