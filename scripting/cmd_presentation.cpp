// Script commands that show text, questions, splash images and videos, play music and
// sound, and pause.
#include "core/game.h"
#include "dialogs/dialogs.h"
#include "media/media.h"
#include "platform/system/clock.h"
#include "screens/screens.h"
#include "scripting/args.h"
#include "scripting/command_list.h"
#include "scripting/save_commands.h"

namespace {

// DisplayText(text, r, g, b) and DisplayTextP(text, r, g, b, image, imageRight): the colour
// goes to the box whole; drawing clamps it.
int ShowText(lua_State* L, bool withPortrait) {
  const TScriptArgs args(L, withPortrait ? 6 : 4);
  const std::string text = args.String(1);
  const int r = args.Int(2), g = args.Int(3), b = args.Int(4);
  const std::string image = withPortrait ? args.String(5) : "";
  const int imageRight = withPortrait ? args.Int(6) : 0;
  DisplayText(text, r, g, b, image, imageRight, 0);
  return NoResult;
}

// DisplayOptions(text, option1, option2, option3, r, g, b) and DisplayOptionsP(..., image,
// imageRight) -> the chosen answer, 0-based. The colour is cut to bytes.
int ShowOptions(lua_State* L, bool withPortrait) {
  const TScriptArgs args(L, withPortrait ? 9 : 7);
  const std::string text = args.String(1);
  const std::string option1 = args.String(2), option2 = args.String(3), option3 = args.String(4);
  const int r = args.Byte(5), g = args.Byte(6), b = args.Byte(7);
  const std::string image = withPortrait ? args.String(8) : "";
  const int imageRight = withPortrait ? args.Int(9) : 0;
  return ReturnNumber(L, DisplayOptions(text, option1, option2, option3, 0, r, g, b, image, imageRight));
}

}  // namespace

int LUA_DisplayText(lua_State* L) { return ShowText(L, false); }

int LUA_DisplayTextP(lua_State* L) { return ShowText(L, true); }

int LUA_DisplayOptions(lua_State* L) { return ShowOptions(L, false); }

int LUA_DisplayOptionsP(lua_State* L) { return ShowOptions(L, true); }

// DisplaySplash(image, seconds, noSkip)
int LUA_DisplaySplash(lua_State* L) {
  const TScriptArgs args(L, 3);
  const std::string image = args.String(1);
  const int seconds = args.Int(2), noSkip = args.Int(3);
  DisplaySplash(image, seconds, noSkip);
  return NoResult;
}

// DisplayVideo(file)
int LUA_DisplayVideo(lua_State* L) {
  const TScriptArgs args(L, 1);
  DisplayVideo(args.String(1));
  return NoResult;
}

// PlayMusic(track)
TCommandWork AskPlayMusic(lua_State* L) {
  const TScriptArgs args(L, 1);
  const int32_t track = args.Int(1);
  return [track] { PlayMusic(track); };
}

int LUA_PlayMusic(lua_State* L) {
  AskPlayMusic(L)();
  return NoResult;
}

// PlaySound(sound)
int LUA_PlaySound(lua_State* L) {
  const TScriptArgs args(L, 1);
  PlaySoundEffect(args.Int(1));
  return NoResult;
}

// Sleep(ms): blocks without drawing or handling events; a negative pause returns at once.
// The int saturates, so a huge pause cannot wrap into a short or negative one.
int LUA_Sleep(lua_State* L) {
  const TScriptArgs args(L, 1);
  Delay(args.Int(1));
  return NoResult;
}
