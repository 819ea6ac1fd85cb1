#pragma once
// The largest file of each kind that the game reads from the user folder, and the most that
// some of them may bring: far above what the game writes, far below what could exhaust
// memory, disk or time. A file over its bound is refused before it is read, as a damaged one
// is. The quest folder is its author's program
// and has no bounds; a map file is read for its 7556 bytes wherever it lies.
#include <cstddef>
#include <cstdint>

constexpr int64_t CONFIG_FILE_BYTES = 64 * 1024;      // 19 bytes and seven folder lines
constexpr int64_t NPC_FILE_BYTES = 1024 * 1024;       // a map's NPC file: ~100 bytes an NPC
constexpr int64_t SAVE_RECORD_BYTES = 1024 * 1024;    // 3248 bytes and 97 short lines
constexpr int64_t SCRIPT_FILE_BYTES = 1024 * 1024;    // a save script: three lines
constexpr int64_t THUMBNAIL_BYTES = 1024 * 1024;      // a PNG of 147 x 96 pixels
// The thumbnail's picture, checked before it is decoded: at most the play field it shows
// (640 x 416, 19 times the game's own, 1 MB decoded).
constexpr int64_t THUMBNAIL_PIXELS = 640 * 416;
// The NPCs of one NPC status file: a map is 20 x 13 cells, so this is about one on every
// cell; a map rarely shows more than a few dozen.
constexpr size_t NPC_FILE_NPCS = 256;
// Positions and speeds of those NPCs, in pixels: within it a float holds every whole pixel
// and no sum of a position and a size leaves the range of an int.
constexpr float NPC_REACH = 16777216.0f;
// Any one file copied between a slot folder and the working folder: a map, an NPC status
// file, the thumbnail (one of the quest's own map files may be larger: WorkingFileBound).
constexpr int64_t WORKING_FILE_BYTES = 4 * 1024 * 1024;
// A slot folder, the copy of a working folder: a map file of 7556 bytes and an NPC status file
// for every map of the quest, and the thumbnail. 4096 entries are a quest of 2047 maps; 64 MB
// hold those 2047 maps with an NPC file of 25 KB (250 NPCs) each. Bytes are counted as each
// file says, not as the disk holds them: a sparse file counts whole, as its copy would.
constexpr int64_t SLOT_ENTRIES = 4096;
constexpr int64_t SLOT_BYTES = 64 * 1024 * 1024;
