// Key names: the table's codes, the generated runs, and codes without a name.
#include <gtest/gtest.h>
#include <set>
#include <string>
#include "screens/screens.h"

namespace {

TEST(KeyNames, NamedCodes) {
  const struct {
    int code;
    const char* name;
  } cases[] = {
      {1, "Left Click"},      {3, "Middle Click"},      {8, "Backspace"},
      {13, "Return"},         {27, "Escape"},           {32, "Space"},
      {37, "Left Arrow"},     {40, "Down Arrow"},       {47, "Help"},
      {48, "0"},              {57, "9"},                {65, "A"},
      {90, "Z"},              {91, "Apple key (Left)"}, {92, "Apple key (Right)"},
      {96, "Numpad 0"},       {105, "Numpad 9"},        {106, "Numpad *"},
      {107, "Numpad +"},      {109, "Numpad -"},        {111, "Numpad /"},
      {112, "F1"},            {123, "F12"},             {145, "Scroll Lock"},
      {160, "Shift (Left)"},  {165, "Alt key (Right)"}, {186, "Semi-colon"},
      {192, "Tilde"},         {219, "Bracket (Open)"},  {226, "Backslash"},
  };
  for (const auto& c : cases) EXPECT_EQ(GetKeyText(c.code), c.name) << c.code;
}

TEST(KeyNames, CodesWithoutAName) {
  const struct {
    int code;
    const char* name;
  } cases[] = {{0, "Unknown #0"},     {108, "Unknown #108"}, {124, "Unknown #124"},
               {187, "Unknown #187"}, {189, "Unknown #189"}, {200, "Unknown #200"},
               {255, "Unknown #255"}, {-5, "Unknown #-5"},   {1000, "Unknown #1000"}};
  for (const auto& c : cases) EXPECT_EQ(GetKeyText(c.code), c.name) << c.code;
}

TEST(KeyNames, OneHundredAndEightDistinctNames) {
  std::set<std::string> names;
  int named = 0;
  for (int code = 0; code < 256; ++code) {
    const std::string name = GetKeyText(code);
    if (name.rfind("Unknown #", 0) == 0) continue;
    ++named;
    names.insert(name);
  }
  EXPECT_EQ(named, 108);
  EXPECT_EQ(names.size(), 108u);
}

}  // namespace
