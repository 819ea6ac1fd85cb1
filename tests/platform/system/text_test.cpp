#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <string>

#include <sys/wait.h>

#include "../temp_dir.h"
#include "platform/system/text.h"

TEST(PlatformText, StringToIntForms) {
  struct Case {
    const char* text;
    int32_t value;
  } cases[] = {
      {"  -12", -12},     {"$ff", 255},     {"$FF", 255},       {"-$10", -16},
      {"%101", 5},        {"%102", 2},      {"12.75", 12},      {"abc", 0},
      {"+7", 7},          {"", 0},          {"-", 0},           {"$", 0},
      {"\t\n 42xyz", 42}, {"9.99999975e-06", 9},                {"4294967297", 1},
      {"2147483648", INT32_MIN},            {"$FFFFFFFF", -1},  {"1 2", 1},
  };
  for (const auto& c : cases) EXPECT_EQ(StringToInt(c.text), c.value) << '"' << c.text << '"';
}

TEST(PlatformText, StringToFloatForms) {
  struct Case {
    const char* text;
    float value;
  } cases[] = {
      {"1.5", 1.5f}, {"  -2.25e1x", -22.5f}, {"abc", 0.0f}, {"", 0.0f},
      {".5", 0.5f},  {"0.1", 0.1f},          {"1,5", 1.0f},
  };
  for (const auto& c : cases) EXPECT_EQ(StringToFloat(c.text), c.value) << '"' << c.text << '"';
}

TEST(PlatformText, StringFromFloatUsesNineSignificantDigits) {
  struct Case {
    float value;
    const char* text;
  } cases[] = {
      {6.0f, "6.00000000"},     {320.5f, "320.500000"},   {0.0f, "0.00000000"},
      {-1.5f, "-1.50000000"},   {0.1f, "0.100000001"},    {123.456f, "123.456001"},
      {0.00001f, "9.99999975e-06"}, {1e9f, "1.00000000e+09"},
  };
  for (const auto& c : cases) EXPECT_EQ(StringFromFloat(c.value), c.text);
}

// Builds a locale of its own whose numbers have a decimal comma (the numbers' part alone, over
// the plain ASCII character set) into a temporary folder and switches to it.
TEST(PlatformText, NumberConversionsIgnoreTheProcessLocale) {
  TempDir dir;
  const std::string source =
      dir.Write("comma.src", "LC_NUMERIC\ndecimal_point \"<U002C>\"\nthousands_sep \"<U002E>\"\n"
                             "grouping 3\nEND LC_NUMERIC\n");
  // -c writes the locale although its other parts are missing; the exit status then is 1.
  const std::string build = "localedef -c -i " + source + " -f ANSI_X3.4-1968 " +
                            (dir / "comma") + " >/dev/null 2>&1";
  const int status = std::system(build.c_str());
  if (!WIFEXITED(status) || WEXITSTATUS(status) > 1) GTEST_SKIP() << "localedef cannot build it";
  std::string saved = std::setlocale(LC_NUMERIC, nullptr);
  setenv("LOCPATH", dir.Path().c_str(), 1);
  bool comma = std::setlocale(LC_NUMERIC, "comma") != nullptr;
  unsetenv("LOCPATH");
  ASSERT_TRUE(comma);
  std::string text = StringFromFloat(2.5f);
  float value = StringToFloat("2.5");
  std::setlocale(LC_NUMERIC, saved.c_str());
  EXPECT_EQ(text, "2.50000000");
  EXPECT_EQ(value, 2.5f);
}

TEST(PlatformText, StringFromInt) {
  EXPECT_EQ(StringFromInt(0), "0");
  EXPECT_EQ(StringFromInt(-42), "-42");
  EXPECT_EQ(StringFromInt(INT32_MIN), "-2147483648");
}

TEST(PlatformText, FloatToIntTruncatesAndSaturates) {
  struct Case {
    double value;
    int32_t result;
  } cases[] = {
      {2.9, 2},
      {-2.9, -2},
      {std::numeric_limits<double>::quiet_NaN(), 0},
      {1e20, INT32_MAX},
      {-1e20, INT32_MIN},
      {std::numeric_limits<double>::infinity(), INT32_MAX},
      {2147483647.5, INT32_MAX},
      {-2147483648.9, INT32_MIN},
  };
  for (const auto& c : cases) EXPECT_EQ(FloatToInt(c.value), c.result) << c.value;
}

TEST(PlatformText, InstrIsOneBased) {
  EXPECT_EQ(Instr("a//b//c", "//"), 2);
  EXPECT_EQ(Instr("a//b//c", "//", 3), 5);
  EXPECT_EQ(Instr("abc", "x"), 0);
  EXPECT_EQ(Instr("abc", "a", 0), 1);   // a start before 1 searches from 1
  EXPECT_EQ(Instr("abc", "c", 9), 0);   // a start past the end finds nothing
  EXPECT_EQ(Instr("abc", "", 2), 2);
}

TEST(PlatformText, SlicesClipToTheText) {
  EXPECT_EQ(Left("hello", 2), "he");
  EXPECT_EQ(Left("hello", 9), "hello");
  EXPECT_EQ(Left("hello", -1), "");
  EXPECT_EQ(Right("hello", 3), "llo");
  EXPECT_EQ(Right("hello", 9), "hello");
  EXPECT_EQ(Right("hello", -1), "");
  EXPECT_EQ(Mid("hello", 2, 3), "ell");
  EXPECT_EQ(Mid("hello", 4), "lo");
  EXPECT_EQ(Mid("hello", 9, 2), "");
  EXPECT_EQ(Mid("hello", 0, 2), "h");
}

TEST(PlatformText, TrimReplaceAndCase) {
  EXPECT_EQ(Trim(std::string("\x01 \t x y \r\n", 11)), "x y");
  EXPECT_EQ(Trim("   "), "");
  EXPECT_EQ(Replace("a,b,,c", ",", ", "), "a, b, , c");
  EXPECT_EQ(Replace("aaa", "aa", "b"), "ba");
  EXPECT_EQ(Replace("abc", "", "x"), "abc");
  EXPECT_EQ(Upper("OpenAL 1.1"), "OPENAL 1.1");
  EXPECT_EQ(Lower("OpenAL \xC4"), "openal \xC4");
}
