#pragma once
// Files, folders and paths (here) and byte streams over files (stream.h). Paths use "/";
// results are reported, never thrown.
#include <cstdint>
#include <string>
#include <vector>

enum { FILETYPE_NONE = 0, FILETYPE_FILE = 1, FILETYPE_DIR = 2 };

// True when the folder exists and can be read.
bool ReadDir(const std::string& path);
// Entry names without the folder, in the order the system lists them; "." and ".." left
// out when skipDots is 1; empty when the folder cannot be read.
std::vector<std::string> LoadDir(const std::string& path, int skipDots = 1);
int FileType(const std::string& path);
// Why the file cannot be opened for reading, in the system's words ("No such file or
// directory", "Is a directory", "Permission denied"); empty when it can be.
std::string ReadFailure(const std::string& path);
// recurse 0 makes only the last folder of the path. True when the folder exists afterwards.
bool CreateDir(const std::string& path, int recurse = 0);
// recurse 1 deletes everything inside; symbolic links are removed, never followed.
bool DeleteDir(const std::string& path, int recurse = 0);
bool CopyFile(const std::string& from, const std::string& to);
// Copies every entry of `from` into `to` (created when missing), descending into folders.
bool CopyDir(const std::string& from, const std::string& to);
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

// Reads a regular file whole; false when it is no regular file or cannot be read.
bool ReadWholeFile(const std::string& path, std::vector<uint8_t>& bytes);

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
