// namegen.cpp - the generated name of a record, and the names a model already has.
#include "names/namegen.h"

#include <array>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "names/dict.h"
#include "names/rules.h"

namespace {

// One row per kind of name: its rules, its dictionary entries and how many names of the
// kind a model holds. Kinds added later use the bone rules and entries.
struct KindRow {
  NameKind kind;
  RuleKind rules;
  uint8_t dict;
  int names;
};
constexpr std::array<KindRow, 8> kindRows{{
    {NameKind::bone, RK_BONE, DK_BONE, NAMES_BONES},
    {NameKind::morph, RK_MORPH, DK_MORPH, NAMES_MORPHS},
    {NameKind::frame, RK_MORPH, DK_FRAME, NAMES_FRAMES},
    {NameKind::model, RK_BONE, DK_BONE, NAMES_MODEL},
    {NameKind::material, RK_BONE, DK_BONE, NAMES_MATERIALS},
    {NameKind::body, RK_BONE, DK_BONE, NAMES_BODIES},
    {NameKind::joint, RK_BONE, DK_BONE, NAMES_JOINTS},
    {NameKind::softbody, RK_BONE, DK_BONE, NAMES_SOFTBODIES},
}};
static_assert(kindRows.size() == static_cast<size_t>(NameKind::softbody) + 1, "a row per kind");
constexpr int kKinds = static_cast<int>(kindRows.size());

constexpr int rowindex(NameKind kind) {
  for (int i = 0; i < kKinds; i++) {
    if (kindRows[static_cast<size_t>(i)].kind == kind) return i;
  }
  return 0;
}

// The taken names of each kind: an open-addressed table of at least twice its names.
constexpr int slotsfor(int names) {
  int n = 1;
  while (n < 2 * names) n <<= 1;
  return n;
}
constexpr std::array<int, kKinds + 1> slotStart = [] {
  std::array<int, kKinds + 1> a{};
  for (int i = 0; i < kKinds; i++)
    a[static_cast<size_t>(i + 1)] =
        a[static_cast<size_t>(i)] + slotsfor(kindRows[static_cast<size_t>(i)].names);
  return a;
}();
constexpr int kAllSlots = slotStart[kKinds];

struct Taken {
  uint64_t en;  // 0 for an empty slot
  uint64_t jp;
};
Taken taken[kAllSlots];
int takenCount[kKinds];
bool anyTaken;  // something to forget at the next model

// Numerals given, so that the search does not start again at 2 for every name of a
// model that reads the same (thousands of "_" would take a quadratic time): per base
// name the next numeral to try, and per base name and Japanese name the one it got.
struct Numbered {
  uint64_t key;  // 0 for an empty slot
  int32_t n;
};
Numbered numbered[2 * kAllSlots];
int numberedCount[kKinds];

// 64-bit FNV-1a, English folded to lower case (names that differ only in case cannot be
// told apart in a list either); never 0.
uint64_t hash64(const char* s, bool fold) {
  uint64_t h = 14695981039346656037ull;
  for (; *s != 0; s++) {
    unsigned char c = static_cast<unsigned char>(*s);
    if (fold && c >= 'A' && c <= 'Z') c = static_cast<unsigned char>(c + 32);
    h = (h ^ c) * 1099511628211ull;
  }
  return h != 0 ? h : 1;
}

// True when en is the name of another Japanese name of the kind.
bool clashes(int row, uint64_t en, uint64_t jp) {
  const int start = slotStart[static_cast<size_t>(row)];
  const int mask = slotStart[static_cast<size_t>(row + 1)] - start - 1;
  for (int i = static_cast<int>(en) & mask;; i = (i + 1) & mask) {
    const Taken& t = taken[start + i];
    if (t.en == 0) return false;
    if (t.en == en && t.jp != jp) return true;
  }
}

int remember(int row, uint64_t en, uint64_t jp) {
  // Up to three quarters full: the names a model's tables hold, and those of the
  // elements beyond them, which are copied with their names.
  const int slots = slotStart[static_cast<size_t>(row + 1)] - slotStart[static_cast<size_t>(row)];
  if (takenCount[row] >= slots / 4 * 3) return -1;
  const int start = slotStart[static_cast<size_t>(row)];
  const int mask = slotStart[static_cast<size_t>(row + 1)] - start - 1;
  int i = static_cast<int>(en) & mask;
  for (;; i = (i + 1) & mask) {
    Taken& t = taken[start + i];
    if (t.en == 0) break;
    if (t.en == en && t.jp == jp) return 0;
  }
  taken[start + i] = Taken{en, jp};
  takenCount[row]++;
  anyTaken = true;
  return 0;
}

// The numeral stored under key in the kind's table, or 0.
int32_t& numeralslot(int row, uint64_t key, bool* found) {
  const int start = 2 * slotStart[static_cast<size_t>(row)];
  const int mask =
      2 * (slotStart[static_cast<size_t>(row + 1)] - slotStart[static_cast<size_t>(row)]) - 1;
  int i = static_cast<int>(key) & mask;
  for (; numbered[start + i].key != 0; i = (i + 1) & mask) {
    if (numbered[start + i].key == key) {
      *found = true;
      return numbered[start + i].n;
    }
  }
  *found = false;
  static int32_t spare;
  // Two keys per name of the kind at most: the table never fills beyond half.
  if (numberedCount[row] >= 2 * kindRows[static_cast<size_t>(row)].names) return spare = 0;
  numberedCount[row]++;
  numbered[start + i] = Numbered{key, 0};
  return numbered[start + i].n;
}

// The last genname call.
struct Last {
  int row = -1;
  uint64_t jp = 0;
  bool dict = false;  // a stretch of it was read through the dictionary
  char name[REP_BUFSIZE];
};
Last last;
char trial[REP_BUFSIZE];
char jpCopy[1024];  // the name being generated; names hold at most 254 bytes
NameSource genSource = NameSource::copied;

bool isfree(int row, const char* name) { return !clashes(row, hash64(name, true), last.jp); }

}  // namespace

