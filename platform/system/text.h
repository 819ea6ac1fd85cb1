#pragma once
// Text helpers. Strings are 8-bit: one byte per character.
#include <cstdint>
#include <string>
#include <vector>

// 1-based position of `part` in `text`, searching from the 1-based `start`; 0 when absent.
int Instr(const std::string& text, const std::string& part, int start = 1);
// First / last n characters, n clipped to the length; negative n gives "".
std::string Left(const std::string& text, int n);
std::string Right(const std::string& text, int n);
// n characters from the 1-based position `pos` (n < 0: to the end).
std::string Mid(const std::string& text, int pos, int n = -1);
// Removes every character with a code of 32 or less from both ends.
std::string Trim(const std::string& text);
std::string Replace(const std::string& text, const std::string& find, const std::string& with);
std::string Upper(const std::string& text);
std::string Lower(const std::string& text);

// Leading white space skipped, optional sign, then hex digits after "$", binary after "%",
// else decimal, up to the first other character; 0 when there are no digits. Wraps like a
// 32-bit integer on overflow.
int32_t StringToInt(const std::string& text);
// The C library's decimal conversion in the C locale, rounded to a 32-bit float.
float StringToFloat(const std::string& text);
// Plain decimal with "-" before negatives.
std::string StringFromInt(int64_t value);
// "%#.9g" of the float widened to double, in the C locale (6.0 gives "6.00000000").
std::string StringFromFloat(float value);
// Converts a real to int32 truncating toward zero; NaN gives 0, out-of-range values saturate.
int32_t FloatToInt(double value);
