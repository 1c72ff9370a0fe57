// binfile.cpp - the buffered binary reader and writer of the whole process.
//
// Both modes move bytes through the side's own buffer (RfState / WfState in the
// header); only filling and emptying that buffer differ: the system handle in handle
// mode, the stream in stream mode. The file is read and written in whole buffers, also
// by the copies between the two sides: few system calls, and a stream reads straight
// into the side's buffer rather than through its own.
//
// Positions and counts are 32-bit signed. The reader ends its data at offset INT32_MAX
// as if the file ended there, and the writer refuses the byte after INT32_MAX as a
// write error, so neither ever wraps.
#include "io/binfile.h"

#include <bit>
#include <climits>
#include <cstdio>
#include <cstring>

#include "platform/platform.h"
#include "text/console.h"

RfState rfstate = {};
WfState wfstate = {};

namespace {

constexpr int kMaxPath = 1024;  // remembered output path, terminator included
constexpr int kMaxString = 513;  // wfputs / wfputunistr cut their text here

const char kWriteError[] = "File writing error.(or Disk full)\n";
const char kBlockError[] = "File buffered writing error.(or Disk full)\n";

// What the fast paths do not need.
struct Side {
  bool open;
  bool handleMode;
  oshandle handle;
  FILE* stream;
  char streamBuf[BF_BUFSIZE];  // given to the stream with setvbuf
};
Side rd = {false, false, OS_NOHANDLE, nullptr, {}};
Side wr = {false, false, OS_NOHANDLE, nullptr, {}};

// The writer's current or last file, for wfdiscard.
struct WrittenFile {
  bool known;  // a file was created and is not yet removed
  bool wide;
  bool failed;  // a write, flush or close of it failed
  char path[kMaxPath];
  char16_t pathW[kMaxPath];
};
WrittenFile out = {false, false, false, {}, {}};
bool rdfailed;  // the reader ended on a read error, not at the end of its file

int32_t imin(int32_t a, int32_t b) { return a < b ? a : b; }

// ---- Reader ----

// Bytes the reader may still deliver before offset INT32_MAX.
int32_t rdheadroom() { return INT32_MAX - (rfstate.base + rfstate.next); }

// Reads up to n bytes from the file; the count, short at the end or on an error.
int32_t rdraw(void* dst, int32_t n) {
  if (rd.handleMode) {
    uint32_t got = 0;
    if (osread(rd.handle, dst, static_cast<uint32_t>(n), &got) != 0) {
      rdfailed = true;
      return 0;
    }
    return static_cast<int32_t>(got);
  }
  size_t got = fread(dst, 1, static_cast<size_t>(n), rd.stream);
  if (got < static_cast<size_t>(n) && ferror(rd.stream)) rdfailed = true;
  return static_cast<int32_t>(got);
}

// Releases the file; the position stays where the data ended.
void rdend() {
  if (rd.handleMode) {
    osclose(rd.handle);
    rd.handle = OS_NOHANDLE;
  } else {
    fclose(rd.stream);
    rd.stream = nullptr;
  }
  rd.open = false;
  rfstate.base += rfstate.next;
  rfstate.next = rfstate.fill = 0;
}

// Reads the next buffer after the one used up; false when nothing came, which ends the
// reader.
bool rdrefill() {
  rfstate.base += rfstate.fill;
  rfstate.next = rfstate.fill = 0;
  int32_t want = imin(BF_BUFSIZE, rdheadroom());
  int32_t got = want > 0 ? rdraw(rfstate.buf, want) : 0;
  if (got <= 0) {
    rdend();
    return false;
  }
  rfstate.fill = got;
  return true;
}

void rdstart(bool handleMode) {
  rd.open = true;
  rdfailed = false;
  rd.handleMode = handleMode;
  rfstate.base = rfstate.next = rfstate.fill = 0;
}

int rdopenW(const char16_t* path, bool quiet) {
  rfclose();
  uint32_t err = 0;
  oshandle h = osopenreadW(path, &err);
  if (h == OS_NOHANDLE) {
    if (!quiet && err == OSERR_PATH_NOT_FOUND) conputs("Could not open (RD)(PATH_NOT_FOUND). \n");
    else if (!quiet) conprintf("Could not open (RD)(code=%d).\n", static_cast<int>(err));
    return -1;
  }
  rd.handle = h;
  rdstart(true);
  return 0;
}

// ---- Writer ----

// Where the fast path must stop: the buffer's end, or the INT32_MAX count.
void wrsetroom() {
  int32_t left = INT32_MAX - wfstate.base;
  wfstate.room = left < BF_BUFSIZE ? left : BF_BUFSIZE;
}

// Releases the file without writing what is still buffered: that is lost.
void wrrelease() {
  if (wr.handleMode) {
    osclose(wr.handle);
    wr.handle = OS_NOHANDLE;
  } else {
    fclose(wr.stream);
    wr.stream = nullptr;
  }
  wr.open = false;
  wfstate.base += wfstate.fill;
  wfstate.fill = wfstate.room = 0;
}

// A failure: the message (if any), the writer closed once. -1.
int wrfail(const char* message) {
  if (message != nullptr) conputs(message);
  out.failed = true;
  wrrelease();
  return -1;
}

// Empties the buffer into the file (stream mode: into the stream). A failure prints
// message; a short write in handle mode closes without one. 0 or -1.
int wrpush(const char* message = kWriteError) {
  int32_t n = wfstate.fill;
  if (n == 0) return 0;
  if (wr.handleMode) {
    uint32_t put = 0;
    if (oswrite(wr.handle, wfstate.buf, static_cast<uint32_t>(n), &put) != 0) {
      return wrfail(message);
    }
    if (put < static_cast<uint32_t>(n)) return wrfail(nullptr);
  } else if (fwrite(wfstate.buf, 1, static_cast<size_t>(n), wr.stream) < static_cast<size_t>(n)) {
    return wrfail(message);
  }
  wfstate.base += n;
  wfstate.fill = 0;
  wrsetroom();
  return 0;
}

void wrstart(bool handleMode) {
  wr.open = true;
  wr.handleMode = handleMode;
  wfstate.base = wfstate.fill = 0;
  wrsetroom();
  out.failed = false;
}

template <typename Ch>
bool remember(Ch* dst, const Ch* path) {
  int n = 0;
  while (path[n] != 0) {
    if (n + 1 >= kMaxPath) return false;
    dst[n] = path[n];
    n++;
  }
  dst[n] = 0;
  return true;
}

}  // namespace