int genname(NameKind kind, const char* jp, char* out) {
  const int row = rowindex(kind);
  const KindRow& k = kindRows[static_cast<size_t>(row)];
  out[0] = 0;
  last.row = -1;
  if (!dicthas()) {
    if (k.rules == RK_BONE) {
      brep(out, jp);
    } else {
      mrep(out, jp);
    }
    out[GEN_NAMEMAX] = 0;
    genSource = rulesapplied() ? NameSource::rule : NameSource::copied;
    return 0;
  }
  // The pieces point into the name, which must outlive the call for namegiven.
  size_t n = 0;
  while (jp[n] != 0) {
    const size_t len = names::isleadbyte(jp[n]) && jp[n + 1] != 0 ? 2 : 1;
    if (n + len > sizeof jpCopy - 1) break;
    n += len;
  }
  memcpy(jpCopy, jp, n);
  jpCopy[n] = 0;
  dictrep(k.rules, k.dict, out, jpCopy);
  dictcompose(out, GEN_NAMEMAX + 1, 0, 0, nullptr);  // cut whole, the side kept
  last.row = row;
  last.jp = hash64(jpCopy, false);
  last.dict = dictused();
  genSource = rulesapplied() ? NameSource::rule
              : dictwhole()  ? NameSource::standard
              : last.dict    ? NameSource::dictionary
                             : NameSource::copied;
  memcpy(last.name, out, strlen(out) + 1);
  return 0;
}

NameSource gensource() { return genSource; }

void namesreset() {
  last.row = -1;
  if (!anyTaken) return;  // a run without a dictionary never touches the tables
  memset(taken, 0, sizeof taken);
  memset(takenCount, 0, sizeof takenCount);
  memset(numbered, 0, sizeof numbered);
  memset(numberedCount, 0, sizeof numberedCount);
  anyTaken = false;
}

int nametaken(NameKind kind, const char* en, const char* jp) {
  if (!dicthas() || en[0] == 0) return 0;
  return remember(rowindex(kind), hash64(en, true), hash64(jp, false));
}

void namegiven(NameKind kind, char* name) {
  const int row = rowindex(kind);
  if (last.row != row || name[0] == 0 || strcmp(name, last.name) != 0) return;
  last.row = -1;
  if (last.dict && !isfree(row, name)) {
    bool done = false;
    // Another translation of one piece first, then a numeral.
    for (int part = 0; !done && part < dictaltparts(); part++) {
      for (int alt = 1; !done; alt++) {
        if (dictcompose(trial, GEN_NAMEMAX + 1, part, alt, nullptr) != 0) break;
        done = isfree(row, trial);
      }
    }
    if (!done) {
      const uint64_t base = hash64(name, true);
      bool had = false, seen = false;
      int32_t& mine = numeralslot(row, base ^ (last.jp * 0x9E3779B97F4A7C15ull), &had);
      int32_t& next = numeralslot(row, base, &seen);
      // The numeral this Japanese name got before, else the next one free.
      int n = had && mine > 0 ? mine : seen && next > 2 ? next : 2;
      for (int tries = 0; !done && tries <= 2 * NAMES_MORPHS; tries++, n++) {
        char numeral[16];
        snprintf(numeral, sizeof numeral, "%d", n);
        dictcompose(trial, GEN_NAMEMAX + 1, 0, 0, numeral);
        done = isfree(row, trial);
      }
      if (done) {
        mine = n - 1;
        if (n > next) next = n;
      }
    }
    if (done) memcpy(name, trial, strlen(trial) + 1);
  }
  remember(row, hash64(name, true), last.jp);
}
