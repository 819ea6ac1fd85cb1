// The steps of a trip to another map, and what keeps trips nested in its triggers sound: an
// exit or entry trigger, or a touch trigger where the transition places the player, may
// travel on from inside a trip.
#include <algorithm>
#include <string>
#include <vector>

#include "core/globals.h"
#include "core/tables.h"
#include "core/user_files.h"
#include "scripting/commands.h"
#include "transitions/transitions.h"

namespace {

// Trips begun so far. A trip that sees the count move while one of its triggers ran knows
// that a nested trip has left the map and finished arriving somewhere: nothing is left to do.
unsigned tripsBegun = 0;
// From a trip's transition until the map in play has its saved NPCs back in the list.
bool savedNPCsPending = false;
// The maps whose exit trigger is running, by working copy.
std::vector<std::string> exitsRunning;

// The NPCs saved for the map in play join the list, once per arrival.
void ReadSavedNPCs() {
  if (!savedNPCsPending) return;
  savedNPCsPending = false;
  if (currentMap->mapFile.empty()) return;
  for (const TActorPtr& npc : LoadMapNPCs(currentMap->mapFile + ".npc"))
    npcList.AddLast(npc->CopyActor("", -1.0f, -1.0f));
}

// Runs the exit trigger of the map in play unless it is already running for that map: an
// exit trigger that travels without clearing itself would otherwise meet itself again.
void RunExitTrigger() {
  const std::string map = currentMap->mapFile;
  if (std::find(exitsRunning.begin(), exitsRunning.end(), map) != exitsRunning.end()) return;
  struct TRunning {
    explicit TRunning(const std::string& map) { exitsRunning.push_back(map); }
    ~TRunning() { exitsRunning.pop_back(); }
  } running(map);
  RunTrigger(currentMap->mapExitTrigger);
}

}  // namespace

int TravelToMap(const std::string& path, int transition) {
  // A map left while it is still arriving keeps its saved NPCs: they are in the list before
  // its exit trigger runs and the list is written.
  ReadSavedNPCs();
  nextMap->LoadMap(path);
  const unsigned before = tripsBegun;
  RunExitTrigger();
  if (tripsBegun != before) return 0;
  if (!currentMap->mapFile.empty()) SaveMapStatus();
  const unsigned trip = ++tripsBegun;
  savedNPCsPending = true;
  TransitionMap(currentMap, nextMap, transition);
  if (tripsBegun != trip) return 0;
  RunTrigger(currentMap->mapEntryTrigger);
  // The entry trigger may have travelled on: then the NPCs are already those of the map in
  // play, read by the trip nested in it.
  if (tripsBegun != trip) return 0;
  ReadSavedNPCs();
  return 0;
}
