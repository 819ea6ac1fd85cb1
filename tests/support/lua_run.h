#pragma once
// Runs Lua text through the real script engine (as a file, by RunScriptFile) and reads the
// state's globals back. The engine is the global `lua`, made and set up by InitLUA on first use.
#include <string>

struct lua_State;

// The engine's state, after InitLUA has run once in this process.
lua_State* ScriptState();
// Writes text to a file of its own in a temporary folder and runs it; RunScriptFile's result.
int RunLua(const std::string& text);
// A file path in the same temporary folder (for scripts that other scripts run).
std::string LuaTempPath(const std::string& name);
// Writes text to LuaTempPath(name) and returns that path.
std::string WriteLuaFile(const std::string& name, const std::string& text);
// The global as text: tostring() of it ("nil" when unset).
std::string LuaGlobal(const std::string& name);
// The global as a number (0 when it is not one).
double LuaNumber(const std::string& name);
// The Lua text compiled into a precompiled chunk, as luac would write it.
std::string PrecompiledChunk(const std::string& text);
