// SDL keys -> the platform's key codes: every key the key-name table names arrives with its code.
#include <gtest/gtest.h>

#include "platform/display/sdl/keycodes.h"

namespace {

struct KeyCase {
  const char* sdlName;
  int code;
};

constexpr KeyCase kKeyCases[] = {
    {"Backspace", 8}, {"Tab", 9}, {"Clear", 12}, {"Keypad Clear", 12}, {"Return", 13},
    {"Keypad Enter", 13}, {"Pause", 19}, {"CapsLock", 20}, {"Escape", 27}, {"Space", 32},
    {"PageUp", 33}, {"PageDown", 34}, {"End", 35}, {"Home", 36}, {"Left", 37}, {"Up", 38},
    {"Right", 39}, {"Down", 40}, {"Select", 41}, {"Execute", 43}, {"PrintScreen", 44},
    {"Insert", 45}, {"Delete", 46}, {"Help", 47},
    {"0", 48}, {"5", 53}, {"9", 57},
    {"A", 65}, {"a", 65}, {"M", 77}, {"Z", 90}, {"z", 90},
    {"Left GUI", 91}, {"Right GUI", 92},
    {"Keypad 0", 96}, {"Keypad 1", 97}, {"Keypad 5", 101}, {"Keypad 9", 105},
    {"Keypad *", 106}, {"Keypad +", 107}, {"Keypad -", 109}, {"Keypad .", 110},
    {"Keypad /", 111},
    {"F1", 112}, {"F2", 113}, {"F10", 121}, {"F11", 122}, {"F12", 123},
    {"Numlock", 144}, {"ScrollLock", 145},
    {"Left Shift", 160}, {"Right Shift", 161}, {"Left Ctrl", 162}, {"Right Ctrl", 163},
    {"Left Alt", 164}, {"Right Alt", 165},
    {";", 186}, {"=", 187}, {",", 188}, {"-", 189}, {".", 190}, {"/", 191}, {"`", 192},
    {"[", 219}, {"]", 221}, {"'", 222}, {"\\", 226},
};

class SdlKeyNames : public testing::TestWithParam<KeyCase> {};

TEST_P(SdlKeyNames, ArriveWithTheirCode) {
  EXPECT_EQ(KeyCodeForSDLKeyName(GetParam().sdlName), GetParam().code) << GetParam().sdlName;
}

INSTANTIATE_TEST_SUITE_P(Table, SdlKeyNames, testing::ValuesIn(kKeyCases));

// A layout whose keycodes are letters of another script still gives the US key's code.
constexpr KeyCase kScancodeCases[] = {
    {"A", 65}, {"Q", 81}, {"Z", 90}, {"1", 49}, {"2", 50}, {"9", 57}, {"0", 48}, {";", 186},
    {"[", 219}, {"\\", 226}, {"Left", 37}, {"F5", 116},
};

class SdlScancodeFallback : public testing::TestWithParam<KeyCase> {};

TEST_P(SdlScancodeFallback, GivesTheUsKeyCode) {
  EXPECT_EQ(KeyCodeForSDLScancodeName(GetParam().sdlName), GetParam().code) << GetParam().sdlName;
}

INSTANTIATE_TEST_SUITE_P(Table, SdlScancodeFallback, testing::ValuesIn(kScancodeCases));

TEST(SdlKeys, KeysWithoutCodeGiveZero) {
  EXPECT_EQ(KeyCodeFromSDL(0, 0), 0);
  EXPECT_EQ(KeyCodeForSDLKeyName("AudioMute"), 0);
}

}  // namespace
