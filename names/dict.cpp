// dict.cpp - the dictionary beneath the user's rules: loading "namedict.txt" into fixed
// tables, reading a stretch of a name by its best segmentation, and writing the name.
#include "names/dict.h"

#include <array>
#include <cstdio>
#include <cstring>

#include "names/namelist.h"
#include "platform/platform.h"
#include "text/console.h"
#include "text/sjis.h"

namespace {

// ---- Tables ---------------------------------------------------------------------

enum EntryClass : uint8_t { EC_WHOLE = 'N', EC_WORD = 'W', EC_KANJI = 'K', EC_SIDE = 'S' };

struct Entry {
  uint32_t jp;   // pool offset of the Shift-JIS text
  uint32_t en;   // pool offset of the English, alternatives separated by '|'
  int32_t next;  // the next entry with the same Japanese text, -1 at the end
  uint16_t enlen;
  uint8_t jplen;
  uint8_t kinds;
  uint8_t cls;
};

constexpr int kSlots = 1 << 19;  // hash slots: at most half full at DICT_ENTRIES keys
static_assert(kSlots >= 2 * DICT_ENTRIES, "the hash table stays at most half full");
static_assert(DICT_POOL < (1u << 31), "pool offsets fit");

Entry entries[DICT_ENTRIES];
char pool[DICT_POOL];
int32_t slots[kSlots];  // first entry of a Japanese text + 1, 0 when empty
int entryCount;
uint32_t entryHash[DICT_ENTRIES];  // while loading: the hash of each entry's Japanese text
int poolUsed;
bool loaded;

uint32_t hashof(const char* s, int len) {
  uint32_t h = 2166136261u;
  for (int i = 0; i < len; i++) h = (h ^ static_cast<unsigned char>(s[i])) * 16777619u;
  return h;
}

// The slot of a Japanese text: the one holding it, or the empty one where it would go.
uint32_t slotof(const char* s, int len, uint32_t h) {
  for (uint32_t i = h & (kSlots - 1);; i = (i + 1) & (kSlots - 1)) {
    int32_t e = slots[i] - 1;
    if (e < 0) return i;
    if (entries[e].jplen == len && memcmp(pool + entries[e].jp, s, static_cast<size_t>(len)) == 0)
      return i;
  }
}

// A bit per hash of every beginning of every entry's text (the whole text included):
// reading a name, the search for longer entries at a place stops at the first text no
// entry begins with, without a look into the large table.
constexpr uint32_t kPrefixBits = 1u << 22;
uint64_t prefixes[kPrefixBits / 64];

uint32_t prefixbit(uint32_t h) { return (h * 0x9E3779B1u) >> 10; }
bool maybeprefix(uint32_t h) {
  const uint32_t b = prefixbit(h);
  return (prefixes[b >> 6] >> (b & 63) & 1) != 0;
}

// The newest entry whose Japanese text is these bytes, or -1.
int find(const char* s, int len, uint32_t h) { return slots[slotof(s, len, h)] - 1; }

// Entries of one Japanese text are chained newest first: a line added at the end of the
// file wins over the ones before it, as the user's rules do. The slot a few entries
// ahead is fetched early: the table is larger than the caches, and waiting for each
// slot in turn was most of the load time.
void buildindex() {
  constexpr int kAhead = 8;
  for (int e = 0; e < entryCount; e++) {
    if (e + kAhead < entryCount) __builtin_prefetch(&slots[entryHash[e + kAhead] & (kSlots - 1)]);
    const Entry& x = entries[e];
    const uint32_t slot = slotof(pool + x.jp, x.jplen, entryHash[e]);
    entries[e].next = slots[slot] - 1;
    slots[slot] = e + 1;
    const auto* t = reinterpret_cast<const unsigned char*>(pool + x.jp);
    uint32_t h = 2166136261u;
    for (int j = 0; j < x.jplen;) {
      const int w = names::isleadbyte(t[j]) && j + 1 < x.jplen ? 2 : 1;
      for (int b = 0; b < w; b++) h = (h ^ t[j + b]) * 16777619u;
      j += w;
      const uint32_t bit = prefixbit(h);
      prefixes[bit >> 6] |= uint64_t{1} << (bit & 63);
    }
  }
}

// ---- Reading the file -------------------------------------------------------------

constexpr char kMagic[] = "namewright-dictionary 1";
constexpr char kFileName[] = "namedict.txt";
constexpr char kUserFileName[] = "namedict-user.txt";
constexpr int kChunk = 65536;
constexpr int kPathBuf = OS_MAXPATH + 16;

char chunk[kChunk];
char line[DICT_LINEMAX + 2];
char jpSjis[DICT_LINEMAX * 2 + 2];
char enText[DICT_LINEMAX + 2];
char shownW[kPathBuf * 2];
char pathA[kPathBuf];
char16_t pathW[kPathBuf];

struct Reading {
  const char* shown;
  int lineNo;
  bool magic;
  bool magicOptional;
};

int broken(const Reading& r, const char* what) {
  conprintf("Dictionary %s, line %d: %s \n", r.shown, r.lineNo, what);
  return -2;
}

// UTF-8 to Shift-JIS as model names are converted, but strictly: false when a sequence
// is malformed or a character has no code.
bool tosjis(char* dst, const char* s, int len) {
  const auto* p = reinterpret_cast<const unsigned char*>(s);
  int i = 0, n = 0;
  while (i < len) {
    unsigned b = p[i];
    int k = b < 0x80 ? 1 : b < 0xC2 ? 0 : b < 0xE0 ? 2 : b < 0xF0 ? 3 : 0;
    if (k == 0 || i + k > len) return false;
    uint32_t cp = k == 1 ? b : k == 2 ? (b & 0x1F) : (b & 0x0F);
    for (int j = 1; j < k; j++) {
      if ((p[i + j] & 0xC0) != 0x80) return false;
      cp = cp << 6 | (p[i + j] & 0x3F);
    }
    if (k == 3 && (cp < 0x800 || (cp >= 0xD800 && cp < 0xE000))) return false;
    i += k;
    if (k == 1) {
      if (cp < 0x20 || cp == 0x7F) return false;
      dst[n++] = static_cast<char>(cp);
      continue;
    }
    uint32_t code = k == 2 ? unich2sjisch(cp) : unich2sjischc(cp);
    if (code == 0) return false;
    if (code > 0xFF) dst[n++] = static_cast<char>(code >> 8);
    dst[n++] = static_cast<char>(code & 0xFF);
  }
  dst[n] = 0;
  return true;
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
  for (int i = 0; i < flen[0]; i++) {
    char c = field[0][i];
    if (c == 'b') {
      kinds |= DK_BONE;
    } else if (c == 'm') {
      kinds |= DK_MORPH;
    } else if (c == 'f') {
      kinds |= DK_FRAME;
    } else {
      return broken(r, "a kind that is not b, m or f");
    }
  }
  if (kinds == 0) return broken(r, "no kind");
  if (flen[1] != 1 || strchr("NWKS", field[1][0]) == nullptr)
    return broken(r, "a class that is not N, W, K or S");
  const uint8_t cls = static_cast<uint8_t>(field[1][0]);
  if (flen[2] == 0) return broken(r, "empty Japanese text");
  if (!tosjis(jpSjis, field[2], flen[2]))
    return broken(r, "Japanese text that does not convert to Shift-JIS");
  const int jplen = static_cast<int>(strlen(jpSjis));
  if (jplen > DICT_JPMAX) return broken(r, "Japanese text over 63 bytes in Shift-JIS");
  const char* what = nullptr;
  const int enlen = englishof(field[3], flen[3], &what);
  if (enlen < 0) return broken(r, what);
  if (cls == EC_SIDE && !(enlen == 1 && (enText[0] == 'L' || enText[0] == 'R')))
    return broken(r, "a side whose English is not L or R");
  if (entryCount >= DICT_ENTRIES) return broken(r, "more entries than the tables hold (262144)");

  // Stored in file order; the index is built once the whole file has been read.
  const int jpAt = storetext(jpSjis, jplen);
  const int enAt = jpAt < 0 ? -1 : storetext(enText, enlen);
  if (enAt < 0) return broken(r, "more text than the tables hold (8 MiB)");
  const int e = entryCount++;
  entries[e] = Entry{static_cast<uint32_t>(jpAt),
                     static_cast<uint32_t>(enAt),
                     -1,
                     static_cast<uint16_t>(enlen),
                     static_cast<uint8_t>(jplen),
                     kinds,
                     cls};
  entryHash[e] = hashof(jpSjis, jplen);
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
  if (!r.magic) {
    r.magic = strcmp(line, kMagic) == 0;
    if (r.magic) return 0;
    if (!r.magicOptional)
      return broken(
          r, "not a Namewright dictionary (the first line must be \"namewright-dictionary 1\")");
    r.magic = true;
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
  if (!r.magic && !r.magicOptional) {
    r.lineNo++;
    return broken(r, "not a Namewright dictionary (no line \"namewright-dictionary 1\")");
  }
  return 0;
}

}  // namespace

void dictclear() {
  // Left untouched while nothing was stored: a run without a dictionary keeps its memory.
  if (entryCount > 0 || loaded) {
    memset(slots, 0, sizeof slots);
    memset(prefixes, 0, sizeof prefixes);
  }
  entryCount = 0;
  poolUsed = 0;
  loaded = false;
}

bool dicthas() { return loaded; }
int dictcount() { return entryCount; }

namespace {

// Reads one file's entries after those already stored. 0 read, -1 cannot open (silent),
// -2 not readable whole (the message printed). A file whose magic line is optional
// takes it, or an entry, as its first line.
int readinto(const char* pathA, const char16_t* pathW, const char* shown, bool magicOptional) {
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
      return broken(Reading{shown, 1, false, false}, "the file cannot be opened (access denied)");
    }
  }
  Reading r{shown, 0, false, magicOptional};
  int result = readall(src, r);
  if (src.f != nullptr) {
    fclose(src.f);
  } else {
    osclose(src.h);
  }
  return result != 0 ? -2 : 0;
}

