// sjis.cpp - Shift-JIS, UTF-16LE and UTF-8 conversions over the built-in tables.
#include "text/sjis.h"

#include <array>
#include <cstddef>
#include <cstdint>

#include "text/console.h"
#include "text/sjistables.h"

namespace {

// ---- table look-ups -------------------------------------------------------------

static_assert(sizeof sjistab::fwd00 / sizeof sjistab::fwd00[0] == 256);
static_assert(sizeof sjistab::fwd80 / sizeof sjistab::fwd80[0] == 0xA000 - 0x8000);
static_assert(sizeof sjistab::fwde0 / sizeof sjistab::fwde0[0] == 0xFD00 - 0xE000);
static_assert(sizeof sjistab::rev0000 / sizeof sjistab::rev0000[0] == 0x0500);
static_assert(sizeof sjistab::rev1e00 / sizeof sjistab::rev1e00[0] == 0xA000 - 0x1E00);
static_assert(sizeof sjistab::revf900 / sizeof sjistab::revf900[0] == 0x10000 - 0xF900);

// ---- compatibility overrides ------------------------------------------------------
// What code page 932 (Microsoft's Shift-JIS) does differently from Shift_JIS-2004, so
// that Windows text comes back to the same bytes. Encoding uses every row; decoding
// uses all but U+301C (0x8160 decodes to U+FF5E).

struct Override {
  uint16_t cp;
  uint16_t code;
};

constexpr std::array<Override, 19> overrides{{
    {0x2015, 0x815C}, {0xFF3C, 0x815F}, {0x301C, 0x8160}, {0xFF5E, 0x8160},
    {0x2225, 0x8161}, {0xFF0D, 0x817C}, {0xFFE0, 0x8191}, {0xFFE1, 0x8192},
    {0xFFE2, 0x81CA}, {0x2235, 0x879A}, {0x2229, 0x879B}, {0x222A, 0x879C},
    {0x2252, 0x8790}, {0x2261, 0x8791}, {0x222B, 0x8792}, {0x2211, 0x8794},
    {0x221A, 0x8795}, {0x22A5, 0x8796}, {0x2220, 0x8797},
}};

// The rows are few; each direction gets a collision-free hash table built at compile
// time, so a look-up is one modulo, one index and one compare.
struct Slot {
  uint16_t key;  // 0 = empty (no row has key 0)
  uint16_t value;
};

template <bool Encode>
constexpr bool isrow(const Override& o) {
  return Encode || o.cp != 0x301C;
}

template <bool Encode>
constexpr uint16_t rowkey(const Override& o) {
  return Encode ? o.cp : o.code;
}

template <bool Encode>
constexpr unsigned findmodulus() {
  for (unsigned m = 1; m <= 256; m++) {
    bool used[256] = {};
    bool clash = false;
    for (const Override& o : overrides) {
      if (!isrow<Encode>(o)) continue;
      unsigned h = rowkey<Encode>(o) % m;
      if (used[h]) clash = true;
      used[h] = true;
    }
    if (!clash) return m;
  }
  return 0;
}

constexpr unsigned encmod = findmodulus<true>();
constexpr unsigned decmod = findmodulus<false>();
static_assert(encmod != 0 && decmod != 0, "no collision-free modulus for the overrides");

template <bool Encode, unsigned M>
constexpr std::array<Slot, M> buildslots() {
  std::array<Slot, M> t{};
  for (const Override& o : overrides) {
    if (!isrow<Encode>(o)) continue;
    uint16_t key = rowkey<Encode>(o);
    t[key % M] = Slot{key, Encode ? o.code : o.cp};
  }
  return t;
}

constexpr std::array<Slot, encmod> encslots = buildslots<true, encmod>();
constexpr std::array<Slot, decmod> decslots = buildslots<false, decmod>();

template <size_t M>
constexpr uint32_t slotfind(const std::array<Slot, M>& t, uint32_t key) {
  const Slot& s = t[key % M];
  return key != 0 && s.key == key ? s.value : 0;
}

static_assert(slotfind(encslots, 0x301C) == 0x8160 && slotfind(encslots, 0xFF5E) == 0x8160);
static_assert(slotfind(decslots, 0x8160) == 0xFF5E && slotfind(decslots, 0x8794) == 0x2211);
static_assert(slotfind(encslots, 0x3000) == 0 && slotfind(decslots, 0x8140) == 0);

// Compatibility override of a code point, 0 when there is none.
inline uint32_t encoverride(uint32_t cp) { return slotfind(encslots, cp); }
// Compatibility override of a Shift-JIS code, 0 when there is none.
inline uint32_t decoverride(uint32_t code) { return slotfind(decslots, code); }

// ---- lead-byte test ---------------------------------------------------------------

bool cp932lead(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

bool (*leadtest)(unsigned char) = cp932lead;

}  // namespace

uint32_t sjisch2unich(uint32_t code) {
  if (code < 0x100) return sjistab::fwd00[code];
  if (code >= 0x8000 && code < 0xA000) return sjistab::fwd80[code - 0x8000];
  if (code >= 0xE000 && code < 0xFD00) return sjistab::fwde0[code - 0xE000];
  return 0;
}

uint32_t unich2sjisch(uint32_t cp) {
  if (cp < 0x500) return sjistab::rev0000[cp];
  if (cp >= 0x1E00 && cp < 0xA000) return sjistab::rev1e00[cp - 0x1E00];
  if (cp >= 0xF900 && cp < 0x10000) return sjistab::revf900[cp - 0xF900];
  return 0;
}

uint32_t sjisch2unichc(uint32_t code) {
  uint32_t cp = decoverride(code);
  return cp != 0 ? cp : sjisch2unich(code);
}

uint32_t unich2sjischc(uint32_t cp) {
  uint32_t code = encoverride(cp);
  return code != 0 ? code : unich2sjisch(cp);
}

bool sysleadbyte(unsigned char b) { return leadtest(b); }

void setsysleadbyte(bool (*test)(unsigned char b)) {
  leadtest = test != nullptr ? test : cp932lead;
}

// ---- conversions ------------------------------------------------------------------

namespace {

constexpr int kUnitCap = 9999;  // sjis2unistr / unistr2sjis stop when their count reaches it
constexpr int kLenCap = 4999;   // unistrlen
constexpr int kCatBuf = 520;    // the buffer sjis2utf8catc extends

// One or two Shift-JIS bytes for a non-zero table code.
inline char* putsjis(char* d, uint32_t code) {
  if (code >= 0x100) *d++ = static_cast<char>(code >> 8);
  *d++ = static_cast<char>(code & 0xFF);
  return d;
}

// UTF-8 form of a code point, 1-4 bytes; returns the length.
inline int utf8len(uint32_t cp) { return cp < 0x80 ? 1 : cp < 0x800 ? 2 : cp < 0x10000 ? 3 : 4; }

inline char* pututf8(char* d, uint32_t cp) {
  //  0xxxxxxx | 110xxxxx 10xxxxxx | 1110xxxx 10xxxxxx 10xxxxxx | 11110xxx 10xxxxxx*3
  switch (utf8len(cp)) {
    case 1:
      *d++ = static_cast<char>(cp);
      break;
    case 2:
      *d++ = static_cast<char>(0xC0 | cp >> 6);
      *d++ = static_cast<char>(0x80 | (cp & 0x3F));
      break;
    case 3:
      *d++ = static_cast<char>(0xE0 | cp >> 12);
      *d++ = static_cast<char>(0x80 | (cp >> 6 & 0x3F));
      *d++ = static_cast<char>(0x80 | (cp & 0x3F));
      break;
    default:
      *d++ = static_cast<char>(0xF0 | cp >> 18);
      *d++ = static_cast<char>(0x80 | (cp >> 12 & 0x3F));
      *d++ = static_cast<char>(0x80 | (cp >> 6 & 0x3F));
      *d++ = static_cast<char>(0x80 | (cp & 0x3F));
      break;
  }
  return d;
}

// The shared Shift-JIS walk of sjis2utf8c and sjis2unistrc: one character per call,
// keeping the scan verdict.
//   bit 0: no lead 0x80 seen        bit 2: neither seen
//   bit 1: no trail < 0x40 seen     bit 3: 0xE0-0xFC lead or 0xFD-0xFF since the last anomaly
enum class Sj { End, Char, Unmapped, Skip };

struct SjWalk {
  const unsigned char* p;
  int verdict = 7;
  uint32_t cp = 0;    // Char: the code point
  uint32_t code = 0;  // Char / Unmapped: the Shift-JIS code read
};

Sj sjnext(SjWalk& w) {
  unsigned b = *w.p;
  if (b == 0) return Sj::End;
  if (b < 0x80) {
    w.p++;
    w.code = w.cp = b;
    return Sj::Char;
  }
  if (b >= 0xA0 && b <= 0xDF) {
    w.p++;
    w.code = b;
    w.cp = sjistab::fwd00[b] != 0 ? sjistab::fwd00[b] : b;
    return Sj::Char;
  }
  if (b >= 0xFD) {
    w.p++;
    w.verdict |= 8;
    return Sj::Skip;
  }
  unsigned trail = w.p[1];
  if (trail == 0) {  // a lead byte with nothing after it
    w.verdict &= 3;
    return Sj::End;
  }
  w.p += 2;
  w.code = b << 8 | trail;
  int before = w.verdict;
  if (b == 0x80) {
    w.cp = sjisch2unich(w.code);
    w.verdict &= 2;
  } else if (b <= 0x9F) {
    w.cp = sjisch2unichc(w.code);
  } else {
    w.cp = sjisch2unich(w.code);
    w.verdict |= 8;
  }
  if (b != 0x80 && trail < 0x40) {
    conprintf("[%02X %02X(x)](2nd byte==0x00-3F) ", b, trail);
    w.verdict = before & 1;
  }
  return w.cp != 0 ? Sj::Char : Sj::Unmapped;
}

// sjis2utf8c writing at most cap - 1 bytes before the terminator; the walk (and its
// verdict and messages) always covers the whole source.
int sjis2utf8cap(char* dst, const char* src, size_t cap) {
  SjWalk w{reinterpret_cast<const unsigned char*>(src)};
  size_t n = 0;
  bool full = false;
  for (;;) {
    Sj k = sjnext(w);
    if (k == Sj::End) break;
    if (k == Sj::Unmapped) {
      conprintf("<<<uni%06X:sjis%06X>>>", 0u, w.code);
    } else if (k == Sj::Char && !full) {
      size_t len = static_cast<size_t>(utf8len(w.cp));
      if (n + len < cap) {
        pututf8(dst + n, w.cp);
        n += len;
      } else {
        full = true;
      }
    }
  }
  dst[n] = 0;
  return w.verdict;
}

// ---- UTF-8 decoding shared by utf82sjisc and utf82unistr ----
// Lead 0x00-0x7F: 1 byte, 0xC0-0xDF: 2, 0xE0-0xEF: 3, 0xF0-0xF7: 4; followers 0x80-0xBF.
// Overlong forms and surrogate values are let through.

struct U8Walk {
  const unsigned char* p;
  int result = 7;
  uint32_t cp = 0;
  int len = 0;  // bytes of the sequence just read
};

// Next well-formed sequence; false at the end of the text or at the second malformed one.
bool u8next(U8Walk& w) {
  for (;;) {
    unsigned b = *w.p;
    if (b == 0) return false;
    int len = b < 0x80 ? 1 : b < 0xC0 ? 0 : b < 0xE0 ? 2 : b < 0xF0 ? 3 : b < 0xF8 ? 4 : 0;
    uint32_t cp = len == 1 ? b : len == 2 ? (b & 0x1F) : len == 3 ? (b & 0x0F) : (b & 0x07);
    int i = 1;
    for (; i < len; i++) {
      unsigned c = w.p[i];
      if (c < 0x80 || c > 0xBF) break;
      cp = cp << 6 | (c & 0x3F);
    }
    if (len != 0 && i == len) {
      w.p += len;
      w.cp = cp;
      w.len = len;
      return true;
    }
    // Malformed: drop the lead and the good followers; the byte that failed (perhaps a
    // terminator, perhaps the lead of a good sequence) is looked at afresh.
    w.p += i;
    if (w.result == 0) return false;
    w.result = 0;
  }
}

// sjis2unistr into d, writing at most room units before the terminator. Reads at most
// kUnitCap - 1 source bytes; a lead byte whose trail is missing or beyond that is dropped.
int sjis2uniat(char16_t* d, const char* src, int room) {
  const unsigned char* s = reinterpret_cast<const unsigned char*>(src);
  int n = 0;  // source bytes read
  while (s[n] != 0 && n + 1 < kUnitCap) {
    unsigned b = s[n];
    uint32_t cp;
    int len = 1;
    if (sysleadbyte(static_cast<unsigned char>(b))) {
      if (s[n + 1] == 0 || n + 2 >= kUnitCap) break;
      cp = sjisch2unich(b << 8 | s[n + 1]);
      len = 2;
    } else {
      // Single bytes from 0x80 up (half-width katakana) go through the table as well.
      cp = b < 0x80 ? b : sjistab::fwd00[b];
    }
    int units = cp > 0xFFFF ? 2 : 1;
    if (units > room) break;
    if (cp == 0) {
      *d++ = u'?';
    } else if (cp > 0xFFFF) {
      *d++ = static_cast<char16_t>(0xD800 | (cp - 0x10000) >> 10);
      *d++ = static_cast<char16_t>(0xDC00 | ((cp - 0x10000) & 0x3FF));
    } else {
      *d++ = static_cast<char16_t>(cp);
    }
    room -= units;
    n += len;
  }
  *d = 0;
  return n;
}

}  // namespace

int sjis2unistr(char16_t* dst, const char* src) { return sjis2uniat(dst, src, kUnitCap - 1); }

int sjis2unistrcat(char16_t* dst, const char* src) {
  // The whole string keeps within the kUnitCap units sjis2unistr may fill.
  int end = 0;
  while (end < kUnitCap - 1 && dst[end] != 0) end++;
  return sjis2uniat(dst + end, src, kUnitCap - 1 - end);
}

// A cheap guard that the tables were generated the right way round.
void sjistab::check2661(uint32_t code) {
  if (code != 0x83BB) {
    conprintf("Assert fail converting unich0x2661 => sjisch0x83BB (%04X). \n", code);
  }
}

int unistr2sjis(char* dst, const char16_t* src) {
  int n = 0;  // units read
  char* d = dst;
  while (src[n] != 0 && n + 1 < kUnitCap) {
    uint32_t u = src[n++];
    if (u < 0x100) {
      *d++ = static_cast<char>(u);
      continue;
    }
    uint32_t code = unich2sjisch(u);
    if (u == 0x2661) sjistab::check2661(code);
    d = code != 0 ? putsjis(d, code) : putsjis(d, '?');
  }
  *d = 0;
  return n;
}

int unistr2sjisc(char* dst, const char16_t* src) {
  const char16_t* s = src;
  char* d = dst;
  while (*s != 0) {
    uint32_t u = *s++;
    if (u >= 0xD800 && u <= 0xDBFF) {
      // No Shift-JIS code lies beyond U+FFFF: the pair is one '?'. A high surrogate
      // just before the terminator is alone and must not take the terminator with it.
      *d++ = '?';
      if (*s != 0) s++;
      continue;
    }
    uint32_t code = u < 0x80 ? u : unich2sjischc(u);
    d = code != 0 ? putsjis(d, code) : putsjis(d, '?');
  }
  *d = 0;
  return static_cast<int>(s - src) * 2;
}

int utf82sjisc(char* dst, const char* src) {
  U8Walk w{reinterpret_cast<const unsigned char*>(src)};
  char* d = dst;
  while (u8next(w)) {
    uint32_t code;
    switch (w.len) {
      case 1:
        *d++ = static_cast<char>(w.cp);
        continue;
      case 2:
        code = unich2sjisch(w.cp);
        break;
      case 3:
        code = unich2sjischc(w.cp);
        break;
      default:  // beyond U+FFFF, or an overlong form of something below: no code
        continue;
    }
    if (code != 0) d = putsjis(d, code);
  }
  *d = 0;
  return w.result;
}

int utf82unistr(char16_t* dst, const char* src) {
  U8Walk w{reinterpret_cast<const unsigned char*>(src)};
  char16_t* d = dst;
  while (u8next(w)) {
    if (w.cp < 0x10000) {
      *d++ = static_cast<char16_t>(w.cp);
      continue;
    }
    // Beyond U+FFFF: spelled "x" and six hex digits rather than a surrogate pair.
    static constexpr char hex[] = "0123456789ABCDEF";
    *d++ = u'x';
    for (int shift = 20; shift >= 0; shift -= 4) {
      *d++ = static_cast<char16_t>(hex[w.cp >> shift & 0xF]);
    }
  }
  d[0] = 0;
  d[1] = 0;
  return w.result;
}

int unistr2utf8(char* dst, const char16_t* src) {
  const char16_t* s = src;
  char* d = dst;
  while (*s != 0) {
    uint32_t u = *s++;
    if (u < 0xD800 || u > 0xDBFF) {
      d = pututf8(d, u);  // a lone low surrogate too, as three bytes
    } else if (*s >= 0xDC00 && *s <= 0xDFFF) {
      d = pututf8(d, 0x10000 + ((u & 0x3FF) << 10 | (*s++ & 0x3FF)));
    } else {
      // A high surrogate without its partner; the partner slot goes with it unless it
      // is the terminator.
      *d++ = '?';
      if (*s != 0) s++;
    }
  }
  *d = 0;
  return static_cast<int>(s - src) * 2;
}

int sjis2utf8c(char* dst, const char* src) { return sjis2utf8cap(dst, src, SIZE_MAX); }

int sjis2utf8catc(char* dst, const char* src) {
  int end = 0;
  while (end < kCatBuf && dst[end] != 0) end++;
  if (end == kCatBuf) return -1;
  // What does not fit in the buffer is left out, whole characters at a time.
  return sjis2utf8cap(dst + end, src, static_cast<size_t>(kCatBuf - end));
}

int sjis2unistrc(char16_t* dst, const char* src) {
  SjWalk w{reinterpret_cast<const unsigned char*>(src)};
  char16_t* d = dst;
  for (;;) {
    Sj k = sjnext(w);
    if (k == Sj::End) break;
    if (k == Sj::Skip) continue;
    // An unmapped code keeps its raw value, so nothing is lost on the way back.
    uint32_t cp = k == Sj::Char ? w.cp : w.code;
    if (cp > 0xFFFF) {
      *d++ = static_cast<char16_t>(0xD800 | (cp - 0x10000) >> 10);
      *d++ = static_cast<char16_t>(0xDC00 | ((cp - 0x10000) & 0x3FF));
    } else if (cp >= 0xD800 && cp <= 0xDFFF) {
      conprintf("<<<uni%06X:sjis%06X>>>", cp, w.code);
    } else {
      *d++ = static_cast<char16_t>(cp);
    }
  }
  *d = 0;
  return w.verdict;
}

// ---- UTF-16 string utilities --------------------------------------------------------

int unistrcmp(const char16_t* s, const char16_t* t) {
  for (size_t i = 0;; i++) {
    if (s[i] != t[i]) return -1;
    if (t[i] == 0) return 0;
  }
}

int unistrmatch(const char16_t* s, const char16_t* t) {
  size_t i = 0;
  for (; t[i] != 0; i++) {
    if (s[i] != t[i]) return -1;
  }
  return s[i] != 0 ? 3 : 0;
}

int unistrlen(const char16_t* s) {
  int n = 0;
  while (n < kLenCap && s[n] != 0) n++;
  return n;
}

int unistrcpy(char16_t* dst, const char16_t* src) {
  int n = 0;
  while ((dst[n] = src[n]) != 0) n++;
  return n;
}

int unistrcat(char16_t* dst, const char16_t* src) {
  while (*dst != 0) dst++;
  return unistrcpy(dst, src);
}

int unistrbytes(const char16_t* s) {
  int n = 0;
  while (s[n] != 0) n++;
  return n * 2;
}
