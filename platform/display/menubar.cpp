// The window's menu bar: layout, input, and drawing in the built-in font with pixel code of its own.
#include "platform/display/menubar.h"

#include <algorithm>

#include "platform/events/events.h"

// The built-in 8 x 16 font: one byte a row, the leftmost pixel in the top bit.
extern const uint8_t kFontGlyphs[96][16];

namespace {

constexpr int kTitlePad = 8;     // space left and right of a title
constexpr int kEntryPad = 8;     // space left and right inside an open menu
constexpr int kHotKeyGap = 24;   // space between an entry's text and its hot key
constexpr int kMinDropWidth = 120;
constexpr int kTextTop = 2;      // the 16-pixel font inside a 20-pixel row

constexpr int KEY_RETURN = 13, KEY_ESCAPE = 27, KEY_LEFT = 37, KEY_UP = 38, KEY_RIGHT = 39,
              KEY_DOWN = 40;

int LetterCode(char c) {
  if (c >= 'a' && c <= 'z') return c - 'a' + 65;
  if (c >= 'A' && c <= 'Z') return c;
  if (c >= '0' && c <= '9') return c;
  return 0;
}

// Widths from the built-in font's 8-pixel cells, so that the layout needs no renderer.
int LabelWidth(const std::string& text) {
  int width = 0;
  for (unsigned char c : text) width += (c >= 32 && c <= 127) ? 8 : 0;
  return width;
}

struct TColor {
  uint8_t r, g, b;
};
constexpr TColor kBarColor{212, 208, 200};
constexpr TColor kTextColor{0, 0, 0};
constexpr TColor kHighlightColor{49, 106, 197};
constexpr TColor kHighlightText{255, 255, 255};
constexpr TColor kBorderColor{96, 96, 96};

// Opaque pixel code straight into the picture, clipped to it.
void Fill(TPixmap& p, int x, int y, int w, int h, TColor c) {
  int x0 = std::max(x, 0), y0 = std::max(y, 0);
  int x1 = std::min(x + w, p.width), y1 = std::min(y + h, p.height);
  for (int py = y0; py < y1; ++py) {
    for (int px = x0; px < x1; ++px) {
      uint8_t* d = p.PixelPtr(px, py);
      d[0] = c.r;
      d[1] = c.g;
      d[2] = c.b;
      d[3] = 255;
    }
  }
}

void Glyph(TPixmap& p, unsigned char code, int x, int y, TColor c) {
  if (code < 32 || code > 127) return;
  for (int row = 0; row < 16; ++row) {
    uint8_t bits = kFontGlyphs[code - 32][row];
    for (int col = 0; col < 8; ++col) {
      if (bits & (0x80 >> col)) Fill(p, x + col, y + row, 1, 1, c);
    }
  }
}

// Text with its mnemonic letter underlined.
void Label(TPixmap& p, const std::string& text, int x, int y, TColor c) {
  int mnemonicAt = -1;
  std::string shown = MenuLabel(text, nullptr, &mnemonicAt);
  for (size_t i = 0; i < shown.size(); ++i) {
    Glyph(p, static_cast<unsigned char>(shown[i]), x + LabelWidth(shown.substr(0, i)), y, c);
  }
  if (mnemonicAt >= 0) {
    Fill(p, x + LabelWidth(shown.substr(0, mnemonicAt)), y + 14,
         LabelWidth(shown.substr(mnemonicAt, 1)), 1, c);
  }
}

}  // namespace

std::string MenuLabel(const std::string& text, int* mnemonic, int* position) {
  std::string shown;
  int code = 0, at = -1;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '&' && i + 1 < text.size()) {
      ++i;
      if (text[i] != '&' && at < 0) {
        at = static_cast<int>(shown.size());
        code = LetterCode(text[i]);
      }
    }
    shown += text[i];
  }
  if (mnemonic) *mnemonic = code;
  if (position) *position = at;
  return shown;
}

std::string HotKeyLabel(int hotKey, int modifier) {
  if (hotKey == 0) return "";
  std::string label;
  if (modifier & MODIFIER_CONTROL) label += "Ctrl+";
  if (modifier & MODIFIER_OPTION) label += "Alt+";
  if (modifier & MODIFIER_SHIFT) label += "Shift+";
  if (modifier & MODIFIER_SYSTEM) label += "Cmd+";
  if ((hotKey >= 65 && hotKey <= 90) || (hotKey >= 48 && hotKey <= 57)) {
    label += static_cast<char>(hotKey);
  } else if (hotKey >= 112 && hotKey <= 123) {
    label += "F" + std::to_string(hotKey - 111);
  } else {
    switch (hotKey) {
      case 8: label += "Backspace"; break;
      case 9: label += "Tab"; break;
      case 13: label += "Return"; break;
      case 27: label += "Esc"; break;
      case 32: label += "Space"; break;
      case 46: label += "Del"; break;
      default: label += "#" + std::to_string(hotKey); break;
    }
  }
  return label;
}

void TMenuBar::SetMenus(const TGadgetPtr& root) {
  titles_.clear();
  open_ = highlight_ = -1;
  if (!root) return;
  int x = 0;
  for (const TGadgetPtr& menu : root->children) {
    TTitle title;
    title.menu = menu;
    title.label = MenuLabel(menu->text, &title.mnemonic);
    title.x = x;
    title.width = LabelWidth(title.label) + 2 * kTitlePad;
    int drop = kMinDropWidth;
    for (const TGadgetPtr& entry : menu->children) {
      std::string hot = HotKeyLabel(entry->hotKey, entry->modifier);
      int w = LabelWidth(MenuLabel(entry->text)) + 2 * kEntryPad;
      if (!hot.empty()) w += kHotKeyGap + LabelWidth(hot);
      drop = std::max(drop, w);
    }
    title.dropWidth = drop;
    x += title.width;
    titles_.push_back(std::move(title));
  }
}

