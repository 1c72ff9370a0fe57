// cp932.cpp - code page 932 look-ups for file names (Windows' own table, exactly).
#include <algorithm>

#include "text/cp932tables.h"
#include "text/sjis.h"

uint32_t cp932ch2unich(uint32_t code) {
  if (code < 0x100) return cp932tab::single[code];
  if (code >= 0x8100 && code < 0xA000) return cp932tab::lead81[code - 0x8100];
  if (code >= 0xE000 && code < 0xFD00) return cp932tab::leade0[code - 0xE000];
  return 0;
}

uint32_t unich2cp932ch(uint32_t cp) {
  const cp932tab::Pair* first = cp932tab::encode;
  const cp932tab::Pair* last = first + cp932tab::encodeCount;
  const cp932tab::Pair* at =
      std::lower_bound(first, last, cp, [](const cp932tab::Pair& p, uint32_t v) { return p.cp < v; });
  return at != last && at->cp == cp ? at->code : 0;
}
