// Lookup of the touch and talk triggers of object cells.
#include "world/collision.h"

#include "core/globals.h"
#include "platform/graphics/graphics.h"
#include "world/tile.h"

namespace {

// The mask of an object cell: its tile's image, or tile 0's for a cell without a tile.
TImagePtr ObjectMask(const TObject& cell) { return TileImage(cell.tileID < 0 ? 0 : cell.tileID); }

// Visits the nine cells around (x, y), rows above to below, each left to right; the first
// cell of the kind whose rectangle and mask meet the probe ends the search. The probe is
// `image` frame `frame` at (x, y), with a pre-test box of w x h.
int FirstTrigger(int x, int y, TMap& map, int interaction, const TImagePtr& image, int frame,
                 int w, int h) {
  const int c0 = x / 32, r0 = y / 32;
  for (int dy = -1; dy <= 1; ++dy) {
    for (int dx = -1; dx <= 1; ++dx) {
      const int c = c0 + dx, r = r0 + dy;
      if (!InMap(c, r)) continue;
      const TObject& o = map.mapObject[c][r];
      if (o.interaction != interaction) continue;
      if (!RectsOverlap(x, y, w, h, c * 32, r * 32, 32, 32)) continue;
      TImagePtr mask = ObjectMask(o);
      if (mask && image && ImagesCollide(mask, c * 32, r * 32, 0, image, x, y, frame)) {
        triggerX = static_cast<float>(c);
        triggerY = static_cast<float>(r);
        return o.trigger;
      }
    }
  }
  return 0;
}

}  // namespace

int CheckTileTrigger(int x, int y, TMap& map, int interaction, int footprintID) {
  TImagePtr F = TileImage(footprintID);
  const int fw = ImageWidth(F), fh = ImageHeight(F);
  if (!FootprintInField(x, y, fw, fh)) return 0;
  return FirstTrigger(x, y, map, interaction, F, 0, fw, fh);
}

int CheckTileTriggerTalk(int x, int y, TMap& map, int interaction, int direction) {
  if (x < 1) return 0;
  if (y < 1) return 0;
  if (x > 608) return 0;
  if (y > 384) return 0;
  int frame = 3;
  if (direction == 0) frame = 0;
  else if (direction == 180) frame = 1;
  else if (direction == 270) frame = 2;
  if (interaction != 2) return 0;
  return FirstTrigger(x, y, map, interaction, imgTalk, frame, 32, 32);
}
