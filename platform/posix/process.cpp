// process.cpp - POSIX: the process, its environment and the console, as a Japanese
// Windows would present them (code page 932 console, Windows-style language id).
#include <sys/utsname.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

#include "platform/platform.h"
#include "platform/posix/oschars.h"
#include "text/console.h"
#include "text/sjis.h"

#ifdef __APPLE__
#include <mach-o/dyld.h>
#endif

const char16_t* oscommandlineW() { return nullptr; }

int osargA(const char* arg, char* out, size_t cap) { return utf82sjispath(arg, out, cap); }
int osargW(const char* arg, char16_t* out, size_t cap) { return utf82unipath(arg, out, cap); }
void osargshown(const char* arg, char* out, size_t cap) { utf8shown(arg, out, cap); }

namespace {

// The running executable as UTF-8, or -1.
int exepathutf8(char* out, size_t cap) {
#ifdef __APPLE__
  uint32_t size = static_cast<uint32_t>(cap);
  return _NSGetExecutablePath(out, &size) == 0 ? 0 : -1;
#else
  ssize_t n = readlink("/proc/self/exe", out, cap - 1);
  if (n <= 0 || static_cast<size_t>(n) >= cap - 1) return -1;
  out[n] = 0;
  return 0;
#endif
}

bool cp932lead(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

// Console: the program writes Shift-JIS; the terminal reads UTF-8. A lead byte whose
// trail byte comes in the next write is held until then.
int heldlead = -1;

void pututf8(unsigned cp) {
  char seq[4];
  int len = utf8encode(cp, seq);
  fwrite(seq, 1, static_cast<size_t>(len), stdout);
}

void utf8sink(const char* bytes, size_t n) {
  const auto* p = reinterpret_cast<const unsigned char*>(bytes);
  size_t run = 0;  // start of a pending stretch of ASCII, written in one go
  for (size_t i = 0; i < n; i++) {
    unsigned b = p[i];
    if (heldlead >= 0) {
      unsigned cp = sjisch2unichc(static_cast<unsigned>(heldlead) << 8 | b);
      heldlead = -1;
      if (cp != 0) {
        pututf8(cp);
      } else {
        pututf8(0xFFFD);
        if (b < 0x80) fputc(static_cast<int>(b), stdout);  // keep a line end that follows
      }
      run = i + 1;
      continue;
    }
    if (b < 0x80) continue;
    if (i > run) fwrite(p + run, 1, i - run, stdout);
    if (cp932lead(static_cast<unsigned char>(b))) {
      heldlead = static_cast<int>(b);
    } else {
      unsigned cp = sjisch2unich(b);
      pututf8(cp != 0 ? cp : 0xFFFD);
    }
    run = i + 1;
  }
  if (n > run) fwrite(p + run, 1, n - run, stdout);
}

// A held lead byte stays held: its trail byte may come with the next write.
void utf8flush() { fflush(stdout); }

// At the end of the run a lead byte still held has lost its trail byte for good.
void utf8end() {
  if (heldlead >= 0) pututf8(0xFFFD);
  heldlead = -1;
  fflush(stdout);
}

}  // namespace

int osexepath(char* out, size_t cap) {
  char utf8[PATH_MAX];
  if (exepathutf8(utf8, sizeof utf8) != 0) return -1;
  return utf82sjispath(utf8, out, cap);
}

int osexepathW(char16_t* out, size_t cap) {
  char utf8[PATH_MAX];
  if (exepathutf8(utf8, sizeof utf8) != 0) return -1;
  return utf82unipath(utf8, out, cap);
}

int osgetcwd(char* out, size_t cap) {
  char utf8[PATH_MAX];
  if (getcwd(utf8, sizeof utf8) == nullptr) return -1;
  return utf82sjispath(utf8, out, cap);
}

int osgetcwdW(char16_t* out, size_t cap) {
  char utf8[PATH_MAX];
  if (getcwd(utf8, sizeof utf8) == nullptr) return -1;
  return utf82unipath(utf8, out, cap);
}

void ossleep(unsigned ms) {
  timespec ts{static_cast<time_t>(ms / 1000), static_cast<long>(ms % 1000) * 1000000L};
  while (nanosleep(&ts, &ts) != 0 && errno == EINTR) {
  }
}

char ossep() { return '/'; }
bool osdriveletters() { return false; }
// A leading slash is an absolute path here, never an option.
bool osoptionchar(int c) { return c == '-'; }

uint16_t oslangid() {
  static const char* const vars[] = {"LC_ALL", "LC_MESSAGES", "LANG"};
  for (const char* name : vars) {
    const char* v = getenv(name);
    if (v != nullptr && v[0] != 0) return strncmp(v, "ja", 2) == 0 ? 0x0411 : 0x0409;
  }
  return 0x0409;
}

uint32_t osconsolecp() { return 932; }
bool osisdbcslead(unsigned char b) { return cp932lead(b); }
float oswinversion() { return 0.0f; }

int ossysname(char* out, size_t cap) {
  utsname u;
  if (uname(&u) != 0) return -1;
  int n = snprintf(out, cap, "%s %s", u.sysname, u.release);
  return n >= 0 && static_cast<size_t>(n) < cap ? 0 : -1;
}

void osconsoleinit() {
  // A console that went away (a closed pipe) and a file-size limit are errors the
  // program reports, not reasons to die in the middle of a save.
  signal(SIGPIPE, SIG_IGN);
  signal(SIGXFSZ, SIG_IGN);
  conbuffer();
  consetsink(utf8sink);
  consetflush(utf8flush);
  atexit(utf8end);
}
