#pragma once
// Translation of SDL keys into the platform's key codes (Windows-style virtual keys: letters
// 65-90, digits 48-57, F1 112, keypad 96-111, Shift/Ctrl/Alt left and right 160-165, ...).
// Only platform code uses it; the integers are SDL's keycode and scancode.
#include <cstdint>
#include <string>

// The key code for an SDL key; the keycode decides, the scancode is the fallback for keys
// whose keycode the layout made something this table does not know (non-Latin layouts).
// 0 for keys that have no code.
int KeyCodeFromSDL(int32_t sdlKeycode, int sdlScancode);
// The same for a key named as SDL names keys ("Left Shift", "Keypad 7", "A"): its keycode,
// with the scancode of that name as fallback.
int KeyCodeForSDLKeyName(const std::string& name);
// A key whose layout gave it an unknown keycode, by its scancode's SDL name.
int KeyCodeForSDLScancodeName(const std::string& name);
