// namegen.cpp - the generated name of a record, and the names a model already has.
#include "names/namegen.h"

#include <array>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <initializer_list>

#include "names/dict.h"
#include "names/rules.h"
#include "text/sjis.h"

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
    {NameKind::model, RK_BONE, DK_BONE | DK_MODEL, NAMES_MODEL},
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

// ---- The language of a name ----------------------------------------------------------
//
// A name with kana is Japanese; one with a character of Chinese script that Shift-JIS
// cannot spell (a simplified one: 发, 头, 饰) is Chinese. A name of kanji alone is read
// in the model's language, and in a Japanese model as Chinese only when Chinese reads it
// with a piece or an unknown character fewer (手套 gloves, not 手 + 套). A model is Chinese-made when at least
// three of its names, and a fifth as many as have kana, are Chinese by their script:
// Chinese models keep the Japanese names of the standard skeleton, and a Japanese model
// may carry an accessory named in Chinese.

enum Script : uint8_t { SC_NONE = 0, SC_KANA = 1, SC_HANZI = 2, SC_KANJI = 4 };

uint32_t utf8at(const unsigned char* p, int* len) {
  const unsigned b = p[0];
  const int k = b < 0x80 ? 1 : b < 0xC2 ? 0 : b < 0xE0 ? 2 : b < 0xF0 ? 3 : b < 0xF5 ? 4 : 0;
  *len = 1;
  if (k == 0) return 0xFFFD;
  uint32_t cp = k == 1 ? b : b & (0x7F >> k);
  for (int j = 1; j < k; j++) {
    if ((p[j] & 0xC0) != 0x80) return 0xFFFD;
    cp = cp << 6 | (p[j] & 0x3F);
  }
  *len = k;
  return cp;
}

bool iscjk(uint32_t cp) {
  return (cp >= 0x3400 && cp <= 0x4DBF) || (cp >= 0x4E00 && cp <= 0x9FFF) ||
         (cp >= 0xF900 && cp <= 0xFAFF) || (cp >= 0x20000 && cp <= 0x3FFFF);
}
bool iskana(uint32_t cp) {
  return (cp >= 0x3041 && cp <= 0x3096) || (cp >= 0x30A1 && cp <= 0x30FA) ||
         (cp >= 0xFF66 && cp <= 0xFF9D);
}

// The Shift-JIS code of a character as the file's text was converted: either table.
bool spells(uint32_t cp, const unsigned char* at) {
  if (cp < 0x80) return at[0] == cp;
  for (uint32_t code : {unich2sjischc(cp), unich2sjisch(cp)}) {
    if (code == 0) continue;
    if (code < 0x100 ? at[0] == code : at[0] == (code >> 8) && at[1] != 0 && at[1] == (code & 0xFF))
      return true;
  }
  return false;
}

uint8_t scriptofsjis(const unsigned char* p) {
  uint8_t sc = SC_NONE;
  for (; *p != 0; p++) {
    if (*p >= 0xA6 && *p <= 0xDD) sc |= SC_KANA;
    if (!names::isleadbyte(*p) || p[1] == 0) continue;
    const int code = p[0] << 8 | p[1];
    if ((code >= 0x829F && code <= 0x82F1) || (code >= 0x8340 && code <= 0x8396)) sc |= SC_KANA;
    if (code >= 0x889F) sc |= SC_KANJI;
    p++;
  }
  return sc;
}

// The scripts of a name: from the file's spelling when there is one.
uint8_t scriptof(const char* jp, const char* src) {
  if (src == nullptr) return scriptofsjis(reinterpret_cast<const unsigned char*>(jp));
  uint8_t sc = SC_NONE;
  for (const auto* p = reinterpret_cast<const unsigned char*>(src); *p != 0;) {
    int len = 1;
    const uint32_t cp = utf8at(p, &len);
    p += len;
    if (iskana(cp)) sc |= SC_KANA;
    if (iscjk(cp)) sc |= unich2sjischc(cp) != 0 ? SC_KANJI : SC_HANZI;
  }
  return sc;
}

int langChinese, langKana;  // names of the model by their script

// The last genname call.
struct Last {
  int row = -1;
  uint64_t jp = 0;
  bool dict = false;  // a stretch of it was read through the dictionary
  bool fixed = false;  // a standard name: never moved
  int cap = GEN_NAMEMAX + 1;
  char name[REP_BUFSIZE];
};
Last last;
char trial[REP_BUFSIZE];
char jpCopy[1024];  // the name being generated; names hold at most 254 bytes
NameSource genSource = NameSource::copied;
DictLang genLang = DL_JA;

// The name into jpCopy, whole characters only; with src, a '?' for each character of it
// that the Shift-JIS form lost or spelt '?', marked for the dictionary. The Shift-JIS
// form alone when the two do not go together.
void copyname(const char* jp, const char* src) {
  size_t n = 0;
  while (jp[n] != 0) {
    const size_t len = names::isleadbyte(jp[n]) && jp[n + 1] != 0 ? 2 : 1;
    if (n + len > sizeof jpCopy - 1) break;
    n += len;
  }
  memcpy(jpCopy, jp, n);
  jpCopy[n] = 0;
  dictunmark();
  if (src == nullptr) return;
  const auto* j = reinterpret_cast<const unsigned char*>(jp);
  size_t d = 0;
  for (const auto* p = reinterpret_cast<const unsigned char*>(src); *p != 0;) {
    int len = 1;
    const uint32_t cp = utf8at(p, &len);
    p += len;
    if (d + 2 > sizeof jpCopy - 1) break;
    if (spells(cp, j)) {
      const size_t w = cp < 0x80 || !names::isleadbyte(j[0]) ? 1 : 2;
      memcpy(jpCopy + d, j, w);
      d += w;
      j += w;
      continue;
    }
    if (*j == '?') j++;  // spelt '?' (UTF-16 files), or left out (UTF-8 files)
    jpCopy[d] = '?';
    dictmark(jpCopy + d, cp);
    d++;
  }
  if (*j != 0) {
    // Not the same name: the Shift-JIS form is read as it is.
    dictunmark();
    memcpy(jpCopy, jp, n);
    d = n;
  }
  jpCopy[d] = 0;
}

