// io_reader_test.cpp - the buffered reader in both modes: values, ends, seeks, limits.
#include <fcntl.h>
#include <unistd.h>

#include <climits>

#include "tests/unit/io_support.h"

namespace {

class Reader : public TempDir, public ::testing::WithParamInterface<Mode> {};

TEST_P(Reader, ValuesThenAnEndInsideALong) {
  std::string bytes("\x01\xFE\xFF\x34\x12\xFF\xFF\xFF\x78\x56\x34\x12\x00\x00\xC0\x3F\xAA\xBB", 18);
  ConsoleCapture con;
  ASSERT_EQ(openread(GetParam(), make("v", bytes)), 0);
  EXPECT_EQ(rfgetc(), 0x01);
  EXPECT_EQ(rfgetshort(), -2);
  EXPECT_EQ(rfgetint(2), 0x1234);
  EXPECT_EQ(rfgetint(1), 255);
  EXPECT_EQ(rfgetint(3), -1);  // consumes nothing
  EXPECT_EQ(con.take(), "undef(size=3) err.\n");
  EXPECT_EQ(rfgetint(2), 65535);
  EXPECT_EQ(rfgetint(4), 0x12345678);
  EXPECT_EQ(rfgetfloat(), 1.5f);
  EXPECT_EQ(rftell(), 16);
  EXPECT_EQ(rfeof(), 0);
  EXPECT_EQ(rfgetlong(), static_cast<int32_t>(0xFFFFBBAA));  // missing bytes are 0xFF
  EXPECT_EQ(rfeof(), -1);
  EXPECT_EQ(rftell(), 18);
  EXPECT_EQ(rfgetint(2), 0xFFFF);
  EXPECT_EQ(con.take(), "");

  ASSERT_EQ(openread(GetParam(), make("empty", "")), 0);
  EXPECT_EQ(rfgetc(), -1);
  EXPECT_EQ(rfeof(), -1);
}

TEST_P(Reader, BlockReadsAcrossTheBufferAndTheEnd) {
  std::string data = pattern(3 * BF_BUFSIZE + 100);
  ASSERT_EQ(openread(GetParam(), make("big", data)), 0);
  std::string got(1, static_cast<char>(rfgetc()));
  std::string block(20000, '\0');
  EXPECT_EQ(rfread(block.data(), 20000), 20000);
  got += block + static_cast<char>(rfgetc());
  EXPECT_EQ(rfread(block.data(), -5), 0);
  int32_t rest = static_cast<int32_t>(data.size() - got.size());
  EXPECT_EQ(rfread(block.data(), 20000), rest);  // short: the end
  EXPECT_EQ(got + block.substr(0, static_cast<size_t>(rest)), data);
  EXPECT_EQ(rfeof(), -1);
  EXPECT_EQ(rftell(), static_cast<int32_t>(data.size()));
}

// Short reads that cross the buffer's end refill it; what they leave there must be the
// next bytes delivered, and a seek must give back what was read ahead.
TEST_P(Reader, ShortReadsAcrossTheBufferEnd) {
  std::string data = pattern(2 * BF_BUFSIZE + 50);
  ASSERT_EQ(openread(GetParam(), make("short", data)), 0);
  std::string got;
  char piece[64];
  for (int k = 0; got.size() + 64 < data.size(); k++) {
    int32_t n = 1 + k % 37;  // sizes that never line up with the buffer
    ASSERT_EQ(rfread(piece, n), n);
    got.append(piece, static_cast<size_t>(n));
    got += static_cast<char>(rfgetc());
  }
  EXPECT_EQ(got, data.substr(0, got.size()));
  EXPECT_EQ(rftell(), static_cast<int32_t>(got.size()));

  std::string head(BF_BUFSIZE - 3, '\0');
  ASSERT_EQ(rfseek(0), 0);
  ASSERT_EQ(rfread(head.data(), BF_BUFSIZE - 3), BF_BUFSIZE - 3);
  EXPECT_EQ(head, data.substr(0, head.size()));
  ASSERT_EQ(rfread(piece, 10), 10);  // 3 bytes from the buffer, 7 from its refill
  EXPECT_EQ(std::string(piece, 10), data.substr(BF_BUFSIZE - 3, 10));
  ASSERT_EQ(rfseek(BF_BUFSIZE - 1), 0);  // back, although the refill read ahead
  EXPECT_EQ(rfgetc(), static_cast<unsigned char>(data[BF_BUFSIZE - 1]));

  ASSERT_EQ(rfseek(static_cast<int32_t>(data.size()) - 5), 0);
  EXPECT_EQ(rfread(piece, 20), 5);  // short: the end
  EXPECT_EQ(std::string(piece, 5), data.substr(data.size() - 5));
  EXPECT_EQ(rfeof(), -1);
  EXPECT_EQ(rftell(), static_cast<int32_t>(data.size()));
}

TEST_P(Reader, SkipsWithinAndAcrossTheBuffer) {
  std::string data = pattern(3 * BF_BUFSIZE + 11);
  ASSERT_EQ(openread(GetParam(), make("skip", data)), 0);
  int32_t at = 0;
  for (int32_t n : {0, 5, BF_BUFSIZE - 10, 20, 2 * BF_BUFSIZE - 20}) {
    EXPECT_EQ(rfskip(n), n);
    at += n;
    EXPECT_EQ(rftell(), at);
    EXPECT_EQ(rfgetc(), static_cast<unsigned char>(data[static_cast<size_t>(at)]));
    at++;
  }
  ASSERT_EQ(rfseek(7), 0);  // back, although the skips read ahead
  EXPECT_EQ(rfskip(3), 3);
  EXPECT_EQ(rfgetc(), static_cast<unsigned char>(data[10]));

  EXPECT_EQ(rfskip(static_cast<int32_t>(data.size())), static_cast<int32_t>(data.size()) - 11);
  EXPECT_EQ(rfeof(), -1);  // short: the end
  EXPECT_EQ(rftell(), static_cast<int32_t>(data.size()));
  EXPECT_EQ(rfskip(1), 0);
}

TEST_P(Reader, SeeksAfterReadingAhead) {
  std::string data = pattern(2 * BF_BUFSIZE + 7);
  ASSERT_EQ(openread(GetParam(), make("seek", data)), 0);
  for (int i = 0; i < 10; i++) rfgetc();
  // back inside the buffer, forward past it, to the last byte, back to the start
  for (int32_t to : {3, BF_BUFSIZE + 5, static_cast<int32_t>(data.size() - 1), 0}) {
    ASSERT_EQ(rfseek(to), 0);
    EXPECT_EQ(rftell(), to);
    EXPECT_EQ(rfgetc(), static_cast<unsigned char>(data[static_cast<size_t>(to)]));
  }
  EXPECT_EQ(rfbufrewind(), 0);
  std::string block(BF_BUFSIZE, '\0');
  EXPECT_EQ(rfread(block.data(), BF_BUFSIZE), BF_BUFSIZE);
  EXPECT_EQ(block, data.substr(1, BF_BUFSIZE));

  ConsoleCapture con;
  EXPECT_EQ(rfseek(-1), -2);
  EXPECT_EQ(rftell(), BF_BUFSIZE + 1);
  rfread(block.data(), BF_BUFSIZE);
  rfread(block.data(), BF_BUFSIZE);  // to the end, which closes the file
  EXPECT_EQ(rfseek(0), -2);
  EXPECT_EQ(rfgetc(), -1);
  EXPECT_EQ(con.take(), "Failed in seek in rfseek. \nFailed in seek in rfseek. \n");
}

// Offsets are 32-bit: the data ends at INT32_MAX however long the file is.
TEST_P(Reader, DataEndsAtTheLargestOffset) {
  std::string p = path("huge");
  int fd = open(p.c_str(), O_WRONLY | O_CREAT, 0644);
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
}

INSTANTIATE_TEST_SUITE_P(Modes, Reader, bothModes, modename);

}  // namespace
