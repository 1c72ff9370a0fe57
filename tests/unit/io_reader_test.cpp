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
  const int32_t n = BF_BUFSIZE * 5 / 2 - 480;  // more than two buffers, more than the rest
  std::string block(static_cast<size_t>(n), '\0');
  EXPECT_EQ(rfread(block.data(), n), n);
  got += block + static_cast<char>(rfgetc());
  EXPECT_EQ(rfread(block.data(), -5), 0);
  int32_t rest = static_cast<int32_t>(data.size() - got.size());
  EXPECT_EQ(rfread(block.data(), n), rest);  // short: the end
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

// A value, block or skip that meets the buffer's end before, at or after any byte of it
// delivers the file's bytes in order: the refill takes over exactly where the buffer
// stopped, also after whole buffers went straight to the destination.
TEST_P(Reader, EveryOffsetAgainstTheBufferEnd) {
  std::string data = pattern(3 * BF_BUFSIZE + 5);
  std::string p = make("edges", data);
  auto byte = [&](int32_t at) {
    return static_cast<uint32_t>(static_cast<unsigned char>(data[static_cast<size_t>(at)]));
  };
  for (int32_t edge : {BF_BUFSIZE, 2 * BF_BUFSIZE}) {
    for (int32_t k = 0; k <= 4; k++) {  // bytes left in the buffer before the edge
      SCOPED_TRACE(testing::Message() << "edge " << edge << ", " << k << " bytes before it");
      ASSERT_EQ(openread(GetParam(), p), 0);
      ASSERT_EQ(rfskip(edge - k), edge - k);
      int32_t at = edge - k;
      uint32_t want = byte(at) | byte(at + 1) << 8 | byte(at + 2) << 16 | byte(at + 3) << 24;
      EXPECT_EQ(rfgetlong(), static_cast<int32_t>(want));
      EXPECT_EQ(rfgetshort(), static_cast<int16_t>(byte(at + 4) | byte(at + 5) << 8));
      EXPECT_EQ(rftell(), at + 6);
    }
  }
  std::string block(2 * BF_BUFSIZE + 3, '\0');
  for (int32_t from : {1, BF_BUFSIZE - 1, BF_BUFSIZE, BF_BUFSIZE + 1}) {
    for (int32_t n : {1, 2, BF_BUFSIZE - 1, BF_BUFSIZE, BF_BUFSIZE + 1, 2 * BF_BUFSIZE + 3}) {
      SCOPED_TRACE(testing::Message() << n << " bytes from " << from);
      ASSERT_EQ(openread(GetParam(), p), 0);
      rfgetc();  // the buffer filled, the skip goes on from inside it
      ASSERT_EQ(rfskip(from - 1), from - 1);
      ASSERT_EQ(rfread(block.data(), n), n);
      EXPECT_EQ(block.substr(0, static_cast<size_t>(n)),
                data.substr(static_cast<size_t>(from), static_cast<size_t>(n)));
      EXPECT_EQ(rftell(), from + n);
      EXPECT_EQ(rfgetc(), static_cast<int>(byte(from + n)));
    }
  }
}

// A last buffer that is short, full or a single byte ends the data after its last byte,
// read by bytes or by skips.
TEST_P(Reader, EndsAfterTheLastBufferWhateverItsSize) {
  for (int32_t size : {BF_BUFSIZE - 1, BF_BUFSIZE, BF_BUFSIZE + 1, 2 * BF_BUFSIZE + 7}) {
    SCOPED_TRACE(testing::Message() << size << " bytes");
    std::string data = pattern(static_cast<size_t>(size));
    std::string p = make("last", data);
    ASSERT_EQ(openread(GetParam(), p), 0);
    std::string got;
    for (int c; (c = rfgetc()) >= 0;) got += static_cast<char>(c);
    EXPECT_EQ(got, data);
    EXPECT_EQ(rfeof(), -1);
    EXPECT_EQ(rftell(), size);

    ASSERT_EQ(openread(GetParam(), p), 0);
    EXPECT_EQ(rfskip(size - 1), size - 1);
    EXPECT_EQ(rfeof(), 0);
    EXPECT_EQ(rfgetc(), static_cast<unsigned char>(data.back()));
    EXPECT_EQ(rfskip(1), 0);
    EXPECT_EQ(rfeof(), -1);
    EXPECT_EQ(rftell(), size);
  }
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

// The end of a file and a failed read both end the reader; only the second is an error.
TEST_P(Reader, AReadErrorIsToldFromTheEnd) {
  std::string p = make("two", "ab");
  ASSERT_EQ(openread(GetParam(), p), 0);
  EXPECT_EQ(rfgetc(), 'a');
  EXPECT_EQ(rfgetc(), 'b');
  EXPECT_EQ(rfgetc(), -1);
  EXPECT_FALSE(rfreaderror());
  ASSERT_EQ(openread(GetParam(), "/proc/self/mem"), 0);  // opens; offset 0 reads EIO
  EXPECT_EQ(rfgetc(), -1);
  EXPECT_TRUE(rfreaderror());
  ASSERT_EQ(openread(GetParam(), p), 0);
  EXPECT_FALSE(rfreaderror());
  rfclose();
}

INSTANTIATE_TEST_SUITE_P(Modes, Reader, bothModes, modename);

}  // namespace
