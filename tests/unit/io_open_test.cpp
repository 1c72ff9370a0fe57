// io_open_test.cpp - opens that fail, files that cannot seek, and refused stream buffers.
#include <dlfcn.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/platform.h"
#include "tests/unit/io_support.h"

// Stream buffers can be refused on demand: the reader and writer must then give up.
namespace {
bool refuseBuffer = false;
}
extern "C" int setvbuf(FILE* fp, char* buf, int mode, size_t size) noexcept {
  if (refuseBuffer) return -1;
  using Fn = int (*)(FILE*, char*, int, size_t);
  static auto real = reinterpret_cast<Fn>(dlsym(RTLD_NEXT, "setvbuf"));
  return real(fp, buf, mode, size);
}

namespace {

class Open : public TempDir {};

TEST_F(Open, ReadFailuresSayWhy) {
  mkdir(path("folder").c_str(), 0755);
  struct Case {
    std::string path;
    const char* handleSays;
  };
  const Case cases[] = {
      {path("missing.pmx"), "Could not open (RD)(code=2).\n"},
      {path("nofolder/x.pmx"), "Could not open (RD)(PATH_NOT_FOUND). \n"},
      {path("folder"), "Could not open (RD)(code=5).\n"},
      {"", "Could not open (RD)(PATH_NOT_FOUND). \n"},
  };
  ConsoleCapture con;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    EXPECT_EQ(rfopenW(wide(c.path).c_str()), -1);
    EXPECT_EQ(con.take(), c.handleSays);
    EXPECT_EQ(rfopen(c.path.c_str()), -1);
    EXPECT_EQ(con.take(), "Cannot open RD file : " + c.path + "\n");
    EXPECT_EQ(rftryopenW(wide(c.path).c_str()) + rftryopen(c.path.c_str()), -2);
    EXPECT_EQ(con.take(), "");  // the probes are silent
  }
  // not a Windows file name
  make("a?b", "x");
  EXPECT_EQ(rfopen(path("a?b").c_str()), -1);
  EXPECT_EQ(con.take(), "Cannot open RD file : " + path("a?b") + "\n");
}

TEST_F(Open, WriteFailuresSayWhy) {
  mkdir(path("folder").c_str(), 0755);
  struct Case {
    std::string path;
    const char* handleSays;
  };
  const Case cases[] = {
      {path("nofolder/x.pmx"), "Could not open (WR)(code=3).\n"},
      {path("folder"), "Could not open (WR)(code=80).\n"},  // the name is taken
      {path("a*b"), nullptr},  // a valid name on POSIX, not through the ANSI path
  };
  ConsoleCapture con;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    if (c.handleSays != nullptr) {
      EXPECT_EQ(wfopenW(wide(c.path).c_str()), -1);
      EXPECT_EQ(con.take(), c.handleSays);
    }
    EXPECT_EQ(wfopen(c.path.c_str()), -1);
    EXPECT_EQ(con.take(), "Cannot open WR file : " + c.path + "\n");
    EXPECT_EQ(wfclose(), -1);  // nothing was written
  }
}

TEST_F(Open, PlatformCodes) {
  uint32_t err = 0;
  make("plain", "x");
  EXPECT_EQ(osopenwriteW(wide(path("plain/y")).c_str(), &err), OS_NOHANDLE);
  EXPECT_EQ(err, OSERR_PATH_NOT_FOUND);  // a file where a folder should be
  const char16_t lone[] = {u'a', 0xD800, 0};
  EXPECT_EQ(osopenreadW(lone, &err), OS_NOHANDLE);
  EXPECT_EQ(err, OSERR_INVALID_NAME);
  EXPECT_EQ(osremove(path("gone").c_str()), -1);
  EXPECT_EQ(oslasterror(), OSERR_FILE_NOT_FOUND);
}

