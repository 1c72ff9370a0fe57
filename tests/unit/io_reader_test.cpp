// io_reader_test.cpp - the buffered reader in both modes: values, ends, seeks, limits.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cstring>

#include "tests/unit/io_support.h"

namespace {

class Reader : public TempDir, public ::testing::WithParamInterface<Mode> {};

TEST_P(Reader, ValuesAreLittleEndianAndSmallSizesUnsigned) {
  std::string bytes = std::string("\x01\xFE\xFF\x34\x12\xFF\xFF\xFF\xFF", 9) +
                      std::string("\x78\x56\x34\x12\x00\x00\xC0\x3F\xFF\xFF\xFF\xFF", 12);
  ConsoleCapture con;
  ASSERT_EQ(openread(GetParam(), make("v.bin", bytes)), 0);
  EXPECT_EQ(rfgetc(), 0x01);
  EXPECT_EQ(rfgetshort(), -2);
  EXPECT_EQ(rfgetint(2), 0x1234);
  EXPECT_EQ(rfgetint(1), 255);
  EXPECT_EQ(rfgetint(2), 65535);
  EXPECT_EQ(rftell(), 8);
  EXPECT_EQ(rfgetint(3), -1);
  EXPECT_EQ(con.take(), "undef(size=3) err.\n");
  EXPECT_EQ(rftell(), 8);  // nothing consumed
  EXPECT_EQ(rfgetint(1), 255);
  EXPECT_EQ(rfgetint(4), 0x12345678);
  EXPECT_EQ(rfgetfloat(), 1.5f);
  EXPECT_EQ(rfgetlong(), -1);
  EXPECT_EQ(rfeof(), 0);  // the last byte was delivered, the end not yet seen
  EXPECT_EQ(rfgetc(), -1);
  EXPECT_EQ(rfeof(), -1);
  EXPECT_EQ(rftell(), 21);
  EXPECT_EQ(con.take(), "");
}

// The file ends inside each kind of value: every missing byte reads as 0xFF.
TEST_P(Reader, MissingBytesReadAsFF) {
  struct Case {
    const char* bytes;
    size_t len;
    int kind;  // 2 short, 4 long, 5 float, 1 getint(1), 3 getint(2)
    int32_t want;
  };
  const Case cases[] = {
      {"\xAA\xBB", 2, 4, static_cast<int32_t>(0xFFFFBBAA)},
      {"\x11\x22\x33", 3, 4, static_cast<int32_t>(0xFF332211)},
      {"", 0, 4, -1},
      {"\x7F", 1, 2, static_cast<int16_t>(0xFF7F)},
      {"\x00\x00\x80", 3, 5, static_cast<int32_t>(0xFF800000)},
      {"", 0, 1, 255},
      {"\x12", 1, 3, 0xFF12},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.len);
    ASSERT_EQ(openread(GetParam(), make("short.bin", std::string(c.bytes, c.len))), 0);
    int32_t got = 0;
    switch (c.kind) {
      case 2: got = rfgetshort(); break;
      case 4: got = rfgetlong(); break;
      case 1: got = rfgetint(1); break;
      case 3: got = rfgetint(2); break;
      case 5: {
        float f = rfgetfloat();
        memcpy(&got, &f, 4);
        break;
      }
    }
    EXPECT_EQ(got, c.want);
    EXPECT_EQ(rfeof(), -1);
    EXPECT_EQ(rftell(), static_cast<int32_t>(c.len));
  }
}

TEST_P(Reader, EmptyFileEndsAtOnce) {
  ASSERT_EQ(openread(GetParam(), make("empty", "")), 0);
  EXPECT_EQ(rfeof(), 0);
  EXPECT_EQ(rfgetc(), -1);
  EXPECT_EQ(rfeof(), -1);
  EXPECT_EQ(rftell(), 0);
  char buf[4];
  EXPECT_EQ(rfread(buf, 4), 0);
}

TEST_P(Reader, BlockReadsAcrossTheBufferAndTheEnd) {
  std::string data = pattern(3 * BF_BUFSIZE + 100);
  ASSERT_EQ(openread(GetParam(), make("big", data)), 0);
  std::string got;
  for (int i = 0; i < 5; i++) got += static_cast<char>(rfgetc());
  std::string block(20000, '\0');
  EXPECT_EQ(rfread(block.data(), 20000), 20000);
  got += block;
  got += static_cast<char>(rfgetc());
  EXPECT_EQ(rfread(block.data(), 0), 0);
  EXPECT_EQ(rfread(block.data(), -5), 0);
  int32_t rest = static_cast<int32_t>(data.size() - got.size());
  EXPECT_EQ(rfread(block.data(), 20000), rest);  // short: the end
  got += block.substr(0, static_cast<size_t>(rest));
  EXPECT_EQ(got, data);
  EXPECT_EQ(rfeof(), -1);
  EXPECT_EQ(rftell(), static_cast<int32_t>(data.size()));
  EXPECT_EQ(rfread(block.data(), 1), 0);
}

