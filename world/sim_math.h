#pragma once
// Number helpers of the world simulation: positions are floats that scripts may set to anything.
#include <cmath>
#include <limits>

// A real truncated toward zero, saturated to the int range; NaN gives 0.
inline int TruncInt(double v) {
  if (!(v == v)) return 0;
  if (v >= static_cast<double>(std::numeric_limits<int>::max())) return std::numeric_limits<int>::max();
  if (v <= static_cast<double>(std::numeric_limits<int>::min())) return std::numeric_limits<int>::min();
  return static_cast<int>(v);
}

inline bool IsFinite(float v) { return std::isfinite(v); }

// The trigger number that a trigger missile of this (negative) damage runs.
inline int TriggerOfDamage(int damage) {
  return damage == std::numeric_limits<int>::min() ? 0 : -damage;
}
