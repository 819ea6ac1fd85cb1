#pragma once
// Loaders of the data tables and of NPC files.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>
#include "platform/audio/audio.h"
#include "platform/files/files.h"
#include "world/actor.h"
#include "world/item.h"
#include "world/tile.h"

std::vector<TTilePtr> LoadImages(const std::string& path);
std::vector<TSoundPtr> LoadSounds(const std::string& path, int flags);
std::vector<std::string> LoadMusic(const std::string& path);
std::vector<std::string> LoadTriggers(const std::string& path);
std::vector<TItemPtr> LoadItems(const std::string& path);
// A table that cannot be opened reads as empty and says so on standard error; for the NPC
// loader only when `required`. The quest's npc.dat has no bound of size or number.
std::vector<TActorPtr> LoadNPCs(const std::string& path, bool required = false);
// A map's NPC status file in the working folder, which may come with another player's save:
// a file over NPC_FILE_BYTES is refused as one that cannot be opened, at most NPC_FILE_NPCS
// NPCs are read (the lines after them are left out), and positions and speeds beyond
// NPC_REACH are held there (one that is not a number is 0). Each is said on standard error
// with the file and line. A missing file reads as no NPCs.
std::vector<TActorPtr> LoadMapNPCs(const std::string& path);
// Null (std::nullopt-like: an empty pointer) when the separator is not one character.
std::unique_ptr<std::vector<std::string>> SplitString(const std::string& text, const std::string& separator);
