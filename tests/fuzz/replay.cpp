// Runs a fuzz target's entry once on each input file, outside libFuzzer: the regression
// inputs and the seed corpus become an ordinary test in every build.
// Usage: corvel_fuzz_replay TARGET FILE-OR-FOLDER...
#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "fuzz/replay_entries.h"
#include "platform/files/files.h"

#if defined(__SANITIZE_ADDRESS__)
#define CORVEL_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define CORVEL_ASAN 1
#endif
#endif

// No input justifies a single allocation above this; the fuzzing runs use the same limit.
constexpr unsigned long kMaxAllocationMb = 256;

#ifdef CORVEL_ASAN
extern "C" const char* __asan_default_options() { return "max_allocation_size_mb=256"; }
#endif

namespace {

// Without AddressSanitizer an oversized allocation fails once the address space is spent.
void LimitMemory() {
#ifndef CORVEL_ASAN
  const rlim_t bytes = (kMaxAllocationMb + 768) << 20;
  const rlimit limit{bytes, bytes};
  setrlimit(RLIMIT_AS, &limit);
#endif
}

void AddInputs(const std::string& path, std::vector<std::string>& inputs) {
  if (FileType(path) == FILETYPE_FILE) {
    inputs.push_back(path);
    return;
  }
  std::vector<std::string> names = LoadDir(path, 1);
  std::sort(names.begin(), names.end());
  for (const std::string& name : names) AddInputs(path + "/" + name, inputs);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s TARGET FILE-OR-FOLDER...\n", argv[0]);
    return 2;
  }
  const TFuzzEntry* entry = nullptr;
  for (const TFuzzEntry& e : kFuzzEntries)
    if (std::strcmp(e.name, argv[1]) == 0) entry = &e;
  if (!entry) {
    std::fprintf(stderr, "no fuzz target named %s\n", argv[1]);
    return 2;
  }
  std::vector<std::string> inputs;
  for (int i = 2; i < argc; ++i) AddInputs(argv[i], inputs);
  if (inputs.empty()) {
    std::fprintf(stderr, "no inputs for %s\n", entry->name);
    return 1;
  }
  LimitMemory();
  for (const std::string& input : inputs) {
    std::vector<uint8_t> bytes;
    if (!ReadWholeFile(input, bytes)) {
      std::fprintf(stderr, "cannot read %s\n", input.c_str());
      return 1;
    }
    std::printf("%s\n", input.c_str());
    std::fflush(stdout);
    entry->run(bytes.data(), bytes.size());
  }
  std::printf("%zu inputs of %s ran\n", inputs.size(), entry->name);
  return 0;
}
