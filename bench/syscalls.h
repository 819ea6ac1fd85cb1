#pragma once
// The system calls that a piece of work makes, counted by name: the work runs once in a forked
// copy of this process, which this process traces (ptrace) from the start of the work to its
// end. What the tracing itself costs is measured on empty work and taken off.
#include <signal.h>
#include <sys/ptrace.h>
#include <sys/syscall.h>
#include <sys/user.h>
#include <sys/wait.h>
#include <unistd.h>

#include <benchmark/benchmark.h>

#include <functional>
#include <map>
#include <string>

namespace bench {

struct TSyscalls {
  bool traced = false;  // false when this system does not let a process trace its child
  int total = 0;
  std::map<std::string, int> byName;  // the calls that touch files; the others as "other"
};

namespace detail {

inline std::string SyscallName(long number) {
  static const std::map<long, std::string> names = {
      {SYS_open, "open"},         {SYS_openat, "openat"},         {SYS_close, "close"},
      {SYS_read, "read"},         {SYS_write, "write"},           {SYS_pread64, "pread"},
      {SYS_pwrite64, "pwrite"},   {SYS_lseek, "lseek"},           {SYS_fsync, "fsync"},
      {SYS_fdatasync, "fdatasync"}, {SYS_syncfs, "syncfs"},       {SYS_sync, "sync"},
      {SYS_ftruncate, "ftruncate"}, {SYS_rename, "rename"},       {SYS_renameat, "renameat"},
      {SYS_renameat2, "renameat2"}, {SYS_unlink, "unlink"},       {SYS_unlinkat, "unlinkat"},
      {SYS_mkdir, "mkdir"},       {SYS_mkdirat, "mkdirat"},       {SYS_fstat, "fstat"},
      {SYS_newfstatat, "fstatat"}, {SYS_statx, "statx"},          {SYS_getdents64, "getdents"},
      {SYS_fcntl, "fcntl"},       {SYS_flock, "flock"},           {SYS_readlink, "readlink"},
  };
  const auto it = names.find(number);
  return it == names.end() ? "other" : it->second;
}

inline TSyscalls Trace(const std::function<void()>& work) {
  TSyscalls counted;
  const pid_t child = fork();
  if (child < 0) return counted;
  if (child == 0) {
    if (ptrace(PTRACE_TRACEME, 0, nullptr, nullptr) != 0) _exit(1);
    raise(SIGSTOP);  // the tracing starts here
    work();
    raise(SIGSTOP);  // and ends here
    _exit(0);
  }
  int status = 0;
  if (waitpid(child, &status, 0) != child || !WIFSTOPPED(status)) {
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
    return counted;
  }
  ptrace(PTRACE_SETOPTIONS, child, nullptr,
         reinterpret_cast<void*>(PTRACE_O_TRACESYSGOOD | PTRACE_O_EXITKILL));
  bool entering = true;
  for (;;) {
    if (ptrace(PTRACE_SYSCALL, child, nullptr, nullptr) != 0) break;
    if (waitpid(child, &status, 0) != child || !WIFSTOPPED(status)) break;
    if (WSTOPSIG(status) == (SIGTRAP | 0x80)) {
      if (entering) {
        user_regs_struct regs{};
        ptrace(PTRACE_GETREGS, child, nullptr, &regs);
        ++counted.total;
        ++counted.byName[SyscallName(static_cast<long>(regs.orig_rax))];
      }
      entering = !entering;
    } else if (WSTOPSIG(status) == SIGSTOP) {
      counted.traced = true;
      break;
    }
  }
  kill(child, SIGKILL);
  waitpid(child, nullptr, 0);
  return counted;
}

}  // namespace detail

inline TSyscalls CountSyscalls(const std::function<void()>& work) {
  TSyscalls counted = detail::Trace(work);
  const TSyscalls idle = detail::Trace([] {});
  if (!counted.traced || !idle.traced) return TSyscalls{};
  counted.total -= idle.total;
  for (const auto& [name, n] : idle.byName) counted.byName[name] -= n;
  return counted;
}

// A benchmark's body: the work's system calls counted (once per iteration), as counters:
// "syscalls" and one per name that occurs.
inline void SyscallsOf(benchmark::State& state, const std::function<void()>& work) {
  TSyscalls counted;
  for (auto _ : state) counted = CountSyscalls(work);
  if (!counted.traced) {
    state.SkipWithError("this system does not let the benchmark trace its child process");
    return;
  }
  state.counters["syscalls"] = counted.total;
  for (const auto& [name, n] : counted.byName)
    if (n != 0) state.counters[name] = n;
}

}  // namespace bench
