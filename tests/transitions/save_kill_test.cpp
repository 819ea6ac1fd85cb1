// Saves killed part-way. A child process saves and is killed with SIGKILL, once before each
// of its file-system steps in turn and then at random moments; a second child, which never
// saw that save, runs the start-up recovery and finds the save folder byte for byte as the
// old save or the new one left it (so the slot is whole and nothing is left over), lists the
// slot accordingly and saves again. Both saves are shown to load in a fresh process first.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <map>
#include <random>
#include <sstream>

#include "platform/files/files.h"
#include "screens/save_slots.h"
#include "support/files.h"
#include "transitions/save_folder.h"
#include "transitions/transit_world.h"
#include "transitions/transitions.h"

using testsupport::FolderBytes;

namespace {

using Snapshot = std::map<std::string, std::string>;

constexpr int kOldGold = 111, kNewGold = 222;
constexpr int kRandomKills = 70;  // per scenario; three scenarios

// In a saving child: the file-system steps it may still take before it is killed.
int stepsAllowed = 0;
void StopAtStep() {
  if (stepsAllowed-- == 0) kill(getpid(), SIGKILL);
}
int stepsTaken = 0;
void CountStep() { ++stepsTaken; }

void Say(int fd, const std::string& text) {
  for (size_t done = 0; done < text.size();) {
    const ssize_t n = write(fd, text.data() + done, text.size() - done);
    if (n <= 0) return;
    done += static_cast<size_t>(n);
  }
}

// A forked process running `body`, which talks to the parent through a pipe; it ends with
// _exit, so nothing of the test framework runs in it.
class Child {
public:
  explicit Child(const std::function<void(int out)>& body) {
    int fds[2];
    if (pipe(fds) != 0) return;
    pid_ = fork();
    if (pid_ == 0) {
      close(fds[0]);
      body(fds[1]);
      _exit(0);
    }
    close(fds[1]);
    in_ = fds[0];
  }
  ~Child() {
    if (in_ >= 0) close(in_);
    if (pid_ > 0 && !ended_) {
      kill(pid_, SIGKILL);
      waitpid(pid_, nullptr, 0);
    }
  }
  bool Started() const { return pid_ > 0 && in_ >= 0; }
  // Blocks until the child has said something (or ended).
  void AwaitWord() {
    char c;
    while (read(in_, &c, 1) < 0 && errno == EINTR) {
    }
  }
  void Kill() { kill(pid_, SIGKILL); }
  // Everything the child says until it ends, then its wait status.
  std::string Output() {
    std::string text;
    char buffer[4096];
    for (ssize_t n; (n = read(in_, buffer, sizeof buffer)) != 0;) {
      if (n > 0) text.append(buffer, static_cast<size_t>(n));
      else if (errno != EINTR) break;
    }
    return text;
  }
  int Wait() {
    int status = 0;
    while (waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
    }
    ended_ = true;
    return status;
  }

private:
  pid_t pid_ = -1;
  int in_ = -1;
  bool ended_ = false;
};

// Makes the folder hold exactly the snapshot's entries.
void Restore(const std::string& dir, const Snapshot& snapshot) {
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir);
  for (const auto& [name, bytes] : snapshot) {
    if (name.back() == '/')
      std::filesystem::create_directories(dir + name);
    else
      testsupport::WriteFileBytes(dir + name, bytes);
  }
}

// What `now` holds beyond `want` (+), lacks (-) or holds otherwise (~).
std::string Differences(const Snapshot& now, const Snapshot& want) {
  std::string out;
  for (const auto& [name, bytes] : now) {
    const auto it = want.find(name);
    if (it == want.end()) out += " +" + name;
    else if (it->second != bytes) out += " ~" + name;
  }
  for (const auto& entry : want)
    if (!now.count(entry.first)) out += " -" + entry.first;
  return out;
}

// The entries at the top of the snapshot's folder, in order.
std::vector<std::string> TopEntries(const Snapshot& snapshot) {
  std::vector<std::string> names;
  for (const auto& entry : snapshot) {
    const size_t slash = entry.first.find('/');
    if (slash == std::string::npos || slash + 1 == entry.first.size()) names.push_back(entry.first);
  }
  return names;
}

