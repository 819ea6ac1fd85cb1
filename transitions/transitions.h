#pragma once
// Map transitions, NPC status files and saved games.
#include <string>
#include "world/actor.h"
#include "world/map.h"

// Plays effect `type` (0 to 7; any other number plays as 7, the cut) in a modal loop of its
// own and, for every type but 6, makes `current` a copy of `next`. Only the direction keys
// reach GetKeyDown meanwhile. Always 0.
int TransitionMap(TMapPtr& current, TMapPtr& next, int type);

// A trip to the map whose working copy is at `path`: reads it into nextMap, runs the exit
// trigger, saves the map left, plays the transition, runs the entry trigger and adds the NPCs
// saved for the map entered. Trips nested in its triggers are done once: the map passed
// through keeps its NPCs, and the map in play gets its saved NPCs and its entry trigger once
// per arrival. Always 0.
int TravelToMap(const std::string& path, int transition);

// Writes the current map to its working copy and the NPC list to its status file (the
// copy's path + ".npc"); nothing for a map without a file. Always 0.
int SaveMapStatus();
// The same, reporting whether both files were written (true for a map without a file).
bool WriteMapStatus();
// One line of an NPC file (without its line end): 17 fields joined with ",".
std::string NPCStatusLine(const TActor& npc);

// Save slots, both paths in the save folder as the save dialog builds them: 1 when the slot
// was written whole, 0 when a step failed (the old slot stays).
int SaveGame(const std::string& savePath, const std::string& slotDir);
// 1 when the slot was loaded; 0 when its record or save script was refused or a copy into
// the working folder failed before anything changed, and nothing of the game in play changed;
// -1 when the load stopped part-way (a copy failed), and the working folder holds the shipped
// maps alone. A refusal or failure is said on standard error.
int LoadGame(const std::string& savePath, const std::string& slotDir);
