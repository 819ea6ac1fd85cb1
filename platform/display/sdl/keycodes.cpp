// SDL keycodes and scancodes -> the platform's Windows-style key codes.
#include "platform/display/sdl/keycodes.h"

#include <SDL2/SDL.h>

namespace {

struct KeyPair {
  SDL_Keycode sdl;
  int code;
};

// Keys that are not letters or digits, by keycode.
constexpr KeyPair kKeys[] = {
    {SDLK_BACKSPACE, 8},     {SDLK_TAB, 9},           {SDLK_CLEAR, 12},
    {SDLK_KP_CLEAR, 12},     {SDLK_RETURN, 13},       {SDLK_RETURN2, 13},
    {SDLK_KP_ENTER, 13},     {SDLK_PAUSE, 19},        {SDLK_CAPSLOCK, 20},
    {SDLK_ESCAPE, 27},       {SDLK_SPACE, 32},        {SDLK_PAGEUP, 33},
    {SDLK_PAGEDOWN, 34},     {SDLK_END, 35},          {SDLK_HOME, 36},
    {SDLK_LEFT, 37},         {SDLK_UP, 38},           {SDLK_RIGHT, 39},
    {SDLK_DOWN, 40},         {SDLK_SELECT, 41},       {SDLK_EXECUTE, 43},
    {SDLK_PRINTSCREEN, 44},  {SDLK_INSERT, 45},       {SDLK_DELETE, 46},
    {SDLK_HELP, 47},         {SDLK_LGUI, 91},         {SDLK_RGUI, 92},
    {SDLK_APPLICATION, 93},  {SDLK_KP_0, 96},         {SDLK_KP_1, 97},
    {SDLK_KP_2, 98},         {SDLK_KP_3, 99},         {SDLK_KP_4, 100},
    {SDLK_KP_5, 101},        {SDLK_KP_6, 102},        {SDLK_KP_7, 103},
    {SDLK_KP_8, 104},        {SDLK_KP_9, 105},        {SDLK_KP_MULTIPLY, 106},
    {SDLK_KP_PLUS, 107},     {SDLK_KP_MINUS, 109},    {SDLK_KP_PERIOD, 110},
    {SDLK_KP_DIVIDE, 111},   {SDLK_F1, 112},          {SDLK_F2, 113},
    {SDLK_F3, 114},          {SDLK_F4, 115},          {SDLK_F5, 116},
    {SDLK_F6, 117},          {SDLK_F7, 118},          {SDLK_F8, 119},
    {SDLK_F9, 120},          {SDLK_F10, 121},         {SDLK_F11, 122},
    {SDLK_F12, 123},         {SDLK_F13, 124},         {SDLK_F14, 125},
    {SDLK_F15, 126},         {SDLK_F16, 127},         {SDLK_NUMLOCKCLEAR, 144},
    {SDLK_SCROLLLOCK, 145},  {SDLK_LSHIFT, 160},      {SDLK_RSHIFT, 161},
    {SDLK_LCTRL, 162},       {SDLK_RCTRL, 163},       {SDLK_LALT, 164},
    {SDLK_RALT, 165},        {SDLK_MODE, 165},        {SDLK_SEMICOLON, 186},
    {SDLK_EQUALS, 187},      {SDLK_COMMA, 188},       {SDLK_MINUS, 189},
    {SDLK_PERIOD, 190},      {SDLK_SLASH, 191},       {SDLK_BACKQUOTE, 192},
    {SDLK_LEFTBRACKET, 219}, {SDLK_RIGHTBRACKET, 221}, {SDLK_QUOTE, 222},
    {SDLK_BACKSLASH, 226},   {SDLK_LESS, 226},
};

int FromKeycode(SDL_Keycode key) {
  if (key >= SDLK_a && key <= SDLK_z) return 65 + (key - SDLK_a);
  if (key >= SDLK_0 && key <= SDLK_9) return 48 + (key - SDLK_0);
  for (const KeyPair& pair : kKeys) {
    if (pair.sdl == key) return pair.code;
  }
  return 0;
}

// The keycode that a scancode has on a US keyboard, for the keys that layouts rename.
SDL_Keycode UsKeycode(SDL_Scancode scan) {
  if (scan >= SDL_SCANCODE_A && scan <= SDL_SCANCODE_Z) return SDLK_a + (scan - SDL_SCANCODE_A);
  if (scan >= SDL_SCANCODE_1 && scan <= SDL_SCANCODE_9) return SDLK_1 + (scan - SDL_SCANCODE_1);
  switch (scan) {
    case SDL_SCANCODE_0: return SDLK_0;
    case SDL_SCANCODE_MINUS: return SDLK_MINUS;
    case SDL_SCANCODE_EQUALS: return SDLK_EQUALS;
    case SDL_SCANCODE_LEFTBRACKET: return SDLK_LEFTBRACKET;
    case SDL_SCANCODE_RIGHTBRACKET: return SDLK_RIGHTBRACKET;
    case SDL_SCANCODE_BACKSLASH: return SDLK_BACKSLASH;
    case SDL_SCANCODE_NONUSBACKSLASH: return SDLK_BACKSLASH;
    case SDL_SCANCODE_SEMICOLON: return SDLK_SEMICOLON;
    case SDL_SCANCODE_APOSTROPHE: return SDLK_QUOTE;
    case SDL_SCANCODE_GRAVE: return SDLK_BACKQUOTE;
    case SDL_SCANCODE_COMMA: return SDLK_COMMA;
    case SDL_SCANCODE_PERIOD: return SDLK_PERIOD;
    case SDL_SCANCODE_SLASH: return SDLK_SLASH;
    default: return SDL_SCANCODE_TO_KEYCODE(scan);
  }
}

}  // namespace

int KeyCodeFromSDL(int32_t sdlKeycode, int sdlScancode) {
  int code = FromKeycode(static_cast<SDL_Keycode>(sdlKeycode));
  if (code != 0 || sdlScancode <= SDL_SCANCODE_UNKNOWN || sdlScancode >= SDL_NUM_SCANCODES) {
    return code;
  }
  return FromKeycode(UsKeycode(static_cast<SDL_Scancode>(sdlScancode)));
}

int KeyCodeForSDLKeyName(const std::string& name) {
  SDL_Keycode key = SDL_GetKeyFromName(name.c_str());
  return KeyCodeFromSDL(key, SDL_GetScancodeFromName(name.c_str()));
}

int KeyCodeForSDLScancodeName(const std::string& name) {
  // A Cyrillic letter stands for what a non-Latin layout reports as the keycode.
  constexpr SDL_Keycode kForeignLetter = 0x0444;
  return KeyCodeFromSDL(kForeignLetter, SDL_GetScancodeFromName(name.c_str()));
}
