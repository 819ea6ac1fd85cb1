// Sprite sheets: one strip of 32 x 32 frames, two walking frames for each facing in the
// order up, down, left, right; the swings of the melee weapons; the footprint mask.
#include "tools/questgen/painters.h"

namespace {

constexpr int kUp = 0, kDown = 1, kLeft = 2, kRight = 3;

// `draw(c, ox, facing, frame)` paints each of a sheet's eight frames at column ox.
template <class TDraw>
TCanvas Sheet(TDraw draw) {
  return Strip(8, [&](TCanvas& c, int ox, int i) { draw(c, ox, i / 2, i % 2); });
}

struct TLook {
  TRgb skin, hair, shirt, legs;
  TRgb hat = kMask;  // a hat when not the mask colour
};

// A person seen from above and a little in front; frame 1 swaps the legs. The arms
// reach columns 4 and 27, so the first frame covers the whole width the talk probe needs.
void Person(TCanvas& c, int ox, int facing, int frame, const TLook& l) {
  const int stride = frame ? 2 : 0;
  c.Rect(ox + 10, 24, 5, 6 + (frame ? 0 : 2) - stride / 2, l.legs);
  c.Rect(ox + 17, 24, 5, 6 + (frame ? 2 : 0), l.legs);
  c.Rect(ox + 8, 13, 16, 12, l.shirt);
  c.Rect(ox + 8, 13, 16, 1, Shade(l.shirt, 40));
  const int armShift = frame ? 1 : -1;
  c.Rect(ox + 4, 14 + armShift, 4, 9, Shade(l.shirt, -30));
  c.Rect(ox + 24, 14 - armShift, 4, 9, Shade(l.shirt, -30));
  c.Ellipse(ox + 16, 8, 6.5f, 6.5f, l.skin);
  if (facing == kUp) {
    c.Ellipse(ox + 16, 8, 6.5f, 6.5f, l.hair);
  } else {
    c.Rect(ox + 10, 1, 13, 4, l.hair);
    const TRgb eye{20, 20, 30};
    if (facing == kDown) {
      c.Rect(ox + 13, 8, 2, 2, eye);
      c.Rect(ox + 18, 8, 2, 2, eye);
    } else if (facing == kLeft) {
      c.Rect(ox + 11, 8, 2, 2, eye);
      c.Rect(ox + 18, 2, 5, 8, l.hair);
    } else {
      c.Rect(ox + 20, 8, 2, 2, eye);
      c.Rect(ox + 10, 2, 5, 8, l.hair);
    }
  }
  if (!IsMask(l.hat)) {
    c.Rect(ox + 7, 2, 19, 3, l.hat);
    c.Rect(ox + 11, 0, 11, 3, Shade(l.hat, 25));
  }
}

TCanvas PersonSheet(const TLook& look) {
  return Sheet([&](TCanvas& c, int ox, int f, int k) { Person(c, ox, f, k, look); });
}

// Four legs and a tail, sideways when facing left or right.
void Beast(TCanvas& c, int ox, int facing, int frame, TRgb fur, bool antlers) {
  const TRgb dark = Shade(fur, -45);
  const int step = frame ? 2 : -2;
  if (facing == kLeft || facing == kRight) {
    const int head = facing == kLeft ? 6 : 26;
    c.Ellipse(ox + 16, 18, 10, 6, fur);
    c.Rect(ox + 8 + step, 22, 3, 8, dark);
    c.Rect(ox + 21 - step, 22, 3, 8, dark);
    c.Ellipse(ox + head, 12, 5, 4.5f, fur);
    c.Rect(ox + head - 1, 10, 2, 2, {20, 20, 20});
    c.Line(ox + (facing == kLeft ? 26 : 6), 15, ox + (facing == kLeft ? 30 : 2), 11, dark, 2);
    if (antlers) c.Line(ox + head, 7, ox + head + (facing == kLeft ? -3 : 3), 1, {200, 180, 140}, 2);
  } else {
    c.Ellipse(ox + 16, 18, 7, 10, fur);
    c.Rect(ox + 9, 20 + step, 3, 9, dark);
    c.Rect(ox + 20, 20 - step, 3, 9, dark);
    c.Ellipse(ox + 16, facing == kDown ? 10 : 8, 5, 5, facing == kDown ? Shade(fur, 15) : fur);
    if (facing == kDown) {
      c.Rect(ox + 13, 9, 2, 2, {20, 20, 20});
      c.Rect(ox + 18, 9, 2, 2, {20, 20, 20});
    }
    if (antlers) {
      c.Line(ox + 12, 5, ox + 9, 0, {200, 180, 140}, 2);
      c.Line(ox + 20, 5, ox + 23, 0, {200, 180, 140}, 2);
    }
  }
}

TCanvas BeastSheet(TRgb fur, bool antlers) {
  return Sheet([&](TCanvas& c, int ox, int f, int k) { Beast(c, ox, f, k, fur, antlers); });
}

// A blob that squashes as it moves.
TCanvas BlobSheet(TRgb body, bool ghostly) {
  return Sheet([&](TCanvas& c, int ox, int f, int k) {
    const float rx = k ? 13.0f : 11.0f, ry = k ? 9.0f : 11.0f;
    if (ghostly) {
      c.Ellipse(ox + 16, 13, 10, 11, body);
      c.Rect(ox + 6, 13, 21, 12, body);
      for (int x = 6; x < 27; x += 5) c.Ellipse(ox + x + 2 + k, 25, 2.5f, 3, body);
    } else {
      c.Ellipse(ox + 16, 31 - ry, rx, ry, body);
      c.Ellipse(ox + 12, 31 - ry * 1.4f, 3, 2, Shade(body, 60));
    }
    const int ex = f == kLeft ? -3 : (f == kRight ? 3 : 0);
    if (f != kUp) {
      const int ey = ghostly ? 11 : 31 - static_cast<int>(ry) - 1;
      c.Rect(ox + 12 + ex, ey, 3, 3, {20, 20, 30});
      c.Rect(ox + 18 + ex, ey, 3, 3, {20, 20, 30});
    }
  });
}

// The player holding the blade out: two frames a facing, the blade swept across.
TCanvas SwingSheet(TRgb blade, TRgb handle, const TLook& look) {
  return Sheet([&](TCanvas& c, int ox, int f, int k) {
    Person(c, ox, f, 0, look);
    int x1 = 16, y1 = 18, x2 = 16, y2 = 18;
    if (f == kUp) { x1 = k ? 26 : 6; y1 = 10; x2 = 16; y2 = 0; }
    if (f == kDown) { x1 = k ? 6 : 26; y1 = 22; x2 = 16; y2 = 31; }
    if (f == kLeft) { x1 = 8; y1 = k ? 28 : 6; x2 = 0; y2 = 17; }
    if (f == kRight) { x1 = 24; y1 = k ? 6 : 28; x2 = 31; y2 = 17; }
    c.Line(ox + (x1 + 16) / 2, (y1 + 18) / 2, ox + x1, y1, handle, 3);
    c.Line(ox + x1, y1, ox + x2, y2, blade, 3);
  });
}

const TLook kHero{{240, 200, 160}, {110, 70, 30}, {40, 90, 230}, {60, 50, 90}};
const TLook kArmoured{{240, 200, 160}, {110, 70, 30}, {180, 185, 200}, {90, 90, 110}, {150, 150, 170}};

}  // namespace