bool isfree(int row, const char* name) { return !clashes(row, hash64(name, true), last.jp); }

}  // namespace

void namenote(const char* jp, const char* src) {
  const uint8_t sc = scriptof(jp, src);
  if (sc & SC_KANA) {
    langKana++;
  } else if (sc & SC_HANZI) {
    langChinese++;
  }
}

bool nameschinese() { return langChinese >= 3 && 5 * langChinese >= langKana; }

// The key of a Japanese name: as the file spells it when the Shift-JIS form lost some
// of it (two Chinese names that differ only there are two names).
uint64_t jpkey(const char* jp, const char* src) { return hash64(src != nullptr ? src : jp, false); }

int genname(NameKind kind, const char* jp, char* out, const char* src, int cap) {
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
    genLang = DL_JA;
    return 0;
  }
  // The pieces point into the name, which must outlive the call for namegiven.
  copyname(jp, src);
  const uint8_t sc = scriptof(jp, src);
  const DictLang lang = sc & SC_KANA ? DL_JA : sc & SC_HANZI ? DL_ZH : nameschinese() ? DL_ZH : DL_JA;
  dictsetlang(lang);
  genLang = lang;
  dictrep(k.rules, k.dict, out, jpCopy, false);
  const int64_t ja = dictcost();
  // Kanji alone that Japanese reads with a kanji's meaning or not at all: Chinese may
  // know the word.
  if (lang == DL_JA && !(sc & SC_KANA) && (sc & SC_KANJI) && !dictwhole() &&
      ja % DICT_PIECECOST != 0) {
    dictsetlang(DL_ZH);
    genLang = DL_ZH;
    dictrep(k.rules, k.dict, out, jpCopy, false);
    if (ja - dictcost() < DICT_UNKNOWNCOST) {
      dictsetlang(DL_JA);
      genLang = DL_JA;
      dictrep(k.rules, k.dict, out, jpCopy, false);
    }
  }
  dictsetlang(DL_JA);
  if (cap > GEN_NAMEMAX + 1 || cap < 2) cap = GEN_NAMEMAX + 1;
  dictcompose(out, cap, 0, 0, nullptr);  // the words cut, the numbers and side kept
  last.row = row;
  last.jp = jpkey(jp, src);
  last.dict = dictused();
  last.fixed = dictwhole();
  last.cap = cap;
  genSource = rulesapplied() ? NameSource::rule
              : dictwhole()  ? NameSource::standard
              : last.dict    ? NameSource::dictionary
                             : NameSource::copied;
  memcpy(last.name, out, strlen(out) + 1);
  return 0;
}

NameSource gensource() { return genSource; }
DictLang genlang() { return genLang; }

void namesreset() {
  last.row = -1;
  langChinese = langKana = 0;
  if (!anyTaken) return;  // a run without a dictionary never touches the tables
  memset(taken, 0, sizeof taken);
  memset(takenCount, 0, sizeof takenCount);
  memset(numbered, 0, sizeof numbered);
  memset(numberedCount, 0, sizeof numberedCount);
  anyTaken = false;
}

int nametaken(NameKind kind, const char* en, const char* jp, const char* src) {
  if (!dicthas() || en[0] == 0) return 0;
  return remember(rowindex(kind), hash64(en, true), jpkey(jp, src));
}

void namereserve(NameKind kind, const char* jp, const char* src, int cap) {
  if (!dicthas()) return;
  const int row = rowindex(kind);
  const KindRow& k = kindRows[static_cast<size_t>(row)];
  // Only a name that may be standard, or one a rule of the user's reaches, is generated
  // twice.
  char* probe = trial;
  bool rule = nlcount(ruleList[k.rules]) > 0;
  if (rule) {
    if (k.rules == RK_BONE) {
      brep(probe, jp);
    } else {
      mrep(probe, jp);
    }
    rule = strcmp(probe, jp) != 0;
  }
  if (!rule && !dictwholename(k.dict, jp)) return;
  genname(kind, jp, probe, src, cap);
  if (probe[0] != 0 && (last.fixed || !last.dict)) remember(row, hash64(probe, true), last.jp);
  last.row = -1;
}

void namegiven(NameKind kind, char* name) {
  const int row = rowindex(kind);
  if (last.row != row || name[0] == 0 || strcmp(name, last.name) != 0) return;
  last.row = -1;
  if (last.dict && !last.fixed && !isfree(row, name)) {
    bool done = false;
    // Another translation of one piece first, then a numeral.
    for (int part = 0; !done && part < dictaltparts(); part++) {
      for (int alt = 1; !done; alt++) {
        if (dictcompose(trial, last.cap, part, alt, nullptr) != 0) break;
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
        snprintf(numeral, sizeof numeral, "(%d)", n);
        dictcompose(trial, last.cap, 0, 0, numeral);
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
