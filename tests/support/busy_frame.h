#pragma once
// The busiest game picture, shared by the frame benchmarks and the pixel tests that hold the
// drawing to its pictures: the map's four layers full (ground, features and objects with a
// quarter of their pixels masked out, the overlay at alpha 0.5; half of the tiles animated),
// 200 NPCs, 100 missiles flying in the eight directions (half of them spinning, of two kinds:
// a 32 x 32 arrow and an animated 25 x 25 ball), the player, and the interface strip.
// Drawing state as the display set-up leaves it. No animation timers: the frames stay put.
namespace testsupport {

enum { kBusyMapTiles = 8, kBusyArrowTile = 8, kBusyBallTile = 9 };

void SetUpBusyFrame();

}  // namespace testsupport
