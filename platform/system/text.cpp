// Text helpers over 8-bit strings, and number conversions that ignore the process locale.
#include "platform/system/text.h"

#include <algorithm>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <locale.h>

namespace {

// The "C" locale, made once: conversions use it whatever the process locale is.
locale_t CLocale() {
  static locale_t c = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
  return c;
}

bool IsSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

int DigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return 99;
}

}  // namespace

int Instr(const std::string& text, const std::string& part, int start) {
  if (start < 1) start = 1;
  if (static_cast<size_t>(start - 1) > text.size()) return 0;
  size_t at = text.find(part, static_cast<size_t>(start - 1));
  return at == std::string::npos ? 0 : static_cast<int>(at) + 1;
}

std::string Left(const std::string& text, int n) {
  if (n <= 0) return "";
  return text.substr(0, static_cast<size_t>(n));
}

std::string Right(const std::string& text, int n) {
  if (n <= 0) return "";
  size_t count = std::min(text.size(), static_cast<size_t>(n));
  return text.substr(text.size() - count);
}

std::string Mid(const std::string& text, int pos, int n) {
  // Characters before position 1 do not exist: they shorten the count.
  if (pos < 1) {
    if (n >= 0) n = std::max(0, n - (1 - pos));
    pos = 1;
  }
  size_t from = static_cast<size_t>(pos - 1);
  if (from >= text.size()) return "";
  return n < 0 ? text.substr(from) : text.substr(from, static_cast<size_t>(n));
}

std::string Trim(const std::string& text) {
  size_t b = 0, e = text.size();
  while (b < e && static_cast<unsigned char>(text[b]) <= 32) ++b;
  while (e > b && static_cast<unsigned char>(text[e - 1]) <= 32) --e;
  return text.substr(b, e - b);
}

std::string Replace(const std::string& text, const std::string& find, const std::string& with) {
  if (find.empty()) return text;
  std::string out;
  size_t from = 0;
  for (size_t at; (at = text.find(find, from)) != std::string::npos; from = at + find.size()) {
    out.append(text, from, at - from);
    out += with;
  }
  out.append(text, from, std::string::npos);
  return out;
}

std::string Upper(const std::string& text) {
  std::string out = text;
  for (char& c : out) if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return out;
}

std::string Lower(const std::string& text) {
  std::string out = text;
  for (char& c : out) if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return out;
}

int32_t StringToInt(const std::string& text) {
  size_t i = 0, n = text.size();
  while (i < n && IsSpace(text[i])) ++i;
  bool negative = false;
  if (i < n && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  int base = 10;
  if (i < n && text[i] == '$') { base = 16; ++i; }
  else if (i < n && text[i] == '%') { base = 2; ++i; }
  uint32_t value = 0;  // unsigned, so that overflow wraps
  for (; i < n; ++i) {
    int d = DigitValue(text[i]);
    if (d >= base) break;
    value = value * static_cast<uint32_t>(base) + static_cast<uint32_t>(d);
  }
  if (negative) value = 0u - value;
  return static_cast<int32_t>(value);
}

float StringToFloat(const std::string& text) {
  return static_cast<float>(strtod_l(text.c_str(), nullptr, CLocale()));
}

std::string StringFromInt(int64_t value) { return std::to_string(value); }

std::string StringFromFloat(float value) {
  char buffer[64];
  locale_t previous = uselocale(CLocale());
  std::snprintf(buffer, sizeof buffer, "%#.9g", static_cast<double>(value));
  uselocale(previous);
  return buffer;
}

int32_t FloatToInt(double value) {
  if (std::isnan(value)) return 0;
  if (value >= 2147483647.0) return INT32_MAX;
  if (value <= -2147483648.0) return INT32_MIN;
  return static_cast<int32_t>(value);
}
