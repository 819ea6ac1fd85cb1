#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../temp_dir.h"
#include "platform/files/files.h"
#include "platform/files/stream.h"
#include "support/write_failures.h"

using namespace std::string_literals;

class PlatformStream : public testing::Test {
protected:
  TempDir dir;
};

TEST_F(PlatformStream, OpeningFailsWithNull) {
  EXPECT_EQ(ReadStream(dir / "missing.bin"), nullptr);
  EXPECT_EQ(ReadStream(dir.Path()), nullptr);  // a folder is no file
  EXPECT_EQ(WriteStream(dir / "no/such/folder.bin"), nullptr);
  EXPECT_FALSE(CloseStream(nullptr));
}

struct OrderCase {
  const char* name;
  TStreamPtr (*order)(const TStreamPtr&);
  std::string bytes;
  friend void PrintTo(const OrderCase& c, std::ostream* os) { *os << c.name; }
};

class PlatformStreamOrder : public PlatformStream, public testing::WithParamInterface<OrderCase> {};

// Int 0x01020304, short -2, byte 0x1AB (low 8 bits), float 1.5f (0x3FC00000).
TEST_P(PlatformStreamOrder, WritesExactBytesAndReadsThemBack) {
  const OrderCase& c = GetParam();
  std::string path = dir / "numbers.bin";
  auto out = c.order(WriteStream(path));
  ASSERT_NE(out, nullptr);
  WriteInt(out, 0x01020304);
  WriteShort(out, -2);
  WriteByte(out, 0x1AB);
  WriteFloat(out, 1.5f);
  ASSERT_TRUE(CloseStream(out));
  EXPECT_EQ(ReadAll(path), c.bytes);

  auto in = c.order(ReadStream(path));
  ASSERT_NE(in, nullptr);
  EXPECT_EQ(ReadInt(in), 0x01020304);
  EXPECT_EQ(ReadShort(in), -2);
  EXPECT_EQ(ReadByte(in), 0xAB);
  EXPECT_EQ(ReadFloat(in), 1.5f);
  EXPECT_TRUE(Eof(in));
}

INSTANTIATE_TEST_SUITE_P(
    Orders, PlatformStreamOrder,
    testing::Values(
        OrderCase{"Big", BigEndianStream, "\x01\x02\x03\x04\xFF\xFE\xAB\x3F\xC0\x00\x00"s},
        OrderCase{"Little", LittleEndianStream, "\x04\x03\x02\x01\xFE\xFF\xAB\x00\x00\xC0\x3F"s},
        OrderCase{"Native", [](const TStreamPtr& s) { return s; },
                  "\x04\x03\x02\x01\xFE\xFF\xAB\x00\x00\xC0\x3F"s}),
    [](const testing::TestParamInfo<OrderCase>& info) { return std::string(info.param.name); });

TEST_F(PlatformStream, ReadsPastTheEndGiveZeroBytes) {
  auto in = BigEndianStream(ReadStream(dir.Write("short.bin", "\x12\x34\x56")));
  ASSERT_NE(in, nullptr);
  EXPECT_EQ(ReadInt(in), 0x12345600);  // the fourth byte is missing
  EXPECT_TRUE(Eof(in));
  EXPECT_EQ(ReadInt(in), 0);
  EXPECT_EQ(ReadShort(in), 0);
  EXPECT_EQ(ReadByte(in), 0);
  EXPECT_EQ(ReadFloat(in), 0.0f);
  EXPECT_EQ(ReadLine(in), "");
  EXPECT_TRUE(CloseStream(in));

  auto little = LittleEndianStream(ReadStream(dir.Write("one.bin", "\x80")));
  EXPECT_EQ(ReadShort(little), 0x80);
}

TEST_F(PlatformStream, ReadLineCases) {
  struct Case {
    const char* name;
    std::string bytes;
    std::vector<std::string> lines;  // read until Eof
  } cases[] = {
      {"crlf", "one\r\ntwo\r\n", {"one", "two"}},
      {"lf", "one\ntwo", {"one", "two"}},
      {"lone cr dropped", "a\rb\r\nc", {"ab", "c"}},
      {"nul ends a line", "ab"s + '\0' + "cd\n", {"ab", "cd"}},
      {"missing final newline", "last", {"last"}},
      {"empty lines kept", "\r\n\nx\n", {"", "", "x"}},
      {"empty file", "", {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    auto in = ReadStream(dir.Write("lines.txt", c.bytes));
    ASSERT_NE(in, nullptr);
    std::vector<std::string> lines;
    while (!Eof(in) && lines.size() < 10) lines.push_back(ReadLine(in));
    EXPECT_EQ(lines, c.lines);
    EXPECT_EQ(ReadLine(in), "");
    CloseStream(in);
  }
}

TEST_F(PlatformStream, WriteLineAddsCrLf) {
  std::string path = dir / "out.txt";
  auto out = WriteStream(path);
  WriteLine(out, "Maps/");
  WriteLine(out, "");
  ASSERT_TRUE(CloseStream(out));
  EXPECT_EQ(ReadAll(path), "Maps/\r\n\r\n");
}

TEST_F(PlatformStream, SeekPositionSizeAndBytes) {
  auto in = ReadStream(dir.Write("data.bin", "abcdef"));
  EXPECT_EQ(StreamSize(in), 6);
  SeekStream(in, 4);
  EXPECT_EQ(StreamPos(in), 4);
  char buffer[8] = {};
  EXPECT_EQ(ReadBytes(in, buffer, sizeof buffer), 2u);
  EXPECT_EQ(std::string(buffer, 2), "ef");
  EXPECT_TRUE(Eof(in));
  SeekStream(in, 0);
  EXPECT_FALSE(Eof(in));
  EXPECT_EQ(ReadByte(in), 'a');
  EXPECT_EQ(StreamPos(in), 1);

  std::string path = dir / "written.bin";
  auto out = WriteStream(path);
  EXPECT_EQ(WriteBytes(out, "xyz", 3), 3u);
  EXPECT_EQ(StreamSize(out), 3);
  EXPECT_TRUE(Eof(out));
  SeekStream(out, 1);
  WriteByte(out, 'Y');
  EXPECT_TRUE(CloseStream(out));
  EXPECT_EQ(ReadAll(path), "xYz");
}

TEST_F(PlatformStream, FailedWriteIsReportedByClose) {
  const std::string path = dir / "big.bin";
  auto out = WriteStream(path);
  ASSERT_NE(out, nullptr);
  {
    testsupport::FileSizeLimit limit(50000);
    WriteLine(out, std::string(100000, 'x'));
    EXPECT_FALSE(CloseStream(out));
  }
  EXPECT_EQ(FileFailure(), "Could not write " + path + ": File too large");
}

TEST_F(PlatformStream, NullStreamIsHarmless) {
  TStreamPtr none;
  EXPECT_EQ(BigEndianStream(none), nullptr);
  EXPECT_EQ(ReadInt(none), 0);
  EXPECT_EQ(ReadLine(none), "");
  WriteInt(none, 1);
  WriteLine(none, "x");
  EXPECT_TRUE(Eof(none));
  EXPECT_EQ(StreamPos(none), 0);
}
