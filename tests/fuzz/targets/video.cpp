// Ogg Theora videos: the player opened on the file, then stepped to the end of the video
// (or a bounded number of steps) in colour, as the video screen does.
#include "fuzz/harness.h"
#include "media/theora.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const TtheoraPtr player = OpenTheora(fuzz::InputFile(data, size, "input.ogv"), 4096);
  if (!player) return 0;
  player->sync = 0;
  const TPixmapPtr picture = CreatePixmap(TheoraWidth(player, 0), TheoraHeight(player, 0));
  for (int step = 0; step < 2000 && !EOT(player); ++step) DrawTheora(player, picture);
  CloseTheora(player);
  return 0;
}
