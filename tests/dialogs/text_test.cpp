// Word wrap and aligned drawing of text in the built-in font (8 x 16 pixels a character).
#include <gtest/gtest.h>
#include <cmath>
#include <string>
#include <vector>
#include "dialogs/text.h"
#include "platform/graphics/graphics.h"

namespace {

struct LayoutCase {
  const char* name;
  std::string text;
  float width;
  std::vector<std::string> lines;
};

const LayoutCase kLayoutCases[] = {
    {"WrapsAtWidth", "The quick brown fox", 100, {"The quick ", "brown fox"}},
    {"NewlineWordTooWide", "Hello there friend\nBye", 100, {"Hello there ", " friend\n", " Bye"}},
    {"EmptyText", "", 100, {""}},
    {"OneCharacter", "x", 100, {"x"}},
    {"ShortLastWord", "Take 5", 100, {"Take 5"}},
    {"FitsBelowWidth", "The quick", 80, {"The quick"}},
    {"ExactWidthDoesNotFit", "The quick brown", 80, {"The ", "quick ", "brown"}},
    {"FortyNineCharactersAt400", std::string(48, 'a') + " b", 400, {std::string(48, 'a') + " ", "b"}},
    {"TrailingLineFeed", "ab\n", 100, {"ab\n", " "}},
    {"TwoLineFeeds", "a\n\nb", 100, {"a\n", " \n", " b"}},
    {"CarriageReturnStaysInWord", "ab\r\ncd", 100, {"ab\r\n", " cd"}},
    {"TabEndsWordMeasuredZero", "ab\tcd ef", 48, {"ab\tcd ", "ef"}},
    {"SeveralSpaces", "ab  cd", 40, {"ab  ", "cd"}},
    {"SpaceBeginsWrappedLine", "abcd  ef", 40, {"abcd ", " ef"}},
    {"WideWordStandsAlone", "a verylongword b", 48, {"a ", "verylongword ", "b"}},
    {"LeadingWideNewlineWord", "longword\nab", 40, {"", " longword\n", " ab"}},
    {"SpaceAfterLineFeedLeftBehind", "x\nabcdef", 48, {"x\n", " ", "abcdef"}},
    {"HighCodesMeasureZero", "\xe9\xe9\xe9\xe9\xe9\xe9 ab", 32, {"\xe9\xe9\xe9\xe9\xe9\xe9 ab"}},
    {"ZeroWidthNoWrap", "one two three\nfour", 0, {"one two three\n", " four"}},
    {"NegativeWidthNoWrap", "one two three", -10, {"one two three"}},
    {"NaNWidthNoWrap", "one two three", std::nanf(""), {"one two three"}},
    {"UnlimitedWidthTakes12499Characters", "a " + std::string(12496, 'a') + " b", 0,
     {"a " + std::string(12496, 'a') + " ", "b"}},
};

class DialogsTextLayout : public testing::TestWithParam<LayoutCase> {};

TEST_P(DialogsTextLayout, LinesAndCountAgree) {
  const LayoutCase& c = GetParam();
  EXPECT_EQ(WrapText(c.text, c.width), c.lines);
  EXPECT_EQ(CountLinesEx(c.text, c.width), static_cast<int>(c.lines.size()));
}

INSTANTIATE_TEST_SUITE_P(Cases, DialogsTextLayout, testing::ValuesIn(kLayoutCases),
                         [](const auto& info) { return std::string(info.param.name); });

// DrawTextEx must put exactly these lines at exactly these points: the reference picture is
// drawn line by line with DrawText and compared with DrawTextEx's, pixel for pixel.
struct Placed {
  std::string line;
  float x, y;
};

struct DrawCase {
  const char* name;
  std::string text;
  float x, y, width, height;
  int flags;
  std::vector<Placed> expected;
};

const DrawCase kDrawCases[] = {
    {"LeftTop", "The quick brown fox", 20, 10, 100, 0, 0, {{"The quick ", 20, 10}, {"brown fox", 20, 26}}},
    {"Centred", "The quick brown fox", 20, 10, 100, 0, 1, {{"The quick ", 30, 10}, {"brown fox", 34, 26}}},
    {"CentreWinsOverRight", "The quick brown fox", 20, 10, 100, 0, 3, {{"The quick ", 30, 10}, {"brown fox", 34, 26}}},
    {"RightAligned", "The quick brown fox", 20, 10, 100, 0, 2, {{"The quick ", 40, 10}, {"brown fox", 48, 26}}},
    {"VerticalCentre", "Hello there friend\nBye", 0, 0, 100, 100, 4,
     {{"Hello there ", 0, 26}, {" friend\n", 0, 42}, {" Bye", 0, 58}}},
    {"VerticalCentreWinsOverBottom", "ab", 0, 0, 100, 100, 12, {{"ab", 0, 42}}},
    {"Bottom", "ab\ncd", 5, 100, 100, 100, 8, {{"ab\n", 5, 168}, {" cd", 5, 184}}},
    {"OtherBitsIgnored", "ab", 7, 9, 100, 100, 16, {{"ab", 7, 9}}},
    {"NoWidthCentresOnX", "abcd", 100, 50, 0, 0, 1, {{"abcd", 84, 50}}},
    {"NoWidthEndsAtX", "abcd", 100, 50, -3, 0, 2, {{"abcd", 68, 50}}},
    {"HalfPixelCentre", "abc", 0, 0, 99, 0, 1, {{"abc", 37.5f, 0}}},
};

class DialogsTextDraw : public testing::TestWithParam<DrawCase> {};

std::vector<uint8_t> Picture() { return BackBuffer()->pixels; }

TEST_P(DialogsTextDraw, DrawsTheWrappedLinesAtTheirPlaces) {
  const DrawCase& c = GetParam();
  SetClsColor(0, 0, 0);
  SetColor(255, 255, 255);
  Cls();
  const std::vector<uint8_t> blank = Picture();
  for (const Placed& p : c.expected) DrawText(p.line, p.x, p.y);
  const std::vector<uint8_t> reference = Picture();
  ASSERT_NE(reference, blank);
  Cls();
  EXPECT_EQ(DrawTextEx(c.text, c.x, c.y, c.width, c.height, c.flags), 0);
  EXPECT_TRUE(Picture() == reference);
}

INSTANTIATE_TEST_SUITE_P(Cases, DialogsTextDraw, testing::ValuesIn(kDrawCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
