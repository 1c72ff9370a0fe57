// reading.cpp - how the dictionary reads characters: its normal form, kana and romaji,
// and the characters kept in place.
#include "names/reading.h"

#include <array>
#include <cstdio>

#include "names/namelist.h"
#include "text/sjis.h"

namespace dict {

namespace {

constexpr unsigned char kEscape = 0xFF;

// The Shift-JIS code of a character as model names are converted (UTF-8 of two bytes by
// the plain table, of three with the compatibility overrides), 0 for none.
uint32_t sjiscode(uint32_t cp) {
  if (cp < 0x80) return cp;
  if (cp < 0x800) return unich2sjisch(cp);
  if (cp < 0x10000) return unich2sjischc(cp);
  return 0;
}

// The character a Shift-JIS code reads back as, 0 for none.
uint32_t sjischar(uint32_t code) {
  if (code < 0x80) return code;
  return code < 0x100 ? sjisch2unich(code) : sjisch2unichc(code);
}

struct Out {
  char* d;
  int n;
  int cap;
  bool room(int k) const { return n + k <= cap; }
  void utf8(uint32_t cp) {
    const int k = cp < 0x80 ? 1 : cp < 0x800 ? 2 : cp < 0x10000 ? 3 : 4;
    if (!room(k)) return;
    if (k == 1) {
      d[n++] = static_cast<char>(cp);
      return;
    }
    static constexpr unsigned char kLead[5] = {0, 0, 0xC0, 0xE0, 0xF0};
    for (int j = k - 1; j > 0; j--) {
      d[n + j] = static_cast<char>(0x80 | (cp & 0x3F));
      cp >>= 6;
    }
    d[n] = static_cast<char>(kLead[k] | cp);
    n += k;
  }
  void escape(unsigned char hi, unsigned char lo) {
    if (!room(3)) return;
    d[n++] = static_cast<char>(kEscape);
    d[n++] = static_cast<char>(hi);
    d[n++] = static_cast<char>(lo);
  }
};

// Hepburn readings of the hiragana in code order (ぁ U+3041 to ん U+3093); katakana
// follow the same order; the small ones are told by their index (smallvowel, smally).
constexpr std::array<const char*, 83> kanaRomaji{{
    "a",  "a",  "i",   "i",  "u",  "u",   "e",  "e",  "o",  "o",               // ぁ-お
    "ka", "ga", "ki",  "gi", "ku", "gu",  "ke", "ge", "ko", "go",              // か-ご
    "sa", "za", "shi", "ji", "su", "zu",  "se", "ze", "so", "zo",              // さ-ぞ
    "ta", "da", "chi", "ji", "",   "tsu", "zu", "te", "de", "to", "do",        // た-ど
    "na", "ni", "nu",  "ne", "no",                                             // な-の
    "ha", "ba", "pa",  "hi", "bi", "pi",  "fu", "bu", "pu", "he", "be", "pe",  // は-ぺ
    "ho", "bo", "po",                                                          // ほ-ぽ
    "ma", "mi", "mu",  "me", "mo",                                             // ま-も
    "ya", "ya", "yu",  "yu", "yo", "yo",                                       // ゃ-よ
    "ra", "ri", "ru",  "re", "ro",                                             // ら-ろ
    "wa", "wa", "i",   "e",  "o",  "n",                                        // ゎ-ん
}};
constexpr int KANA_KA = 10, KANA_KE = 16;

bool smallvowel(int k) { return k == 0 || k == 2 || k == 4 || k == 6 || k == 8; }
bool smally(int k) { return k == 66 || k == 68 || k == 70; }

// Half-width katakana 0xA6-0xDD (Shift-JIS) as kana indexes; KANA_LONG for ｰ.
constexpr std::array<uint8_t, 56> halfKana{{
    81, 0,  2,  4,  6,  8,  66, 68, 70, 34, KANA_LONG,  // ｦｧｨｩｪｫｬｭｮｯｰ
    1,  3,  5,  7,  9,  10, 12, 14, 16, 18,             // ｱ-ｺ
    20, 22, 24, 26, 28, 30, 32, 35, 37, 39,             // ｻ-ﾄ
    41, 42, 43, 44, 45, 46, 49, 52, 55, 58,             // ﾅ-ﾎ
    61, 62, 63, 64, 65, 67, 69, 71,                     // ﾏ-ﾖ
    72, 73, 74, 75, 76, 78, 82,                         // ﾗ-ﾝ
}};

// The half-width kana at p (Shift-JIS bytes 0xA6-0xDD, n bytes left) with the sound
// mark that follows it: its full-width katakana, and the bytes taken.
uint32_t halfkana(const unsigned char* p, int n, int* bytes) {
  int k = halfKana[p[0] - 0xA6];
  *bytes = 1;
  if (n >= 2 && (p[1] == 0xDE || p[1] == 0xDF)) {
    const bool hrow = k == 46 || k == 49 || k == 52 || k == 55 || k == 58;
    const bool voiced = (k >= 10 && k <= 39 && k != 34 && k % 2 == (k < 34 ? 0 : 1)) || hrow;
    if (p[1] == 0xDE && k == 5) {
      k = KANA_VU;
      *bytes = 2;
    } else if (p[1] == 0xDE && voiced) {
      k += 1;
      *bytes = 2;
    } else if (p[1] == 0xDF && hrow) {
      k += 2;
      *bytes = 2;
    }
  }
  return k == KANA_LONG ? 0x30FC : k == KANA_VU ? 0x30F4 : 0x30A1 + static_cast<uint32_t>(k);
}

bool ishalfkana(unsigned b) { return b >= 0xA6 && b <= 0xDD; }

// One well-formed UTF-8 sequence at p (n bytes): its code point and length, or 0.
uint32_t decode(const unsigned char* p, int n, int* bytes) {
  const unsigned b = p[0];
  *bytes = 1;
  if (b < 0x80) return b;
  const int k = b < 0xC2 ? 0 : b < 0xE0 ? 2 : b < 0xF0 ? 3 : b < 0xF5 ? 4 : 0;
  if (k == 0 || k > n) return 0;
  uint32_t cp = b & (0x7F >> k);
  for (int j = 1; j < k; j++) {
    if ((p[j] & 0xC0) != 0x80) return 0;
    cp = cp << 6 | (p[j] & 0x3F);
  }
  static constexpr uint32_t kMin[5] = {0, 0, 0x80, 0x800, 0x10000};
  if (cp < kMin[k] || (cp >= 0xD800 && cp < 0xE000) || cp > 0x10FFFF) return 0;
  *bytes = k;
  return cp;
}

}  // namespace

int charlen(const unsigned char* p, int i, int n) {
  const unsigned b = p[i];
  const int k = b < 0x80 ? 1 : b == kEscape ? 3 : b >= 0xF0 ? 4 : b >= 0xE0 ? 3 : b >= 0xC2 ? 2 : 1;
  return k < n - i ? k : n - i;
}

uint32_t codeat(const unsigned char* p, int n, int* bytes) {
  if (p[0] == kEscape) {
    *bytes = charlen(p, 0, n);
    return 0;
  }
  return decode(p, n, bytes);
}

namespace {

// The '?' of the name being generated that stand for characters Shift-JIS cannot spell.
constexpr int kMarks = 1024;  // a name holds at most 1023 bytes
const char* markAt[kMarks];
uint32_t markCp[kMarks];
int markCount;

uint32_t markedat(const char* at) {
  for (int k = 0; k < markCount; k++) {
    if (markAt[k] == at) return markCp[k];
  }
  return 0;
}

}  // namespace

void markset(const char* at, uint32_t cp) {
  if (markCount < kMarks) {
    markAt[markCount] = at;
    markCp[markCount++] = cp;
  }
}

void markclear() { markCount = 0; }

int fromsjis(const char* s, int len, char* out, int cap, int limit, int* chars) {
  const auto* p = reinterpret_cast<const unsigned char*>(s);
  Out o{out, 0, cap};
  int width = 0;  // bytes of the full-width Shift-JIS so far
  *chars = 0;
  for (int i = 0; i < len && o.room(4);) {
    int bytes = 1;
    uint32_t kana = 0;
    int w = 1;
    uint32_t code = p[i];
    if (ishalfkana(p[i])) {
      kana = halfkana(p + i, len - i, &bytes);
      w = 2;
    } else if (names::isleadbyte(p[i]) && i + 1 < len) {
      code = code << 8 | p[i + 1];
      w = bytes = 2;
    }
    if (width + w > limit) {
      // The cut falls inside a double-byte character: its first byte stands alone.
      if (width < limit) {
        o.escape(0x01, kana == 0x30FC ? 0x81 : kana != 0 ? 0x83 : p[i]);
        ++*chars;
      }
      break;
    }
    const uint32_t marked = code == '?' && markCount > 0 ? markedat(s + i) : 0;
    if (kana != 0) {
      o.utf8(kana);
    } else if (marked != 0) {
      o.utf8(marked);
    } else if (code < 0x80) {
      o.utf8(code);
    } else {
      // A code that does not read back as itself matched no entry before the
      // dictionary was Unicode, and still does not.
      const uint32_t cp = sjischar(code);
      const uint32_t back = cp != 0 ? sjiscode(cp) : 0;
      if (cp != 0 && (back == code || back == 0)) {
        o.utf8(cp);
      } else if (w == 2) {
        o.escape(static_cast<unsigned char>(code >> 8), static_cast<unsigned char>(code));
      } else {
        o.escape(0x01, static_cast<unsigned char>(code));
      }
    }
    ++*chars;
    width += w;
    i += bytes;
  }
  return o.n;
}

int fromsjisverbatim(const char* s, int len, char* out, int cap) {
  const auto* p = reinterpret_cast<const unsigned char*>(s);
  Out o{out, 0, cap};
  for (int i = 0; i < len && o.room(4);) {
    uint32_t code = p[i];
    const bool pair = names::isleadbyte(p[i]) && i + 1 < len;
    if (pair) code = code << 8 | p[i + 1];
    i += pair ? 2 : 1;
    const uint32_t cp = sjischar(code);
    if (code < 0x80 || (cp != 0 && sjiscode(cp) == code)) {
      o.utf8(code < 0x80 ? code : cp);
    } else {
      o.escape(pair ? static_cast<unsigned char>(code >> 8) : 0x01, static_cast<unsigned char>(code));
    }
  }
  return o.n;
}

int fromutf8(const char* s, int len, char* out, int cap, int maxchars, int* chars) {
  const auto* p = reinterpret_cast<const unsigned char*>(s);
  Out o{out, 0, cap};
  *chars = 0;
  for (int i = 0; i < len && o.room(4) && *chars < maxchars;) {
    int bytes = 1;
    const uint32_t cp = decode(p + i, len - i, &bytes);
    ++*chars;
    if (cp == 0) {
      o.escape(0x02, p[i]);
      i++;
      continue;
    }
    i += bytes;
    if (cp >= 0xFF66 && cp <= 0xFF9D) {
      // Half-width katakana, and the sound mark that may follow it (U+FF9E, U+FF9F).
      unsigned char half[2] = {static_cast<unsigned char>(cp - 0xFF61 + 0xA1), 0};
      int more = 0;
      const uint32_t mark = i < len ? decode(p + i, len - i, &more) : 0;
      if (mark == 0xFF9E || mark == 0xFF9F) half[1] = static_cast<unsigned char>(mark - 0xFF61 + 0xA1);
      int used = 1;
      o.utf8(halfkana(half, half[1] != 0 ? 2 : 1, &used));
      if (used == 2) i += more;
      continue;
    }
    const uint32_t code = sjiscode(cp);
    o.utf8(code == 0 ? cp : sjischar(code));
  }
  return o.n;
}

int tosjis(const char* s, int len, char* out, int cap) {
  const auto* p = reinterpret_cast<const unsigned char*>(s);
  int n = 0;
  for (int i = 0; i < len;) {
    int bytes = 1;
    unsigned char b[2];
    int k = 1;
    if (p[i] == kEscape) {
      bytes = charlen(p, i, len);
      if (bytes < 3) {
        b[0] = '_';
      } else if (p[i + 1] == 0x01 || p[i + 1] == 0x02) {
        b[0] = p[i + 2];
      } else {
        b[0] = p[i + 1];
        b[1] = p[i + 2];
        k = 2;
      }
    } else {
      const uint32_t cp = decode(p + i, len - i, &bytes);
      const uint32_t code = cp != 0 ? sjiscode(cp) : 0;
      b[0] = static_cast<unsigned char>(code > 0xFF ? code >> 8 : code != 0 ? code : '_');
      b[1] = static_cast<unsigned char>(code);
      k = code > 0xFF ? 2 : 1;
    }
    if (n + k > cap - 1) break;
    for (int j = 0; j < k; j++) out[n++] = static_cast<char>(b[j]);
    i += bytes;
  }
  if (cap > 0) out[n] = 0;
  return n;
}

int kanaat(const unsigned char* p, int n, int* bytes) {
  const uint32_t cp = codeat(p, n, bytes);
  if (cp >= 0x3041 && cp <= 0x3093) return static_cast<int>(cp - 0x3041);
  if (cp >= 0x30A1 && cp <= 0x30F3) return static_cast<int>(cp - 0x30A1);
  if (cp == 0x30F4) return KANA_VU;
  if (cp == 0x30F5) return KANA_KA;
  if (cp == 0x30F6) return KANA_KE;
  if (cp == 0x30FC) return KANA_LONG;
  return -1;
}

bool iskatakana(const unsigned char* p, int n) {
  int bytes;
  const uint32_t cp = codeat(p, n, &bytes);
  return (cp >= 0x30A1 && cp <= 0x30F6) || cp == 0x30FC;
}

namespace {

bool isvowel(char c) { return c == 'a' || c == 'i' || c == 'u' || c == 'e' || c == 'o'; }

}  // namespace

int romaji(const char* s, int len, char* out, int cap) {
  const auto* p = reinterpret_cast<const unsigned char*>(s);
  int n = 0, prev = -1;  // prev: where the previous kana's reading starts in out
  bool doubled = false;
  char buf[8];
  for (int i = 0; i < len;) {
    int bytes = 1;
    int k = kanaat(p + i, len - i, &bytes);
    i += bytes;
    if (k < 0 || k == KANA_LONG) continue;
    if (k == KANA_SOKUON) {
      doubled = true;
      continue;
    }
    const char* r = k == KANA_VU ? "vu" : kanaRomaji[static_cast<size_t>(k)];
    int start = n;
    if (smally(k) && prev >= 0 && n - prev >= 2 && out[n - 1] == 'i') {
      // きゃ kya, しゃ sha, ちゃ cha, じゃ ja
      n--;
      const bool palatal = (n - prev >= 2 && out[n - 1] == 'h') || out[n - 1] == 'j';
      snprintf(buf, sizeof buf, "%s", palatal ? r + 1 : r);
      start = prev;
    } else if (smallvowel(k) && prev >= 0 && isvowel(out[n - 1])) {
      // ファ fa, ティ ti, シェ she, ウィ wi
      if (n - prev == 1) {
        out[n - 1] = 'w';
      } else {
        n--;
      }
      snprintf(buf, sizeof buf, "%s", r);
      start = prev;
    } else {
      if (doubled && r[0] != 0 && !isvowel(r[0])) {
        buf[0] = r[0] == 'c' ? 't' : r[0];
        snprintf(buf + 1, sizeof buf - 1, "%s", r);
      } else {
        snprintf(buf, sizeof buf, "%s", r);
      }
    }
    doubled = false;
    for (int j = 0; buf[j] != 0 && n < cap - 1; j++) out[n++] = buf[j];
    prev = start;
  }
  out[n] = 0;
  return n;
}

char literalof(const unsigned char* p, int n, int* bytes) {
  uint32_t cp = codeat(p, n, bytes);
  // The full-width forms are their ASCII characters (Ｈ H, （ (, ！ !).
  if (cp >= 0xFF01 && cp <= 0xFF5E) cp -= 0xFF01 - 0x21;
  switch (cp) {
    case 0x2010: case 0x2212: return '-';  // ‐ and − as their codes read
    case 0x2032: case 0x2019: return '\'';  // primes stay primes: ′ and ’
    case 0x2033: case 0x201D: return '"';
    case 0x3010: case 0x3014: return '[';  // 【 〔
    case 0x3011: case 0x3015: return ']';  // 】 〕
    default: break;
  }
  // Every printable ASCII character but the blank, which reads as '_' like any other
  // character without English.
  return cp > 0x20 && cp < 0x7F ? static_cast<char>(cp) : 0;
}

bool ismark(char c) {
  return c != 0 && !(c >= '0' && c <= '9') && !(c >= 'A' && c <= 'Z') && !(c >= 'a' && c <= 'z');
}

}  // namespace dict
