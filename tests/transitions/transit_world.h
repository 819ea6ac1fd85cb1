#pragma once
// A small quest for map changes and saved games: settings on the fixture quest "transit"
// with a user folder of its own, two maps "a.map" (green ground) and "b.map" (blue ground)
// in the map folder and the working folder, sprites of several sizes, item and NPC
// templates, a player, the script engine, and a millisecond clock that the test drives.
#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <string>

#include "core/globals.h"
#include "platform/events/events.h"

// Tiles of the fixture's table and the colours of the two grounds.
enum { kGreenTile = 0, kBlueTile = 1, kFootprintTile = 3, kMarkTile = 5, kWallTile = 6 };
constexpr uint32_t kGreen = 0xFF00FF00, kBlue = 0xFF0000FF;

class TransitWorld : public ::testing::Test {
protected:

  void SetUp() override;
  void TearDown() override;

  // Tile of a square player sprite of that size (4 frames), added to the tile table.
  int SpriteTile(int size);
  // A map with every ground cell of that tile, walkable, and the other layers empty.
  static TMapPtr OpenMap(int groundTile);
  // Writes the map into the map folder and the working folder under that name.
  void ShipMap(const std::string& name, const TMapPtr& map);

  // Each reading of the millisecond clock moves it on by `ms`: with a step far beyond 100
  // ticks every pass of a transition counts exactly one whole tick (the clock's guard
  // repeats the previous count, 1 after its start).
  void StepClock(int ms);
  // The manual clock, advanced by `ms` each time the event queue runs dry (once a pass).
  void ClockPerPass(int ms);
  // Events handed out one at a time while the queue is empty and `ready` holds.
  void Script(std::deque<TEvent> events, std::function<bool()> ready = nullptr);
  // Called whenever the queue runs dry, after the clock and the script have had their turn.
  std::function<void()> onPass;

  // The folder of the user folders and the map folder: a scratch folder of the build tree,
  // unless the test names an empty one before SetUp.
  std::string home;
  int passMs = 0;
  std::deque<TEvent> script;
  std::function<bool()> scriptReady;
};

TEvent Key(int id, int code);
