// dicttext.cpp - the dictionary's text form: reading "namedict.txt" (or the user's words)
// line by line into fixed tables, and the hash index over them.
#include <cstdio>
#include <cstring>

#include "names/dictentry.h"
#include "names/reading.h"
#include "platform/platform.h"
#include "text/console.h"

namespace dict {

namespace {

// ---- Tables ---------------------------------------------------------------------

struct TextEntry {
  uint32_t jp;   // pool offset of the Japanese, normal form
  uint32_t en;   // pool offset of the English, alternatives separated by '|'
  int32_t next;  // the next older entry with the same Japanese text, -1 at the end
  uint16_t enlen;
  uint8_t jplen;
  uint8_t kinds;
  uint8_t lang;
  uint8_t cls;
};

// The index is sized by what was read: a few words of the user's touch a few pages.
constexpr int kSlotsMax = 1 << 21;  // at most half full at DICT_ENTRIES texts
static_assert(kSlotsMax >= 2 * DICT_ENTRIES, "the hash table stays at most half full");
static_assert(DICT_POOL < (1u << 31), "pool offsets fit");
static_assert(DICT_JPBYTES < 256, "a Japanese text's length fits a byte");
constexpr int kPrefixLog2Max = 22;

TextEntry entries[DICT_ENTRIES];
char pool[DICT_POOL];
int32_t slots[kSlotsMax];  // first entry of a Japanese text + 1, 0 when empty
uint64_t prefixes[(1 << kPrefixLog2Max) / 64];
uint32_t entryHash[DICT_ENTRIES];
int entryCount;
int indexedCount;  // entries the index holds
int slotCount;     // a power of two, 0 before the first index
int prefixLog2;
int poolUsed;

uint32_t slotof(const char* s, int len, uint32_t h) {
  const uint32_t mask = static_cast<uint32_t>(slotCount - 1);
  for (uint32_t i = h & mask;; i = (i + 1) & mask) {
    const int32_t e = slots[i] - 1;
    if (e < 0) return i;
    if (entries[e].jplen == len && memcmp(pool + entries[e].jp, s, static_cast<size_t>(len)) == 0)
      return i;
  }
}

// ---- Reading the file -------------------------------------------------------------

constexpr int kChunk = 65536;
constexpr char kMagic1[] = "namewright-dictionary 1";
constexpr char kMagic2[] = "namewright-dictionary 2";

char chunk[kChunk];
char line[DICT_LINEMAX + 2];
char jpNorm[DICT_JPBYTES + 8];
char enText[DICT_LINEMAX + 2];

struct Reading {
  const char* shown;
  int lineNo;
  bool magic;      // the magic line was seen (or may be left out)
  bool needMagic;  // it must come first
};

int broken(const Reading& r, const char* what) {
  conprintf("Dictionary %s, line %d: %s \n", r.shown, r.lineNo, what);
  return -2;
}

// The Japanese column in the normal form into jpNorm: its length, or -1 with *what.
int japaneseof(const char* s, int len, const char** what) {
  const auto* p = reinterpret_cast<const unsigned char*>(s);
  int chars = 0;
  for (int i = 0; i < len;) {
    const unsigned b = p[i];
    int k = b < 0x80 ? 1 : b < 0xC2 ? 0 : b < 0xE0 ? 2 : b < 0xF0 ? 3 : b < 0xF5 ? 4 : 0;
    if (k == 0 || i + k > len) k = 0;
    uint32_t cp = k == 1 ? b : b & (0x7F >> k);
    for (int j = 1; j < k; j++) {
      if ((p[i + j] & 0xC0) != 0x80) k = 0;
      cp = cp << 6 | (p[i + j] & 0x3F);
    }
    static constexpr uint32_t kMin[5] = {0, 0, 0x80, 0x800, 0x10000};
    if (k == 0 || cp < kMin[k] || (cp >= 0xD800 && cp < 0xE000) || cp > 0x10FFFF) {
      *what = "Japanese text that is not UTF-8";
      return -1;
    }
    if (cp < 0x20 || (cp >= 0x7F && cp < 0xA0)) {
      *what = "Japanese text with a control character";
      return -1;
    }
    i += k;
    chars++;
  }
  if (chars > DICT_JPCHARS) {
    *what = "Japanese text over 32 characters";
    return -1;
  }
  int normal = 0;
  return fromutf8(s, len, jpNorm, DICT_JPBYTES, DICT_JPCHARS, &normal);
}

// The English column: alternatives trimmed, inner blanks down to one space, joined by
// '|' into enText. Returns the length, or -1 with *what set.
int englishof(const char* s, int len, const char** what) {
  int n = 0;
  int start = 0;  // where the current alternative began in enText
  bool space = false;
  for (int i = 0; i <= len; i++) {
    char c = i < len ? s[i] : '|';
    if (c == '|') {
      if (n == start) {
        *what = "empty English text";
        return -1;
      }
      if (i < len) enText[n++] = '|';
      start = n;
      space = false;
      continue;
    }
    if (c < 0x20 || c > 0x7E) {
      *what = "English text that is not printable ASCII";
      return -1;
    }
    if (c == ' ') {
      space = n > start;
      continue;
    }
    if (space) enText[n++] = ' ';
    space = false;
    enText[n++] = c;
  }
  enText[n] = 0;
  return n;
}

int storetext(const char* s, int len) {
  if (poolUsed + len > DICT_POOL) return -1;
  memcpy(pool + poolUsed, s, static_cast<size_t>(len));
  int at = poolUsed;
  poolUsed += len;
  return at;
}

int entryline(const Reading& r, char* text, int len) {
  const char* field[4];
  int flen[4];
  int nf = 0;
  int from = 0;
  for (int i = 0; i <= len; i++) {
    if (i < len && text[i] != '\t') continue;
    if (nf == 4) return broken(r, "more than four fields (kinds, class, Japanese, English)");
    field[nf] = text + from;
    flen[nf] = i - from;
    nf++;
    from = i + 1;
  }
  if (nf != 4) return broken(r, "fewer than four fields (kinds, class, Japanese, English)");
  uint8_t kinds = 0;
  uint8_t lang = EL_BOTH;
  for (int i = 0; i < flen[0]; i++) {
    const char c = field[0][i];
    if (c == 'b') {
      kinds |= DK_BONE;
    } else if (c == 'm') {
      kinds |= DK_MORPH;
    } else if (c == 'f') {
      kinds |= DK_FRAME;
    } else if (c == 'n') {
      kinds |= DK_MODEL;
    } else if (c == 'j' || c == 'c') {
      const uint8_t l = c == 'j' ? EL_JA : EL_ZH;
      if (lang != EL_BOTH && lang != l) return broken(r, "a kind both j and c");
      lang = l;
    } else {
      return broken(r, "a kind that is not b, m, f, n, j or c");
    }
  }
  if (kinds == 0) return broken(r, "no kind");
  static constexpr char kClasses[] = "NWKS";  // in EntryClass order
  const char* cl = flen[1] == 1 ? strchr(kClasses, field[1][0]) : nullptr;
  if (cl == nullptr || field[1][0] == 0) return broken(r, "a class that is not N, W, K or S");
  const uint8_t cls = static_cast<uint8_t>(cl - kClasses);
  if (flen[2] == 0) return broken(r, "empty Japanese text");
  const char* what = nullptr;
  const int jplen = japaneseof(field[2], flen[2], &what);
  if (jplen < 0) return broken(r, what);
  const int enlen = englishof(field[3], flen[3], &what);
  if (enlen < 0) return broken(r, what);
  if (cls == EC_SIDE && !(enlen == 1 && (enText[0] == 'L' || enText[0] == 'R')))
    return broken(r, "a side whose English is not L or R");
  if (entryCount >= DICT_ENTRIES) return broken(r, "more entries than the tables hold (1048576)");

  // Stored in file order; the index is built once every file has been read.
  const int jpAt = storetext(jpNorm, jplen);
  const int enAt = jpAt < 0 ? -1 : storetext(enText, enlen);
  if (enAt < 0) return broken(r, "more text than the tables hold (32 MiB)");
  const int e = entryCount++;
  entries[e] = TextEntry{static_cast<uint32_t>(jpAt),
                         static_cast<uint32_t>(enAt),
                         -1,
                         static_cast<uint16_t>(enlen),
                         static_cast<uint8_t>(jplen),
                         kinds,
                         lang,
                         cls};
  entryHash[e] = hashof(jpNorm, jplen);
  return 0;
}

bool blankline(const char* s, int len) {
  for (int i = 0; i < len; i++) {
    if (s[i] != ' ' && s[i] != '\t') return false;
  }
  return true;
}

int oneline(Reading& r, int len) {
  if (len > 0 && line[len - 1] == '\r') len--;
  line[len] = 0;
  if (r.lineNo == 1 && len >= 3 && memcmp(line, "\xEF\xBB\xBF", 3) == 0) {
    memmove(line, line + 3, static_cast<size_t>(len - 3 + 1));  // an editor's BOM
    len -= 3;
  }
  if (memchr(line, 0, static_cast<size_t>(len)) != nullptr) return broken(r, "a zero byte");
  if (len == 0 || line[0] == '#' || blankline(line, len)) return 0;
  const bool isMagic = strcmp(line, kMagic1) == 0 || strcmp(line, kMagic2) == 0;
  if (!r.magic) {
    r.magic = true;
    if (isMagic) return 0;
    if (r.needMagic)
      return broken(r,
                    "not a Namewright dictionary (the first line must be \"namewright-dictionary "
                    "1\" or \"namewright-dictionary 2\")");
  }
  return entryline(r, line, len);
}

// The source of the file's bytes: a stream (ANSI path) or a handle (UTF-16 path).
struct Source {
  FILE* f;
  oshandle h;
};

// Bytes read into chunk; 0 at the end, -1 on a read error.
int readchunk(Source& src) {
  if (src.f != nullptr) {
    size_t got = fread(chunk, 1, kChunk, src.f);
    if (got == 0 && ferror(src.f)) return -1;
    return static_cast<int>(got);
  }
  uint32_t got = 0;
  if (osread(src.h, chunk, kChunk, &got) != 0) return -1;
  return static_cast<int>(got);
}

int endline(Reading& r, int len, bool toolong) {
  r.lineNo++;
  if (toolong || (len == DICT_LINEMAX + 1 && line[len - 1] != '\r'))
    return broken(r, "a line over 1024 bytes");
  return oneline(r, len);
}

int readall(Source& src, Reading& r) {
  int len = 0;  // bytes of the line so far
  bool toolong = false;
  for (;;) {
    int got = readchunk(src);
    if (got < 0) {
      r.lineNo++;  // the line being read
      return broken(r, "read error");
    }
    if (got == 0) break;
    for (int i = 0; i < got;) {
      const char* nl =
          static_cast<const char*>(memchr(chunk + i, '\n', static_cast<size_t>(got - i)));
      const int end = nl != nullptr ? static_cast<int>(nl - chunk) : got;
      // A line keeps one byte more than allowed, so that a CR before the LF fits.
      int take = end - i;
      if (take > DICT_LINEMAX + 1 - len) {
        take = DICT_LINEMAX + 1 - len;
        toolong = true;
      }
      memcpy(line + len, chunk + i, static_cast<size_t>(take));
      len += take;
      i = end;
      if (nl == nullptr) break;
      i++;
      if (endline(r, len, toolong) != 0) return -2;
      len = 0;
      toolong = false;
    }
  }
  if ((len > 0 || toolong) && endline(r, len, toolong) != 0) return -2;
  if (!r.magic && r.needMagic) {
    r.lineNo++;
    return broken(r, "not a Namewright dictionary (no line \"namewright-dictionary 1\" or 2)");
  }
  return 0;
}

}  // namespace

int textappend(const char* pathA, const char16_t* pathW, const char* shown, bool magic,
               int* count) {
  *count = 0;
  Source src{nullptr, OS_NOHANDLE};
  if (pathA != nullptr) {
    src.f = osfopen(pathA, "rb");
    if (src.f == nullptr) return -1;
  } else {
    uint32_t err = 0;
    src.h = osopenreadW(pathW, &err);
    if (src.h == OS_NOHANDLE) {
      // A file that is there but cannot be opened is not the same as no file.
      if (err != OSERR_ACCESS_DENIED) return -1;
      return broken(Reading{shown, 1, false, magic},
                    "the file cannot be opened (access denied)");
    }
  }
  const int before = entryCount;
  const int poolBefore = poolUsed;
  Reading r{shown, 0, false, magic};
  const int result = readall(src, r);
  if (src.f != nullptr) {
    fclose(src.f);
  } else {
    osclose(src.h);
  }
  if (result != 0) {
    entryCount = before;  // nothing of a broken file stays
    poolUsed = poolBefore;
    return -2;
  }
  *count = entryCount - before;
  return 0;
}

void textindex() {
  // Tables of the last index are emptied as far as it used them.
  if (slotCount > 0) {
    memset(slots, 0, static_cast<size_t>(slotCount) * sizeof slots[0]);
    memset(prefixes, 0, (size_t{1} << prefixLog2) / 8);
  }
  slotCount = 1024;
  while (slotCount < 2 * entryCount) slotCount <<= 1;
  prefixLog2 = 12;
  while (prefixLog2 < kPrefixLog2Max && (int64_t{1} << prefixLog2) < int64_t{16} * entryCount)
    prefixLog2++;
  // Entries of one Japanese text are chained newest first: a line added at the end of
  // the file wins over the ones before it, as the user's rules do. The slot a few
  // entries ahead is fetched early: the table is larger than the caches.
  constexpr int kAhead = 8;
  const uint32_t mask = static_cast<uint32_t>(slotCount - 1);
  for (int e = 0; e < entryCount; e++) {
    if (e + kAhead < entryCount) __builtin_prefetch(&slots[entryHash[e + kAhead] & mask]);
    const TextEntry& x = entries[e];
    const uint32_t slot = slotof(pool + x.jp, x.jplen, entryHash[e]);
    entries[e].next = slots[slot] - 1;
    slots[slot] = e + 1;
    const auto* t = reinterpret_cast<const unsigned char*>(pool + x.jp);
    uint32_t h = kHashStart;
    for (int j = 0; j < x.jplen;) {
      const int w = charlen(t, j, x.jplen);
      for (int b = 0; b < w; b++) h = hashstep(h, t[j + b]);
      j += w;
      const uint32_t bit = prefixbit(h, prefixLog2);
      prefixes[bit >> 6] |= uint64_t{1} << (bit & 63);
    }
  }
  indexedCount = entryCount;
}

void textclear() {
  // Left untouched while nothing was indexed: a run without a dictionary keeps its memory.
  if (slotCount > 0) {
    memset(slots, 0, static_cast<size_t>(slotCount) * sizeof slots[0]);
    memset(prefixes, 0, (size_t{1} << prefixLog2) / 8);
  }
  slotCount = 0;
  prefixLog2 = 0;
  entryCount = 0;
  indexedCount = 0;
  poolUsed = 0;
}

int textcount() { return indexedCount; }

bool textentry(int32_t e, Entry* x) {
  if (e < 0 || e >= entryCount) return false;
  const TextEntry& t = entries[e];
  *x = Entry{pool + t.jp, pool + t.en, t.jplen, t.enlen, t.kinds, t.lang, t.cls};
  return true;
}

Hits textfind(const char* s, int len, uint32_t h) {
  if (indexedCount == 0) return Hits{-1, -1};
  return Hits{slots[slotof(s, len, h)] - 1, -1};
}

int32_t textnext(int32_t e) { return entries[e].next; }

bool textprefix(uint32_t h) {
  if (indexedCount == 0) return false;
  const uint32_t b = prefixbit(h, prefixLog2);
  return (prefixes[b >> 6] >> (b & 63) & 1) != 0;
}

}  // namespace dict
