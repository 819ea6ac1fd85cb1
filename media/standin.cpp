// Video entry point until the video player is built: videos are skipped.
#include "media/media.h"

void TheoraModuleInit() {}

int DisplayVideo(const std::string& file) {
  (void)file;
  return 0;
}
