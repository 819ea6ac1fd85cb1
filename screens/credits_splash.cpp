// The credits picture and the timed splash pictures of scripts.
#include <cstdint>

#include "core/game.h"
#include "core/globals.h"
#include "core/quest_files.h"
#include "screens/screens.h"

int DisplayCredits() {
  Cls();
  for (;;) {
    SetColor(255, 255, 255);
    DrawImage(imgMenu, 0, 0, 0);
    DrawImage(imgCredits, 0, 0, 0);
    Flip(0);
    PollEvent();
    if (EventID() != EVENT_KEYDOWN) continue;
    const int code = EventData();
    if (code == settings->kEnter || code == 13 || code == 27 || code == settings->kExit) return 0;
  }
}

namespace {

enum class TPhase { FadeIn, Hold, FadeOut };

// The picture under a black cover of alpha 1 - fade; colour and alpha end white and 1.
void DrawCovered(const TImagePtr& picture, float fade) {
  DrawImage(picture, 0, 0, 0);
  SetAlpha(1.0f - fade);
  SetColor(0, 0, 0);
  DrawRect(0, 0, 640, 480);
  SetColor(255, 255, 255);
  SetAlpha(1.0f);
}

}  // namespace

int DisplaySplash(const std::string& image, int seconds, int noSkip) {
  float fade = 0.0f;
  TPhase phase = TPhase::FadeIn;
  const TTimerPtr timer = CreateTimer(60);
  // A missing picture leaves only the black cover: the splash fades a black screen.
  const TImagePtr picture = LoadQuestImage(settings->imageDir + image);
  // 60 ticks a second, counted in 64 bits: no number of seconds holds shorter than asked.
  const int64_t holdTicks = int64_t{seconds} * 60;
  int64_t held = 0;
  for (;;) {
    PollEvent();
    PassRelease();
    const int id = EventID();
    if (id == EVENT_KEYDOWN) {
      if (noSkip == 0 && EventData() == settings->kEnter) {
        SetAlpha(1.0f);
        SetColor(255, 255, 255);
        Cls();
        Flip(0);
        StopTimer(timer);
        return 0;
      }
    } else if (id == EVENT_TIMERTICK && EventSource() == timer) {
      bool done = false;
      switch (phase) {
        case TPhase::FadeIn:
          DrawCovered(picture, fade);
          fade += 0.05f;
          if (fade >= 0.95f) phase = TPhase::Hold;
          break;
        case TPhase::Hold:
          DrawImage(picture, 0, 0, 0);
          if (++held >= holdTicks) phase = TPhase::FadeOut;
          break;
        case TPhase::FadeOut:
          DrawCovered(picture, fade);
          fade -= 0.05f;
          if (fade <= 0.01f) {
            Cls();
            done = true;
          }
          break;
      }
      Flip(0);
      if (done) break;
    }
  }
  StopTimer(timer);
  return 0;
}
