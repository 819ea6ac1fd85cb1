#pragma once
// Internal to the files module: how a path's entry is reached and opened.
//
// Inside the user folder (SetUserFolder) every folder below it is opened without following a
// link, one at a time, and the entry itself is then acted on relative to its folder with
// O_NOFOLLOW or AT_SYMLINK_NOFOLLOW: nothing there is reached through a link, but for the
// linked folder (SetLinkedFolder), which is followed as the user folder is. The path up to
// and including the user folder is taken as the system gives it, and so is every path
// outside it. Anywhere, only ordinary files are opened for reading or writing, and never in
// a way that could block.
#include <fcntl.h>
#include <sys/stat.h>

#include <cstdint>
#include <string>
#include <vector>

namespace files {

// The entry that a path names, reached through its folder.
class TPlace {
public:
  // With a verb, a link met on the way is refused on standard error ("Refused to <verb> ...");
  // with none (a query) nothing is said. ok() is false when the folder cannot be reached.
  TPlace(const std::string& path, const char* verb);
  // The entry of a second path in the folder that `near` reached, without walking there again,
  // when both paths name entries of the same folder below the user folder; else as above.
  TPlace(const TPlace& near, const std::string& path, const char* verb);
  ~TPlace();
  TPlace(const TPlace&) = delete;
  TPlace& operator=(const TPlace&) = delete;

  bool ok() const { return ok_; }
  int dir() const { return dir_; }                 // AT_FDCWD outside the user folder
  const char* name() const { return name_.c_str(); }  // in dir(); the whole path outside
  bool confined() const { return confined_; }
  int noFollow() const;    // O_NOFOLLOW inside the user folder (the linked folder aside), else 0
  int statFlags() const;   // AT_SYMLINK_NOFOLLOW where noFollow() is O_NOFOLLOW, else 0
  // The entry's own status (a link's, inside the user folder); false with errno when missing.
  bool Stat(struct stat& st) const;

private:
  void Reach(const std::string& path, const char* verb);
  int dir_ = AT_FDCWD;
  bool owned_ = true;  // dir_ is closed with the place (not when it is near's)
  std::string name_;
  std::vector<std::string> folder_;  // the components below the user folder up to dir_
  bool top_ = false;                 // dir_ is the user folder itself
  bool confined_ = false;
  bool followed_ = false;  // the entry is the linked folder
  bool ok_ = false;
};

// "Refused to <verb> <path>: <why>" on standard error, kept as the last failure in the words
// of Fail.
void Refuse(const char* verb, const std::string& path, const std::string& why);
// Keeps "Could not <what>: <why>" as the last failure (FileFailure), saying nothing.
void Fail(const std::string& what, const std::string& why);
// The system's words for an error number.
std::string Reason(int error);
// Why an existing entry may not be opened as an ordinary file of at most maxBytes: "it is a
// link", "it is not an ordinary file", "it holds N bytes, more than M"; "" when it may.
std::string Unfit(const struct stat& st, int64_t maxBytes);

// A descriptor of the ordinary file at the path open for reading, at most maxBytes long; -1
// when it is missing or cannot be read (kept as the last failure) or is refused (said too).
// With a null verb nothing is said or kept, and `why` (when given) gets the reason.
int OpenForReading(const std::string& path, int64_t maxBytes, const char* verb,
                   std::string* why = nullptr);
// A descriptor of the ordinary file at the path, made when missing, open for writing;
// emptied when `empty`. -1 when it cannot be (kept) or is refused (said too); `why` (when
// given) gets the reason.
int OpenForWriting(const std::string& path, const char* verb, bool empty,
                   std::string* why = nullptr);

}  // namespace files
