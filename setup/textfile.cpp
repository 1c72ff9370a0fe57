// textfile.cpp - the one character reader of the text files, and their encoding scans.
#include "setup/textfile.h"

#include <cfloat>
#include <cstdio>
#include <cstdlib>
#include <limits>

#include "platform/platform.h"
#include "text/console.h"

namespace {

constexpr uint32_t BLOCK = 8192;
constexpr int CH_EOF = -1;
constexpr int CH_LF = 0x0A;
constexpr int CH_CR = 0x0D;
constexpr int CH_EOT = 0x1A;  // end-of-text mark some editors leave

// Both modes read in blocks: the handle through the OS layer, the stream with fread.
// Only the character sequence delivered can be seen from outside.
struct TextReader {
  bool open;
  bool handleMode;
  oshandle handle;
  FILE* stream;
  uint8_t block[BLOCK];
  uint32_t fill;
  uint32_t pos;
  int32_t ahead;   // next character 0..255, or CH_EOF
  uint32_t line;   // line feeds consumed
  uint8_t end;     // 0xFF once a consume met the end
  bool hookSet;
  bool cut;        // the last tfgetline stopped at its limit inside a line
};

TextReader tf = {false, false, OS_NOHANDLE, nullptr, {}, 0, 0, CH_EOF, 0, 0, false, false};

void closeatexit() { tfclose(); }

// Loads the next block; a failed read counts as the end of the file.
void refill() {
  uint32_t got = 0;
  if (tf.handleMode) {
    if (osread(tf.handle, tf.block, BLOCK, &got) != 0) got = 0;
  } else {
    got = static_cast<uint32_t>(fread(tf.block, 1, BLOCK, tf.stream));
  }
  tf.fill = got;
  tf.pos = 0;
}

void advance() {
  if (tf.pos >= tf.fill) {
    refill();
    if (tf.fill == 0) {
      tf.ahead = CH_EOF;
      return;
    }
  }
  tf.ahead = tf.block[tf.pos++];
}

// Common state of a freshly opened file; takes the first look-ahead.
void start(bool handleMode) {
  tf.open = true;
  tf.handleMode = handleMode;
  if (!tf.hookSet) {
    atexit(closeatexit);
    tf.hookSet = true;
  }
  tf.end = 0;
  tf.line = 0;
  tf.cut = false;
  tf.fill = 0;
  tf.pos = 0;
  advance();
}

bool isdigitch(int c) { return c >= '0' && c <= '9'; }

bool islineend(int c) { return c == CH_CR || c == CH_LF || c == CH_EOT; }

}  // namespace

int tfopen(const char* path) {
  tfclose();  // a second open must not leak the first stream
  FILE* f = osfopen(path, "rb");
  if (f == nullptr) return -1;
  tf.stream = f;
  start(false);
  return 0;
}

int tfopenW(const char16_t* path) {
  tfclose();
  uint32_t err = 0;
  oshandle h = osopenreadW(path, &err);
  if (h == OS_NOHANDLE) return -1;
  tf.handle = h;
  start(true);
  return 0;
}

int tftryopen(const char* path) {
  tfclose();
  tf.end = 0;
  FILE* f = osfopen(path, "rb");
  if (f == nullptr) return -1;
  fclose(f);
  return 0;
}

int tftryopenW(const char16_t* path) {
  tfclose();
  tf.end = 0;
  uint32_t err = 0;
  oshandle h = osopenreadW(path, &err);
  if (h == OS_NOHANDLE) return -1;
  osclose(h);
  return 0;
}

int tfclose() {
  if (!tf.open) return 0;
  int ok;
  if (tf.handleMode) {
    ok = osclose(tf.handle) == 0;
    tf.handle = OS_NOHANDLE;
  } else {
    ok = fclose(tf.stream) == 0;
    tf.stream = nullptr;
  }
  tf.open = false;
  // Nothing more may be read from the closed file.
  tf.ahead = CH_EOF;
  tf.fill = 0;
  tf.pos = 0;
  return ok;
}

int tfpeek() { return tf.ahead; }

int tfgetc() {
  int c = tf.ahead;
  if (c == CH_EOF) {
    tf.end = 0xFF;
    return CH_EOF;
  }
  advance();
  if (c == CH_LF) tf.line++;
  return c;
}

int32_t tfline() { return static_cast<int32_t>(tf.line + 1); }

int tfeof() { return tf.end; }

bool tfisspace(int c) { return c == '\t' || c == CH_LF || c == CH_CR || c == CH_EOT || c == ' '; }

int tfskipspace() {
  while (tfisspace(tf.ahead)) tfgetc();
  return 0;
}

int tfgetint(int32_t* out) {
  constexpr int MAXDIGITS = 5;  // 99999 at most
  if (tf.ahead == '+') tfgetc();
  bool negative = false;
  if (tf.ahead == '-') {
    tfgetc();
    negative = true;
  }
  int32_t value = 0;
  int digits = 0;
  for (;;) {
    int c = tf.ahead;
    if (c == CH_EOF) return -1;
    if (!isdigitch(c)) break;
    tfgetc();
    value = value * 10 + (c - '0');
    if (++digits > MAXDIGITS) {
      conputs("Integer too Large.\n");
      return -2;
    }
  }
  *out = negative ? -value : value;
  return 0;
}

