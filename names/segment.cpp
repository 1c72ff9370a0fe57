// segment.cpp - the best path: a stretch of a name read as the fewest dictionary pieces,
// one pass of dynamic programming over the entries found at each character.
#include <cstring>

#include "names/dictentry.h"
#include "names/dictparts.h"
#include "names/reading.h"

namespace dict {

Part parts[DICT_PARTS];
int partCount;
bool usedDict;
bool ruled;
int64_t nameCost;
bool wholeEntry;

namespace {

// The texts of the name's pieces in the normal form, kept until the name is composed:
// three bytes per source byte at most, a name holds at most 1023 bytes, and the rules'
// replacements (15 bytes each) add at most one piece per source byte.
constexpr int kNormBytes = 65536;
char normText[kNormBytes];
int normFill;

void addpart(PartType type, int32_t entry, const char* s, int len) {
  if (partCount < DICT_PARTS) parts[partCount++] = Part{type, entry, s, len};
}

// ---- The segmentation ----------------------------------------------------------------

constexpr int kStretchMax = 512;             // Shift-JIS bytes of a stretch read
constexpr int kStretchBytes = 3 * kStretchMax;  // the same in the normal form, at most

// Ranks of a segmentation, compared as one number: fewer pieces first, then fewer
// unknown characters, fewer romaji pieces, fewer kanji fallbacks.
constexpr int64_t kPiece = DICT_PIECECOST, kUnknown = DICT_UNKNOWNCOST, kRomaji = 1 << 10, kKanji = 1;
static_assert(kStretchMax < 1024, "each count fits its field");

// The best reading of the rest of the stretch from each byte (a character start): its
// cost and first piece.
struct Step {
  int64_t cost;  // -1 while there is none
  int16_t to;    // where the first piece ends
  PartType type;
  int32_t entry;
};
Step best[kStretchBytes + 1];

// Runs of katakana (with ー): a loanword is read as words or spelt out whole, never as
// romaji glued to a short word found inside it (グロー is not Gu + Low).
constexpr int kRuns = kStretchBytes / 2 + 1;
int16_t runOf[kStretchBytes + 1];  // per character start: its run, -1 outside
int16_t runStart[kRuns], runEnd[kRuns];
bool runWords[kRuns];  // the run reads as dictionary words alone
bool reach[kStretchBytes + 1];
uint8_t readingKind;

// Calls f(j, entry, last) for every usable entry that begins at i and ends at j <= end;
// last is where its last character starts.
template <typename F>
void entriesat(const char* s, int i, int end, F f) {
  const auto* p = reinterpret_cast<const unsigned char*>(s);
  uint32_t h = kHashStart;
  BinRange range{0, 0, 0};
  bool inbin = true;  // some compiled text begins so
  int chars = 0;
  for (int j = i; j < end && chars < DICT_JPCHARS; chars++) {
    const int w = charlen(p, j, end);
    for (int b = 0; b < w; b++) h = hashstep(h, p[j + b]);
    if (inbin) {
      if (j == i) {
        range = binfirst(s + i, w);
        inbin = range.lo < range.hi;
      } else {
        inbin = binnarrow(&range, s + i, j + w - i);
      }
    }
    const bool intext = textprefix(h);
    if (!inbin && !intext) break;
    const int last = j;
    j += w;
    const Hits hits{intext ? textfind(s + i, j - i, h).text : -1, inbin ? binexact(range, j - i) : -1};
    const int32_t e = usable(hits, readingKind, false);
    if (e >= 0) f(j, e, last);
  }
}

void findruns(const char* s, int len) {
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
    runEnd[runs - 1] = static_cast<int16_t>(i + charlen(p, i, len));
  }
  for (int r = 0; r < runs; r++) {
    for (int i = runStart[r]; i <= runEnd[r]; i++) reach[i] = false;
    reach[runStart[r]] = true;
    for (int i = runStart[r]; i < runEnd[r]; i += charlen(p, i, len)) {
      if (reach[i]) entriesat(s, i, runEnd[r], [](int j, int32_t, int) { reach[j] = true; });
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

bool iskanji(int32_t e) {
  Entry x;
  return entry(e, &x) && x.cls == EC_KANJI;
}

// Fills best from the end back. With runs, katakana runs are read as words alone or as
// romaji alone; false when that left the stretch without a reading.
bool segment(const char* s, int len, bool runs) {
  const auto* p = reinterpret_cast<const unsigned char*>(s);
  if (runs) findruns(s, len);
  // The character starts, to walk them backwards.
  int16_t starts[kStretchBytes];
  int n = 0;
  for (int i = 0; i < len; i += charlen(p, i, len)) starts[n++] = static_cast<int16_t>(i);
  best[len] = Step{0, static_cast<int16_t>(len), PT_TEXT, -1};
  for (int k = n - 1; k >= 0; k--) {
    const int i = starts[k];
    best[i].cost = -1;
    const int r = runs ? runOf[i] : -1;
    const bool spelt = r >= 0 && !runWords[r];  // this run is romaji alone
    if (!(spelt && runStart[r] < i)) {
      entriesat(s, i, len, [&](int j, int32_t e, int last) {
        // An entry may not end inside a run that is spelt out.
        const int rl = runs ? runOf[last] : -1;
        if (rl >= 0 && !runWords[rl] && runEnd[rl] > j) return;
        take(i, j, kPiece + (iskanji(e) ? kKanji : 0), PT_WORD, e);
      });
    }
    int bytes = 1;
    const char lit = literalof(p + i, len - i, &bytes);
    if (ismark(lit)) {
      // A mark stays as it is, whatever an entry says of it (！ is !, not Exclamation).
      best[i] = Step{best[i + bytes].cost >= 0 ? best[i + bytes].cost + kPiece : -1,
                     static_cast<int16_t>(i + bytes), PT_LITERAL, -1};
      continue;
    }
    if (lit != 0) {
      take(i, i + bytes, kPiece, PT_LITERAL, -1);
    } else if (kanaat(p + i, len - i, &bytes) >= 0) {
      if (!(r >= 0 && runWords[r])) take(i, i + bytes, kPiece + kRomaji, PT_KANA, -1);
    } else {
      take(i, i + charlen(p, i, len), kPiece + kUnknown, PT_UNKNOWN, -1);
    }
  }
  return best[0].cost >= 0;
}

// The reading of a stretch already in the normal form (chars characters).
void readstretch(uint8_t kind, const char* s, int len, int chars, bool whole) {
  if (len <= 0) return;
  usedDict = true;
  readingKind = kind;
  if (whole && chars <= DICT_JPCHARS) {
    const int32_t e = usable(find(s, len, hashof(s, len)), kind, true);
    if (e >= 0) {
      addpart(PT_WORD, e, s, len);
      nameCost += kPiece;
      wholeEntry = true;
      return;
    }
  }
  // Without the run rule every character has a piece, so there is always a reading.
  if (!segment(s, len, true)) segment(s, len, false);
  nameCost += best[0].cost;
  for (int at = 0; at < len && best[at].cost >= 0; at = best[at].to) {
    addpart(best[at].type, best[at].entry, s + at, best[at].to - at);
  }
}

}  // namespace

}  // namespace dict

using namespace dict;

void dictbegin() {
  partCount = 0;
  usedDict = false;
  ruled = false;
  nameCost = 0;
  wholeEntry = false;
  normFill = 0;
}

bool dictwholename(uint8_t kind, const char* s) {
  if (!dicthas()) return false;
  char norm[kStretchBytes];
  int chars = 0;
  int len = 0;
  while (s[len] != 0 && len < kStretchMax) len++;
  const int n = fromsjis(s, len, norm, sizeof norm, kStretchMax, &chars);
  return n > 0 && chars <= DICT_JPCHARS && usable(find(norm, n, hashof(norm, n)), kind, true) >= 0;
}

void dictmark(const char* at, uint32_t cp) { markset(at, cp); }
void dictunmark() { markclear(); }
int64_t dictcost() { return nameCost; }

void dictputtext(const char* s, int len) {
  ruled = true;
  if (len <= 0) return;
  char* d = normText + normFill;
  const int n = fromsjisverbatim(s, len, d, kNormBytes - normFill);
  normFill += n;
  if (n > 0) addpart(PT_TEXT, -1, d, n);
}

namespace {

// A stretch in the normal form (convert writes it into the room given and counts its
// characters), then read.
template <typename Convert>
void readconverted(uint8_t kind, bool whole, Convert convert) {
  char* d = normText + normFill;
  int chars = 0;
  const int room = kNormBytes - normFill < kStretchBytes ? kNormBytes - normFill : kStretchBytes;
  const int n = convert(d, room, &chars);
  normFill += n;
  usedDict = true;
  readstretch(kind, d, n, chars, whole);
}

}  // namespace

void dictstretch(uint8_t kind, const char* s, int len, bool whole) {
  if (len <= 0) return;
  readconverted(kind, whole, [&](char* d, int room, int* chars) {
    return fromsjis(s, len, d, room, kStretchMax, chars);
  });
}

void dictstretchutf8(uint8_t kind, const char* s, int len, bool whole) {
  if (len <= 0) return;
  readconverted(kind, whole, [&](char* d, int room, int* chars) {
    return fromutf8(s, len, d, room, kStretchMax, chars);
  });
}
