// Turned frames kept for drawing again: a frame's covered pixels at one turn, sampled as the
// general drawing path samples them with the frame's handle on the pixel (0, 0), and blended
// from there as that path blends them. Placed on whole pixels, a frame covers the same pixels
// with the same samples wherever it lands (a whole-pixel shift changes none of the sampling's
// decisions), so the store's picture is the path's picture.
#include <algorithm>
#include <cmath>
#include <unordered_map>
#include <vector>

#include "platform/graphics/blend.h"
#include "platform/graphics/draw_internal.h"

namespace {

// A row's covered pixels [x0, x1), relative to the drawing position, and where their samples
// begin.
struct TTurnedRow {
  int y, x0, x1;
  size_t at;
};

// A frame at one turn, with what it was made from.
struct TTurnedFrame {
  std::weak_ptr<TImage> image;
  const TPixmap* pixmap = nullptr;
  int width = 0, height = 0;
  double handleX = 0, handleY = 0;
  int left = 0;  // the leftmost covered column, relative to the drawing position
  std::vector<TTurnedRow> rows;
  std::vector<uint8_t> samples;

  bool Fits(const TImagePtr& from, const TFrameSource& f, const TPlacement& p) const {
    return image.lock() == from && pixmap == f.pixmap && width == f.width &&
           height == f.height && handleX == p.handleX && handleY == p.handleY;
  }
};

struct TKey {
  const TImage* image;
  int frame;
  double turn;
  bool operator==(const TKey&) const = default;
};

struct THashKey {
  size_t operator()(const TKey& k) const {
    return std::hash<const void*>()(k.image) ^ (std::hash<int>()(k.frame) * 31) ^
           (std::hash<double>()(k.turn) * 131);
  }
};

// Turned once about its handle placed on (0, 0), as DrawFrame samples filtered frames.
TTurnedFrame Turn(const TImagePtr& image, const TFrameSource& f, const TPlacement& place) {
  TTurnedFrame t;
  t.image = image;
  t.pixmap = f.pixmap;
  t.width = f.width;
  t.height = f.height;
  t.handleX = place.handleX;
  t.handleY = place.handleY;
  TPlacement p = place;
  p.x = 0;
  p.y = 0;
  const TPixelMap map(f.width, f.height, p);
  t.left = map.bx1;
  for (int py = map.by0; py < map.by1; ++py) {
    int x0, x1;
    if (!map.RowSpan(py, x0, x1)) continue;
    t.rows.push_back({py, x0, x1, t.samples.size()});
    t.left = std::min(t.left, x0);
    SampleRow(f, map, py, x0, x1, [&t](int, int n, const uint8_t* samples) {
      t.samples.insert(t.samples.end(), samples, samples + 4 * n);
    });
  }
  return t;
}

// Whole pixels that the frame can be drawn at from its samples.
bool OnWholePixels(const TPlacement& p) {
  constexpr double kFar = 1 << 24;
  return p.x == std::floor(p.x) && p.y == std::floor(p.y) && std::fabs(p.x) < kFar &&
         std::fabs(p.y) < kFar;
}

void DrawTurned(TGraphics& g, const TTurnedFrame& t, int x, int y) {
  const TClip clip = ClipOf(g);
  const TBlendState state(g);
  TPixmap& back = *g.backBuffer;
  for (const TTurnedRow& row : t.rows) {
    const int py = y + row.y;
    if (py < clip.y0 || py >= clip.y1) continue;
    const int x0 = x + row.x0, x1 = std::min(x + row.x1, clip.x1);
    // In pieces of 256 from the row's start, as the general path blends its samples.
    for (int px = x0; px < x1; px += 256) {
      const int n = std::min(256, x1 - px);
      BlendRect(back.PixelPtr(px, py), 0, &t.samples[row.at + 4 * static_cast<size_t>(px - x0)], 0,
                n, 1, state);
    }
  }
}

}  // namespace

struct TTurnedFrames::TStore {
  size_t maxBytes = 0, bytes = 0;
  std::unordered_map<TKey, TTurnedFrame, THashKey> frames;
};

TTurnedFrames::TTurnedFrames(size_t maxBytes) : store_(std::make_unique<TStore>()) {
  store_->maxBytes = maxBytes;
}

TTurnedFrames::~TTurnedFrames() = default;

void TTurnedFrames::Clear() {
  store_->frames.clear();
  store_->bytes = 0;
}

void DrawImage(const TImagePtr& image, float x, float y, int frame, TTurnedFrames& turned) {
  TFrameSource f;
  if (!GetFrame(image, frame, f)) return;
  TGraphics& g = ActiveContext();
  const TPlacement p = PlaceImage(g, *image, x, y);
  const bool filtered = image->flags & FILTEREDIMAGE;
  const TPixelMap map(f.width, f.height, p);
  // What the general path does not sample (1:1 copies, unfiltered frames) gains nothing here.
  const bool sampled = filtered && !(map.Axis() && !map.OffGrid());
  if (!sampled || p.scaleX != 1 || p.scaleY != 1 || !OnWholePixels(p)) {
    DrawFrame(g, f, p, filtered);
    return;
  }
  TTurnedFrames::TStore& store = *turned.store_;
  const TKey key{image.get(), frame, TurnOf(p.degrees)};
  auto it = store.frames.find(key);
  if (it == store.frames.end() || !it->second.Fits(image, f, p)) {
    TTurnedFrame made = Turn(image, f, p);
    if (it != store.frames.end()) {
      store.bytes -= it->second.samples.size();
      store.frames.erase(it);
    }
    if (store.bytes + made.samples.size() > store.maxBytes) turned.Clear();
    store.bytes += made.samples.size();
    it = store.frames.emplace(key, std::move(made)).first;
  }
  const int ix = static_cast<int>(p.x), iy = static_cast<int>(p.y);
  // Cut at the viewport's left edge, the general path samples from that edge on.
  if (ix + it->second.left < ClipOf(g).x0) {
    DrawFrame(g, f, p, filtered);
    return;
  }
  DrawTurned(g, it->second, ix, iy);
}