// ---- Reader -------------------------------------------------------------------------

int rfopenW(const char16_t* path) { return rdopenW(path, false); }
int rftryopenW(const char16_t* path) { return rdopenW(path, true); }

int rfopen(const char* path) {
  rfclose();
  FILE* fp = osfopen(path, "rb");
  if (fp == nullptr) {
    conprintf("Cannot open RD file : %s\n", path);
    return -1;
  }
  rd.stream = fp;
  rdstart(false);
  if (setvbuf(fp, rd.streamBuf, _IOFBF, BF_BUFSIZE) != 0) {
    conputs("Buffering failed.(RD) \n");
    rdend();
    return -1;
  }
  return 0;
}

int rftryopen(const char* path) {
  rfclose();
  FILE* fp = osfopen(path, "rb");
  if (fp == nullptr) return -1;
  rd.stream = fp;
  rdstart(false);
  return 0;
}

void rfclose() {
  if (rd.open) rdend();
}

int rfgetcmore() {
  if (!rd.open || !rdrefill()) return -1;
  return rfstate.buf[rfstate.next++];
}

// A missing byte reads as 0xFF, the low byte of the -1 that marks the end.
int16_t rfgetshort() {
  unsigned lo = static_cast<unsigned>(rfgetc()) & 0xFF;
  unsigned hi = static_cast<unsigned>(rfgetc()) & 0xFF;
  return static_cast<int16_t>(lo | hi << 8);
}

int32_t rfgetlong() {
  uint32_t v = 0;
  for (int shift = 0; shift < 32; shift += 8) {
    v |= (static_cast<uint32_t>(rfgetc()) & 0xFF) << shift;
  }
  return static_cast<int32_t>(v);
}

float rfgetfloat() { return std::bit_cast<float>(rfgetlong()); }

