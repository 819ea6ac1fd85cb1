// Item icons and the missiles: missiles point up, the game turns them to their flight.
#include "tools/questgen/painters.h"

namespace {

// Icons keep to their top 22 rows: in the interface strip the game writes an item's count
// from row 22 of its icon down, over the strip's plate.
TCanvas Sword() {
  TCanvas c(32, 32);
  c.Line(10, 16, 25, 2, {220, 225, 235}, 3);
  c.Line(7, 13, 13, 19, {200, 170, 60}, 3);
  c.Line(4, 20, 8, 16, {120, 80, 40}, 3);
  return c;
}

TCanvas Bow() {
  TCanvas c(32, 32);
  for (int y = 1; y <= 20; ++y) {
    const float t = (y - 10.5f) / 9.5f;
    const int x = 10 + static_cast<int>((1.0f - t * t) * 10);
    c.Rect(x, y, 3, 1, {140, 90, 40});
  }
  c.Line(11, 1, 11, 20, {230, 230, 230});
  return c;
}

TCanvas Wand() {
  TCanvas c(32, 32);
  c.Line(8, 19, 20, 7, {90, 60, 120}, 3);
  c.Ellipse(22, 5, 4, 4, {120, 230, 255});
  c.Set(23, 3, {255, 255, 255});
  return c;
}

TCanvas Key() {
  TCanvas c(32, 32);
  c.Ellipse(10, 11, 6, 6, {230, 190, 40});
  c.Ellipse(10, 11, 3, 3, kMask);
  c.Rect(15, 10, 13, 3, {230, 190, 40});
  c.Rect(23, 13, 2, 5, {230, 190, 40});
  c.Rect(27, 13, 2, 4, {230, 190, 40});
  return c;
}

TCanvas Axe() {
  TCanvas c(32, 32);
  c.Line(9, 20, 20, 4, {140, 90, 40}, 3);
  c.Ellipse(21, 6, 7, 5, {150, 150, 165});
  return c;
}

TCanvas Potion() {
  TCanvas c(32, 32);
  c.Ellipse(16, 14, 7, 7, {200, 40, 60});
  c.Rect(13, 3, 6, 6, {200, 220, 230});
  c.Rect(12, 1, 8, 3, {140, 90, 40});
  c.Ellipse(13, 12, 2, 2, {255, 160, 170});
  return c;
}

TCanvas Arrow(TRgb head) {
  TCanvas c(32, 32);
  c.Rect(15, 6, 2, 22, {150, 100, 50});
  c.Line(16, 2, 12, 8, head, 2);
  c.Line(16, 2, 20, 8, head, 2);
  c.Line(13, 28, 15, 24, {240, 240, 240}, 2);
  c.Line(19, 28, 17, 24, {240, 240, 240}, 2);
  return c;
}

TCanvas Spark() {
  TCanvas c(32, 32);
  c.Line(16, 4, 16, 28, {140, 220, 255}, 3);
  c.Line(4, 16, 28, 16, {140, 220, 255}, 3);
  c.Ellipse(16, 16, 5, 5, {255, 255, 255});
  return c;
}

TCanvas Stone() {
  TCanvas c(32, 32);
  c.Ellipse(16, 16, 5, 4.5f, {120, 110, 100});
  c.Ellipse(15, 15, 2, 1.5f, {170, 160, 150});
  return c;
}

}  // namespace

void AddItemPainters(TPainterTable& t) {
  t["sword.png"] = Sword;
  t["bow.png"] = Bow;
  t["wand.png"] = Wand;
  t["key.png"] = Key;
  t["axe.png"] = Axe;
  t["potion.png"] = Potion;
  t["arrow.png"] = [] { return Arrow({200, 200, 210}); };
  t["arrow_fire.png"] = [] { return Arrow({255, 120, 30}); };
  t["spark.png"] = Spark;
  t["stone.png"] = Stone;
}