namespace {

// Number text: at most 120 characters from digit runs, plus '.', 'e' and two signs.
constexpr int FLOATDIGITS = 120;
constexpr int FLOATTEXT = 128;
static_assert(FLOATTEXT > FLOATDIGITS + 4, "room for '.', 'e', two signs and the zero");

struct FloatText {
  char text[FLOATTEXT];
  int len;
  int digits;
};

void take(FloatText& t) {
  t.text[t.len++] = static_cast<char>(tfgetc());
}

void takedigits(FloatText& t) {
  while (isdigitch(tf.ahead) && t.len < FLOATDIGITS) {
    take(t);
    t.digits++;
  }
}

}  // namespace

int tfgetfloat(float* out) {
  FloatText t = {{}, 0, 0};
  if (tf.ahead == '+' || tf.ahead == '-') take(t);
  takedigits(t);
  if (tf.ahead == '.') {
    take(t);
    takedigits(t);
  }
  if (t.digits > 0 && (tf.ahead == 'e' || tf.ahead == 'E')) {
    take(t);
    if (tf.ahead == '+' || tf.ahead == '-') take(t);
    takedigits(t);
  }
  if (t.digits == 0) return -1;
  t.text[t.len] = 0;
  double v = atof(t.text);
  // A double beyond the float range has no float value; give it the IEEE infinity.
  if (v > FLT_MAX) {
    *out = std::numeric_limits<float>::infinity();
  } else if (v < -FLT_MAX) {
    *out = -std::numeric_limits<float>::infinity();
  } else {
    *out = static_cast<float>(v);
  }
  return 0;
}

int tfgetline(char* buf, int n) {
  tf.cut = false;
  if (n <= 2) return 0;
  int stored = 0;
  while (stored < n - 2 && tf.ahead != CH_EOF && !islineend(tf.ahead)) {
    buf[stored++] = static_cast<char>(tfgetc());
  }
  buf[stored] = 0;
  buf[stored + 1] = 0;
  tf.cut = tf.ahead != CH_EOF && !islineend(tf.ahead);
  while (islineend(tf.ahead)) tfgetc();
  return stored;
}

int tfskiprest() {
  if (!tf.cut) return 0;
  tf.cut = false;
  int dropped = 0;
  while (tf.ahead != CH_EOF && !islineend(tf.ahead)) {
    tfgetc();
    dropped++;
  }
  while (islineend(tf.ahead)) tfgetc();
  return dropped;
}

namespace {

// Continuation bytes after a UTF-8 lead byte, or -1 for a byte that cannot lead.
int utf8trail(int c) {
  if (c < 0x80) return 0;
  if (c >= 0xC0 && c <= 0xDF) return 1;
  if (c >= 0xE0 && c <= 0xEF) return 2;
  if (c >= 0xF0 && c <= 0xF7) return 3;
  return -1;
}

// The open file is UTF-8: 7, or 0 after one malformed sequence; a second one ends the scan.
int scanutf8() {
  int verdict = 7;
  for (int c = tfgetc(); c != CH_EOF; c = tfgetc()) {
    int trail = utf8trail(c);
    bool good = trail >= 0;
    for (int i = 0; good && i < trail; i++) {
      int t = tfgetc();
      good = t >= 0x80 && t <= 0xBF;
    }
    if (good) continue;
    if (verdict == 0) break;
    verdict = 0;
  }
  tfclose();
  return verdict;
}

// The open file as Shift-JIS: the scan verdict (7 or 15 clean; see the verdict bits).
int scansjis() {
  int verdict = 7;
  for (int c = tfgetc(); c != CH_EOF; c = tfgetc()) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xDF)) continue;
    if (c >= 0xFD) {
      verdict |= 8;
      continue;
    }
    if (tf.ahead == CH_EOF) {  // a lead byte without its trail
      verdict &= 3;
      break;
    }
    int t = tfgetc();
    if (c == 0x80) {
      conprintf("[%02X(x) %02X] (1st byte==0x80) ", c, t);
      verdict &= 2;
    } else if (t < 0x40) {
      conprintf("[%02X %02X(x)](2nd byte==0x00-3F) ", c, t);
      verdict &= 1;
    } else if (c >= 0xE0) {
      verdict |= 8;
    }
  }
  tfclose();
  return verdict;
}

}  // namespace

int chkifutf8(const char* path) {
  if (tfopen(path) != 0) {
    conprintf("Cannot open %s .\n", path);
    return -1;
  }
  return scanutf8();
}

int chkifutf8W(const char16_t* path) {
  if (tfopenW(path) != 0) {
    conputs("Cannot open (RDs). \n");
    return -1;
  }
  return scanutf8();
}

int chkifsjis(const char* path) {
  if (tfopen(path) != 0) {
    conprintf("Cannot open %s .\n", path);
    return -1;
  }
  return scansjis();
}

int chkifsjisW(const char16_t* path) {
  if (tfopenW(path) != 0) {
    conprintf("Cannot open %s .\n", "");
    return -1;
  }
  return scansjis();
}
