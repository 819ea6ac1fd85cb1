// The interface strip, hearts, dialog parts, portraits, title, credits, inventory, splash.
#include <cmath>
#include <string>
#include "tools/questgen/painters.h"

namespace {

const TRgb kGold{220, 180, 60};
const TRgb kNavy{28, 36, 92};

// Light plates behind the counts, which the game draws in dark red at y 454 (strip row 38):
// the gold's below its coin, each hand's below its icon, whose pictures keep clear of them.
const TRgb kPlate{236, 226, 196};

TCanvas Interface() {
  TCanvas c(640, 64, {60, 45, 35});
  c.VerticalGradient(0, 0, 640, 64, {90, 70, 50}, {45, 32, 24});
  c.Rect(0, 0, 640, 3, kGold);
  c.Noise(0, 3, 640, 61, 5, 31);
  // Recesses behind the hearts (room for the four that the quest can give), the gold and
  // the two hands.
  c.Frame(110, 12, 140, 40, Shade(kGold, -60), 2);
  c.Frame(294, 8, 44, 52, Shade(kGold, -60), 2);
  c.Rect(296, 36, 40, 22, kPlate);
  for (const int x : {366, 422}) {
    c.Frame(x, 12, 40, 48, kGold, 2);
    c.Rect(x + 2, 38, 36, 20, kPlate);
  }
  c.Text(20, 24, "LIFE", kGold);
  c.Text(478, 24, "CORVEL", Shade(kGold, -30));
  return c;
}

TCanvas Heart(int fill) {
  TCanvas c(32, 32);
  const TRgb red{220, 30, 50}, empty{70, 40, 40}, rim{40, 10, 10};
  auto inside = [](float x, float y) {
    const float u = (x - 16) / 12.0f, v = (12 - y) / 12.0f;
    const float a = u * u + v * v - 1;
    return a * a * a - u * u * v * v * v <= 0;
  };
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 32; ++x) {
      if (!inside(x + 0.5f, y + 0.5f - 3)) continue;
      const bool filled = fill == 2 || (fill == 1 && x < 16);
      c.Set(x, y, filled ? red : empty);
    }
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 32; ++x)
      if (!(c.Get(x, y).r == 255 && c.Get(x, y).b == 255) &&
          (c.Get(x - 1, y).b == 255 || c.Get(x + 1, y).b == 255 || c.Get(x, y - 1).b == 255 ||
           c.Get(x, y + 1).b == 255))
        c.Set(x, y, rim);
  return c;
}

// Drawn at (300, 427): the coin keeps to its top 22 rows, above the plate of the count.
TCanvas Coin() {
  TCanvas c(32, 32);
  c.Ellipse(16, 11, 10, 10, {180, 140, 30});
  c.Ellipse(16, 11, 8, 8, {240, 200, 60});
  c.Text(12, 3, "C", {180, 140, 30});
  return c;
}

// The talk probe's mask: a round blob, nudged towards each of the four facings.
TCanvas Talk() {
  return Strip(4, [](TCanvas& c, int ox, int f) {
    const int dx[] = {0, 0, -4, 4}, dy[] = {-4, 4, 0, 0};
    c.Ellipse(ox + 16 + dx[f], 16 + dy[f], 10, 10, {255, 255, 255});
  });
}

// 576 pixels wide, from x 32 to 608: the option and key set-up screens write from x 80, and
// the key set-up's right column reaches x 595 with the longest key name.
constexpr int kDialogWidth = 576;

TCanvas DialogPart(int height, bool top, bool bottom) {
  TCanvas c(kDialogWidth, height, kNavy);
  c.Rect(0, 0, 4, height, kGold);
  c.Rect(kDialogWidth - 4, 0, 4, height, kGold);
  // A gold edge along row `edge` with its two corners cut, `inward` the way into the part.
  auto goldEdge = [&c](int edge, int inward) {
    c.Rect(0, inward > 0 ? edge : edge - 3, kDialogWidth, 4, kGold);
    for (int x = 0; x < 4; ++x)
      for (int y = 0; y < 4; ++y)
        if (x + y < 3) {
          c.Set(x, edge + inward * y, kMask);
          c.Set(kDialogWidth - 1 - x, edge + inward * y, kMask);
        }
  };
  if (top) goldEdge(0, 1);
  if (bottom) goldEdge(height - 1, -1);
  return c;
}

struct TFace {
  TRgb skin, hair, back;
  TRgb hat = kMask;
  bool beard = false;
};

TCanvas Portrait(const TFace& f) {
  TCanvas c(64, 64, f.back);
  c.Frame(0, 0, 64, 64, kGold, 2);
  c.Rect(14, 46, 36, 16, Shade(f.back, -50));
  c.Ellipse(32, 30, 15, 18, f.skin);
  c.Rect(17, 10, 30, 8, f.hair);
  c.Rect(24, 27, 4, 4, {20, 20, 30});
  c.Rect(37, 27, 4, 4, {20, 20, 30});
  c.Line(26, 40, 38, 40, Shade(f.skin, -60), 2);
  if (f.beard) c.Ellipse(32, 44, 12, 8, f.hair);
  if (!IsMask(f.hat)) {
    c.Rect(8, 12, 48, 5, f.hat);
    c.Rect(18, 2, 28, 11, Shade(f.hat, 25));
  }
  return c;
}

