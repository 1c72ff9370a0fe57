// nametable.cpp - the names table of the model in hand.
#include "names/nametable.h"

#include <cstring>

#include "text/console.h"
#include "text/sjis.h"
#include "text/utf8.h"

namespace {

static_assert(NT_ROWS >= 1 + 2048 + 4096 + 8192 + 1024 + 4096 + 4096 + 256, "a PMX fits too");
static_assert(NT_POOL >= 3 * (20 * (1 + 65535 + 65534) + 50 * 255), "a PMD fits too");
static_assert(NT_POOL < (1u << 31), "pool offsets fit");

constexpr int kKinds = static_cast<int>(NameKind::softbody) + 1;

NtRow rows[NT_ROWS];
uint8_t pool[NT_POOL];
int rowCount;
int poolUsed;
NtEncoding encoding;
bool recording;
bool listed;   // the elements were listed for a table
bool full;     // a recorded row or text did not fit
int changedCount;

// The rows of each kind, while elements are listed.
struct KindRange {
  int32_t row;    // first row, -1 while the kind has none
  int32_t first;  // its index
  int32_t count;
  int32_t maxbytes;
};
KindRange ranges[kKinds];

int kindno(NameKind kind) { return static_cast<int>(kind); }

// Stores a text; false when the pool is full.
bool store(NtRow& row, NtText which, const uint8_t* s, int len) {
  if (len < 0 || len > NT_TEXTMAX || poolUsed + len > NT_POOL) return false;
  if (len > 0) memcpy(pool + poolUsed, s, static_cast<size_t>(len));
  row.at[which] = static_cast<uint32_t>(poolUsed);
  row.len[which] = static_cast<uint16_t>(len);
  poolUsed += len;
  return true;
}

bool sameshown(const uint8_t* a, int alen, const uint8_t* b, int blen) {
  static uint8_t sa[NT_SHOWMAX], sb[NT_SHOWMAX];
  int na = ntshow(sa, sizeof sa, a, alen);
  int nb = ntshow(sb, sizeof sb, b, blen);
  return na >= 0 && na == nb && memcmp(sa, sb, static_cast<size_t>(na)) == 0;
}

// The console's Shift-JIS form of a text of the model's encoding.
void printname(const uint8_t* s, int len) {
  static char16_t units[NT_TEXTMAX / 2 + 2];
  static char text[NT_SHOWMAX + 2];
  static char sjis[2 * NT_SHOWMAX + 4];
  if (encoding == NtEncoding::utf16le) {
    int n = len / 2;
    for (int i = 0; i < n; i++) units[i] = static_cast<char16_t>(s[2 * i] | s[2 * i + 1] << 8);
    units[n] = 0;
    unistr2sjisc(sjis, units);
  } else {
    memcpy(text, s, static_cast<size_t>(len));
    text[len] = 0;
    if (encoding == NtEncoding::utf8) {
      utf82sjisc(sjis, text);
    } else {
      memcpy(sjis, text, static_cast<size_t>(len) + 1);
    }
  }
  conprintf(" table => %s ", sjis);
}

}  // namespace

void ntbegin(NtEncoding enc, bool record) {
  rowCount = 0;
  poolUsed = 0;
  encoding = enc;
  recording = record;
  listed = false;
  full = false;
  changedCount = 0;
  for (KindRange& k : ranges) k = KindRange{-1, 0, 0, 0};
}

NtEncoding ntencoding() { return encoding; }
int ntcount() { return rowCount; }
const NtRow& ntrow(int r) { return rows[r]; }
const uint8_t* nttext(const NtRow& row, NtText which) { return pool + row.at[which]; }
bool ntwhole() { return recording && !full; }

int ntadd(NameKind kind, int32_t index, const uint8_t* jp, int len, const uint8_t* en, int enlen,
          int maxbytes) {
  KindRange& k = ranges[kindno(kind)];
  // The rows of a kind stand together, so that a row is found by its index alone.
  bool fits = k.row < 0 || (k.row + k.count == rowCount && index == k.first + k.count);
  if (!fits || rowCount >= NT_ROWS || recording) return -1;
  NtRow& row = rows[rowCount];
  row = NtRow{kind, NameSource::kept, false, index, 0, {}, {}};
  if (!store(row, NT_JP, jp, len) || !store(row, NT_ORIG, en, enlen)) return -1;
  if (k.row < 0) k = KindRange{rowCount, index, 0, maxbytes};
  k.count++;
  rowCount++;
  listed = true;
  return 0;
}

int ntfind(NameKind kind, int32_t index) {
  const KindRange& k = ranges[kindno(kind)];
  if (k.row < 0 || index < k.first || index - k.first >= k.count) return -1;
  return k.row + (index - k.first);
}

void ntrange(NameKind kind, int32_t* first, int32_t* count) {
  const KindRange& k = ranges[kindno(kind)];
  *first = k.first;
  *count = k.row < 0 ? 0 : k.count;
}

int ntmaxbytes(int r) { return ranges[kindno(rows[r].kind)].maxbytes; }

int ntgive(int r, const uint8_t* en, int len, int line) {
  if (!store(rows[r], NT_GIVEN, en, len)) return -1;
  rows[r].line = line;
  return 0;
}

NameSource ntwrite(NameKind kind, int32_t index, const uint8_t* jp, int jplen, const uint8_t** en,
                   int* enlen, const uint8_t* orig, int origlen, NameSource source) {
  if (listed) {
    int r = ntfind(kind, index);
    if (r < 0 || rows[r].line == 0) return source;
    NtRow& row = rows[r];
    const uint8_t* given = nttext(row, NT_GIVEN);
    // A name that reads the same is left as the writer has it: bytes that cannot be
    // shown (and a PMD field's bytes after its end) stay as they are.
    if (sameshown(given, row.len[NT_GIVEN], *en, *enlen)) return source;
    printname(given, row.len[NT_GIVEN]);
    *en = given;
    *enlen = row.len[NT_GIVEN];
    row.changed = true;
    row.source = NameSource::table;
    changedCount++;
    return NameSource::table;
  }
  if (!recording || full) return source;
  if (rowCount >= NT_ROWS) {
    full = true;
    return source;
  }
  NtRow& row = rows[rowCount];
  row = NtRow{kind, source, false, index, 0, {}, {}};
  if (!store(row, NT_JP, jp, jplen) || !store(row, NT_EN, *en, *enlen) ||
      !store(row, NT_ORIG, orig, origlen)) {
    full = true;
    return source;
  }
  rowCount++;
  return source;
}

int ntchanged() { return changedCount; }

int ntshow(uint8_t* dst, int cap, const uint8_t* s, int len) {
  switch (encoding) {
    case NtEncoding::utf16le: return utf16le2utf8(dst, cap, s, len);
    case NtEncoding::utf8: return utf8clean(dst, cap, s, len);
    default: return sjis2utf8x(dst, cap, s, len);
  }
}
