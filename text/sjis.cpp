// sjis.cpp - Shift-JIS, UTF-16LE and UTF-8 conversions over the built-in tables.
#include "text/sjis.h"

#include <array>
#include <cstdint>

#include "text/console.h"
#include "text/sjistables.h"

namespace {

// ---- table look-ups -------------------------------------------------------------

static_assert(sizeof sjistab::fwd00 / sizeof sjistab::fwd00[0] == 256);
static_assert(sizeof sjistab::fwd80 / sizeof sjistab::fwd80[0] == 0xA000 - 0x8000);
static_assert(sizeof sjistab::fwde0 / sizeof sjistab::fwde0[0] == 0xFD00 - 0xE000);
static_assert(sizeof sjistab::rev0000 / sizeof sjistab::rev0000[0] == 0x0500);
static_assert(sizeof sjistab::rev1e00 / sizeof sjistab::rev1e00[0] == 0xA000 - 0x1E00);
static_assert(sizeof sjistab::revf900 / sizeof sjistab::revf900[0] == 0x10000 - 0xF900);

// ---- compatibility overrides ------------------------------------------------------
// What code page 932 (Microsoft's Shift-JIS) does differently from Shift_JIS-2004, so
// that Windows text comes back to the same bytes. Encoding uses every row; decoding
// uses all but U+301C (0x8160 decodes to U+FF5E).

struct Override {
  uint16_t cp;
  uint16_t code;
};

constexpr std::array<Override, 19> overrides{{
    {0x2015, 0x815C}, {0xFF3C, 0x815F}, {0x301C, 0x8160}, {0xFF5E, 0x8160},
    {0x2225, 0x8161}, {0xFF0D, 0x817C}, {0xFFE0, 0x8191}, {0xFFE1, 0x8192},
    {0xFFE2, 0x81CA}, {0x2235, 0x879A}, {0x2229, 0x879B}, {0x222A, 0x879C},
    {0x2252, 0x8790}, {0x2261, 0x8791}, {0x222B, 0x8792}, {0x2211, 0x8794},
    {0x221A, 0x8795}, {0x22A5, 0x8796}, {0x2220, 0x8797},
}};

// The rows are few; each direction gets a collision-free hash table built at compile
// time, so a look-up is one modulo, one index and one compare.
struct Slot {
  uint16_t key;  // 0 = empty (no row has key 0)
  uint16_t value;
};

template <bool Encode>
constexpr bool isrow(const Override& o) {
  return Encode || o.cp != 0x301C;
}

template <bool Encode>
constexpr uint16_t rowkey(const Override& o) {
  return Encode ? o.cp : o.code;
}

template <bool Encode>
constexpr unsigned findmodulus() {
  for (unsigned m = 1; m <= 256; m++) {
    bool used[256] = {};
    bool clash = false;
    for (const Override& o : overrides) {
      if (!isrow<Encode>(o)) continue;
      unsigned h = rowkey<Encode>(o) % m;
      if (used[h]) clash = true;
      used[h] = true;
    }
    if (!clash) return m;
  }
  return 0;
}

constexpr unsigned encmod = findmodulus<true>();
constexpr unsigned decmod = findmodulus<false>();
static_assert(encmod != 0 && decmod != 0, "no collision-free modulus for the overrides");

template <bool Encode, unsigned M>
constexpr std::array<Slot, M> buildslots() {
  std::array<Slot, M> t{};
  for (const Override& o : overrides) {
    if (!isrow<Encode>(o)) continue;
    uint16_t key = rowkey<Encode>(o);
    t[key % M] = Slot{key, Encode ? o.code : o.cp};
  }
  return t;
}

constexpr std::array<Slot, encmod> encslots = buildslots<true, encmod>();
constexpr std::array<Slot, decmod> decslots = buildslots<false, decmod>();

template <size_t M>
constexpr uint32_t slotfind(const std::array<Slot, M>& t, uint32_t key) {
  const Slot& s = t[key % M];
  return key != 0 && s.key == key ? s.value : 0;
}

static_assert(slotfind(encslots, 0x301C) == 0x8160 && slotfind(encslots, 0xFF5E) == 0x8160);
static_assert(slotfind(decslots, 0x8160) == 0xFF5E && slotfind(decslots, 0x8794) == 0x2211);
static_assert(slotfind(encslots, 0x3000) == 0 && slotfind(decslots, 0x8140) == 0);

// Compatibility override of a code point, 0 when there is none.
inline uint32_t encoverride(uint32_t cp) { return slotfind(encslots, cp); }
// Compatibility override of a Shift-JIS code, 0 when there is none.
inline uint32_t decoverride(uint32_t code) { return slotfind(decslots, code); }

// ---- lead-byte test ---------------------------------------------------------------

bool cp932lead(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

bool (*leadtest)(unsigned char) = cp932lead;

}  // namespace

uint32_t sjisch2unich(uint32_t code) {
  if (code < 0x100) return sjistab::fwd00[code];
  if (code >= 0x8000 && code < 0xA000) return sjistab::fwd80[code - 0x8000];
  if (code >= 0xE000 && code < 0xFD00) return sjistab::fwde0[code - 0xE000];
  return 0;
}

uint32_t unich2sjisch(uint32_t cp) {
  if (cp < 0x500) return sjistab::rev0000[cp];
  if (cp >= 0x1E00 && cp < 0xA000) return sjistab::rev1e00[cp - 0x1E00];
  if (cp >= 0xF900 && cp < 0x10000) return sjistab::revf900[cp - 0xF900];
  return 0;
}

uint32_t sjisch2unichc(uint32_t code) {
  uint32_t cp = decoverride(code);
  return cp != 0 ? cp : sjisch2unich(code);
}

uint32_t unich2sjischc(uint32_t cp) {
  uint32_t code = encoverride(cp);
  return code != 0 ? code : unich2sjisch(cp);
}

bool sysleadbyte(unsigned char b) { return leadtest(b); }

void setsysleadbyte(bool (*test)(unsigned char b)) { leadtest = test != nullptr ? test : cp932lead; }
