#include "support/game_process.h"

#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <thread>
#include <vector>

#include <fcntl.h>

#include "support/files.h"

namespace fs = std::filesystem;

namespace testsupport {

std::string MakeGameTree(const std::string& root, const std::string& questDir) {
  fs::create_directories(fs::path(root) / "bin");
  fs::create_directories(fs::path(root) / "home" / "Documents");
  const fs::path program = fs::path(root) / "bin" / "corvel";
  fs::copy_file(fs::path(CORVEL_BINARY_DIR) / "bin" / "corvel", program,
                fs::copy_options::overwrite_existing);
  fs::copy(questDir, fs::path(root) / "Resources", fs::copy_options::recursive);
  return program.string();
}

std::string GameUserDir(const std::string& root) {
  return (fs::path(root) / "home" / "Documents" / "Corvel User Data").string();
}

GameProcess::GameProcess(const std::string& program, const std::string& home,
                         const std::string& logDir, long fileSizeLimit) {
  errFile_ = logDir + "/stderr.txt";
  outFile_ = logDir + "/stdout.txt";
  const std::string& outFile = outFile_;
  // Everything the child needs is made before the fork: it only opens files and starts the
  // program, as the test process may run other threads.
  const auto replaced = [](const std::string& entry) {
    for (const char* name : {"HOME=", "SDL_VIDEODRIVER=", "ALSOFT_DRIVERS=", "SDL_AUDIODRIVER="}) {
      if (entry.rfind(name, 0) == 0) return true;
    }
    return false;
  };
  std::vector<std::string> env;
  for (char** e = environ; *e; ++e) {
    if (!replaced(*e)) env.emplace_back(*e);
  }
  if (!home.empty()) env.push_back("HOME=" + home);
  env.push_back("SDL_VIDEODRIVER=dummy");
  env.push_back("ALSOFT_DRIVERS=null");
  env.push_back("SDL_AUDIODRIVER=dummy");
  std::vector<char*> envp;
  for (std::string& entry : env) envp.push_back(entry.data());
  envp.push_back(nullptr);
  char* argv[] = {const_cast<char*>(program.c_str()), nullptr};
  pid_ = fork();
  if (pid_ != 0) return;
  const int in = open("/dev/null", O_RDONLY);
  const int out = open(outFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  const int err = open(errFile_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  dup2(in, 0);
  dup2(out, 1);
  dup2(err, 2);
  if (fileSizeLimit >= 0) {
    // Both survive the exec: the limit, and the signal ignored.
    const rlimit limit{static_cast<rlim_t>(fileSizeLimit), static_cast<rlim_t>(fileSizeLimit)};
    setrlimit(RLIMIT_FSIZE, &limit);
    signal(SIGXFSZ, SIG_IGN);
  }
  execve(program.c_str(), argv, envp.data());
  _exit(127);
}

GameProcess::~GameProcess() {
  if (Ended()) return;
  kill(pid_, SIGKILL);
  waitpid(pid_, nullptr, 0);
}

void GameProcess::Signal(int sig) {
  if (Ended()) return;
  kill(pid_, sig);
  // A signal sent again while the first is still pending would merge with it: wait until the
  // process has taken it (it leaves the pending sets of /proc/PID/status).
  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(30);
  const std::string status = "/proc/" + std::to_string(pid_) + "/status";
  const unsigned long long bit = 1ull << (sig - 1);
  while (std::chrono::steady_clock::now() < end && !Ended()) {
    std::istringstream in(ReadFileBytes(status));
    bool pending = false;
    for (std::string line; std::getline(in, line);) {
      if (line.rfind("SigPnd:", 0) == 0 || line.rfind("ShdPnd:", 0) == 0)
        pending = pending || (std::stoull(line.substr(7), nullptr, 16) & bit) != 0;
    }
    if (!pending) return;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
}

bool GameProcess::Ended() {
  if (pid_ <= 0) return true;
  int raw = 0;
  if (waitpid(pid_, &raw, WNOHANG) != pid_) return false;
  status_ = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  pid_ = -1;
  return true;
}

bool GameProcess::WaitForError(const std::string& text, int seconds) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
  while (std::chrono::steady_clock::now() < end) {
    if (Error().find(text) != std::string::npos) return true;
    if (Ended()) return Error().find(text) != std::string::npos;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return false;
}

int GameProcess::Wait(int seconds) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
  while (!Ended()) {
    if (std::chrono::steady_clock::now() >= end) {
      kill(pid_, SIGKILL);
      waitpid(pid_, nullptr, 0);
      pid_ = -1;
      return -1;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return status_;
}

std::string GameProcess::Error() const { return ReadFileBytes(errFile_); }

std::string GameProcess::Output() const { return ReadFileBytes(outFile_); }

}  // namespace testsupport