// The file of the given name in the folder, ANSI path first: readinto's result.
int readfrom(const char* dirA, const char16_t* dirW, const char* name, bool magicOptional,
             const char** shown) {
  int r = -1;
  *shown = pathA;
  if (snprintf(pathA, sizeof pathA, "%s%s", dirA, name) < static_cast<int>(sizeof pathA)) {
    r = readinto(pathA, nullptr, pathA, magicOptional);
  }
  if (r == -1) {
    int n = unistrlen(dirW);
    int len = static_cast<int>(strlen(name));
    if (n + len + 1 <= kPathBuf) {
      unistrcpy(pathW, dirW);
      for (int i = 0; i <= len; i++) pathW[n + i] = static_cast<char16_t>(name[i]);
      // The console shows Shift-JIS; the UTF-16 path at most kPathBuf units.
      unistr2sjis(shownW, pathW);
      *shown = shownW;
      r = readinto(nullptr, pathW, shownW, magicOptional);
    }
  }
  return r;
}

}  // namespace

int dictread(const char* pathA, const char16_t* pathW, const char* shown) {
  dictclear();
  if (int r = readinto(pathA, pathW, shown, false); r != 0) {
    dictclear();
    return r;
  }
  buildindex();
  loaded = true;
  return 0;
}

int dictload(const char* dirA, const char16_t* dirW) {
  dictclear();
  const char* shown;
  int r = readfrom(dirA, dirW, kFileName, false, &shown);
  if (r == -2) {
    dictclear();
    return -1;
  }
  if (r == 0) conprintf("Dictionary: %s (%d entries) \n", shown, entryCount);
  // The user's own words after it: a later line wins.
  const int before = entryCount;
  int u = readfrom(dirA, dirW, kUserFileName, true, &shown);
  if (u == -2) {
    dictclear();
    return -1;
  }
  if (u == 0) conprintf("Dictionary: %s (%d entries) \n", shown, entryCount - before);
  if (r != 0 && u != 0) return 0;
  buildindex();
  loaded = true;
  return 0;
}

