// io_writer_test.cpp - the buffered writer in both modes: bytes, cut strings, full disks,
// discarded files, and the copies from the reader in every pairing of modes.
#include <climits>
#include <cstring>
#include <vector>

#include "tests/unit/io_support.h"

namespace {

class Writer : public TempDir, public ::testing::WithParamInterface<Mode> {};

TEST_P(Writer, ValuesAndStringsGoOutExactly) {
  std::string p = path("out.bin");
  ConsoleCapture con;
  ASSERT_EQ(openwrite(GetParam(), p), 0);
  EXPECT_EQ(wferror(), 0);
  EXPECT_EQ(wfputc(0x141), 0);  // only the low byte
  EXPECT_EQ(wfputlong(0x12345678), 0);
  EXPECT_EQ(wfputlong(-2), 0);
  EXPECT_EQ(wfputfloat(1.5f), 0);
  EXPECT_EQ(wfputs(""), 0);
  EXPECT_EQ(wfputs("ab"), 0);
  EXPECT_EQ(wfputs(std::string(512, 'c').c_str()), 0);
  EXPECT_EQ(wfputs(std::string(513, 'd').c_str()), 1);
  EXPECT_EQ(wfputs(std::string(600, 'e').c_str()), 1);
  EXPECT_EQ(wfputunistr(u"\u3042Z"), 0);
  EXPECT_EQ(con.take(), "");
  EXPECT_EQ(wfputunistr(std::u16string(513, u'\u00C1').c_str()), 0);
  EXPECT_EQ(con.take(), "Too long unistr.\n");
  EXPECT_EQ(wfputunistr(std::u16string(700, u'f').c_str()), 0);
  EXPECT_EQ(con.take(), "Too long unistr.\n");
  EXPECT_EQ(wfwrite("xyz", 3), 3);
  EXPECT_EQ(wfwrite("xyz", 0), 0);

  std::string units;
  for (int i = 0; i < 513; i++) units += std::string("\xC1\x00", 2);
  for (int i = 0; i < 513; i++) units += std::string("f\x00", 2);
  std::string want = std::string("\x41\x78\x56\x34\x12\xFE\xFF\xFF\xFF\x00\x00\xC0\x3F", 13) + "ab" +
         std::string(512, 'c') + std::string(513, 'd') + std::string(513, 'e') +
         std::string("\x42\x30Z\x00", 4) + units + "xyz";
  EXPECT_EQ(wftell(), static_cast<int32_t>(want.size()));
  EXPECT_EQ(wfclose(), 0);
  EXPECT_EQ(wferror(), -1);
  EXPECT_EQ(contents(p), want);
  EXPECT_EQ(con.take(), "");
}

TEST_P(Writer, ClosedWriterRefusesSilently) {
  ConsoleCapture con;
  EXPECT_EQ(wferror(), -1);
  EXPECT_EQ(wfputc('a'), -1);
  EXPECT_EQ(wfputlong(1), -1);
  EXPECT_EQ(wfputfloat(1.0f), -1);
  EXPECT_EQ(wfputs(""), -1);
  EXPECT_EQ(wfputs("a"), -1);
  EXPECT_EQ(wfputunistr(std::u16string(600, u'a').c_str()), -1);
  EXPECT_EQ(wfwrite("a", 1), -1);
  EXPECT_EQ(wfflush(), -1);
  EXPECT_EQ(con.take(), "");
}

TEST_P(Writer, OpenTruncatesAndReopenKeepsTheFirstFile) {
  std::string a = make("a", "old contents");
  ASSERT_EQ(openwrite(GetParam(), a), 0);
  wfputs("new");
  ASSERT_EQ(openwrite(GetParam(), path("b")), 0);  // no close in between
  wfputs("bb");
  EXPECT_EQ(wfclose(), 0);
  EXPECT_EQ(contents(a), "new");
  EXPECT_EQ(contents(path("b")), "bb");
}

TEST_P(Writer, FlushHandsTheBytesToTheFile) {
  std::string p = path("f");
  ASSERT_EQ(openwrite(GetParam(), p), 0);
  wfputs("abc");
  EXPECT_EQ(wfflush(), 0);
  EXPECT_EQ(contents(p), "abc");
  EXPECT_EQ(wferror(), 0);
  EXPECT_EQ(wfclose(), 0);
}

// /dev/full refuses every write with "no space".
TEST_P(Writer, FullDiskReportsOnceAndCloses) {
  ConsoleCapture con;
  ASSERT_EQ(openwrite(GetParam(), "/dev/full"), 0);
  int firstfail = -1;
  for (int i = 0; i < 3 * BF_BUFSIZE; i++) {
    int r = wfputc(i);
    if (r != 0 && firstfail < 0) firstfail = i;
    if (firstfail >= 0) {
      EXPECT_EQ(r, -1) << i;
    }
  }
  EXPECT_EQ(firstfail, BF_BUFSIZE - 1);  // the byte that fills the buffer
  EXPECT_EQ(con.take(), "File writing error.(or Disk full)\n");
  EXPECT_EQ(wferror(), -1);
  EXPECT_EQ(wfputlong(5), -1);
  EXPECT_EQ(wfwrite("abc", 3), -1);
  EXPECT_EQ(wfclose(), -1);  // the file is not complete
  EXPECT_EQ(wfclose(), -1);
  EXPECT_EQ(con.take(), "");
}

// A small file fails only when its bytes leave the buffers: at the close.
TEST_P(Writer, FullDiskSeenAtTheClose) {
  ConsoleCapture con;
  ASSERT_EQ(openwrite(GetParam(), "/dev/full"), 0);
  EXPECT_EQ(wfputs("short"), 0);
  EXPECT_EQ(con.take(), "");
  EXPECT_EQ(wfclose(), -1);
  EXPECT_EQ(con.take(), "File writing error.(or Disk full)\n");
  EXPECT_EQ(wferror(), -1);

  ASSERT_EQ(openwrite(GetParam(), "/dev/full"), 0);
  wfputs("short");
  EXPECT_EQ(wfflush(), -1);
  EXPECT_EQ(con.take(), "File writing error.(or Disk full)\n");
  EXPECT_EQ(wferror(), -1);
  EXPECT_EQ(wfclose(), -1);
  EXPECT_EQ(con.take(), "");

  // a good file afterwards is judged on its own
  ASSERT_EQ(openwrite(GetParam(), path("ok")), 0);
  EXPECT_EQ(wfclose(), 0);
}

TEST_P(Writer, FullDiskBlockWrite) {
  ConsoleCapture con;
  ASSERT_EQ(openwrite(GetParam(), "/dev/full"), 0);
  std::string block(3 * BF_BUFSIZE, 'x');
  int32_t r = wfwrite(block.data(), static_cast<int32_t>(block.size()));
  if (GetParam() == Mode::Handle) {
    EXPECT_EQ(r, -1);
    EXPECT_EQ(con.take(), "File writing error.(or Disk full)\n");
  } else {
    EXPECT_GE(r, 0);
    EXPECT_LT(r, static_cast<int32_t>(block.size()));
    EXPECT_EQ(con.take(), "File buffered writing error.(or Disk full)\n");
  }
  EXPECT_EQ(wferror(), -1);
  EXPECT_EQ(wfclose(), -1);
  EXPECT_EQ(con.take(), "");
}

// Counts are 32-bit: the byte after INT32_MAX is refused as a write error.
TEST_P(Writer, CountStopsAtTheLargestOffset) {
  ConsoleCapture con;
  ASSERT_EQ(openwrite(GetParam(), "/dev/null"), 0);
  std::vector<char> block(1 << 20, 'z');
  for (int i = 0; i < 2047; i++) ASSERT_EQ(wfwrite(block.data(), 1 << 20), 1 << 20);
  EXPECT_EQ(wfwrite(block.data(), (1 << 20) - 2), (1 << 20) - 2);
  EXPECT_EQ(wfputc('a'), 0);
  EXPECT_EQ(wftell(), INT32_MAX);
  EXPECT_EQ(con.take(), "");
  EXPECT_EQ(wfputc('b'), -1);
  EXPECT_EQ(con.take(), "File writing error.(or Disk full)\n");
  EXPECT_EQ(wftell(), INT32_MAX);
  EXPECT_EQ(wfclose(), -1);

  ASSERT_EQ(openwrite(GetParam(), "/dev/null"), 0);
  for (int i = 0; i < 2047; i++) ASSERT_EQ(wfwrite(block.data(), 1 << 20), 1 << 20);
  EXPECT_EQ(wfwrite(block.data(), 1 << 20), -1);
  EXPECT_EQ(con.take(), "File writing error.(or Disk full)\n");
}

TEST_P(Writer, DiscardRemovesTheFile) {
  ConsoleCapture con;
  // while open, and after the close
  for (int how = 0; how < 2; how++) {
    SCOPED_TRACE(how);
    std::string p = path("gone.pmx");
    ASSERT_EQ(openwrite(GetParam(), p), 0);
    wfputs("partial");
    if (how == 1) {
      EXPECT_EQ(wfclose(), 0);
    }
    ASSERT_TRUE(exists(p));
    EXPECT_EQ(wfdiscard(), 0);
    EXPECT_FALSE(exists(p));
    EXPECT_EQ(wferror(), -1);
    EXPECT_EQ(wfdiscard(), -1);  // nothing left to remove
  }
  // a failed open removes nothing
  ASSERT_EQ(openwrite(GetParam(), path("keep")), 0);
  EXPECT_EQ(wfclose(), 0);
  EXPECT_NE(openwrite(GetParam(), path("no/such")), 0);
  EXPECT_EQ(wfdiscard(), -1);
  EXPECT_TRUE(exists(path("keep")));
  con.take();
}

INSTANTIATE_TEST_SUITE_P(Modes, Writer, ::testing::Values(Mode::Handle, Mode::Stream),
                         [](const auto& info) { return modename(info.param); });

// ---- Copies from the reader ----

class Copy : public TempDir, public ::testing::WithParamInterface<std::tuple<Mode, Mode>> {};

TEST_P(Copy, EveryPairingGivesTheSameBytes) {
  auto [rmode, wmode] = GetParam();
  std::string data = pattern(4 * BF_BUFSIZE + 321);
  std::string src = make("src", data);
  std::string dst = path("dst");
  ASSERT_EQ(openread(rmode, src), 0);
  ASSERT_EQ(openwrite(wmode, dst), 0);
  wfputc('H');  // the two buffers out of step
  for (int i = 0; i < 3; i++) rfgetc();
  EXPECT_EQ(wfcopybytes(0), 0);
  EXPECT_EQ(wfcopybytes(-4), 0);
  EXPECT_EQ(wfcopybytes(1), 1);
  EXPECT_EQ(wfcopybytes(2 * BF_BUFSIZE + 5), 2 * BF_BUFSIZE + 5);
  if (wmode == Mode::Handle) {  // whole buffers have gone out, the rest waits
    EXPECT_EQ(contents(dst).size(), static_cast<size_t>(wftell() / BF_BUFSIZE * BF_BUFSIZE));
  }
  EXPECT_EQ(rfgetc(), static_cast<unsigned char>(data[4 + 2 * BF_BUFSIZE + 5]));
  EXPECT_EQ(wfputc('M'), 0);
  EXPECT_EQ(wfcopybytes(BF_BUFSIZE), BF_BUFSIZE);
  int32_t rest = static_cast<int32_t>(data.size()) - rftell();
  EXPECT_EQ(wfcopyrest(), rest);
  EXPECT_EQ(rfeof(), -1);
  EXPECT_EQ(wfcopybytes(5), -1);  // nothing left to copy from
  EXPECT_EQ(wfclose(), 0);
  size_t cut = 4 + 2 * BF_BUFSIZE + 5;
  EXPECT_EQ(contents(dst), "H" + data.substr(3, cut - 3) + "M" + data.substr(cut + 1));
}

TEST_P(Copy, CopyPastTheEndGivesWhatThereWas) {
  auto [rmode, wmode] = GetParam();
  std::string data = pattern(BF_BUFSIZE + 10);
  ASSERT_EQ(openread(rmode, make("src", data)), 0);
  ASSERT_EQ(openwrite(wmode, path("dst")), 0);
  EXPECT_EQ(wfcopybytes(3 * BF_BUFSIZE), BF_BUFSIZE + 10);
  EXPECT_EQ(rfeof(), -1);
  EXPECT_EQ(wfclose(), 0);
  EXPECT_EQ(contents(path("dst")), data);

  // an empty rest, and a rest that is exactly one buffer
  ASSERT_EQ(openread(rmode, make("src2", data.substr(0, BF_BUFSIZE))), 0);
  ASSERT_EQ(openwrite(wmode, path("dst2")), 0);
  EXPECT_EQ(wfcopyrest(), BF_BUFSIZE);
  EXPECT_EQ(wfclose(), 0);
  EXPECT_EQ(contents(path("dst2")), data.substr(0, BF_BUFSIZE));
}

TEST_P(Copy, FullDiskFailsTheCopy) {
  auto [rmode, wmode] = GetParam();
  ConsoleCapture con;
  ASSERT_EQ(openread(rmode, make("src", pattern(3 * BF_BUFSIZE))), 0);
  ASSERT_EQ(openwrite(wmode, "/dev/full"), 0);
  EXPECT_EQ(wfcopybytes(2 * BF_BUFSIZE), -1);
  std::string said = con.take();
  EXPECT_TRUE(said == "File writing error.(or Disk full)\n" ||
              said == "File buffered writing error.(or Disk full)\n")
      << said;
  EXPECT_EQ(wfcopyrest(), -1);
  EXPECT_EQ(con.take(), "");
  EXPECT_EQ(wfclose(), -1);
}

INSTANTIATE_TEST_SUITE_P(Modes, Copy,
                         ::testing::Combine(::testing::Values(Mode::Handle, Mode::Stream),
                                            ::testing::Values(Mode::Handle, Mode::Stream)),
                         [](const auto& info) {
                           return std::string(modename(std::get<0>(info.param))) + "To" +
                                  modename(std::get<1>(info.param));
                         });

}  // namespace
