// console.cpp - console output: formatting and the sink that takes the bytes.
#include "text/console.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

namespace {

void rawsink(const char* bytes, size_t n) { fwrite(bytes, 1, n, stdout); }
void rawflush() { fflush(stdout); }

consink sinkfn = rawsink;
void (*flushfn)() = rawflush;

// Longer than any line the program prints (names are cut to 254 bytes, lines to 256).
char linebuf[16384];

// Standard output's buffer: a terminal would otherwise be written line by line (and a
// Windows console byte by byte), which makes a listing of thousands of rules slow.
char outbuf[1 << 16];

}  // namespace

int conprintf(const char* fmt, ...) {
  va_list ap;
  va_start(ap, fmt);
  int n = vsnprintf(linebuf, sizeof linebuf, fmt, ap);
  va_end(ap);
  if (n < 0) return 0;
  size_t len = static_cast<size_t>(n) < sizeof linebuf ? static_cast<size_t>(n) : sizeof linebuf - 1;
  sinkfn(linebuf, len);
  return static_cast<int>(len);
}

void conputs(const char* s) { sinkfn(s, strlen(s)); }

void conwrite(const char* bytes, size_t n) {
  if (n > 0) sinkfn(bytes, n);
}

void conflush() { flushfn(); }

void conbuffer() {
  static bool done = false;
  if (done) return;
  done = true;
  setvbuf(stdout, outbuf, _IOFBF, sizeof outbuf);
}

consink consetsink(consink sink) {
  consink old = sinkfn;
  sinkfn = sink ? sink : rawsink;
  return old;
}

void consetflush(void (*flush)()) { flushfn = flush ? flush : rawflush; }