// ---- Reading a stretch ------------------------------------------------------------

namespace {

enum PartType : uint8_t { PT_TEXT, PT_WORD, PT_LITERAL, PT_KANA, PT_UNKNOWN };

struct Part {
  PartType type;
  int32_t entry;  // PT_WORD
  const char* s;  // source bytes (PT_TEXT, PT_LITERAL, PT_KANA)
  int len;
};

Part parts[DICT_PARTS];
int partCount;
bool usedDict;
bool ruled;  // a rule's text is part of the name
bool wholeEntry;  // the name is one whole-name entry

// Stretches of the name with half-width katakana written full-width, as the entries are.
constexpr int kFullBytes = 4096;
char fullText[kFullBytes];
int fullFill;

void addpart(PartType type, int32_t entry, const char* s, int len) {
  if (partCount < DICT_PARTS) parts[partCount++] = Part{type, entry, s, len};
}

// ---- Kana ------------------------------------------------------------------------

// Hepburn readings of the hiragana in code order (ぁ 0x829F to ん 0x82F1); katakana
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
constexpr int KANA_SOKUON = 34;
constexpr int KANA_LONG = 100;  // ー
constexpr int KANA_VU = 101;    // ヴ
constexpr int KANA_KA = 10, KANA_KE = 16;

bool smallvowel(int k) { return k == 0 || k == 2 || k == 4 || k == 6 || k == 8; }
bool smally(int k) { return k == 66 || k == 68 || k == 70; }

// Half-width katakana 0xA6-0xDD as hiragana indexes; KANA_LONG for ｰ.
constexpr std::array<uint8_t, 56> halfKana{{
    81, 0,  2,  4,  6,  8,  66, 68, 70, 34, KANA_LONG,  // ｦｧｨｩｪｫｬｭｮｯｰ
    1,  3,  5,  7,  9,  10, 12, 14, 16, 18,             // ｱ-ｺ
    20, 22, 24, 26, 28, 30, 32, 35, 37, 39,             // ｻ-ﾄ
    41, 42, 43, 44, 45, 46, 49, 52, 55, 58,             // ﾅ-ﾎ
    61, 62, 63, 64, 65, 67, 69, 71,                     // ﾏ-ﾖ
    72, 73, 74, 75, 76, 78, 82,                         // ﾗ-ﾝ
}};

// One kana at p (n bytes left): its index and bytes (a half-width kana takes its
// sound mark along), or -1 when p is no kana.
int kanaat(const unsigned char* p, int n, int* bytes) {
  if (n >= 2 && names::isleadbyte(p[0])) {
    const int code = p[0] << 8 | p[1];
    *bytes = 2;
    if (code >= 0x829F && code <= 0x82F1) return code - 0x829F;
    if (code >= 0x8340 && code <= 0x8393 && code != 0x837F) return code - 0x8340 - (code > 0x837F);
    if (code == 0x8394) return KANA_VU;
    if (code == 0x8395) return KANA_KA;
    if (code == 0x8396) return KANA_KE;
    if (code == 0x815B) return KANA_LONG;
    return -1;
  }
  if (p[0] < 0xA6 || p[0] > 0xDD) return -1;
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
  return k;
}

// A stretch with its half-width katakana (sound marks joined) as full-width ones, kept
// until the name is composed; the stretch itself when it has none or there is no room.
const char* fullwidth(const char* s, int* len) {
  const auto* p = reinterpret_cast<const unsigned char*>(s);
  const int n = *len;
  bool any = false;
  for (int i = 0; i < n && !any; i += names::isleadbyte(p[i]) && i + 1 < n ? 2 : 1) {
    any = p[i] >= 0xA6 && p[i] <= 0xDD;
  }
  if (!any || fullFill + 2 * n > kFullBytes) return s;
  char* d = fullText + fullFill;
  int m = 0;
  for (int i = 0; i < n;) {
    int bytes = 1;
    int k = p[i] >= 0xA6 && p[i] <= 0xDD ? kanaat(p + i, n - i, &bytes) : -1;
    if (k < 0) {
      bytes = names::isleadbyte(p[i]) && i + 1 < n ? 2 : 1;
      memcpy(d + m, s + i, static_cast<size_t>(bytes));
      m += bytes;
    } else {
      const int code = k == KANA_LONG ? 0x815B
                       : k == KANA_VU ? 0x8394
                                      : 0x8340 + k + (k >= 63 ? 1 : 0);
      d[m++] = static_cast<char>(code >> 8);
      d[m++] = static_cast<char>(code & 0xFF);
    }
    i += bytes;
  }
  fullFill += m;
  *len = m;
  return d;
}

bool isvowel(char c) { return c == 'a' || c == 'i' || c == 'u' || c == 'e' || c == 'o'; }

// The Hepburn romaji of a run of kana into out (cap bytes); returns its length.
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

// ---- Characters kept as ASCII --------------------------------------------------------

// The ASCII form of a character kept in place (letters, digits, '_', '-', '.', also
// full-width), or 0.
char literalof(const unsigned char* p, int n, int* bytes) {
  if (n >= 2 && names::isleadbyte(p[0])) {
    *bytes = 2;
    const int code = p[0] << 8 | p[1];
    if (code >= 0x824F && code <= 0x8258) return static_cast<char>('0' + code - 0x824F);
    if (code >= 0x8260 && code <= 0x8279) return static_cast<char>('A' + code - 0x8260);
    if (code >= 0x8281 && code <= 0x829A) return static_cast<char>('a' + code - 0x8281);
    if (code == 0x8151) return '_';
    if (code == 0x817C || code == 0x815D) return '-';
    if (code == 0x8144) return '.';
    return 0;
  }
  *bytes = 1;
  const char c = static_cast<char>(p[0]);
  if ((c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' ||
      c == '-' || c == '.')
    return c;
  return 0;
}

// ---- The segmentation ----------------------------------------------------------------

constexpr int kStretchMax = 512;  // bytes of a stretch read; names hold at most 254

// Ranks of a segmentation, compared as one number: fewer pieces first, then fewer
// unknown characters, fewer romaji pieces, fewer kanji fallbacks.
constexpr int64_t kPiece = int64_t{1} << 30, kUnknown = 1 << 20, kRomaji = 1 << 10, kKanji = 1;
static_assert(kStretchMax < 1024, "each count fits its field");

// The best reading of the rest of the stretch from each byte (a character start): its
// cost and first piece.
struct Step {
  int64_t cost;  // -1 while there is none
  int16_t to;    // where the first piece ends
  PartType type;
  int32_t entry;
};
Step best[kStretchMax + 1];

// Runs of katakana (with ー): a loanword is read as words or spelt out whole, never as
// romaji glued to a short word found inside it (グロー is not Gu + Low).
constexpr int kRuns = kStretchMax / 2 + 1;
int16_t runOf[kStretchMax + 1];  // per character start: its run, -1 outside
int16_t runStart[kRuns], runEnd[kRuns];
bool runWords[kRuns];  // the run reads as dictionary words alone
bool reach[kStretchMax + 1];

// The entry of the kind for these bytes that a segmentation may use (words and sides
// before kanji fallbacks, the latest line among equals), or -1.
int usable(int head, uint8_t kind) {
  int kanji = -1;
  for (int e = head; e >= 0; e = entries[e].next) {
    const Entry& x = entries[e];
    if ((x.kinds & kind) == 0 || x.cls == EC_WHOLE) continue;
    if (x.cls != EC_KANJI) return e;
    if (kanji < 0) kanji = e;
  }
  return kanji;
}

bool iskatakana(const unsigned char* p, int n) {
  if (n < 2 || !names::isleadbyte(p[0])) return false;
  const int code = p[0] << 8 | p[1];
  return (code >= 0x8340 && code <= 0x8396) || code == 0x815B;
}

int charlen(const unsigned char* p, int i, int len) {
  return names::isleadbyte(p[i]) && i + 1 < len ? 2 : 1;
}

// Calls f(j, entry, last) for every usable entry that begins at i and ends at j <= end;
// last is where its last character starts.
template <typename F>
void entriesat(uint8_t kind, const char* s, int i, int end, F f) {
  const auto* p = reinterpret_cast<const unsigned char*>(s);
  uint32_t h = 2166136261u;
  for (int j = i; j < end;) {
    const int w = charlen(p, j, end);
    if (j + w - i > DICT_JPMAX) break;
    for (int b = 0; b < w; b++) h = (h ^ p[j + b]) * 16777619u;
    if (!maybeprefix(h)) break;
    const int last = j;
    j += w;
    const int head = find(s + i, j - i, h);
    const int e = head >= 0 ? usable(head, kind) : -1;
    if (e >= 0) f(j, e, last);
  }
}

void findruns(uint8_t kind, const char* s, int len) {
  const auto* p = reinterpret_cast<const unsigned char*>(s);
  int runs = 0;
  bool inrun = false;
  for (int i = 0; i < len; i += charlen(p, i, len)) {
    runOf[i] = -1;
    if (!iskatakana(p + i, len - i)) {
      inrun = false;
      continue;
    }
    if (!inrun) runStart[runs++] = static_cast<int16_t>(i);
    inrun = true;
    runOf[i] = static_cast<int16_t>(runs - 1);
    runEnd[runs - 1] = static_cast<int16_t>(i + 2);
  }
  for (int r = 0; r < runs; r++) {
    for (int i = runStart[r]; i <= runEnd[r]; i++) reach[i] = false;
    reach[runStart[r]] = true;
    for (int i = runStart[r]; i < runEnd[r]; i += 2) {
      if (reach[i]) entriesat(kind, s, i, runEnd[r], [](int j, int, int) { reach[j] = true; });
    }
    runWords[r] = reach[runEnd[r]];
  }
}

void take(int i, int j, int64_t add, PartType type, int32_t entry) {
  if (best[j].cost < 0) return;
  const int64_t c = best[j].cost + add;
  // Among equal readings the longer first piece: 手首 + 飾り, not 手 + 首飾り.
  if (best[i].cost < 0 || c < best[i].cost || (c == best[i].cost && j > best[i].to))
    best[i] = Step{c, static_cast<int16_t>(j), type, entry};
}

// Fills best from the end back. With runs, katakana runs are read as words alone or as
// romaji alone; false when that left the stretch without a reading.
bool segment(uint8_t kind, const char* s, int len, bool runs) {
  const auto* p = reinterpret_cast<const unsigned char*>(s);
  if (runs) findruns(kind, s, len);
  // The character starts, to walk them backwards.
  int16_t starts[kStretchMax];
  int n = 0;
  for (int i = 0; i < len; i += charlen(p, i, len)) starts[n++] = static_cast<int16_t>(i);
  best[len] = Step{0, static_cast<int16_t>(len), PT_TEXT, -1};
  for (int k = n - 1; k >= 0; k--) {
    const int i = starts[k];
    best[i].cost = -1;
    const int r = runs ? runOf[i] : -1;
    const bool spelt = r >= 0 && !runWords[r];  // this run is romaji alone
    if (!(spelt && runStart[r] < i)) {
      entriesat(kind, s, i, len, [&](int j, int e, int last) {
        // An entry may not end inside a run that is spelt out.
        const int rl = runs ? runOf[last] : -1;
        if (rl >= 0 && !runWords[rl] && runEnd[rl] > j) return;
        take(i, j, kPiece + (entries[e].cls == EC_KANJI ? kKanji : 0), PT_WORD, e);
      });
    }
    int bytes = 1;
    if (literalof(p + i, len - i, &bytes) != 0) {
      take(i, i + bytes, kPiece, PT_LITERAL, -1);
    } else if (kanaat(p + i, len - i, &bytes) >= 0) {
      if (!(r >= 0 && runWords[r])) take(i, i + bytes, kPiece + kRomaji, PT_KANA, -1);
    } else {
      take(i, i + charlen(p, i, len), kPiece + kUnknown, PT_UNKNOWN, -1);
    }
  }
  return best[0].cost >= 0;
}

}  // namespace

void dictbegin() {
  partCount = 0;
  usedDict = false;
  ruled = false;
  wholeEntry = false;
  fullFill = 0;
}

void dictputtext(const char* s, int len) {
  ruled = true;
  if (len > 0) addpart(PT_TEXT, -1, s, len);
}

void dictstretch(uint8_t kind, const char* s, int len, bool whole) {
  if (len <= 0) return;
  usedDict = true;
  s = fullwidth(s, &len);
  if (whole && len <= DICT_JPMAX) {
    int head = find(s, len, hashof(s, len));
    for (int e = head; e >= 0; e = entries[e].next) {
      if (entries[e].cls == EC_WHOLE && (entries[e].kinds & kind) != 0) {
        addpart(PT_WORD, e, s, len);
        wholeEntry = true;
        return;
      }
    }
  }
  if (len > kStretchMax) len = kStretchMax;
  // Without the run rule every character has a piece, so there is always a reading.
  if (!segment(kind, s, len, true)) segment(kind, s, len, false);
  for (int at = 0; at < len && best[at].cost >= 0; at = best[at].to) {
    addpart(best[at].type, best[at].entry, s + at, best[at].to - at);
  }
}

bool dictused() { return usedDict; }
bool dictwhole() { return wholeEntry; }

namespace {

// Alternative alt (0 = preferred) of an entry's English, or false.
bool alternative(const Entry& e, int alt, const char** s, int* len) {
  const char* t = pool + e.en;
  const char* end = t + e.enlen;
  for (int a = 0; a < alt; a++) {
    const char* bar = static_cast<const char*>(memchr(t, '|', static_cast<size_t>(end - t)));
    if (bar == nullptr) return false;
    t = bar + 1;
  }
  const char* bar = static_cast<const char*>(memchr(t, '|', static_cast<size_t>(end - t)));
  *s = t;
  *len = static_cast<int>((bar != nullptr ? bar : end) - t);
  return true;
}

bool hasalternatives(const Part& x) {
  return x.type == PT_WORD &&
         memchr(pool + entries[x.entry].en, '|', entries[x.entry].enlen) != nullptr;
}

constexpr int kBody = 2048;
char body[kBody];
char romajiBuf[kStretchMax * 4 + 8];

struct Writer {
  char* d;
  int n;
  int cap;  // bytes before the terminator
  void put(char c) {
    if (n < cap) d[n++] = c;
  }
};

}  // namespace

int dictaltparts() {
  int k = 0;
  for (int i = 0; i < partCount; i++) k += hasalternatives(parts[i]) ? 1 : 0;
  return k;
}

int dictcompose(char* out, int cap, int part, int alt, const char* suffix) {
  Writer w{body, 0, kBody - 1};
  char side = 0;
  int altIndex = 0;
  bool found = alt == 0;
  for (int i = 0; i < partCount; i++) {
    const Part& x = parts[i];
    switch (x.type) {
      case PT_TEXT:
        for (int j = 0; j < x.len; j++) w.put(x.s[j]);
        break;
      case PT_LITERAL: {
        int bytes = 1;
        w.put(literalof(reinterpret_cast<const unsigned char*>(x.s), x.len, &bytes));
        break;
      }
      case PT_UNKNOWN:
        if (i == 0 || parts[i - 1].type != PT_UNKNOWN) w.put('_');
        break;
      case PT_KANA: {
        if (i > 0 && parts[i - 1].type == PT_KANA && parts[i - 1].s + parts[i - 1].len == x.s)
          break;  // written with the first of the run
        int end = i;
        while (end + 1 < partCount && parts[end + 1].type == PT_KANA &&
               parts[end + 1].s == parts[end].s + parts[end].len)
          end++;
        const int len = static_cast<int>(parts[end].s + parts[end].len - x.s);
        const int n = romaji(x.s, len, romajiBuf, sizeof romajiBuf);
        // Marks alone (ー, ッ) have no sound: as any character without English.
        if (n == 0 && (w.n == 0 || body[w.n - 1] != '_')) w.put('_');
        for (int j = 0; j < n; j++)
          w.put(j == 0 && romajiBuf[j] >= 'a' ? romajiBuf[j] - 32 : romajiBuf[j]);
        break;
      }
      case PT_WORD: {
        const Entry& e = entries[x.entry];
        int use = 0;
        if (hasalternatives(x)) {
          if (altIndex == part && alt > 0) {
            use = alt;
            found = true;
          }
          altIndex++;
        }
        const char* t;
        int len;
        if (!alternative(e, use, &t, &len)) return -1;
        if (e.cls == EC_SIDE) {
          if (side == 0) side = t[0];
        } else if (len == 1 && t[0] == '-') {
          // A piece that writes nothing (particles: の, を)
        } else if (e.cls == EC_WHOLE) {
          for (int j = 0; j < len; j++) w.put(t[j]);
        } else {
          bool start = true;
          for (int j = 0; j < len; j++) {
            if (t[j] == ' ') {
              start = true;
              continue;
            }
            w.put(start && t[j] >= 'a' && t[j] <= 'z' ? static_cast<char>(t[j] - 32) : t[j]);
            start = false;
          }
        }
        break;
      }
    }
  }
  if (!found) return -1;
  // A name is never left blank by the dictionary: no English at all reads as '_'. An
  // empty text the user's rule asked for stays.
  if (w.n == 0 && side == 0 && (usedDict || !ruled)) w.put('_');
  // A numeral after a digit would read as one number: Hair1 becomes Hair1_2.
  const bool apart = suffix != nullptr && w.n > 0 && body[w.n - 1] >= '0' && body[w.n - 1] <= '9';
  char tail[32];
  // The side's '_' is not doubled after an unknown character's.
  const bool under = !apart && suffix == nullptr && w.n > 0 && body[w.n - 1] == '_';
  const char sidetext[3] = {side != 0 && !under ? '_' : side, side != 0 && !under ? side : '\0', 0};
  snprintf(tail, sizeof tail, "%s%s%s", apart ? "_" : "", suffix != nullptr ? suffix : "",
           sidetext);
  const int taillen = static_cast<int>(strlen(tail));
  // The body is cut at a whole character so that the tail always fits.
  int room = cap - 1 - taillen;
  if (room < 0) room = 0;
  int n = 0;
  while (n < w.n) {
    const int len = names::isleadbyte(body[n]) && n + 1 < w.n ? 2 : 1;
    if (n + len > room) break;
    n += len;
  }
  memcpy(out, body, static_cast<size_t>(n));
  const int t = taillen < cap - 1 - n ? taillen : cap - 1 - n;
  memcpy(out + n, tail, static_cast<size_t>(t < 0 ? 0 : t));
  out[n + (t < 0 ? 0 : t)] = 0;
  return 0;
}
