#pragma once
// The one random generator of the program.
#include <cstdint>

// A uniform integer between low and high, both included (order of the bounds free).
int32_t Rand(int32_t low, int32_t high);
// A uniform real in [0, 1).
double Rnd();
void SeedRnd(int32_t seed);
