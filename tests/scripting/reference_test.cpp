// The command reference for quest authors (docs/script-commands.md) against the engine: the
// commands it lists are exactly those registered, with the arguments a script must pass and
// the kind (text or number) each one is read as.
#include <gtest/gtest.h>
#include <lauxlib.h>
#include <lua.h>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "core/globals.h"
#include "scripting/commands.h"
#include "scripting/engine.h"

namespace {

// A command as a script sees it: 's' for an argument read as text, 'n' for a number.
struct TSignature {
  std::string kinds;
  bool operator==(const TSignature& o) const { return kinds == o.kinds; }
};

std::ostream& operator<<(std::ostream& out, const TSignature& s) {
  return out << s.kinds.size() << " argument(s) \"" << s.kinds << "\"";
}

// "### Name(a, b)" headings, each followed by "- `a`, `b` (kind): ..." lines.
std::map<std::string, TSignature> DocumentedCommands(const std::string& path) {
  std::ifstream in(path);
  EXPECT_TRUE(in) << path;
  const std::regex heading(R"(^### (\w+)\((.*)\)\s*$)"),
      argument(R"(^- ((?:`\w+`(?:, )?)+) \((\w+)\):)");
  const std::map<std::string, char> kinds = {
      {"text", 's'}, {"integer", 'n'}, {"byte", 'n'}, {"number", 'n'}};
  std::map<std::string, TSignature> commands;
  std::string line, current;
  std::vector<std::string> names;
  std::map<std::string, char> kindOf;
  auto finish = [&] {
    if (current.empty()) return;
    TSignature& s = commands[current];
    for (const std::string& name : names) {
      EXPECT_TRUE(kindOf.count(name)) << current << ": no kind given for `" << name << "`";
      s.kinds += kindOf.count(name) ? kindOf[name] : '?';
    }
    EXPECT_EQ(kindOf.size(), names.size())
        << current << ": kinds given for arguments it does not take";
  };
  std::smatch m;
  while (std::getline(in, line)) {
    if (std::regex_match(line, m, heading)) {
      finish();
      current = m[1];
      EXPECT_FALSE(commands.count(current)) << current << " is listed twice";
      names.clear();
      kindOf.clear();
      const std::regex word(R"(\w+)");
      const std::string list = m[2];
      for (auto it = std::sregex_iterator(list.begin(), list.end(), word);
           it != std::sregex_iterator(); ++it)
        names.push_back(it->str());
    } else if (!current.empty() && line.rfind("## ", 0) == 0) {
      finish();
      current.clear();
    } else if (!current.empty() && std::regex_search(line, m, argument)) {
      const auto kind = kinds.find(m[2]);
      EXPECT_NE(kind, kinds.end()) << current << ": unknown kind " << m[2];
      const std::string list = m[1];
      const std::regex quoted(R"(`(\w+)`)");
      for (auto it = std::sregex_iterator(list.begin(), list.end(), quoted);
           it != std::sregex_iterator(); ++it)
        kindOf[(*it)[1]] = kind == kinds.end() ? '?' : kind->second;
    }
  }
  finish();
  return commands;
}

// The names of the global C functions of a state.
std::set<std::string> NativeGlobals(lua_State* L) {
  std::set<std::string> names;
  lua_pushnil(L);
  while (lua_next(L, LUA_GLOBALSINDEX) != 0) {
    if (lua_type(L, -2) == LUA_TSTRING && lua_iscfunction(L, -1)) names.insert(lua_tostring(L, -2));
    lua_pop(L, 1);
  }
  return names;
}

// Calls the global `name` with arguments of the kinds given ('t' a table, which no command
// accepts; 's' a text; 'n' a number) in protected mode: "" when it returned, else the error.
std::string Call(lua_State* L, const std::string& name, const std::string& args) {
  lua_getglobal(L, name.c_str());
  for (char kind : args) {
    if (kind == 't')
      lua_newtable(L);
    else if (kind == 's')
      lua_pushstring(L, "x");
    else
      lua_pushnumber(L, 0);
  }
  if (lua_pcall(L, static_cast<int>(args.size()), 0, 0) == 0) return "";
  std::string error = lua_isstring(L, -1) ? lua_tostring(L, -1) : "(no message)";
  lua_pop(L, 1);
  return error;
}

// The argument number of Lua's "bad argument #n" error; 0 for any other error.
int BadArgument(const std::string& error, std::string* expected = nullptr) {
  std::smatch m;
  if (!std::regex_search(error, m, std::regex(R"(bad argument #(-?\d+) .*\((\w+) expected)")))
    return 0;
  if (expected) *expected = m[2];
  return std::stoi(m[1]);
}

// What a script observes of the command, probed without letting it act: a call with no
// arguments fails at the first argument it reads (declared argument n, "value expected"); a
// call with 20 tables, more values than any command takes, fails at that same read, whose
// error names the place of the value in the call, 20 - count + n; then, with the arguments
// known so far passed as valid values and the others as tables, each failing read names the
// place and the kind of one more argument.
std::string Probe(lua_State* L, const std::string& name) {
  const int first = BadArgument(Call(L, name, ""));
  if (first <= 0) return "";  // it ran: it reads no arguments
  const int place = BadArgument(Call(L, name, std::string(20, 't')));
  const int count = 20 + first - place;
  if (place <= 0 || count <= 0 || count > 20) return "?";
  std::string args(static_cast<size_t>(count), 't');
  for (int known = 0; known < count; ++known) {
    std::string expected;
    const int at = BadArgument(Call(L, name, args), &expected) - 1;  // 0-based position
    if (at < 0 || at >= count || args[at] != 't') return "?";
    args[at] = expected == "string" ? 's' : 'n';
  }
  return args;
}

// Probes in a child process: a command that reads no arguments runs there, whatever it does.
std::string ProbeApart(lua_State* L, const std::string& name) {
  int pipeFds[2];
  if (pipe(pipeFds) != 0) return "?";
  const pid_t child = fork();
  if (child == 0) {
    close(pipeFds[0]);
    const int quiet = open("/dev/null", O_WRONLY);
    dup2(quiet, 1);
    dup2(quiet, 2);
    alarm(5);
    const std::string result = Probe(L, name) + "\n";
    if (write(pipeFds[1], result.data(), result.size()) < 0) _exit(1);
    _exit(0);
  }
  close(pipeFds[1]);
  std::string result;
  char buffer[64];
  for (ssize_t n; (n = read(pipeFds[0], buffer, sizeof buffer)) > 0;)
    result.append(buffer, static_cast<size_t>(n));
  close(pipeFds[0]);
  waitpid(child, nullptr, 0);
  // No answer: the command ran (and crashed or kept the child busy without a world).
  if (result.empty()) return "";
  return result.substr(0, result.find('\n'));
}

TEST(CommandReference, ListsEveryRegisteredCommandWithItsArguments) {
  const std::map<std::string, TSignature> documented =
      DocumentedCommands(std::string(CORVEL_SOURCE_DIR) + "/docs/script-commands.md");

  TLuaScriptEngine bare;  // the Lua libraries alone
  const std::set<std::string> library = NativeGlobals(bare.m_lua_state);
  bare.ShutDown();
  InitLUA();
  lua_State* L = lua->m_lua_state;
  std::map<std::string, TSignature> registered;
  for (const std::string& name : NativeGlobals(L))
    if (!library.count(name)) registered[name] = TSignature{ProbeApart(L, name)};

  EXPECT_EQ(registered.size(), 58u);
  for (const auto& [name, signature] : registered) {
    const auto doc = documented.find(name);
    if (doc == documented.end()) {
      ADD_FAILURE() << name << " (" << signature << ") is registered but not in the reference";
      continue;
    }
    EXPECT_EQ(doc->second, signature) << name << ": the reference against the engine";
  }
  for (const auto& [name, signature] : documented)
    EXPECT_TRUE(registered.count(name)) << name << " is in the reference but not registered";
}

}  // namespace
