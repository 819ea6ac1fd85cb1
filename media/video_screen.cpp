// The video screen: a modal loop that plays a video from the image folder until it ends or
// the confirm key is pressed.
#include "core/game.h"
#include "core/globals.h"
#include "media/media.h"
#include "media/theora.h"
#include "platform/display/display.h"
#include "platform/events/events.h"

int DisplayVideo(const std::string& file) {
  FlushKeys();
  // A video that cannot be played is skipped; the player has said why on standard error.
  TtheoraPtr player = OpenTheora(settings->imageDir + file, 4096);
  if (!player) {
    FlushKeys();
    return 0;
  }
  TImagePtr image = CreateImage(TheoraWidth(player, 0), TheoraHeight(player, 0), 1, -1);
  StartTheora(player, 0);
  int quit = 0;
  while (EOT(player) == 0 && quit == 0) {
    if (DrawTheoraImage(player, image, 0) == 1) {
      DrawImage(image, 0, 0, 0);
      Flip(-1);
    }
    PollEvent();
    const int id = EventID();
    if (id == EVENT_KEYDOWN && EventData() == settings->kEnter) quit = 1;
    PassRelease();
  }
  CloseTheora(player);
  FlushKeys();
  return 0;
}
