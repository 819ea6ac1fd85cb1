#pragma once
// The real program run as a process, headless (SDL's dummy video, OpenAL's null device), with
// its standard output and error kept in files; and a folder tree that it starts from as a user's
// copy of it would: root/bin/corvel, root/Resources (the quest) and HOME at root/home.
#include <sys/types.h>

#include <string>

namespace testsupport {

// The program copied to root/bin beside a copy of the quest folder as root/Resources, and an
// empty root/home/Documents; returns the program's path.
std::string MakeGameTree(const std::string& root, const std::string& questDir);
// The user folder of a game tree: root/home/Documents/Corvel User Data.
std::string GameUserDir(const std::string& root);

class GameProcess {
public:
  // Starts the program with HOME set to `home` (removed when empty); standard output and
  // standard error go to files in `logDir`. With a fileSizeLimit, no file that the program
  // writes may grow past that many bytes: a write beyond fails with "File too large".
  GameProcess(const std::string& program, const std::string& home, const std::string& logDir,
              long fileSizeLimit = -1);
  // Kills the process when it still runs.
  ~GameProcess();
  GameProcess(const GameProcess&) = delete;
  GameProcess& operator=(const GameProcess&) = delete;

  // Sends the signal and waits until the process has taken it.
  void Signal(int sig);
  // Waits until standard error holds the text; false when the process ended first or the
  // time ran out.
  bool WaitForError(const std::string& text, int seconds = 60);
  // Waits for the end: the exit status, or -1 when a signal ended the process or the time ran
  // out (the process is killed then).
  int Wait(int seconds = 60);
  // Standard error so far.
  std::string Error() const;
  // Standard output so far, as it has reached its file.
  std::string Output() const;

private:
  bool Ended();
  pid_t pid_ = -1;
  int status_ = -1;
  std::string errFile_, outFile_;
};

}  // namespace testsupport