// A night sky over hills, with the game's name; the backdrop of the title and its screens.
TCanvas Title() {
  TCanvas c(640, 480);
  c.VerticalGradient(0, 0, 640, 300, {10, 15, 45}, {70, 50, 110});
  TNoise n(77);
  for (int k = 0; k < 120; ++k) c.Set(n.Range(0, 639), n.Range(0, 250), {255, 255, 230});
  for (int x = 0; x < 640; ++x) {
    const int h1 = 300 + static_cast<int>(std::sin(x / 70.0) * 25 + std::sin(x / 23.0) * 6);
    c.Rect(x, h1 - 40, 1, 480 - h1 + 40, {30, 40, 60});
    const int h2 = 340 + static_cast<int>(std::sin(x / 50.0 + 1) * 18);
    c.Rect(x, h2, 1, 480 - h2, {20, 55, 35});
  }
  c.Ellipse(520, 80, 30, 30, {240, 235, 200});
  c.CentredText(70, "CORVEL", {20, 10, 10}, 6);
  c.CentredText(66, "CORVEL", kGold, 6);
  c.CentredText(180, "a quest of tiles, scripts and steel", {200, 200, 230}, 1);
  return c;
}

// The title entries with entry `selected` lit; drawn at (250, 295) over the title.
TCanvas MenuEntries(int selected) {
  static const char* entries[] = {"New Game", "Load Game", "Options", "Credits", "Exit"};
  TCanvas c(140, 150);
  for (int i = 0; i < 5; ++i) {
    const int y = 6 + i * 28;
    if (i == selected) {
      c.Rect(0, y - 4, 140, 24, {60, 40, 20});
      c.Frame(0, y - 4, 140, 24, kGold, 2);
    }
    const std::string text = entries[i];
    const int x = (140 - TCanvas::TextWidth(text)) / 2;
    c.Text(x + 1, y + 1, text, {0, 0, 0});
    c.Text(x, y, text, i == selected ? TRgb{255, 255, 155} : TRgb{205, 255, 205});
  }
  return c;
}

TCanvas Credits() {
  TCanvas c(640, 480);
  c.Rect(120, 90, 400, 300, kNavy);
  c.Frame(120, 90, 400, 300, kGold, 3);
  c.CentredText(110, "CORVEL", kGold, 3);
  const char* lines[] = {"A demo quest", "", "Pictures drawn by code", "Sounds and music synthesised",
                         "by the quest generator", "", "Scripts in Lua", "", "Thank you for playing"};
  for (int i = 0; i < 9; ++i) c.CentredText(180 + i * 20, lines[i], {230, 230, 240});
  return c;
}

TCanvas Inventory() {
  TCanvas c(640, 480);
  c.Rect(60, 90, 520, 350, {120, 95, 60});
  c.Frame(60, 90, 520, 350, {70, 50, 30}, 4);
  c.Noise(64, 94, 512, 342, 6, 41);
  c.Text(260, 104, "INVENTORY", {250, 230, 180}, 1);
  // The item's name (red) and description (white) are written from (120, 300) over a plate
  // dark enough for both.
  c.Rect(108, 292, 424, 60, {18, 14, 11});
  c.Frame(108, 292, 424, 60, {70, 50, 30}, 2);
  c.Text(214, 372, "In hand:", {250, 230, 180});
  c.Frame(282, 393, 36, 36, {70, 50, 30}, 2);
  c.Frame(321, 393, 36, 36, {70, 50, 30}, 2);
  return c;
}

TCanvas Splash() {
  TCanvas c(640, 480, {0, 0, 0});
  c.Ellipse(320, 220, 120, 120, {40, 30, 70});
  c.Ellipse(320, 220, 90, 90, {90, 60, 140});
  c.CentredText(200, "Dawn over the valley", kGold, 2);
  c.CentredText(250, "The beasts are gone and the cave is quiet", {230, 230, 240});
  return c;
}

}  // namespace

void AddScreenPainters(TPainterTable& t) {
  t["interface.png"] = Interface;
  t["life0.png"] = [] { return Heart(0); };
  t["life1.png"] = [] { return Heart(1); };
  t["life2.png"] = [] { return Heart(2); };
  t["coins.png"] = Coin;
  t["talk.png"] = Talk;
  t["dialogtop.png"] = [] { return DialogPart(32, true, false); };
  t["dialogmiddle.png"] = [] { return DialogPart(16, false, false); };
  t["dialogbottom.png"] = [] { return DialogPart(32, false, true); };
  t["portrait-hat.png"] = [] { return Portrait({{240, 200, 160}, {110, 70, 30}, {50, 70, 120}, {120, 40, 40}}); };
  t["portrait-elder.png"] = [] { return Portrait({{230, 190, 150}, {235, 235, 235}, {80, 40, 90}, {60, 30, 90}, true}); };
  t["portrait-wanderer.png"] = [] { return Portrait({{200, 150, 110}, {40, 30, 20}, {90, 80, 40}}); };
  t["menu.png"] = Title;
  for (int i = 0; i < 5; ++i) t["menu" + std::to_string(i + 1) + ".png"] = [i] { return MenuEntries(i); };
  t["credits.png"] = Credits;
  t["inventory.png"] = Inventory;
  t["splash.png"] = Splash;
}
