#pragma once
// The working folder's copies of the maps. Every copy into it goes through here and is
// checked: one that fails is reported with the file and the reason, and the game does not
// play a working folder that did not arrive whole.
#include <cstdint>
#include <string>

// The results are "" when done, else what failed, naming the file and the reason: "Could
// not copy /q/Maps/forest.map to /u/Temporary Files/forest.map: No space left on device".

// The map folder is the quest's: its files are copied whatever their size, and what holds no
// file to copy (a FIFO, a device) is passed over. A slot's files come from the user folder:
// each is held to WorkingFileBound, and a link or a FIFO among them fails the copy.

// The largest file of this name that a slot may bring into the working folder, or that a
// save copies into a slot: WORKING_FILE_BYTES, or the size of the map folder's own file of
// that name when it is larger, so that a quest's large file comes back from its saves.
int64_t WorkingFileBound(const std::string& name);
// Empties the working folder and copies the map folder's files into it, and with
// `subFolders` its sub-folders too.
std::string RefillWorkingFolder(bool subFolders);
// Empties the working folder (it stays, empty).
std::string ClearWorkingFolder();
// Copies every file of the map folder (not its sub-folders) into the working folder, each
// replacing the file of its name.
std::string CopyMapsIntoWorkingFolder();
// Copies every file of a slot folder (not its sub-folders) into the working folder, each
// replacing the file of its name.
std::string CopyIntoWorkingFolder(const std::string& folder);
// What CopyIntoWorkingFolder would fail on before it copies anything: a file of the slot
// folder that cannot be read whole (a link, a FIFO, a file over its bound). Nothing is
// changed.
std::string CheckCopyIntoWorkingFolder(const std::string& folder);
// False from a failed copy or clearing until the next refill that succeeds.
bool WorkingFolderWhole();

// During play: the working folder becomes a fresh copy of the map folder, files and
// sub-folders. A failure is said on standard error and in a text box over the title
// picture, and the result is false: the caller goes to the title.
bool ResetWorkingFolder();
