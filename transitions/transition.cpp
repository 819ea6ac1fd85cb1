// The change of map: one of eight effects played in a modal loop on a 60 Hz clock of its own.
#include <cmath>

#include "core/game.h"
#include "core/globals.h"
#include "core/logic.h"
#include "platform/display/display.h"
#include "platform/events/events.h"
#include "platform/graphics/graphics.h"
#include "transitions/transitions.h"
#include "world/missile.h"
#include "world/update.h"

namespace {

constexpr float kFieldWidth = 640.0f;
constexpr float kFieldHeight = 416.0f;

enum Effect { kFade, kScrollLeft, kScrollRight, kScrollUp, kScrollDown, kZoom, kFlash, kCut };

class Transition {
public:
  Transition(TMapPtr& current, TMapPtr& next, int type) : current_(current), next_(next), type_(type) {}

  void Draw() {
    // Scroll offsets are carried unrounded and drawn at whole pixels.
    const float ox = std::floor(offsetX_), oy = std::floor(offsetY_);
    switch (type_) {
      case kFade:
        DrawWhole(phaseIn_ ? next_ : current_, 0, 0);
        Cover(0, 0, 0);
        break;
      case kScrollLeft:
        DrawWhole(current_, ox, 0);
        DrawWhole(next_, ox + kFieldWidth, 0);
        break;
      case kScrollRight:
        DrawWhole(current_, ox, 0);
        DrawWhole(next_, ox - kFieldWidth, 0);
        break;
      case kScrollUp:
        DrawWhole(current_, 0, oy);
        DrawWhole(next_, 0, oy + kFieldHeight);
        break;
      case kScrollDown:
        DrawWhole(current_, 0, oy);
        DrawWhole(next_, 0, oy - kFieldHeight);
        break;
      case kZoom:
        // Each cell image shrinks about its own corner while the cells keep their places.
        Cls();
        SetScale(1.0f - progress_, 1.0f - progress_);
        DrawWhole(phaseIn_ ? next_ : current_, 0, 0);
        SetScale(1.0f, 1.0f);
        break;
      case kFlash:
        DrawWhole(current_, 0, 0);
        Cover(255, 0, 0);
        break;
      default:
        break;  // the cut draws nothing in its one pass
    }
  }

  // One advance by the global Delta; true once the effect has ended.
  bool Advance() {
    const float step = Delta;
    switch (type_) {
      case kFade:
        return Phased(0.05f * step, 0.01f);
      case kScrollLeft:
        offsetX_ -= 16.0f * step;
        return offsetX_ + kFieldWidth <= 0.0f;
      case kScrollRight:
        offsetX_ += 16.0f * step;
        return offsetX_ >= kFieldWidth;
      case kScrollUp:
        offsetY_ -= 16.0f * step;
        return offsetY_ + kFieldHeight <= 0.0f;
      case kScrollDown:
        offsetY_ += 16.0f * step;
        return offsetY_ >= kFieldHeight;
      case kZoom:
        return Phased(0.02f * step, 0.0f);
      case kFlash:
        progress_ = progress_ + 0.02f * step;
        return progress_ >= 1.0f;
      default:
        return true;
    }
  }

  void Complete() {
    if (type_ == kFlash) return;
    const TMapPtr entered = next_;
    current_ = entered->CopyMap();
    if (!player) return;
    const TImagePtr sprite = TileImage(player->tileID);
    const int w = ImageWidth(sprite), h = ImageHeight(sprite);
    float x = player->X, y = player->Y;
    switch (type_) {
      case kScrollLeft: x = static_cast<float>(33 + (32 - w) / 2); break;
      case kScrollRight: x = static_cast<float>(575 + (32 - w) / 2); break;
      case kScrollUp: y = static_cast<float>(33 + (32 - h) / 2); break;
      case kScrollDown: y = static_cast<float>(351 + (32 - h) / 2); break;
      default: return;
    }
    player->MoveActor(x, y, *entered, -1, 1);
  }

private:
  static void DrawWhole(const TMapPtr& map, float x, float y) {
    map->DrawMap(x, y);
    map->DrawOverlay(x, y);
  }

  // A rectangle over the play field at alpha = progress; the drawing state comes back after.
  void Cover(int r, int g, int b) const {
    SetColor(r, g, b);
    SetAlpha(progress_);
    DrawRect(0, 0, kFieldWidth, kFieldHeight);
    SetColor(255, 255, 255);
    SetAlpha(1.0f);
  }

  // Out: progress grows to 1, then in: it falls until it reaches `end`.
  bool Phased(float change, float end) {
    if (!phaseIn_) {
      progress_ = progress_ + change;
      if (progress_ >= 1.0f) phaseIn_ = true;
      return false;
    }
    progress_ = progress_ - change;
    return progress_ <= end;
  }

  TMapPtr& current_;
  TMapPtr& next_;
  int type_;
  float offsetX_ = 0.0f, offsetY_ = 0.0f, progress_ = 0.0f;
  bool phaseIn_ = false;
};

// Key presses act as in play, less what must not run between two maps; key releases stop
// the player; everything else (mouse buttons among it) is dropped.
void DispatchEvent() {
  PollEvent();
  if (EventID() == EVENT_KEYDOWN) {
    GetKeyDownInTransition(EventData());
  } else {
    PassRelease();
  }
}

}  // namespace

int TransitionMap(TMapPtr& current, TMapPtr& next, int type) {
  if (type < kFade || type > kCut) type = kCut;
  TFixedRateLogic clock;
  clock.Framerate = 60.0f;
  ClearNPCList();
  ClearMissileList();
  clock.Init();
  Transition effect(current, next, type);
  for (bool done = false; !done;) {
    clock.Calc();
    effect.Draw();
    bool ended = type == kCut;
    const double whole = std::floor(clock.NumTicks);
    for (double i = 0; i < whole && !ended; ++i) {
      clock.SetDelta(1.0f);
      ended = effect.Advance();
    }
    const double fraction = clock.NumTicks - whole;
    if (!ended && fraction > 0.0) {
      clock.SetDelta(static_cast<float>(fraction));
      ended = effect.Advance();
    }
    if (ended) {
      effect.Complete();
      done = true;
    }
    DrawInterface();
    Flip(0);
    DispatchEvent();
  }
  if (FixedRateLogic) FixedRateLogic->Init();
  return 0;
}
