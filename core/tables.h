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
// loader only when `required`: a map's NPC file is missing until the map is first left. A
// file over maxBytes is refused as one that cannot be opened: the quest's npc.dat has no
// bound, a map's NPC file in the user folder has NPC_FILE_BYTES.
std::vector<TActorPtr> LoadNPCs(const std::string& path, bool required = false,
                                int64_t maxBytes = ANY_SIZE);
// Null (std::nullopt-like: an empty pointer) when the separator is not one character.
std::unique_ptr<std::vector<std::string>> SplitString(const std::string& text, const std::string& separator);