int32_t rfgetint(int size) {
  switch (size) {
    case 1: return rfgetc() & 0xFF;
    case 2: return rfgetshort() & 0xFFFF;
    case 4: return rfgetlong();
    default:
      conprintf("undef(size=%d) err.\n", size);
      return -1;
  }
}

// Whole buffers go from the file straight to the destination; a remainder refills the
// buffer, so the small reads that usually follow are served from memory and the file
// is still read in whole buffers.
int32_t rfread(void* dst, int32_t n) {
  if (!rd.open || n <= 0) return 0;
  auto* p = static_cast<unsigned char*>(dst);
  const int32_t want = imin(n, rdheadroom());
  int32_t done = 0;
  for (;;) {
    int32_t take = imin(want - done, rfstate.fill - rfstate.next);
    memcpy(p + done, rfstate.buf + rfstate.next, static_cast<size_t>(take));
    rfstate.next += take;
    done += take;
    if (done == want) break;
    int32_t whole = (want - done) / BF_BUFSIZE * BF_BUFSIZE;
    if (whole == 0) {
      if (!rdrefill()) break;
      continue;
    }
    rfstate.base += rfstate.fill;
    rfstate.next = rfstate.fill = 0;
    int32_t got = rdraw(p + done, whole);
    rfstate.base += got;
    done += got;
    if (got < whole) break;
  }
  if (done < n && rd.open) rdend();
  return done;
}

// Skipping moves through the buffer and refills it; nothing is copied.
int32_t rfskipmore(int32_t n) {
  if (!rd.open || n <= 0) return 0;
  const int32_t want = imin(n, rdheadroom());
  int32_t done = 0;
  for (;;) {
    int32_t take = imin(want - done, rfstate.fill - rfstate.next);
    rfstate.next += take;
    done += take;
    if (done == want || !rdrefill()) break;
  }
  if (done < n && rd.open) rdend();
  return done;
}

int rfbufrewind() {
  if (!rd.open || !rd.handleMode || rfstate.fill == 0) return 0;
  int32_t ahead = rfstate.fill - rfstate.next;
  if (ahead > 0 && osseek(rd.handle, -static_cast<int64_t>(ahead), true) < 0) {
    conputs("Failed in seek in rfbufrewind. \n");
    return -2;
  }
  rfstate.base += rfstate.next;
  rfstate.next = rfstate.fill = 0;
  return 0;
}

// The file of a closed reader is already released, so there is nothing to seek in.
int rfseek(int32_t offset) {
  if (!rd.open) {
    conputs("Failed in seek in rfseek. \n");
    return -2;
  }
  if (rd.handleMode) {
    if (rfbufrewind() != 0) return -2;
    if (osseek(rd.handle, offset, false) < 0) {
      conputs("Failed in seek in rfseek. \n");
      return -2;
    }
  } else if (fseek(rd.stream, offset, SEEK_SET) != 0) {
    conputs("Failed in seek in rfseek. \n");
    return -2;
  }
  rfstate.base = offset;
  rfstate.next = rfstate.fill = 0;
  return 0;
}

int32_t rftell() { return rfstate.base + rfstate.next; }
bool rfreaderror() { return rdfailed || rfstate.base + rfstate.fill == INT32_MAX; }
int rfeofmore() { return rd.open ? 0 : -1; }

// ---- Writer -------------------------------------------------------------------------

namespace {

// Opens the writer on a new file; quiet leaves the message of a taken or too long
// name to the caller, who tries another name.
int wropenW(const char16_t* path, bool quiet) {
  if (wr.open) wfclose();  // the open file would otherwise lose its buffered bytes
  out.known = false;
  out.failed = true;
  uint32_t err = 0;
  oshandle h = osopenwriteW(path, &err);
  if (h == OS_NOHANDLE) {
    if (quiet && err == OSERR_FILE_EXISTS) return 1;
    if (quiet && err == OSERR_NAME_TOO_LONG) return 2;
    conprintf("Could not open (WR)(code=%d).\n", static_cast<int>(err));
    return -1;
  }
  out.known = remember(out.pathW, path);
  out.wide = true;
  wr.handle = h;
  wrstart(true);
  return 0;
}

int wropen(const char* path, bool quiet) {
  if (wr.open) wfclose();
  out.known = false;
  out.failed = true;
  FILE* fp = osfopen(path, "wb");  // created new and exclusively, never an existing file
  if (fp == nullptr) {
    if (quiet && oslasterror() == OSERR_FILE_EXISTS) return 1;
    if (quiet && oslasterror() == OSERR_NAME_TOO_LONG) return 2;
    conprintf("Cannot open WR file : %s\n", path);
    return -1;
  }
  out.known = remember(out.path, path);
  out.wide = false;
  if (setvbuf(fp, wr.streamBuf, _IOFBF, BF_BUFSIZE) != 0) {
    conputs("Buffering failed.(WR)\n");
    fclose(fp);
    wfdiscard();
    return -1;
  }
  wr.stream = fp;
  wrstart(false);
  return 0;
}

}  // namespace