TMenuBar::TRect TMenuBar::TitleRect(int menu) const {
  if (menu < 0 || menu >= TitleCount()) return {};
  return {titles_[menu].x, 0, titles_[menu].width, kStripHeight};
}

TMenuBar::TRect TMenuBar::EntryRect(int menu, int entry) const {
  if (menu < 0 || menu >= TitleCount() || entry < 0 || entry >= EntryCount(menu)) return {};
  return {titles_[menu].x, kStripHeight + 1 + entry * kEntryHeight, titles_[menu].dropWidth,
          kEntryHeight};
}

int TMenuBar::EntryCount(int menu) const {
  return static_cast<int>(titles_[menu].menu->children.size());
}

int TMenuBar::TitleAt(int x, int y) const {
  for (int i = 0; i < TitleCount(); ++i) {
    if (TitleRect(i).Contains(x, y)) return i;
  }
  return -1;
}

int TMenuBar::EntryAt(int x, int y) const {
  if (!IsOpen()) return -1;
  for (int i = 0; i < EntryCount(open_); ++i) {
    if (EntryRect(open_, i).Contains(x, y)) return i;
  }
  return -1;
}

void TMenuBar::Open(int menu, int highlight) {
  open_ = menu;
  highlight_ = highlight;
}

void TMenuBar::Close() { open_ = highlight_ = -1; }

void TMenuBar::Choose(int entry) {
  TGadgetPtr chosen = titles_[open_].menu->children[entry];
  Close();
  PostEvent(EVENT_MENUACTION, chosen->tag, 0, 0, chosen);
}

bool TMenuBar::MouseDown(int x, int y) {
  if (titles_.empty()) return false;
  int title = TitleAt(x, y);
  if (title >= 0) {
    if (title == open_) Close();
    else Open(title, -1);
    return true;
  }
  if (y >= 0 && y < kStripHeight) {
    Close();
    return true;
  }
  if (!IsOpen()) return false;
  // A press inside the open menu waits for its release; one outside only closes the menu.
  if (EntryAt(x, y) < 0) Close();
  return true;
}

bool TMenuBar::MouseUp(int x, int y) {
  if (titles_.empty()) return false;
  if (IsOpen()) {
    int entry = EntryAt(x, y);
    if (entry >= 0) Choose(entry);
    return true;
  }
  return y >= 0 && y < kStripHeight;
}

bool TMenuBar::MouseMove(int x, int y) {
  if (titles_.empty()) return false;
  if (!IsOpen()) return y >= 0 && y < kStripHeight;
  int title = TitleAt(x, y);
  if (title >= 0 && title != open_) Open(title, -1);
  int entry = EntryAt(x, y);
  if (entry >= 0) highlight_ = entry;
  return true;
}

bool TMenuBar::KeyDown(int code, bool alt) {
  if (titles_.empty()) return false;
  if (alt && code != 0) {
    for (int i = 0; i < TitleCount(); ++i) {
      if (titles_[i].mnemonic == code) {
        Open(i, EntryCount(i) > 0 ? 0 : -1);
        return true;
      }
    }
  }
  if (!IsOpen()) return false;
  int count = EntryCount(open_);
  switch (code) {
    case KEY_ESCAPE: Close(); break;
    case KEY_LEFT: Open((open_ + TitleCount() - 1) % TitleCount(), 0); break;
    case KEY_RIGHT: Open((open_ + 1) % TitleCount(), 0); break;
    case KEY_UP:
      if (count > 0) highlight_ = highlight_ <= 0 ? count - 1 : highlight_ - 1;
      break;
    case KEY_DOWN:
      if (count > 0) highlight_ = (highlight_ + 1) % count;
      break;
    case KEY_RETURN:
      if (highlight_ >= 0 && highlight_ < count) Choose(highlight_);
      break;
    default:
      for (int i = 0; i < count; ++i) {
        int mnemonic = 0;
        MenuLabel(titles_[open_].menu->children[i]->text, &mnemonic);
        if (mnemonic != 0 && mnemonic == code) {
          Choose(i);
          break;
        }
      }
      break;
  }
  // Keys do not reach the game while a menu is open.
  return true;
}

void TMenuBar::Draw(const TPixmapPtr& picture) const {
  if (titles_.empty() || !picture) return;
  TPixmap& p = *picture;
  Fill(p, 0, 0, p.width, kStripHeight, kBarColor);
  for (int i = 0; i < TitleCount(); ++i) {
    const TTitle& t = titles_[i];
    bool lit = i == open_;
    if (lit) Fill(p, t.x, 0, t.width, kStripHeight, kHighlightColor);
    Label(p, t.menu->text, t.x + kTitlePad, kTextTop, lit ? kHighlightText : kTextColor);
  }
  if (!IsOpen()) return;
  const TTitle& t = titles_[open_];
  int count = EntryCount(open_);
  Fill(p, t.x, kStripHeight, t.dropWidth + 1, count * kEntryHeight + 2, kBorderColor);
  for (int i = 0; i < count; ++i) {
    const TGadgetPtr& entry = t.menu->children[i];
    TRect r = EntryRect(open_, i);
    bool lit = i == highlight_;
    Fill(p, r.x + 1, r.y, r.width - 1, r.height, lit ? kHighlightColor : kBarColor);
    TColor ink = lit ? kHighlightText : kTextColor;
    Label(p, entry->text, r.x + kEntryPad, r.y + kTextTop, ink);
    std::string hot = HotKeyLabel(entry->hotKey, entry->modifier);
    if (!hot.empty()) Label(p, hot, r.x + r.width - kEntryPad - LabelWidth(hot), r.y + kTextTop, ink);
  }
}