void AddSpritePainters(TPainterTable& t) {
  t["player.png"] = [] { return PersonSheet(kHero); };
  t["player_armour.png"] = [] { return PersonSheet(kArmoured); };
  t["footprint.png"] = [] {
    TCanvas c(32, 32);
    c.Rect(8, 22, 16, 10, {0, 0, 0});
    return c;
  };
  t["elder.png"] = [] { return PersonSheet({{230, 190, 150}, {230, 230, 230}, {120, 40, 120}, {80, 30, 80}, {60, 30, 90}}); };
  t["wanderer.png"] = [] { return PersonSheet({{200, 150, 110}, {40, 30, 20}, {200, 150, 40}, {100, 80, 40}}); };
  t["archer.png"] = [] { return PersonSheet({{220, 180, 140}, {30, 30, 30}, {50, 110, 50}, {40, 60, 30}, {30, 80, 30}}); };
  t["dog.png"] = [] { return BeastSheet({170, 120, 60}, false); };
  t["deer.png"] = [] { return BeastSheet({190, 140, 90}, true); };
  t["slime.png"] = [] { return BlobSheet({90, 200, 70}, false); };
  t["ghost.png"] = [] { return BlobSheet({200, 210, 240}, true); };
  t["swing.png"] = [] { return SwingSheet({220, 225, 235}, {120, 80, 40}, kHero); };
  t["swing_fire.png"] = [] { return SwingSheet({255, 140, 40}, {120, 80, 40}, kHero); };
  t["chop.png"] = [] { return SwingSheet({150, 150, 160}, {140, 90, 40}, kHero); };
}
