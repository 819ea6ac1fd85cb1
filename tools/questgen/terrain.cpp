// Ground, walls, water, trees and the object cells of the maps.
#include <cmath>
#include "tools/questgen/painters.h"

namespace {

TCanvas Ground(TRgb base, int amount, uint32_t seed) {
  TCanvas c(32, 32, base);
  c.Noise(0, 0, 32, 32, amount, seed);
  return c;
}

TCanvas Grass(TRgb base, uint32_t seed) {
  TCanvas c = Ground(base, 10, seed);
  TNoise n(seed * 7);
  for (int k = 0; k < 14; ++k) {
    const int x = n.Range(1, 30), y = n.Range(3, 30);
    c.Line(x, y, x + n.Range(-1, 1), y - 3, Shade(base, 35));
  }
  return c;
}

// A block whose corners are cut away, so that an actor sliding along it slips round.
void CutCorners(TCanvas& c, int radius) {
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 32; ++x) {
      const int cx = x < radius ? radius : (x > 31 - radius ? 31 - radius : x);
      const int cy = y < radius ? radius : (y > 31 - radius ? 31 - radius : y);
      const float dx = static_cast<float>(x - cx), dy = static_cast<float>(y - cy);
      if (dx * dx + dy * dy > radius * radius) c.Set(x, y, kMask);
    }
}

TCanvas Stones(TRgb base, TRgb mortar, uint32_t seed) {
  TCanvas c(32, 32, mortar);
  TNoise n(seed);
  for (int row = 0; row < 4; ++row) {
    const int offset = (row % 2) * 8;
    for (int col = -1; col < 3; ++col) {
      const int x = col * 16 + offset + 1, y = row * 8 + 1;
      c.Rect(x, y, 14, 6, Shade(base, n.Range(-18, 18)));
      c.Rect(x, y, 14, 1, Shade(base, 30));
    }
  }
  c.Noise(0, 0, 32, 32, 6, seed + 1);
  CutCorners(c, 6);
  return c;
}

TCanvas Water(int frames) {
  return Strip(frames, [](TCanvas& c, int ox, int f) {
    c.Noise(ox, 0, 32, 32, 6, 11);
    for (int row = 0; row < 4; ++row)
      for (int x = 0; x < 32; ++x) {
        const float phase = (x + f * 8) * 6.2831853f / 32.0f + row * 1.7f;
        const int y = row * 8 + 4 + static_cast<int>(std::lround(std::sin(phase) * 1.5));
        if ((x + row * 5 + f * 3) % 11 < 6) c.Set(ox + x, y, {150, 200, 255});
      }
  }, {40, 90, 190});
}

TCanvas TreeTop() {
  TCanvas c(32, 32);
  c.Ellipse(16, 17, 15.5f, 15, {30, 100, 40});
  c.Ellipse(12, 13, 8, 7, {50, 135, 55});
  c.Ellipse(21, 12, 6, 5, {60, 150, 60});
  c.Ellipse(17, 22, 7, 5, {40, 120, 45});
  return c;
}

TCanvas Trunk() {
  TCanvas c(32, 32);
  c.Rect(12, 0, 8, 28, {100, 65, 35});
  c.Rect(13, 0, 2, 28, {130, 90, 50});
  c.Rect(9, 26, 14, 4, {90, 58, 30});
  return c;
}

TCanvas Counter() {
  TCanvas c(32, 32, {150, 100, 55});
  for (int y = 4; y < 32; y += 7) c.Rect(0, y, 32, 1, {110, 70, 35});
  c.Rect(0, 0, 32, 4, {190, 140, 80});
  c.Noise(0, 0, 32, 32, 8, 5);
  return c;
}

TCanvas Rune(TRgb glow) {
  TCanvas c(32, 32);
  c.Ellipse(16, 16, 11, 11, Shade(glow, -60));
  c.Ellipse(16, 16, 9, 9, glow);
  c.Ellipse(16, 16, 6, 6, Shade(glow, -60));
  c.Line(16, 9, 16, 23, Shade(glow, 60));
  c.Line(10, 16, 22, 16, Shade(glow, 60));
  return c;
}

TCanvas Sign() {
  TCanvas c(32, 32);
  c.Rect(14, 14, 4, 18, {100, 65, 35});
  c.Rect(4, 4, 24, 13, {170, 125, 70});
  c.Frame(4, 4, 24, 13, {110, 70, 35});
  c.Line(8, 8, 23, 8, {80, 50, 25});
  c.Line(8, 12, 20, 12, {80, 50, 25});
  return c;
}

TCanvas Chest(bool open) {
  TCanvas c(32, 32);
  c.Rect(4, 12, 24, 16, {140, 85, 40});
  c.Frame(4, 12, 24, 16, {90, 55, 25}, 2);
  if (open) {
    c.Rect(4, 4, 24, 8, {110, 65, 30});
    c.Rect(7, 12, 18, 4, {30, 20, 10});
  } else {
    c.Rect(4, 8, 24, 6, {160, 100, 50});
    c.Rect(14, 14, 4, 5, {230, 200, 60});
  }
  return c;
}

