// dictentry.h - inside the dictionary: its entries as the reading of a name uses them,
// looked up by their text in two layers, the compiled file (mapped) and the text read
// into fixed tables (the user's words, or the whole text when there is no compiled form).
#pragma once
#include <cstdint>

#include "names/dict.h"

namespace dict {

enum EntryClass : uint8_t { EC_WHOLE, EC_WORD, EC_KANJI, EC_SIDE };  // N W K S
enum EntryLang : uint8_t { EL_BOTH, EL_JA, EL_ZH };

// One entry, its texts pointing into the layer that holds it.
struct Entry {
  const char* jp;  // normal form
  const char* en;  // printable ASCII, alternatives apart by '|'
  int jplen;
  int enlen;
  uint8_t kinds;  // DictKind bits
  uint8_t lang;   // EntryLang
  uint8_t cls;    // EntryClass
};

// Entry numbers: the text layer's from 0, the compiled file's from kBinBase.
constexpr int32_t kBinBase = 1 << 30;

// The 32-bit FNV-1a hash that both layers index by.
constexpr uint32_t kHashStart = 2166136261u;
inline uint32_t hashstep(uint32_t h, unsigned char b) { return (h ^ b) * 16777619u; }
uint32_t hashof(const char* s, int len);
// The bit of a leading part's hash in a table of 2^log2 bits.
inline uint32_t prefixbit(uint32_t h, int log2) { return (h * 0x9E3779B1u) >> (32 - log2); }

// The entries with a text, newest first: the text layer's, then the compiled file's.
struct Hits {
  int32_t text;  // the newest of the text layer, -1 none
  int32_t bin;   // the first of the compiled file's, -1 none
};
Hits find(const char* s, int len, uint32_t h);
// The first entry of the hits, and the one after e; -1 at the end.
int32_t first(const Hits& hits);
int32_t next(const Hits& hits, int32_t e);
// The entry numbered e; false when a compiled entry does not hold together.
bool entry(int32_t e, Entry* x);
// The entry of the kind for a text that a segmentation may use (the reading's own
// language first, then words and sides before kanji fallbacks, the newest line among
// equals), or -1; with whole, the entry of a whole name instead.
int32_t usable(const Hits& hits, uint8_t kind, bool whole);

// ---- The text layer (names/dicttext.cpp) ------------------------------------------
// Appends the entries of a text file to the text layer. 0 read, -1 cannot open
// (silent), -2 broken (printed). With magic false the magic line may be left out.
int textappend(const char* pathA, const char16_t* pathW, const char* shown, bool magic,
               int* count);
// Indexes what was appended; entries count from then on.
void textindex();
void textclear();
int textcount();
// The text layer's raw tables, for the compiler.
bool textentry(int32_t e, Entry* x);
Hits textfind(const char* s, int len, uint32_t h);
int32_t textnext(int32_t e);
bool textprefix(uint32_t h);

// ---- The compiled layer (names/dictbin.cpp) -----------------------------------------
// Maps a compiled file: 0, -1 cannot open, -2 broken (printed without a line end). With
// textsize >= 0 (the size of the text beside it), a file compiled from a text of
// another size is not used: 1, printed likewise.
int binopen(const char* pathA, const char16_t* pathW, const char* shown, int64_t textsize);
void binclose();
int binentries();
// The compiled entries whose Japanese begins with a text, as a range of entries.
struct BinRange {
  uint32_t lo, hi;
  int depth;  // bytes of the text every entry of the range begins with (its first character)
};
// Those of the first character, w bytes at s.
BinRange binfirst(const char* s, int w);
// Narrowed to start at the first entry not before the len bytes at s (r comes from a
// shorter beginning of it); false when no entry begins with them.
bool binnarrow(BinRange* r, const char* s, int len);
// The first entry of a range narrowed by len bytes when its text is those bytes, or -1.
int32_t binexact(const BinRange& r, int len);
Hits binfind(const char* s, int len);
bool binentry(int32_t i, Entry* x);
int32_t binnext(int32_t i);

}  // namespace dict
