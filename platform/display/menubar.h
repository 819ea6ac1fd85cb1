#pragma once
// The window's menu bar, drawn by this layer: a strip of menu titles above the canvas and,
// while one is open, its list of entries over the canvas. It works from the gadget tree that
// CreateMenu builds, takes mouse and key input in window client coordinates (the strip at
// the top), and posts EVENT_MENUACTION with the entry's tag when an entry is chosen.
#include <string>
#include <vector>
#include "platform/display/display.h"

class TMenuBar {
public:
  static constexpr int kStripHeight = 20;
  static constexpr int kEntryHeight = 20;

  // Lays the bar out anew from the children of the window's menu root.
  void SetMenus(const TGadgetPtr& root);
  // Height of the strip: 0 while there are no menus.
  int Height() const { return titles_.empty() ? 0 : kStripHeight; }
  bool IsOpen() const { return open_ >= 0; }
  int OpenMenu() const { return open_; }
  int Highlighted() const { return highlight_; }
  void Close();

  // Input; true when the menu bar took it (the game does not see it then).
  bool MouseDown(int x, int y);
  bool MouseUp(int x, int y);
  bool MouseMove(int x, int y);
  // code is the platform key code; alt tells whether an Alt key is held.
  bool KeyDown(int code, bool alt);

  // Draws the strip at the top of the picture and the open menu below it. The picture is
  // the window's client area: the strip, then the canvas.
  void Draw(const TPixmapPtr& picture) const;

  // Where things are, in client coordinates (tests and hit testing).
  struct TRect {
    int x = 0, y = 0, width = 0, height = 0;
    bool Contains(int px, int py) const {
      return px >= x && py >= y && px < x + width && py < y + height;
    }
  };
  int TitleCount() const { return static_cast<int>(titles_.size()); }
  TRect TitleRect(int menu) const;
  TRect EntryRect(int menu, int entry) const;

private:
  struct TTitle {
    TGadgetPtr menu;
    std::string label;
    int mnemonic = 0;  // key code of the marked letter, 0 for none
    int x = 0, width = 0;
    int dropWidth = 0;
  };
  std::vector<TTitle> titles_;
  int open_ = -1;
  int highlight_ = -1;

  int TitleAt(int x, int y) const;
  int EntryAt(int x, int y) const;
  int EntryCount(int menu) const;
  void Open(int menu, int highlight);
  void Choose(int entry);
};

// The text of a menu item without its "&" marks ("&&" shows one), the key code of the marked
// letter (0 for none) and its index in the text shown (-1 for none).
std::string MenuLabel(const std::string& text, int* mnemonic = nullptr, int* position = nullptr);
// How a hot key is shown beside its entry: "S", "Tab", "Ctrl+F1", ...
std::string HotKeyLabel(int hotKey, int modifier);