int wfopenW(const char16_t* path) { return wropenW(path, false); }
int wfopen(const char* path) { return wropen(path, false); }
int wfcreateW(const char16_t* path) { return wropenW(path, true); }
int wfcreate(const char* path) { return wropen(path, true); }

// A stream may hold back a write error until it is flushed or closed; both count.
int wfclose() {
  if (!wr.open) return out.failed ? -1 : 0;
  if (wrpush() != 0) return -1;
  if (wr.handleMode) {
    if (osclose(wr.handle) != 0) {
      conputs(kWriteError);
      out.failed = true;
    }
    wr.handle = OS_NOHANDLE;
  } else {
    if (fflush(wr.stream) != 0) return wrfail(kWriteError);
    if (fclose(wr.stream) != 0) {
      conputs(kWriteError);
      out.failed = true;
    }
    wr.stream = nullptr;
  }
  wr.open = false;
  wfstate.fill = wfstate.room = 0;
  return out.failed ? -1 : 0;
}

int wfdiscard() {
  if (wr.open) wrrelease();
  if (!out.known) return -1;
  out.known = false;
  return (out.wide ? osremoveW(out.pathW) : osremove(out.path)) == 0 ? 0 : -1;
}

namespace {

// The file keeps its lock (its handle) until it has its name: another run never sees
// it closed under the temporary name and takes it for a leftover.
int commit(const char* path, const char16_t* pathW, bool replace) {
  if (!wr.open) {
    wfdiscard();
    return -1;
  }
  if (wrpush() == 0) {
    if (!wr.handleMode && fflush(wr.stream) != 0) {
      wrfail(kWriteError);
    } else if ((wr.handleMode ? osfsync(wr.handle) : osfsyncstream(wr.stream)) != 0) {
      wrfail(kWriteError);
    }
  }
  if (!wr.open) {
    wfdiscard();
    return -1;
  }
  bool named;
  if (replace) {
    named = out.wide ? pathW != nullptr && osrenameoverW(wr.handle, out.pathW, pathW) == 0
                     : path != nullptr && osrenameover(wr.stream, out.path, path) == 0;
  } else {
    named = out.wide ? pathW != nullptr && osrenamenewW(wr.handle, out.pathW, pathW) == 0
                     : path != nullptr && osrenamenew(wr.stream, out.path, path) == 0;
  }
  if (!named) {
    if (oslasterror() == OSERR_FILE_EXISTS) return 1;  // still open under its temporary name
    conprintf("Could not rename (WR)(code=%d).\n", static_cast<int>(oslasterror()));
    wfdiscard();
    return -1;
  }
  if (wfclose() != 0) {
    // The bytes are not known to be whole: the new name must not stay on them.
    if (out.wide) {
      osremoveW(pathW);
    } else {
      osremove(path);
    }
    out.known = false;
    return -1;
  }
  out.known = false;
  return 0;
}

}  // namespace

int wfcommit(const char* path) { return commit(path, nullptr, false); }
int wfcommitW(const char16_t* path) { return commit(nullptr, path, false); }
int wfcommitover(const char* path) { return commit(path, nullptr, true); }
int wfcommitoverW(const char16_t* path) { return commit(nullptr, path, true); }

