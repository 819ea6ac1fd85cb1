// Sound effects and the choice of music, under the sound and music switches.
#include "core/game.h"
#include "core/globals.h"
#include "core/quest_files.h"
#include "media/media.h"

int PlaySoundEffect(int n) {
  if (!settings || settings->sound != 1) return 0;
  if (n < 0 || static_cast<size_t>(n) >= sound.size()) return 0;
  PlaySound(sound[n], nullptr);
  return 0;
}

int PlayMusic(int n) {
  lastMusic = n;
  StopChannel(musicChannel);
  TChannelPtr stream;
  // An empty line of the music table leaves its number without a track, by design.
  if (n >= 0 && static_cast<size_t>(n) < music.size() && !StripDir(music[n]).empty()) {
    stream = CreateMusicStream(music[n], 1, 1);
  }
  // No track (a number outside the table, or a file that did not open): an idle channel.
  musicChannel = stream ? stream : AllocChannel();
  if (!settings || settings->music != 1) PauseChannel(musicChannel);
  return 0;
}
