#pragma once
// The value 0..255 of one colour channel of an X pixel, by the channel's mask.
inline int Channel(unsigned long pixel, unsigned long mask) {
  if (mask == 0) return 0;
  int shift = 0;
  while (!((mask >> shift) & 1)) ++shift;
  unsigned long max = mask >> shift;
  return static_cast<int>(((pixel & mask) >> shift) * 255 / max);
}
