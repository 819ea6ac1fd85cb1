#pragma once
// The one implementation of the script commands' argument rules.
//
// A command declares how many arguments it takes and reads them counting back from the
// last one passed: declared argument n of count is the value count - n places before the
// last, so extra leading arguments are ignored and missing ones raise Lua's argument error,
// which ends the running script and names the place of the value in the call. Every read
// works on the state the command was called with.
#include <cstdint>
#include <string>

struct lua_State;

class TScriptArgs {
public:
  TScriptArgs(lua_State* state, int count) : L(state), count(count) {}
  std::string String(int n) const;  // a string, or a number in Lua's text form
  double Number(int n) const;       // a number, or a string that reads as one
  int32_t Int(int n) const;         // truncated toward zero; NaN 0, saturating
  uint8_t Byte(int n) const;        // the low 8 bits of the int
  float Real(int n) const;          // as a 32-bit float

  lua_State* L;
  int count;
};

// Results: each pushes one value on the command's state and returns 1, the count to return.
int ReturnNumber(lua_State* L, double value);
int ReturnBoolean(lua_State* L, bool value);
int ReturnString(lua_State* L, const std::string& value);
// No result: the script gets no value.
constexpr int NoResult = 0;
