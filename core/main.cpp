// The program entry.
#include <cstdio>

#include "core/game.h"

int main() {
  // Scripts' print reaches a log file or a pipe line by line while the game runs, as it does
  // a terminal.
  std::setvbuf(stdout, nullptr, _IOLBF, BUFSIZ);
  CorvelMain();
}