// Only the leftover of a run that was cut off is removed: a plain file with one name
// that no running writer holds. Everything else under the name stays as it is.
TEST_F(Open, LeftoversAreRemovedOnlyWhenPlain) {
  std::string target = make("target", "keep");
  make("plain", "half a model");
  ASSERT_EQ(symlink(target.c_str(), path("link").c_str()), 0);
  ASSERT_EQ(link(target.c_str(), path("hard").c_str()), 0);
  ASSERT_EQ(mkdir(path("folder").c_str(), 0755), 0);
  ASSERT_EQ(mkfifo(path("fifo").c_str(), 0600), 0);
  ASSERT_EQ(wfopen(path("writing").c_str()), 0);  // another writer holds it

  EXPECT_EQ(osclearstale(path("plain").c_str()), 0);
  EXPECT_FALSE(std::filesystem::exists(path("plain")));
  EXPECT_EQ(osclearstaleW(wide(path("absent")).c_str()), 0);
  for (const char* name : {"link", "hard", "folder", "fifo", "writing"}) {
    SCOPED_TRACE(name);
    EXPECT_EQ(osclearstale(path(name).c_str()), -1);
    EXPECT_EQ(osclearstaleW(wide(path(name)).c_str()), -1);
    EXPECT_TRUE(osexists(path(name).c_str()));
  }
  EXPECT_EQ(wfclose(), 0);
  EXPECT_EQ(osclearstale(path("writing").c_str()), 0);  // closed: now a leftover
  EXPECT_EQ(contents(target), "keep");

  // A name is taken by any entry, a link that leads nowhere too.
  ASSERT_EQ(symlink(path("nowhere").c_str(), path("dangling").c_str()), 0);
  EXPECT_TRUE(osexistsW(wide(path("dangling")).c_str()));
  EXPECT_FALSE(osexists(path("nowhere").c_str()));
  EXPECT_FALSE(osexists(path("plain/x").c_str()));
}

// One file named two ways has one identity.
TEST_F(Open, FileIdentityFollowsTheFileNotThePath) {
  make("a.pmx", "x");
  make("b.pmx", "x");
  mkdir(path("sub").c_str(), 0755);
  OsFileId a{}, same{}, other{};
  ASSERT_EQ(osfileid(path("a.pmx").c_str(), &a), 0);
  ASSERT_EQ(osfileidW(wide(path("sub/../a.pmx")).c_str(), &same), 0);
  ASSERT_EQ(osfileid(path("b.pmx").c_str(), &other), 0);
  EXPECT_TRUE(a.volume == same.volume && a.file == same.file);
  EXPECT_FALSE(a.volume == other.volume && a.file == other.file);
  EXPECT_EQ(osfileid(path("gone").c_str(), &other), -1);
}

// A pipe opens without waiting for a writer, and cannot seek.
TEST_F(Open, PipesCannotSeek) {
  std::string fifo = path("pipe");
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  ConsoleCapture con;

  int feed = open(fifo.c_str(), O_RDWR | O_NONBLOCK);
  ASSERT_GE(feed, 0);
  ASSERT_EQ(write(feed, "0123456789", 10), 10);
  ASSERT_EQ(rfopenW(wide(fifo).c_str()), 0);
  close(feed);  // the bytes stay in the pipe for the reader, then it ends
  EXPECT_EQ(rfgetc(), '0');
  EXPECT_EQ(rfseek(0), -2);
  EXPECT_EQ(con.take(), "Failed in seek in rfbufrewind. \n");
  EXPECT_EQ(rftell(), 1);
  char rest[9];
  EXPECT_EQ(rfread(rest, 9), 9);
  EXPECT_EQ(std::string(rest, 9), "123456789");
  EXPECT_EQ(rfseek(0), -2);  // nothing buffered ahead; the seek itself fails
  EXPECT_EQ(con.take(), "Failed in seek in rfseek. \n");
  EXPECT_EQ(rfgetc(), -1);

  feed = open(fifo.c_str(), O_RDWR | O_NONBLOCK);
  ASSERT_GE(feed, 0);
  ASSERT_EQ(write(feed, "ab", 2), 2);
  ASSERT_EQ(rfopen(fifo.c_str()), 0);
  close(feed);
  EXPECT_EQ(rfgetc(), 'a');
  EXPECT_EQ(rfseek(0), -2);
  EXPECT_EQ(con.take(), "Failed in seek in rfseek. \n");

  EXPECT_EQ(rftryopen(fifo.c_str()), 0);  // no writer at all: opens, and is empty
  EXPECT_EQ(rfgetc(), -1);
}

TEST_F(Open, RefusedStreamBufferClosesTheFile) {
  std::string p = make("in", "abc");
  ConsoleCapture con;
  refuseBuffer = true;
  EXPECT_EQ(rfopen(p.c_str()), -1);
  std::string readsaid = con.take();
  EXPECT_EQ(rfeof(), -1);
  EXPECT_EQ(rftryopen(p.c_str()), 0);  // the silent open keeps the stream's own buffer
  EXPECT_EQ(wfopen(path("out").c_str()), -1);
  std::string writesaid = con.take();
  refuseBuffer = false;
  EXPECT_EQ(readsaid, "Buffering failed.(RD) \n");
  EXPECT_EQ(writesaid, "Buffering failed.(WR)\n");
  EXPECT_EQ(rfgetc(), 'a');
  EXPECT_EQ(wferror(), -1);
  EXPECT_EQ(wfdiscard(), -1);  // the empty file it had created is already gone
  EXPECT_FALSE(std::filesystem::exists(path("out")));
}

}  // namespace