struct Scenario {
  const char* label;
  std::string oldName;  // "" for an empty slot
  std::string newName;
};

void PrintTo(const Scenario& scenario, std::ostream* out) { *out << scenario.label; }

class SaveKillTest : public TransitWorld, public ::testing::WithParamInterface<Scenario> {
protected:
  SaveKillTest() {
    // In memory where the system offers it: a kill, unlike a power cut, does not depend on
    // what reached the disk, and the disk's syncs would take most of the test's time.
    if (access("/dev/shm", W_OK) == 0) {
      home = "/dev/shm/corvel-save-kill-" + std::to_string(getpid()) + "-" + GetParam().label;
      std::filesystem::remove_all(home);
    }
  }

  void SetUp() override {
    TransitWorld::SetUp();
    const Scenario& s = GetParam();
    currentMap->LoadMap(settings->tempDir + "a.map");
    npcList.AddLast(npcType[0]->CopyActor("g1", 40, 50));
    testsupport::WriteFileBytes(settings->tempDir + "save.png", "thumbnail");
    // Entries that name no slot, and another slot's save: none of them may change.
    for (const char* stray : {"1notes.txt", "1.sav", "1.GAME.SAV", "notes.sav"})
      testsupport::WriteFileBytes(settings->saveDir + stray, "stray");
    ASSERT_EQ(SaveGame(SaveRecordPath(0, "OTHER"), SlotFolder(0)), 1);
    player->gold = kOldGold;
    if (!s.oldName.empty()) {
      ASSERT_EQ(SaveGame(SaveRecordPath(1, s.oldName), SlotFolder(1)), 1);
    }
    oldSave = FolderBytes(settings->saveDir);

    // The game goes on before the save that is killed.
    player->gold = kNewGold;
    currentMap->mapTile[3][3].tileID = kMarkTile;
    npcList.AddLast(npcType[0]->CopyActor("g2", 200, 90));
    working = FolderBytes(settings->tempDir);
  }

  void StartFrom() {
    Restore(settings->saveDir, oldSave);
    Restore(settings->tempDir, working);
  }

  // Runs in a fresh child: what start-up and the dialogs would find, and with `load` what
  // loading the slot gives. "old" or "new", or what is wrong.
  std::string Verdict(bool load) {
    const Scenario& s = GetParam();
    RecoverSaves();  // what the next start does first
    const Snapshot now = FolderBytes(settings->saveDir);
    const bool isNew = now == newSave;
    if (now != oldSave && !isNew)
      return "neither save: against the old" + Differences(now, oldSave) + "; against the new" +
             Differences(now, newSave);
    const std::string name = isNew ? s.newName : s.oldName;
    const TSaveSlots slots = ListSaveSlots();
    if (slots.name[1] != (name.empty() ? EmptySlotName : name))
      return "slot 2 lists " + slots.name[1];
    if (slots.name[0] != "OTHER") return "slot 1 lists " + slots.name[0];
    if (load && !name.empty()) {
      player->gold = 0;
      if (LoadGame(SaveRecordPath(1, name), SlotFolder(1)) != 1) return "the slot does not load";
      if (player->gold != (isNew ? kNewGold : kOldGold))
        return "the record holds gold " + std::to_string(player->gold);
      if (currentMap->mapTile[3][3].tileID != (isNew ? kMarkTile : kGreenTile))
        return "the slot folder holds another map";
      if (npcList.Count() != (isNew ? 2u : 1u)) return "the slot folder holds other NPCs";
    }
    if (SaveGame(SaveRecordPath(1, "AGAIN"), SlotFolder(1)) != 1) return "the next save fails";
    if (ListSaveSlots().name[1] != "AGAIN") return "the next save is not listed";
    const std::string oldRecord = "1." + s.oldName + ".sav";
    std::vector<std::string> expected = TopEntries(oldSave);
    std::erase_if(expected, [&](const std::string& e) {
      return e == oldRecord || e == oldRecord + ".lua";
    });
    expected.insert(expected.end(), {"1.AGAIN.sav", "1.AGAIN.sav.lua"});
    if (s.oldName.empty()) expected.push_back("1/");
    std::sort(expected.begin(), expected.end());
    if (TopEntries(FolderBytes(settings->saveDir)) != expected)
      return "left-overs after the next save";
    return isNew ? "new" : "old";
  }

