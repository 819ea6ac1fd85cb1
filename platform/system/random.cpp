// The one random generator, seeded the same at every start unless SeedRnd reseeds it.
#include "platform/system/random.h"

#include <random>
#include <utility>

namespace {

std::mt19937_64& Generator() {
  static std::mt19937_64 generator(0x5eed);
  return generator;
}

}  // namespace

int32_t Rand(int32_t low, int32_t high) {
  if (low > high) std::swap(low, high);
  uint64_t range = static_cast<uint64_t>(static_cast<int64_t>(high) - low) + 1;
  // A 64-bit draw reduced to at most 2^32 values: the bias is below 2^-32.
  return static_cast<int32_t>(low + static_cast<int64_t>(Generator()() % range));
}

double Rnd() { return static_cast<double>(Generator()() >> 11) * 0x1.0p-53; }

void SeedRnd(int32_t seed) { Generator().seed(static_cast<uint64_t>(static_cast<uint32_t>(seed))); }