TCanvas Gate() {
  TCanvas c(32, 32);
  for (int x = 1; x < 32; x += 6) c.Rect(x, 0, 3, 32, {70, 70, 80});
  c.Rect(0, 4, 32, 3, {90, 90, 100});
  c.Rect(0, 24, 32, 3, {90, 90, 100});
  return c;
}

TCanvas Flowers() {
  TCanvas c(32, 32);
  const TRgb colours[] = {{240, 80, 90}, {250, 220, 70}, {200, 120, 240}, {255, 255, 255}};
  TNoise n(9);
  for (int k = 0; k < 7; ++k) {
    const int x = n.Range(4, 27), y = n.Range(4, 27);
    c.Ellipse(x, y, 2.5f, 2.5f, colours[k % 4]);
    c.Set(x, y, {250, 240, 120});
  }
  return c;
}

TCanvas Torch(int frames) {
  return Strip(frames, [](TCanvas& c, int ox, int f) {
    c.Rect(ox + 14, 16, 4, 14, {100, 65, 35});
    const float h = 7.0f + (f % 2) * 2.0f;
    c.Ellipse(ox + 16 + (f == 2 ? 1 : 0), 12, 4.5f, h, {240, 120, 30});
    c.Ellipse(ox + 16, 13, 2.5f, h * 0.5f, {255, 230, 120});
  });
}

TCanvas Altar() {
  TCanvas c(32, 32);
  c.Rect(3, 12, 26, 18, {170, 170, 185});
  c.Rect(1, 10, 30, 4, {200, 200, 215});
  c.Ellipse(16, 7, 5, 5, {120, 220, 255});
  c.Ellipse(16, 7, 2, 2, {255, 255, 255});
  return c;
}

TCanvas Bush() {
  TCanvas c(32, 32);
  c.Ellipse(16, 18, 13, 11, {35, 95, 40});
  c.Ellipse(11, 15, 6, 5, {55, 130, 55});
  c.Ellipse(21, 19, 5, 4, {50, 120, 50});
  c.Set(12, 20, {200, 40, 50});
  c.Set(20, 13, {200, 40, 50});
  return c;
}

TCanvas Stairs() {
  TCanvas c(32, 32, {40, 35, 45});
  for (int k = 0; k < 4; ++k) c.Rect(2 + k * 3, 4 + k * 7, 28 - k * 6, 5, Shade({150, 140, 150}, -k * 25));
  return c;
}

TCanvas Bridge() {
  TCanvas c(32, 32, {150, 105, 60});
  for (int x = 0; x < 32; x += 8) c.Rect(x, 0, 1, 32, {100, 65, 35});
  c.Rect(0, 0, 32, 2, {90, 60, 30});
  c.Rect(0, 30, 32, 2, {90, 60, 30});
  c.Noise(0, 0, 32, 32, 8, 21);
  return c;
}

TCanvas Coins() {
  TCanvas c(32, 32);
  c.Ellipse(12, 20, 6, 4, {200, 160, 30});
  c.Ellipse(20, 18, 6, 4, {230, 190, 40});
  c.Ellipse(16, 14, 6, 4, {250, 215, 60});
  c.Ellipse(16, 13, 3, 1.5f, {255, 245, 160});
  return c;
}

}  // namespace

void AddTerrainPainters(TPainterTable& t) {
  t["grass.png"] = [] { return Grass({70, 150, 60}, 1); };
  t["darkgrass.png"] = [] { return Grass({40, 105, 50}, 2); };
  t["path.png"] = [] {
    TCanvas c = Ground({190, 160, 110}, 12, 3);
    TNoise n(4);
    for (int k = 0; k < 6; ++k) c.Ellipse(n.Range(3, 28), n.Range(3, 28), 1.5f, 1.2f, {150, 125, 90});
    return c;
  };
  t["cavefloor.png"] = [] { return Ground({75, 65, 80}, 10, 6); };
  t["wall.png"] = [] { return Stones({140, 140, 150}, {80, 80, 90}, 7); };
  t["cavewall.png"] = [] { return Stones({100, 85, 80}, {50, 40, 40}, 8); };
  t["water.png"] = [] { return Water(4); };
  t["treetop.png"] = TreeTop;
  t["trunk.png"] = Trunk;
  t["counter.png"] = Counter;
  t["plate.png"] = [] { return Rune({80, 220, 230}); };
  t["plate_used.png"] = [] { return Rune({120, 120, 130}); };
  t["sign.png"] = Sign;
  t["chest.png"] = [] { return Chest(false); };
  t["chest_open.png"] = [] { return Chest(true); };
  t["gate.png"] = Gate;
  t["flowers.png"] = Flowers;
  t["torch.png"] = [] { return Torch(4); };
  t["altar.png"] = Altar;
  t["bush.png"] = Bush;
  t["stairs.png"] = Stairs;
  t["bridge.png"] = Bridge;
  t["gold.png"] = Coins;
}
