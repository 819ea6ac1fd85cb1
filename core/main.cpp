// The program entry.
#include "core/game.h"

int main() { CorvelMain(); }
