#pragma once
// Files, folders and paths (here) and byte streams over files (stream.h). Paths use "/";
// results are reported, never thrown.
//
// Below the user folder nothing is ever reached through a link: each folder on the way is
// opened without following one, and an entry that is a link is acted on as itself (removed,
// renamed) or refused (read, written, copied, listed). Anywhere, only ordinary files are
// read or written, never in a way that could block (a FIFO, a device). Each refusal is one
// line on standard error: "Refused to <verb> <path>: <why>".
#include <cstdint>
#include <string>
#include <vector>

enum { FILETYPE_NONE = 0, FILETYPE_FILE = 1, FILETYPE_DIR = 2 };

// No bound on the size of a file read or copied.
constexpr int64_t ANY_SIZE = INT64_MAX;

// The folder below which no link is followed; the path up to and including it may hold
// links. Empty: none.
void SetUserFolder(const std::string& path);
// What the last failed operation could not do and why, in one line: "Could not write
// /u/config.dat.new: No space left on device", "Could not read /u/x: it is a link".
std::string FileFailure();

// True when the folder exists and can be read.
bool ReadDir(const std::string& path);
// Entry names without the folder, in the order the system lists them; "." and ".." left
// out when skipDots is 1; empty when the folder cannot be read.
std::vector<std::string> LoadDir(const std::string& path, int skipDots = 1);
// A folder, or anything else that is there (below the user folder a link is FILETYPE_FILE
// whatever it leads to), or nothing.
int FileType(const std::string& path);
// The size in bytes of the ordinary file at the path (below the user folder, not reached
// through a link); -1 when there is none: nothing, a folder, a FIFO, a device.
int64_t FileSize(const std::string& path);
// Why the file cannot be opened for reading, in the system's words ("No such file or
// directory", "Is a directory", "Permission denied") or as a refusal says it ("it is a
// link", "it is not an ordinary file", "it holds N bytes, more than M"); empty when it can.
std::string ReadFailure(const std::string& path, int64_t maxBytes = ANY_SIZE);
// recurse 0 makes only the last folder of the path. True when the folder exists afterwards.
// A link where a folder is to be made (below the user folder) is replaced by a folder; what
// it led to is not touched.
bool CreateDir(const std::string& path, int recurse = 0);
// recurse 1 deletes everything inside; links are removed, never followed. A link given as
// the folder is refused.
bool DeleteDir(const std::string& path, int recurse = 0);
// Creates or empties `to` and copies the bytes of `from` into it; a source larger than
// maxBytes is refused. On failure no part-copy is left.
bool CopyFile(const std::string& from, const std::string& to, int64_t maxBytes = ANY_SIZE);
// Copies every entry of `from` into `to` (created when missing), descending into folders but
// not into links to folders.
bool CopyDir(const std::string& from, const std::string& to, int64_t maxBytes = ANY_SIZE);
// Removes a file; a link is removed itself.
bool DeleteFile(const std::string& path);
bool RenameFile(const std::string& from, const std::string& to);
// Makes what a file or folder holds (a folder: its entries) reach the disk. True when done.
bool SyncPath(const std::string& path);

// A function run before every step that changes the file system (a file or folder made,
// written, closed, synced, renamed or removed), so that a test can stop a process at a
// chosen step. None by default; FileStep runs it.
using TFileStepHook = void (*)();
void SetFileStepHook(TFileStepHook hook);
void FileStep();

// Reads an ordinary file of at most maxBytes whole; false when it is none or cannot be read.
bool ReadWholeFile(const std::string& path, std::vector<uint8_t>& bytes,
                   int64_t maxBytes = ANY_SIZE);

// Holds an exclusive lock on the file (made when missing) until the process ends, in any way:
// the system releases it then. 1 when held (also when this process already holds it), 0 when
// another process holds it, -1 when it cannot be taken (FileFailure says why).
int LockFile(const std::string& path);

// The running executable's full path.
std::string AppFile();
// Folder part of a path, without the final "/" ("" when there is none).
std::string ExtractDir(const std::string& path);
// Extension without the dot ("" when there is none).
std::string ExtractExt(const std::string& path);
// Name part of a path.
std::string StripDir(const std::string& path);
// Path without its extension.
std::string StripExt(const std::string& path);
// Name part without its extension.
std::string StripAll(const std::string& path);