int wfputcmore(int byte) {
  if (!wr.open) return -1;
  if (wfstate.base + wfstate.fill == INT32_MAX) return wrfail(kWriteError);
  wfstate.buf[wfstate.fill++] = static_cast<unsigned char>(byte);
  if (wfstate.fill == BF_BUFSIZE) return wrpush();
  return 0;
}

int wfflush() {
  if (!wr.open) return -1;
  if (wrpush() != 0) return -1;
  if (!wr.handleMode && fflush(wr.stream) != 0) return wrfail(kWriteError);
  return 0;
}

int wfputlong(int32_t v) {
  auto u = static_cast<uint32_t>(v);
  for (int shift = 0; shift < 32; shift += 8) wfputc(static_cast<int>(u >> shift & 0xFF));
  return wferror();
}

int wfputfloat(float v) { return wfputlong(std::bit_cast<int32_t>(v)); }

int wfputs(const char* s) {
  for (int i = 0;; i++) {
    if (!wr.open) return -1;
    if (i == kMaxString) return 1;
    if (s[i] == 0) return 0;
    wfputc(static_cast<unsigned char>(s[i]));
  }
}

int wfputunistr(const char16_t* s) {
  for (int i = 0;; i++) {
    if (!wr.open) return -1;
    if (i == kMaxString) {
      conputs("Too long unistr.\n");
      break;
    }
    if (s[i] == 0) break;
    wfputc(s[i] & 0xFF);
    wfputc(s[i] >> 8);
  }
  return wferror();
}

int32_t wfwrite(const void* src, int32_t n) {
  if (!wr.open) return -1;
  if (n <= 0) return 0;
  if (INT32_MAX - wfstate.base - wfstate.fill < n) return wrfail(kWriteError);
  if (wrpush() != 0) return -1;
  int32_t put;
  if (wr.handleMode) {
    uint32_t got = 0;
    if (oswrite(wr.handle, src, static_cast<uint32_t>(n), &got) != 0) return wrfail(kWriteError);
    put = static_cast<int32_t>(got);
  } else {
    put = static_cast<int32_t>(fwrite(src, 1, static_cast<size_t>(n), wr.stream));
  }
  wfstate.base += put;
  wrsetroom();
  if (put < n) {
    wrfail(kBlockError);
    return put;
  }
  return n;
}

namespace {

// Up to n bytes from the reader to the writer, as rfgetc and wfputc in turn would move
// them, but a buffer at a time: the file is read into the reader's buffer and the bytes
// go on to the writer's in blocks. Stops at the reader's end or when the writer fails
// (a failed write prints message); the bytes copied.
int32_t blockcopy(int32_t n, const char* message) {
  int32_t done = 0;
  while (done < n && wr.open) {
    int32_t avail = rfstate.fill - rfstate.next;
    if (avail == 0) {
      if (!rd.open || !rdrefill()) break;
      continue;
    }
    int32_t left = INT32_MAX - wftell();
    if (left == 0) {
      wrfail(kWriteError);
      break;
    }
    int32_t span = imin(imin(n - done, avail), imin(BF_BUFSIZE - wfstate.fill, left));
    memcpy(wfstate.buf + wfstate.fill, rfstate.buf + rfstate.next, static_cast<size_t>(span));
    wfstate.fill += span;
    rfstate.next += span;
    done += span;
    if (wfstate.fill == BF_BUFSIZE && wrpush(message) != 0) break;
  }
  return done;
}

// Between two streams a copy is a block write and its failure is reported as one; with a
// handle on either side it is reported as a failed byte write.
const char* copymessage() { return rd.handleMode || wr.handleMode ? kWriteError : kBlockError; }

}  // namespace

int32_t wfcopybytes(int32_t n) {
  if (n <= 0) return 0;
  if (!rd.open) return -1;
  int32_t done = blockcopy(n, copymessage());
  return wr.open ? done : -1;
}

int32_t wfcopyrest() {
  // Between two streams a reader already at its end leaves an empty rest, not a failure.
  if (!rd.open) return !rd.handleMode && !wr.handleMode && wr.open ? 0 : -1;
  int32_t done = blockcopy(INT32_MAX, copymessage());
  return wr.open ? done : -1;
}

int32_t wftell() { return wfstate.base + wfstate.fill; }
int wferror() { return wr.open ? 0 : -1; }
