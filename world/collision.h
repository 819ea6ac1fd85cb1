#pragma once
// Walkability, flyability and trigger lookup against the map's cells.
#include "world/map.h"

int RectsOverlap(int x1, int y1, int w1, int h1, int x2, int y2, int w2, int h2);
// True when a footprint of fw x fh at (x, y) lies where actors may stand on the field.
bool FootprintInField(double x, double y, int fw, int fh);
int CheckWalkability(float x, float y, int w, int h, TMap& map, int footprintID);
int CheckFlyability(float x, float y, int w, int h, TMap& map, int missileTile, int rotation);
int CheckTileTrigger(int x, int y, TMap& map, int interaction, int footprintID);
int CheckTileTriggerTalk(int x, int y, TMap& map, int interaction, int direction);
