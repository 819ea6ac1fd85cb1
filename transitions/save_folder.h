#pragma once
// The save folder: which entries are save records, what a slot folder may hold, and the one
// commit through which a save replaces a slot's record, save script and slot folder together.
#include <string>

constexpr int SAVE_SLOTS = 3;

// A save record's entry name, "<slot>.<name>.sav" with a slot digit below SAVE_SLOTS and a name of at
// least one character: true, with the slot and the name, for such a name only.
bool ParseSaveRecordName(const std::string& entry, int& slot, std::string& name);

// Why the folder's entries are more than a slot folder may hold (SLOT_ENTRIES entries, files
// of SLOT_BYTES in all beyond the sizes of the quest's own files of their names in Maps/);
// empty when they are not. A load checks the slot folder before it
// copies anything, a save the working folder before it copies it, so that every slot that
// can be saved can be loaded.
std::string SlotContentsFailure(const std::string& folder);

// A save stages the slot's new entries in a folder of the save folder (StagingFolder),
// makes them durable, and commits them by renaming that folder (CommitFolder).
std::string StagingFolder(int slot);
std::string CommitFolder(int slot);

// Ends an interrupted save of the slot: one that never reached its commit leaves nothing
// behind, a committed one is moved into place (the slot's other records and scripts and
// its old folder go). False when a step failed; the commit then stays for the next try.
bool FinishSlotCommit(int slot);
// The same for every slot: run at start-up and before the slots are listed.
void RecoverSaves();
