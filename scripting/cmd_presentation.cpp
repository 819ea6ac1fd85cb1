// Script commands that show text, questions, splash images and videos, play music and
// sound, and pause.
#include "core/game.h"
#include "dialogs/dialogs.h"
#include "media/media.h"
#include "platform/clock.h"
#include "screens/screens.h"
#include "scripting/args.h"
#include "scripting/command_list.h"

// DisplayText(text, r, g, b): the colour goes to the box whole; drawing clamps it.
int LUA_DisplayText(lua_State* L) {
  const TScriptArgs args(L, 4);
  const std::string text = args.String(1);
  const int r = args.Int(2), g = args.Int(3), b = args.Int(4);
  DisplayText(text, r, g, b, "", 0, 0);
  return NoResult;
}

// DisplayTextP(text, r, g, b, image, imageRight)
int LUA_DisplayTextP(lua_State* L) {
  const TScriptArgs args(L, 6);
  const std::string text = args.String(1);
  const int r = args.Int(2), g = args.Int(3), b = args.Int(4);
  const std::string image = args.String(5);
  const int imageRight = args.Int(6);
  DisplayText(text, r, g, b, image, imageRight, 0);
  return NoResult;
}

// DisplayOptions(text, option1, option2, option3, r, g, b) -> the chosen answer, 0-based.
// The colour is cut to bytes.
int LUA_DisplayOptions(lua_State* L) {
  const TScriptArgs args(L, 7);
  const std::string text = args.String(1);
  const std::string option1 = args.String(2), option2 = args.String(3), option3 = args.String(4);
  const int r = args.Byte(5), g = args.Byte(6), b = args.Byte(7);
  return ReturnNumber(L, DisplayOptions(text, option1, option2, option3, 0, r, g, b, "", 0));
}

// DisplayOptionsP(text, option1, option2, option3, r, g, b, image, imageRight)
int LUA_DisplayOptionsP(lua_State* L) {
  const TScriptArgs args(L, 9);
  const std::string text = args.String(1);
  const std::string option1 = args.String(2), option2 = args.String(3), option3 = args.String(4);
  const int r = args.Byte(5), g = args.Byte(6), b = args.Byte(7);
  const std::string image = args.String(8);
  const int imageRight = args.Int(9);
  return ReturnNumber(L, DisplayOptions(text, option1, option2, option3, 0, r, g, b, image, imageRight));
}

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
int LUA_PlayMusic(lua_State* L) {
  const TScriptArgs args(L, 1);
  PlayMusic(args.Int(1));
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
