// nametable.h - the names table of the model in hand (nt): a row per element whose
// English name the writer handles, in the writer's order.
//
// Texts are kept in the model's own encoding. A model has one of two uses for it:
// - recording: while its copy is written, the writer records each element's Japanese
//   name, the English name written, the one the file had and where it came from; the
//   table written beside the copy is made from these rows;
// - a table to apply: the elements are listed first with their Japanese names (ntadd),
//   the table gives the English names of its rows (ntgive), and the writer takes them.
#pragma once
#include <cstdint>

#include "names/fillname.h"

enum class NtEncoding : uint8_t { utf16le, utf8, sjis };

constexpr int NT_TEXTMAX = 254;  // bytes of one text (PMX keeps 254, PMD fields are shorter)
// Rows: every element whose name a PMD can hold (model, 65535 bones, 65534 morphs after
// the base morph, 255 frames); a PMX has fewer handled names (namegen.h).
constexpr int NT_ROWS = 1 + 65535 + 65534 + 255;
// Texts: three of each row of the larger of the two (PMX: 23809 rows of 254 bytes).
constexpr int NT_POOL = 3 * NT_TEXTMAX * 23809;

enum NtText { NT_JP, NT_EN, NT_ORIG, NT_GIVEN, NT_TEXTS };

struct NtRow {
  NameKind kind;
  NameSource source;
  bool changed;   // the table gave another name than the writer's own
  int32_t index;
  int32_t line;   // the table's line that gives the English name; 0 when none does
  uint32_t at[NT_TEXTS];
  uint16_t len[NT_TEXTS];
};

// Forgets the previous model's rows; recording says whether the writer records them.
void ntbegin(NtEncoding enc, bool recording);
NtEncoding ntencoding();
int ntcount();
const NtRow& ntrow(int r);
const uint8_t* nttext(const NtRow& row, NtText which);
// True when a recorded table holds every element the writer handled.
bool ntwhole();

// Lists the next element in the writer's order (the elements of a kind together, by
// growing index) with its Japanese name, its English name as read, and the widest new
// English name it may get, in bytes. 0, or -1 when it cannot be listed.
int ntadd(NameKind kind, int32_t index, const uint8_t* jp, int len, const uint8_t* en, int enlen,
          int maxbytes);
// The row of an element, or -1; the rows of a kind are its indexes first..first+count-1.
int ntfind(NameKind kind, int32_t index);
void ntrange(NameKind kind, int32_t* first, int32_t* count);
int ntmaxbytes(int r);
// Gives row r the English name en (the model's encoding) of the table's line. 0, or -1
// when there is no room. A table that keeps an element's English name as read gives
// these very bytes (nttext(row, NT_ORIG)), which the model holds whatever they are.
int ntgive(int r, const uint8_t* en, int len, int line);

// Called by the writer for each element as its English name en (enlen bytes, the
// model's encoding) is about to be written: where the table gives a name that reads
// otherwise, *en and *enlen become the table's and " table => <name> " is printed. The
// row is recorded when recording. Returns where the name written comes from.
NameSource ntwrite(NameKind kind, int32_t index, const uint8_t* jp, int jplen, const uint8_t** en,
                   int* enlen, const uint8_t* orig, int origlen, NameSource source);
// Names the table changed in the copy being written.
int ntchanged();

// A text of the model's encoding as UTF-8, what cannot be shown as U+FFFD; the bytes
// written (cap: 3 * NT_TEXTMAX + 4 holds any text of the table), or -1.
int ntshow(uint8_t* dst, int cap, const uint8_t* s, int len);
constexpr int NT_SHOWMAX = 3 * NT_TEXTMAX + 4;
