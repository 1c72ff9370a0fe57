// pmxname.h - one text field of a PMX file at a time: its raw bytes and Shift-JIS form.
//
// A text field is an int byte length followed by that many bytes in the file's
// encoding (UTF-16LE or UTF-8). Only the first PMX_NAMEMAX bytes are kept, cut back to
// a whole character; the rest is consumed and dropped.
#pragma once
#include <cstdint>

#include "io/binfile.h"
#include "pmx/pmxmodel.h"

struct PmxName {
  int32_t stored;                        // the length field as found in the file
  int32_t len;                           // raw bytes kept
  uint8_t raw[PMX_NAMEMAX + 4];          // kept bytes, then at least two zero bytes
  char16_t units[PMX_NAMEMAX / 2 + 3];   // UTF-16 files: the kept units, zero-terminated
  char sjis[PMX_NAMEMAX + 2];            // Shift-JIS form, after pmxnamesjis
};

enum PmxNameResult { PN_OK = 0, PN_BADLENGTH = -1, PN_ENDED = -3 };

// Reads one text field through the reader. PN_BADLENGTH when the length is negative
// (nothing more consumed), PN_ENDED when the file ends inside the field.
int pmxgetname(PmxName* n, int encoding);
// Consumes n bytes; 0, or -1 when the file ended first. Inline: the reading pass skips
// most of a model a few bytes at a time.
int pmxskiplong(int64_t n);
inline int pmxskip(int64_t n) {
  if (n > 0 && n < INT32_MAX) return rfskip(static_cast<int32_t>(n)) == n ? 0 : -1;
  return pmxskiplong(n);
}
// Fills n->sjis from the raw bytes (unistr2sjisc or utf82sjisc).
void pmxnamesjis(PmxName* n, int encoding);
// True when the Shift-JIS form (after pmxnamesjis) converts back to exactly the raw
// bytes, so that a name made from it keeps every character the rules do not change.
bool pmxnameexact(const PmxName* n, int encoding);
// The name as the file spells it, in UTF-8 (the kept bytes of a UTF-8 file, or the
// units of a UTF-16 one converted into buf of PMX_UTF8MAX bytes): what the dictionary
// reads where the Shift-JIS form lost a character.
constexpr int PMX_UTF8MAX = PMX_NAMEMAX / 2 * 4 + 4;
const char* pmxnameutf8(const PmxName* n, int encoding, char* buf);
// True when the name's first character is 0 (an empty text).
bool pmxnameempty(const PmxName* n, int encoding);
// Rebuilds units from raw after raw and len were changed.
void pmxnameunits(PmxName* n);

// Cutting a text that is longer than max: the longest prefix of at most max bytes
// (UTF-8) or max units (UTF-16LE bytes le) that ends on a whole character.
int utf8cut(const uint8_t* s, int max);
int utf16cut(const uint8_t* le, int max);
