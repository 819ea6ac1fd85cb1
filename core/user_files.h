#pragma once
// The largest file of each kind that the game reads from the user folder: far above what
// the game writes, far below what could exhaust memory or disk. A file over its bound is
// refused before it is read, as a damaged one is. The quest folder is its author's program
// and has no bounds; a map file is read for its 7556 bytes wherever it lies.
#include <cstdint>

constexpr int64_t CONFIG_FILE_BYTES = 64 * 1024;      // 19 bytes and seven folder lines
constexpr int64_t NPC_FILE_BYTES = 1024 * 1024;       // a map's NPC file: ~100 bytes an NPC
constexpr int64_t SAVE_RECORD_BYTES = 1024 * 1024;    // 3248 bytes and 97 short lines
constexpr int64_t SCRIPT_FILE_BYTES = 1024 * 1024;    // a save script: three lines
constexpr int64_t THUMBNAIL_BYTES = 1024 * 1024;      // a PNG of 147 x 96 pixels
// Any one file copied between a slot folder and the working folder: a map, an NPC status
// file, the thumbnail (one of the quest's own map files may be larger: WorkingFileBound).
constexpr int64_t WORKING_FILE_BYTES = 4 * 1024 * 1024;