TEST_P(Reader, SeekBackAfterReadingAhead) {
  std::string data = pattern(2 * BF_BUFSIZE + 7);
  ASSERT_EQ(openread(GetParam(), make("seek", data)), 0);
  for (int i = 0; i < 10; i++) rfgetc();
  struct Step {
    int32_t to;
  };
  // back inside the buffer, forward past it, to the last byte, back to the start
  for (Step s : {Step{3}, Step{BF_BUFSIZE + 5}, Step{static_cast<int32_t>(data.size() - 1)}, Step{0}}) {
    ASSERT_EQ(rfseek(s.to), 0);
    EXPECT_EQ(rftell(), s.to);
    EXPECT_EQ(rfgetc(), static_cast<unsigned char>(data[static_cast<size_t>(s.to)]));
    EXPECT_EQ(rftell(), s.to + 1);
  }
  EXPECT_EQ(rfbufrewind(), 0);
  EXPECT_EQ(rfgetc(), static_cast<unsigned char>(data[1]));
  // reading on after the end of the buffered stretch still follows the file
  std::string block(BF_BUFSIZE, '\0');
  EXPECT_EQ(rfread(block.data(), BF_BUFSIZE), BF_BUFSIZE);
  EXPECT_EQ(block, data.substr(2, BF_BUFSIZE));
}

TEST_P(Reader, SeekFailuresReportAndKeepThePosition) {
  ASSERT_EQ(openread(GetParam(), make("s", "abcdef")), 0);
  rfgetc();
  ConsoleCapture con;
  EXPECT_EQ(rfseek(-1), -2);
  EXPECT_EQ(con.take(), "Failed in seek in rfseek. \n");
  EXPECT_EQ(rftell(), 1);
  EXPECT_EQ(rfgetc(), 'b');
  // once closed (here by the end) the file is gone: no seek back into it
  char buf[8];
  rfread(buf, 8);
  ASSERT_EQ(rfeof(), -1);
  EXPECT_EQ(rfseek(0), -2);
  EXPECT_EQ(con.take(), "Failed in seek in rfseek. \n");
  EXPECT_EQ(rfeof(), -1);
  EXPECT_EQ(rfgetc(), -1);
}

// Offsets are 32-bit: the data ends at INT32_MAX however long the file is.
TEST_P(Reader, DataEndsAtTheLargestOffset) {
  std::string p = path("huge");
  int fd = open(p.c_str(), O_WRONLY | O_CREAT, 0644);
  ASSERT_GE(fd, 0);
  ASSERT_EQ(ftruncate(fd, (off_t{1} << 31) + 4096), 0);  // sparse
  close(fd);
  ASSERT_EQ(openread(GetParam(), p), 0);
  ASSERT_EQ(rfseek(INT32_MAX - 3), 0);
  EXPECT_EQ(rfgetlong(), static_cast<int32_t>(0xFF000000));
  EXPECT_EQ(rfeof(), -1);
  EXPECT_EQ(rftell(), INT32_MAX);

  ASSERT_EQ(openread(GetParam(), p), 0);
  ASSERT_EQ(rfseek(INT32_MAX - 10), 0);
  char buf[64];
  EXPECT_EQ(rfread(buf, 64), 10);
  EXPECT_EQ(rfeof(), -1);
  EXPECT_EQ(rftell(), INT32_MAX);
}

TEST_P(Reader, OpeningAgainClosesTheFirstFile) {
  ASSERT_EQ(openread(GetParam(), make("a", "A")), 0);
  ASSERT_EQ(openread(GetParam(), make("b", "B")), 0);
  EXPECT_EQ(rfgetc(), 'B');
  EXPECT_EQ(rfgetc(), -1);
  rfclose();
  rfclose();  // closing twice is harmless
  EXPECT_EQ(rfeof(), -1);
}

INSTANTIATE_TEST_SUITE_P(Modes, Reader, ::testing::Values(Mode::Handle, Mode::Stream),
                         [](const auto& info) { return modename(info.param); });

}  // namespace
