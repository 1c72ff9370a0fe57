// dictbin.cpp - the compiled dictionary: checking "namedict.bin" and looking up in it as
// it lies in its mapping (the layout is drawn in names/dictbin.h).
#include "names/dictbin.h"

#include <cinttypes>
#include <initializer_list>
#include <cstring>

#include "names/dictentry.h"
#include "names/reading.h"
#include "platform/platform.h"
#include "text/console.h"

namespace dict {

void dictsumstart(DictSum* s) { *s = DictSum{}; }

namespace {

void sumblock(DictSum* s, const unsigned char* p) {
  for (int k = 0; k < 4; k++) {
    s->a[k] += le64(p + 8 * k);
    s->b[k] += s->a[k];
  }
}

}  // namespace

void dictsumadd(DictSum* s, const unsigned char* p, size_t n) {
  while (n > 0) {
    const size_t fill = s->at % 32;
    if (fill == 0 && n >= 32 && s->at >= kBinHeader) {
      // Whole blocks past the header straight from the source.
      const size_t whole = n / 32 * 32;
      for (size_t i = 0; i < whole; i += 32) sumblock(s, p + i);
      s->at += whole;
      p += whole;
      n -= whole;
      continue;
    }
    size_t take = 32 - fill < n ? 32 - fill : n;
    memcpy(s->pending + fill, p, take);
    // The checksum's own bytes count as zero.
    for (size_t i = 0; i < take; i++) {
      const uint64_t at = s->at + i;
      if (at >= kBinChecksumAt && at < kBinChecksumAt + 4) s->pending[fill + i] = 0;
    }
    s->at += take;
    p += take;
    n -= take;
    if (s->at % 32 == 0) sumblock(s, s->pending);
  }
}

uint32_t dictsumend(DictSum* s) {
  const size_t fill = s->at % 32;
  if (fill != 0) {
    memset(s->pending + fill, 0, 32 - fill);
    sumblock(s, s->pending);
  }
  uint64_t h = s->at;
  for (int k = 0; k < 4; k++) h = (h ^ s->a[k]) * 0x100000001B3ull ^ (s->b[k] >> 7) * 0x9E3779B97F4A7C15ull;
  return static_cast<uint32_t>(h ^ h >> 32);
}

namespace {

OsMapping map{nullptr, 0, OS_NOHANDLE};
bool mapped;
const unsigned char* headTable;
const unsigned char* entryTable;
const char* textBase;
uint32_t entryCount, headCount, textBytes;

constexpr int kChunk = 65532;  // a multiple of 12: heads and entries stay whole
unsigned char chunk[kChunk];

// The narrowings of the texts a run looked up last: a model's names repeat their words,
// and a text found here costs one comparison instead of a search. Direct-mapped by hash.
struct Narrowed {
  uint8_t len;  // 0: empty
  bool found;
  char text[26];
  uint32_t lo, hi;
};
constexpr int kNarrowed = 4096;
Narrowed narrowed[kNarrowed];
bool narrowedUsed;


int broken(const char* shown, const char* what) {
  conprintf("Dictionary %s: %s", shown, what);
  return -2;
}

// The entry at i of a table of count entries over text bytes holds together.
bool entryok(const unsigned char* p, uint32_t text) {
  const uint32_t jp = le32(p), en = le32(p + 4);
  const unsigned enlen = p[8] | p[9] << 8, jplen = p[10], flags = p[11];
  return jplen >= 1 && jplen <= DICT_JPBYTES && uint64_t{jp} + jplen <= text && enlen >= 1 &&
         enlen <= DICT_LINEMAX && uint64_t{en} + enlen <= text && (flags & 0x87) != 0 &&
         (flags >> 3 & 3) <= EL_ZH;
}

// Reads the file through its handle from the header's end to its end, adding every byte
// to the checksum and checking every head and entry. Nothing of the mapping is touched:
// a run keeps only the pages its names look at.
const char* stream(oshandle h, const BinLayout& l, DictSum* sum) {
  uint64_t at = kBinHeader;
  while (at < l.end) {
    uint64_t want = l.end - at;
    if (want > kChunk) want = kChunk;
    // A read stops at the next section, so that heads and entries come whole.
    for (uint64_t edge : {l.entries, l.text}) {
      if (edge > at && edge - at < want) want = edge - at;
    }
    uint32_t got = 0, n = 0;
    while (n < want) {
      if (osread(h, chunk + n, static_cast<uint32_t>(want - n), &got) != 0) return "a read error";
      if (got == 0) return "cut short while it was read";
      n += got;
    }
    dictsumadd(sum, chunk, n);
    if (at >= l.heads && at < l.entries) {
      for (uint32_t i = 0; i + kBinHead <= n && at + i + kBinHead <= l.heads + uint64_t{headCount} * kBinHead;
           i += kBinHead) {
        const uint32_t cp = le32(chunk + i), lo = le32(chunk + i + 4), hi = le32(chunk + i + 8);
        if (cp > 0x10FFFF || lo > hi || hi > entryCount)
          return "an offset out of range (a character's entries past the entries)";
      }
    } else if (at >= l.entries && at < l.text) {
      for (uint32_t i = 0; i + kBinEntry <= n &&
                           at + i + kBinEntry <= l.entries + uint64_t{entryCount} * kBinEntry;
           i += kBinEntry) {
        if (!entryok(chunk + i, textBytes))
          return "an offset out of range (an entry past the text)";
      }
    }
    at += n;
  }
  return nullptr;
}

}  // namespace

int binopen(const char* pathA, const char16_t* pathW, const char* shown, int64_t textsize) {
  binclose();
  uint32_t err = 0;
  const int r = pathA != nullptr ? osmapread(pathA, &map, &err) : osmapreadW(pathW, &map, &err);
  if (r != 0) {
    if (err != OSERR_ACCESS_DENIED) return -1;
    return broken(shown, "the file cannot be opened (access denied)");
  }
  char what[160];
  const char* fault = nullptr;
  const uint64_t size = map.size;
  unsigned char head[kBinHeader] = {};
  uint32_t got = 0, n = 0;
  // The header through the handle too: the mapping's pages stay untouched.
  while (n < kBinHeader && osread(map.h, head + n, kBinHeader - n, &got) == 0 && got > 0) n += got;
  if (n < sizeof kBinMagic || memcmp(head, kBinMagic, sizeof kBinMagic) != 0) {
    fault = n < sizeof kBinMagic && memcmp(head, kBinMagic, n) == 0
                ? "cut short"
                : "not a compiled Namewright dictionary (wrong magic)";
  } else if (n < kBinHeader) {
    fault = "cut short";
  } else if (le32(head + 8) != kBinVersion || le32(head + 12) != kBinHeader) {
    snprintf(what, sizeof what,
             "made by another version of Namewright (format %" PRIu32 "; this one reads %" PRIu32
             ")",
             le32(head + 8), kBinVersion);
    fault = what;
  } else if (le64(head + 16) != size) {
    snprintf(what, sizeof what, "%s (%" PRIu64 " bytes, its header says %" PRIu64 ")",
             size < le64(head + 16) ? "cut short" : "longer than it should be", size,
             le64(head + 16));
    fault = what;
  }
  if (fault == nullptr) {
    entryCount = le32(head + 36);
    headCount = le32(head + 40);
    textBytes = le32(head + 48);
    const bool counts = entryCount <= kBinEntriesMax && headCount > 0 &&
                        (headCount & (headCount - 1)) == 0 && headCount <= kBinHeadsMax &&
                        le32(head + 44) == 0;
    const BinLayout l = counts ? binlayout(entryCount, headCount, textBytes) : BinLayout{};
    if (!counts || l.end != size) {
      fault = "sections that do not add up to its size";
    } else if (textsize >= 0 && le64(head + 24) != static_cast<uint64_t>(textsize)) {
      snprintf(what, sizeof what,
               "compiled from a namedict.txt of %" PRIu64 " bytes, not the one beside it of %" PRId64,
               le64(head + 24), textsize);
      binclose();
      conprintf("Dictionary %s: %s", shown, what);
      return 1;
    } else {
      DictSum sum;
      dictsumstart(&sum);
      dictsumadd(&sum, head, kBinHeader);
      fault = stream(map.h, l, &sum);
      if (fault == nullptr && dictsumend(&sum) != le32(head + kBinChecksumAt))
        fault = "a wrong checksum (the file is damaged)";
      if (fault == nullptr) {
        headTable = map.bytes + l.heads;
        entryTable = map.bytes + l.entries;
        textBase = reinterpret_cast<const char*>(map.bytes + l.text);
        mapped = true;
        return 0;
      }
    }
  }
  binclose();
  return broken(shown, fault);
}

void binclose() {
  if (narrowedUsed) memset(narrowed, 0, sizeof narrowed);
  narrowedUsed = false;
  if (map.bytes != nullptr || map.h != OS_NOHANDLE) osunmap(&map);
  mapped = false;
  entryCount = headCount = textBytes = 0;
}

int binentries() { return mapped ? static_cast<int>(entryCount) : 0; }

// Offsets were checked as the file was read; they are checked again where they are used,
// so that a file changed under the mapping is read wrong, never outside it.
bool binentry(int32_t i, Entry* x) {
  if (!mapped || i < 0 || static_cast<uint32_t>(i) >= entryCount) return false;
  const unsigned char* p = entryTable + uint64_t{static_cast<uint32_t>(i)} * kBinEntry;
  if (!entryok(p, textBytes)) return false;
  const unsigned flags = p[11];
  *x = Entry{textBase + le32(p), textBase + le32(p + 4), p[10], p[8] | p[9] << 8,
             static_cast<uint8_t>((flags & 7) | (flags & 0x80 ? DK_MODEL : 0)),
             static_cast<uint8_t>(flags >> 3 & 3),
             static_cast<uint8_t>(flags >> 5 & 3)};
  return true;
}

namespace {

// The entry's Japanese against the len bytes at s: -1 before them, 0 beginning with
// them, 1 after them (in byte order; a text that is a beginning of s comes before it).
// Its first `from` bytes are those of s already.
int compareat(uint32_t i, const char* s, int from, int len) {
  const unsigned char* e = entryTable + uint64_t{i} * kBinEntry;
  const uint32_t jp = le32(e);
  int n = e[10];
  if (uint64_t{jp} + static_cast<uint32_t>(n) > textBytes) n = 0;  // read as empty
  if (n < from) return -1;
  const auto* t = reinterpret_cast<const unsigned char*>(textBase + jp);
  const auto* u = reinterpret_cast<const unsigned char*>(s);
  const int both = n < len ? n : len;
  for (int k = from; k < both; k++) {
    if (t[k] != u[k]) return t[k] < u[k] ? -1 : 1;
  }
  return n < len ? -1 : 0;
}

}  // namespace

BinRange binfirst(const char* s, int w) {
  if (!mapped || w <= 0) return BinRange{0, 0, 0};
  int bytes = 0;
  const uint32_t cp = codeat(reinterpret_cast<const unsigned char*>(s), w, &bytes);
  if (cp == 0 || bytes != w) return BinRange{0, 0, 0};
  uint32_t at = headslot(cp, headCount);
  for (uint32_t probes = 0; probes < headCount; probes++, at = (at + 1) & (headCount - 1)) {
    const unsigned char* h = headTable + uint64_t{at} * kBinHead;
    const uint32_t c = le32(h);
    if (c == 0) break;
    const uint32_t lo = le32(h + 4), hi = le32(h + 8);
    if (c == cp) return lo <= hi && hi <= entryCount ? BinRange{lo, hi, w} : BinRange{0, 0, 0};
  }
  return BinRange{0, 0, 0};
}

bool binnarrow(BinRange* r, const char* s, int len) {
  Narrowed* c = nullptr;
  if (len <= static_cast<int>(sizeof narrowed[0].text)) {
    c = &narrowed[hashof(s, len) & (kNarrowed - 1)];
    if (c->len == len && memcmp(c->text, s, static_cast<size_t>(len)) == 0) {
      *r = BinRange{c->lo, c->hi, r->depth};
      return c->found;
    }
  }
  // The first entry not before the text, galloping from the range's start: the entries
  // that begin with a longer text lie near those of the shorter one. The range keeps
  // its end, which bounds them too, and so what all its entries begin with.
  const int from = r->depth < len ? r->depth : len;
  const uint32_t end = r->hi;
  uint32_t base = r->lo, bound = end;
  for (uint32_t step = 1; base < end; step *= 2) {
    const uint32_t probe = end - base > step ? base + step - 1 : end - 1;
    if (compareat(probe, s, from, len) >= 0) {
      bound = probe;
      break;
    }
    base = probe + 1;
  }
  while (base < bound) {
    const uint32_t mid = base + (bound - base) / 2;
    if (compareat(mid, s, from, len) < 0) {
      base = mid + 1;
    } else {
      bound = mid;
    }
  }
  *r = BinRange{base, end, r->depth};
  const bool found = base < end && compareat(base, s, from, len) == 0;
  if (c != nullptr) {
    *c = Narrowed{static_cast<uint8_t>(len), found, {}, base, end};
    memcpy(c->text, s, static_cast<size_t>(len));
    narrowedUsed = true;
  }
  return found;
}

int32_t binexact(const BinRange& r, int len) {
  if (r.lo >= r.hi) return -1;
  return entryTable[uint64_t{r.lo} * kBinEntry + 10] == len ? static_cast<int32_t>(r.lo) : -1;
}

Hits binfind(const char* s, int len) {
  if (!mapped || len <= 0) return Hits{-1, -1};
  const int w = charlen(reinterpret_cast<const unsigned char*>(s), 0, len);
  BinRange r = binfirst(s, w);
  if (r.lo >= r.hi || (len > w && !binnarrow(&r, s, len))) return Hits{-1, -1};
  return Hits{-1, binexact(r, len)};
}

int32_t binnext(int32_t i) {
  const uint32_t n = static_cast<uint32_t>(i) + 1;
  if (!mapped || n >= entryCount) return -1;
  const unsigned char* e = entryTable + uint64_t{n} * kBinEntry;
  const unsigned char* before = e - kBinEntry;
  return le32(e) == le32(before) && e[10] == before[10] ? static_cast<int32_t>(n) : -1;
}

}  // namespace dict
