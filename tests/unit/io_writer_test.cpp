// io_writer_test.cpp - the buffered writer in both modes: bytes, cut strings, full disks,
// discarded files, and the copies from the reader in every pairing of modes.
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <vector>

#include "tests/unit/io_support.h"

namespace {

class Writer : public TempDir, public ::testing::WithParamInterface<Mode> {};

// Nothing that exists is opened for writing: a file, a link (dangling too), a folder.
TEST_P(Writer, TakenNamesAreNeverOpened) {
  std::string kept = make("kept", "older contents");
  ASSERT_EQ(symlink(kept.c_str(), path("link").c_str()), 0);
  ASSERT_EQ(symlink(path("nowhere").c_str(), path("dangling").c_str()), 0);
  ASSERT_EQ(mkdir(path("folder").c_str(), 0755), 0);
  ConsoleCapture con;
  for (const char* name : {"kept", "link", "dangling", "folder"}) {
    SCOPED_TRACE(name);
    EXPECT_EQ(openwrite(GetParam(), path(name)), -1);
    EXPECT_EQ(con.take(), GetParam() == Mode::Handle ? "Could not open (WR)(code=80).\n"
                                                     : "Cannot open WR file : " + path(name) + "\n");
    int quiet = GetParam() == Mode::Handle ? wfcreateW(wide(path(name)).c_str()) : wfcreate(path(name).c_str());
    EXPECT_EQ(quiet, 1);
    EXPECT_EQ(con.take(), "");
  }
  EXPECT_EQ(contents(kept), "older contents");
  EXPECT_FALSE(std::filesystem::exists(path("nowhere")));
}

TEST_P(Writer, ValuesAndStringsGoOutExactly) {
  std::string p = path("out");
  ConsoleCapture con;
  ASSERT_EQ(openwrite(GetParam(), p), 0);
  EXPECT_EQ(wfputc(0x141), 0);  // only the low byte
  EXPECT_EQ(wfputlong(-2), 0);
  EXPECT_EQ(wfputfloat(1.5f), 0);
  EXPECT_EQ(wfputs(""), 0);
  EXPECT_EQ(wfputs(std::string(512, 'c').c_str()), 0);
  EXPECT_EQ(wfputs(std::string(513, 'd').c_str()), 1);
  EXPECT_EQ(wfputs(std::string(600, 'e').c_str()), 1);
  EXPECT_EQ(wfputunistr(u"\u3042Z"), 0);
  EXPECT_EQ(con.take(), "");
  EXPECT_EQ(wfputunistr(std::u16string(513, u'\u00C1').c_str()), 0);
  EXPECT_EQ(con.take(), "Too long unistr.\n");
  EXPECT_EQ(wfwrite("xyz", 3), 3);
  EXPECT_EQ(wfflush(), 0);
  std::string want = std::string("\x41\xFE\xFF\xFF\xFF\x00\x00\xC0\x3F", 9) +
                     std::string(512, 'c') + std::string(513, 'd') + std::string(513, 'e') +
                     std::string("\x42\x30Z\x00", 4);
  for (int i = 0; i < 513; i++) want += std::string("\xC1\x00", 2);
  want += "xyz";
  EXPECT_EQ(contents(p), want);  // flushed, the file already holds it all
  EXPECT_EQ(wftell(), static_cast<int32_t>(want.size()));
  EXPECT_EQ(wfclose(), 0);
  EXPECT_EQ(wferror(), -1);
  EXPECT_EQ(wfputc('a'), -1);
  EXPECT_EQ(contents(p), want);
  EXPECT_EQ(con.take(), "");
}

// /dev/full refuses every write with "no space".
TEST_P(Writer, FullDiskReportsOnceAndCloses) {
  ConsoleCapture con;
  ASSERT_EQ(openwriteto(GetParam(), dir_, "/dev/full"), 0);
  int firstfail = -1;
  for (int i = 0; i < 2 * BF_BUFSIZE; i++) {
    if (wfputc(i) != 0 && firstfail < 0) firstfail = i;
  }
  EXPECT_EQ(firstfail, BF_BUFSIZE - 1);  // the byte that fills the buffer
  EXPECT_EQ(con.take(), "File writing error.(or Disk full)\n");
  EXPECT_EQ(wferror(), -1);
  EXPECT_EQ(wfputc(1), -1);
  EXPECT_EQ(wfputs(""), -1);
  EXPECT_EQ(wfputunistr(std::u16string(600, u'a').c_str()), -1);
  EXPECT_EQ(wfwrite("abc", 3), -1);
  EXPECT_EQ(wfflush(), -1);
  EXPECT_EQ(wfclose(), -1);  // the file is not complete
  EXPECT_EQ(con.take(), "");

  // a small file fails only when its bytes leave the buffers: at the flush or close
  for (bool flush : {true, false}) {
    ASSERT_EQ(openwriteto(GetParam(), dir_, "/dev/full"), 0);
    EXPECT_EQ(wfputs("short"), 0);
    if (flush) {
      EXPECT_EQ(wfflush(), -1);
    }
    EXPECT_EQ(wfclose(), -1);
    EXPECT_EQ(con.take(), "File writing error.(or Disk full)\n");
  }

  ASSERT_EQ(openwriteto(GetParam(), dir_, "/dev/full"), 0);
  std::string block(3 * BF_BUFSIZE, 'x');
  int32_t put = wfwrite(block.data(), static_cast<int32_t>(block.size()));
  bool handle = GetParam() == Mode::Handle;
  EXPECT_EQ(con.take(), handle ? "File writing error.(or Disk full)\n"
                               : "File buffered writing error.(or Disk full)\n");
  EXPECT_EQ(put, handle ? -1 : 0);
  EXPECT_EQ(wferror(), -1);
}

// Counts are 32-bit: the byte after INT32_MAX is refused as a write error.
TEST_P(Writer, CountStopsAtTheLargestOffset) {
  ConsoleCapture con;
  std::vector<char> block(1 << 20, 'z');
  for (int32_t last : {(1 << 20) - 2, 1 << 20}) {
    ASSERT_EQ(openwriteto(GetParam(), dir_, "/dev/null"), 0);
    for (int i = 0; i < 2047; i++) ASSERT_EQ(wfwrite(block.data(), 1 << 20), 1 << 20);
    if (last == 1 << 20) {
      EXPECT_EQ(wfwrite(block.data(), last), -1);
    } else {
      EXPECT_EQ(wfwrite(block.data(), last), last);
      EXPECT_EQ(wfputc('a'), 0);
      EXPECT_EQ(wftell(), INT32_MAX);
      EXPECT_EQ(con.take(), "");
      EXPECT_EQ(wfputc('b'), -1);
    }
    EXPECT_EQ(con.take(), "File writing error.(or Disk full)\n");
    EXPECT_EQ(wfclose(), -1);
  }
}

TEST_P(Writer, ReopenKeepsTheFirstFileAndDiscardRemovesTheLast) {
  ASSERT_EQ(openwrite(GetParam(), path("a")), 0);
  wfputs("first");
  ASSERT_EQ(openwrite(GetParam(), path("b")), 0);  // no close in between
  wfputs("partial");
  EXPECT_EQ(wfdiscard(), 0);
  EXPECT_EQ(contents(path("a")), "first");
  EXPECT_FALSE(std::filesystem::exists(path("b")));
  EXPECT_EQ(wfdiscard(), -1);  // nothing left to remove

  ASSERT_EQ(openwrite(GetParam(), path("c")), 0);
  EXPECT_EQ(wfclose(), 0);
  EXPECT_EQ(wfdiscard(), 0);  // also after the close
  EXPECT_FALSE(std::filesystem::exists(path("c")));
}

// A finished file takes a name that is taken only when asked to, and then in one step:
// the old file is never written through (its other name keeps its bytes).
TEST_P(Writer, CommitOverReplacesTheOldFileWithoutOpeningIt) {
  std::string list = make("list", "old lines\n");
  ASSERT_EQ(link(list.c_str(), path("other name").c_str()), 0);
  auto commit = [&](bool over) {
    const std::u16string w = wide(list);
    if (GetParam() == Mode::Handle) return over ? wfcommitoverW(w.c_str()) : wfcommitW(w.c_str());
    return over ? wfcommitover(list.c_str()) : wfcommit(list.c_str());
  };
  ASSERT_EQ(openwrite(GetParam(), path("list.part")), 0);
  wfputs("old lines\nnew line\n");
  EXPECT_EQ(commit(false), 1);  // taken: still open under its temporary name
  EXPECT_EQ(commit(true), 0);
  EXPECT_EQ(contents(list), "old lines\nnew line\n");
  EXPECT_EQ(contents(path("other name")), "old lines\n");
  EXPECT_FALSE(std::filesystem::exists(path("list.part")));
}

INSTANTIATE_TEST_SUITE_P(Modes, Writer, bothModes, modename);

// ---- Copies from the reader ----

class Copy : public TempDir, public ::testing::WithParamInterface<std::tuple<Mode, Mode>> {};

TEST_P(Copy, EveryPairingGivesTheSameBytes) {
  auto [rmode, wmode] = GetParam();
  std::string data = pattern(4 * BF_BUFSIZE + 321);
  std::string dst = path("dst");
  ASSERT_EQ(openread(rmode, make("src", data)), 0);
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
  size_t cut = static_cast<size_t>(rftell());
  EXPECT_EQ(rfgetc(), static_cast<unsigned char>(data[cut]));
  EXPECT_EQ(wfputc('M'), 0);
  EXPECT_EQ(wfcopybytes(BF_BUFSIZE), BF_BUFSIZE);
  EXPECT_EQ(wfcopyrest(), static_cast<int32_t>(data.size() - cut - 1 - BF_BUFSIZE));
  EXPECT_EQ(rfeof(), -1);
  EXPECT_EQ(wfcopybytes(5), -1);  // nothing left to copy from
  EXPECT_EQ(wfclose(), 0);
  EXPECT_EQ(contents(dst), "H" + data.substr(3, cut - 3) + "M" + data.substr(cut + 1));

  // past the end: what there was; a rest of exactly one buffer
  ASSERT_EQ(openread(rmode, make("src2", data.substr(0, 2 * BF_BUFSIZE))), 0);
  std::filesystem::remove(dst);
  ASSERT_EQ(openwrite(wmode, dst), 0);
  EXPECT_EQ(wfcopybytes(BF_BUFSIZE), BF_BUFSIZE);
  EXPECT_EQ(wfcopyrest(), BF_BUFSIZE);
  EXPECT_EQ(wfcopybytes(1), -1);
  EXPECT_EQ(wfclose(), 0);
  ASSERT_EQ(openread(rmode, make("src3", data.substr(0, 10))), 0);
  ASSERT_EQ(openwrite(wmode, path("dst3")), 0);
  EXPECT_EQ(wfcopybytes(3 * BF_BUFSIZE), 10);
  EXPECT_EQ(wfclose(), 0);
  EXPECT_EQ(contents(dst), data.substr(0, 2 * BF_BUFSIZE));
  EXPECT_EQ(contents(path("dst3")), data.substr(0, 10));
}

// A failed copy between two streams is a failed block write; with a handle on either
// side, a failed byte write.
std::string copyerror(Mode rmode, Mode wmode) {
  bool blocks = rmode == Mode::Stream && wmode == Mode::Stream;
  return blocks ? "File buffered writing error.(or Disk full)\n"
                : "File writing error.(or Disk full)\n";
}

TEST_P(Copy, FullDiskFailsTheCopy) {
  auto [rmode, wmode] = GetParam();
  ConsoleCapture con;
  ASSERT_EQ(openread(rmode, make("src", pattern(3 * BF_BUFSIZE))), 0);
  ASSERT_EQ(openwriteto(wmode, dir_, "/dev/full"), 0);
  EXPECT_EQ(wfcopybytes(2 * BF_BUFSIZE), -1);
  EXPECT_EQ(con.take(), copyerror(rmode, wmode));
  EXPECT_EQ(wfcopyrest(), -1);
  EXPECT_EQ(wfclose(), -1);
  EXPECT_EQ(con.take(), "");
}

// A copy that leaves its bytes in the buffer has not failed yet; the one that fills the
// buffer writes it, and the full disk is reported then, once.
TEST_P(Copy, FullDiskFailsWhenTheBufferGoesOut) {
  auto [rmode, wmode] = GetParam();
  ConsoleCapture con;
  ASSERT_EQ(openread(rmode, make("src", pattern(2 * BF_BUFSIZE))), 0);
  ASSERT_EQ(openwriteto(wmode, dir_, "/dev/full"), 0);
  EXPECT_EQ(wfputc('x'), 0);
  EXPECT_EQ(wfcopybytes(BF_BUFSIZE - 2), BF_BUFSIZE - 2);
  EXPECT_EQ(wferror(), 0);
  EXPECT_EQ(con.take(), "");
  EXPECT_EQ(wfcopybytes(1), -1);
  EXPECT_EQ(con.take(), copyerror(rmode, wmode));
  EXPECT_EQ(wfcopyrest(), -1);
  EXPECT_EQ(wfclose(), -1);
  EXPECT_EQ(con.take(), "");
}

// The writer's count stops at INT32_MAX in a copy as it does byte by byte: the bytes up
// to it are taken, the next one is a write error.
TEST_P(Copy, StopsAtTheLargestOffset) {
  auto [rmode, wmode] = GetParam();
  ConsoleCapture con;
  ASSERT_EQ(openread(rmode, make("src", pattern(3 * BF_BUFSIZE))), 0);
  ASSERT_EQ(openwriteto(wmode, dir_, "/dev/null"), 0);
  std::vector<char> block(1 << 20, 'z');
  for (int i = 0; i < 2047; i++) ASSERT_EQ(wfwrite(block.data(), 1 << 20), 1 << 20);
  const int32_t left = INT32_MAX - wftell();  // 1 MiB - 1
  ASSERT_EQ(wfwrite(block.data(), left - BF_BUFSIZE - 10), left - BF_BUFSIZE - 10);
  EXPECT_EQ(wfcopybytes(BF_BUFSIZE + 10), BF_BUFSIZE + 10);
  EXPECT_EQ(wftell(), INT32_MAX);
  EXPECT_EQ(con.take(), "");
  EXPECT_EQ(wfcopybytes(1), -1);
  EXPECT_EQ(con.take(), "File writing error.(or Disk full)\n");
  EXPECT_EQ(wfclose(), -1);
}

INSTANTIATE_TEST_SUITE_P(Modes, Copy, ::testing::Combine(bothModes, bothModes),
                         [](const auto& info) {
                           Mode r = std::get<0>(info.param);
                           Mode w = std::get<1>(info.param);
                           return std::string(r == Mode::Handle ? "Handle" : "Stream") + "To" +
                                  (w == Mode::Handle ? "Handle" : "Stream");
                         });

}  // namespace