  std::string CheckInFreshProcess(bool load = false) {
    Child checker([this, load](int out) { Say(out, Verdict(load)); });
    if (!checker.Started()) return "no checking process";
    const std::string verdict = checker.Output();
    const int status = checker.Wait();
    const bool ended = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    return ended ? verdict : "the check crashed: " + verdict;
  }

  void Save() { SaveGame(SaveRecordPath(1, GetParam().newName), SlotFolder(1)); }

  Snapshot oldSave, newSave, working;
};

TEST_P(SaveKillTest, TheSlotIsWholeAfterAKillAtAnyMoment) {
  const auto began = std::chrono::steady_clock::now();
  // A whole save, counting its steps and timing it.
  StartFrom();
  int steps = 0;
  long micros = 0;
  {
    Child saver([this](int out) {
      SetFileStepHook(CountStep);
      const auto t0 = std::chrono::steady_clock::now();
      Save();
      const auto us = std::chrono::duration_cast<std::chrono::microseconds>(
          std::chrono::steady_clock::now() - t0);
      Say(out, std::to_string(stepsTaken) + " " + std::to_string(us.count()));
    });
    ASSERT_TRUE(saver.Started());
    std::istringstream(saver.Output()) >> steps >> micros;
    saver.Wait();
  }
  ASSERT_GT(steps, 10);
  newSave = FolderBytes(settings->saveDir);
  ASSERT_NE(newSave, oldSave);
  EXPECT_EQ(CheckInFreshProcess(true), "new");
  StartFrom();
  EXPECT_EQ(CheckInFreshProcess(true), "old");
  std::map<std::string, int> outcomes;

  // Killed before each step in turn: before the first the old save stands.
  for (int k = 0; k < steps; ++k) {
    SCOPED_TRACE("killed before step " + std::to_string(k + 1) + " of " + std::to_string(steps));
    StartFrom();
    Child saver([this, k](int) {
      stepsAllowed = k;
      SetFileStepHook(StopAtStep);
      Save();
    });
    ASSERT_TRUE(saver.Started());
    const int status = saver.Wait();
    ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);
    const std::string verdict = CheckInFreshProcess();
    EXPECT_TRUE(verdict == "old" || verdict == "new") << verdict;
    if (k == 0) {
      EXPECT_EQ(verdict, "old");
    }
    ++outcomes[verdict];
  }
  EXPECT_GT(outcomes["new"], 0);  // some kills come after the commit

  // Killed from outside at random moments of a save, some after it has ended.
  std::random_device device;
  const unsigned seed = device();
  SCOPED_TRACE("random seed " + std::to_string(seed));
  std::mt19937 random(seed);
  std::uniform_int_distribution<long> delay(0, micros + micros / 4 + 1);
  for (int i = 0; i < kRandomKills; ++i) {
    StartFrom();
    Child saver([this](int out) {
      Say(out, "go");
      Save();
    });
    ASSERT_TRUE(saver.Started());
    saver.AwaitWord();
    const long us = delay(random);
    const timespec pause{us / 1000000, (us % 1000000) * 1000};
    nanosleep(&pause, nullptr);
    saver.Kill();
    saver.Wait();
    const std::string verdict = CheckInFreshProcess();
    EXPECT_TRUE(verdict == "old" || verdict == "new") << "kill after " << us << " us: " << verdict;
    ++outcomes[verdict];
  }
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();
  std::printf("%d steps, %d random kills (save %ld us): %d old, %d new, %.1f s\n", steps,
              kRandomKills, micros, outcomes["old"], outcomes["new"], seconds);
}

INSTANTIATE_TEST_SUITE_P(
    Saves, SaveKillTest,
    ::testing::Values(Scenario{"ResaveUnderANewName", "OLD", "NEW"},
                      Scenario{"ResaveUnderTheSameName", "SAME", "SAME"},
                      Scenario{"FirstSaveIntoAnEmptySlot", "", "NEW"}),
    [](const auto& info) { return std::string(info.param.label); });

}  // namespace
