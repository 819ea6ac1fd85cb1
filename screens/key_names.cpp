// The names of key codes that the key set-up screen shows.
#include <map>
#include <string>
#include "screens/screens.h"

namespace {

std::map<int, std::string> MakeKeyNames() {
  std::map<int, std::string> names = {
      {1, "Left Click"},        {2, "Right Click"},        {3, "Middle Click"},
      {8, "Backspace"},         {9, "Tab"},                {12, "Clear"},
      {13, "Return"},           {19, "Pause"},             {20, "Caps Lock"},
      {27, "Escape"},           {32, "Space"},             {33, "Page Up"},
      {34, "Page Down"},        {35, "End"},               {36, "Home"},
      {37, "Left Arrow"},       {38, "Up Arrow"},          {39, "Right Arrow"},
      {40, "Down Arrow"},       {41, "Select"},            {42, "Print"},
      {43, "Execute"},          {44, "Screen"},            {45, "Insert"},
      {46, "Delete"},           {47, "Help"},              {91, "Apple key (Left)"},
      {92, "Apple key (Right)"}, {106, "Numpad *"},        {107, "Numpad +"},
      {109, "Numpad -"},        {110, "Numpad ."},         {111, "Numpad /"},
      {144, "Num Lock"},        {145, "Scroll Lock"},      {160, "Shift (Left)"},
      {161, "Shift (Right)"},   {162, "Control (Left)"},   {163, "Control (Right)"},
      {164, "Alt key (Left)"},  {165, "Alt key (Right)"},  {186, "Semi-colon"},
      {188, "Comma"},           {190, "Period"},           {191, "Slash"},
      {192, "Tilde"},           {219, "Bracket (Open)"},   {221, "Bracket (Close)"},
      {222, "Quote"},           {226, "Backslash"},
  };
  for (int c = '0'; c <= '9'; ++c) names[c] = std::string(1, static_cast<char>(c));
  for (int c = 'A'; c <= 'Z'; ++c) names[c] = std::string(1, static_cast<char>(c));
  for (int d = 0; d <= 9; ++d) names[96 + d] = "Numpad " + std::to_string(d);
  for (int f = 1; f <= 12; ++f) names[111 + f] = "F" + std::to_string(f);
  return names;
}

}  // namespace

std::string GetKeyText(int code) {
  static const std::map<int, std::string> names = MakeKeyNames();
  const auto found = names.find(code);
  if (found != names.end()) return found->second;
  return "Unknown #" + std::to_string(code);
}
