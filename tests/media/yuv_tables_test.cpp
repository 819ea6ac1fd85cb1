// Every entry of the colour tables against the formula: each product rounded to double on
// its own before it is added, whatever the target could fuse into a multiply-add.
#include <gtest/gtest.h>
#include <algorithm>
#include <string>
#include "media/yuv.h"

namespace {

// Through a volatile, so the product is rounded before any sum takes it.
double Product(double coefficient, int offset) {
  volatile double product = coefficient * static_cast<double>(offset);
  return product;
}

int Entry(double value) { return std::clamp(static_cast<int>(value), 0, 255); }

// Counts the entries that differ and describes the first one.
struct Mismatches {
  int count = 0;
  std::string first;
  void Check(const char* table, int index, int entry, int expected) {
    if (entry == expected) return;
    if (count++ == 0)
      first = std::string(table) + "[" + std::to_string(index) + "] is " +
              std::to_string(entry) + ", not " + std::to_string(expected);
  }
};

TEST(YuvTables, EveryEntryFollowsTheFormula) {
#ifdef CORVEL_TABLES_FOR_FMA
  if (!__builtin_cpu_supports("fma")) GTEST_SKIP() << "the processor has no fused multiply-add";
#endif
  TYUVinit();
  Mismatches wrong;
  for (int y = 0; y < 256; ++y) {
    const double luma = Product(1.164, y - 16);
    wrong.Check("yuv_bw", y, yuv_bw[y], Entry(luma));
    for (int c = 0; c < 256; ++c) {
      const int at = y * 256 + c;
      wrong.Check("yuv_r", at, yuv_r[at], Entry(luma + Product(1.596, c - 128)));
      wrong.Check("yuv_b", at, yuv_b[at], Entry(luma + Product(2.018, c - 128)));
      const double withCr = luma - Product(0.813, c - 128);
      for (int cb = 0; cb < 256; ++cb) {
        const int g = at * 256 + cb;
        wrong.Check("yuv_g", g, yuv_g[g], Entry(withCr - Product(0.391, cb - 128)));
      }
    }
  }
  EXPECT_EQ(wrong.count, 0) << wrong.first;
}

}  // namespace
