#pragma once
// A small world for the script commands: settings on the fixture quest "scripting" with a
// working folder of its own, an open current map, a few solid tiles, item and NPC templates,
// a player, and a freshly set-up script engine.
#include <gtest/gtest.h>

#include <string>

#include "core/globals.h"
#include "support/files.h"

class ScriptWorldTest : public ::testing::Test {
protected:
  void SetUp() override;
  void TearDown() override;

  // A fresh world, for each case of a table.
  void Reset() {
    TearDown();
    SetUp();
  }
  // Runs the script with `r` cleared first; the value of `r` afterwards as text, preceded by
  // "ended " when the script did not run to its end.
  std::string Outcome(const std::string& script);

  // Appends an NPC made from template 0 with that name and position to npcList.
  TActorPtr AddGuard(const std::string& name, float x, float y);
  // A blank, open map (ground walkable, the other layers empty) as TMap.Create makes and the
  // fixture uses for currentMap.
  static TMapPtr OpenMap();

  std::string home;  // user folder of this test, removed afterwards
};
