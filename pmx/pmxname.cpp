// pmxname.cpp - reading text fields of a PMX file and cutting them at whole characters.
#include "pmx/pmxname.h"

#include <climits>
#include <cstring>

#include "io/binfile.h"
#include "text/sjis.h"

namespace {

// Bytes of the UTF-8 sequence led by c; 1 for a byte that cannot lead one.
int seqlen(uint8_t c) {
  if (c >= 0xF0 && c <= 0xF7) return 4;
  if (c >= 0xE0 && c <= 0xEF) return 3;
  if (c >= 0xC0 && c <= 0xDF) return 2;
  return 1;
}

}  // namespace

int utf8cut(const uint8_t* s, int max) {
  int i = 0;
  while (i < max) {
    int k = seqlen(s[i]);
    if (i + k > max) break;
    i += k;
  }
  return i;
}

int utf16cut(const uint8_t* le, int max) {
  if (max <= 0) return 0;
  int last = le[2 * max - 2] | (le[2 * max - 1] << 8);
  return (last >= 0xD800 && last <= 0xDBFF) ? max - 1 : max;
}

int pmxskiplong(int64_t n) {
  while (n > 0) {
    int32_t chunk = n < INT32_MAX ? static_cast<int32_t>(n) : INT32_MAX;
    if (rfskip(chunk) != chunk) return -1;
    n -= chunk;
  }
  return 0;
}

void pmxnameunits(PmxName* n) {
  int units = (n->len + 1) / 2;
  for (int k = 0; k < units; k++) {
    n->units[k] = static_cast<char16_t>(n->raw[2 * k] | (n->raw[2 * k + 1] << 8));
  }
  // Two terminators: a converter that takes a trailing high surrogate as half of a pair
  // still stops at the second.
  n->units[units] = 0;
  n->units[units + 1] = 0;
}

int pmxgetname(PmxName* n, int encoding) {
  int32_t len = rfgetlong();
  n->stored = len;
  n->len = 0;
  memset(n->raw, 0, 4);
  n->units[0] = n->units[1] = 0;
  n->sjis[0] = 0;
  if (rfeof()) return PN_ENDED;
  if (len < 0) return PN_BADLENGTH;
  int32_t keep = len < PMX_NAMEMAX ? len : PMX_NAMEMAX;
  int32_t got = rfread(n->raw, keep);
  if (got != keep || pmxskip(static_cast<int64_t>(len) - keep) != 0) {
    memset(n->raw, 0, sizeof n->raw);
    return PN_ENDED;
  }
  n->len = keep;
  if (len > PMX_NAMEMAX) n->len = encoding == 0 ? 2 * utf16cut(n->raw, PMX_NAMEMAX / 2)
                                                : utf8cut(n->raw, PMX_NAMEMAX);
  memset(n->raw + n->len, 0, sizeof n->raw - static_cast<size_t>(n->len));
  if (encoding == 0) pmxnameunits(n);
  return PN_OK;
}

bool pmxnameempty(const PmxName* n, int encoding) {
  return encoding == 0 ? n->units[0] == 0 : n->raw[0] == 0;
}

void pmxnamesjis(PmxName* n, int encoding) {
  if (encoding == 0) {
    unistr2sjisc(n->sjis, n->units);
  } else {
    utf82sjisc(n->sjis, reinterpret_cast<const char*>(n->raw));
  }
}

bool pmxnameexact(const PmxName* n, int encoding) {
  // The Shift-JIS form has at most PMX_NAMEMAX bytes: a unit, or three UTF-8 bytes, each.
  static char16_t units[PMX_NAMEMAX + 2];
  static uint8_t utf8[3 * PMX_NAMEMAX + 4];
  if (encoding == 0) {
    sjis2unistrc(units, n->sjis);
    return unistrcmp(units, n->units) == 0;
  }
  sjis2utf8c(reinterpret_cast<char*>(utf8), n->sjis);
  return strcmp(reinterpret_cast<const char*>(utf8), reinterpret_cast<const char*>(n->raw)) == 0;
}

const char* pmxnameutf8(const PmxName* n, int encoding, char* buf) {
  if (encoding != 0) return reinterpret_cast<const char*>(n->raw);
  unistr2utf8(buf, n->units);
  return buf;
}
