// sjistables.h - the generated Shift-JIS <-> Unicode tables (text/sjistables.cpp).
//
// Made by tools/gensjis.py; only text/sjis.cpp and its tests look inside. Every entry 0
// is unmapped.
#pragma once
#include <cstdint>

namespace sjistab {

// Shift-JIS -> Unicode code point, by range of code.
extern const uint32_t fwd00[256];   // 0x0000-0x00FF, single bytes
extern const uint32_t fwd80[8192];  // 0x8000-0x9FFF, lead bytes 0x80-0x9F
extern const uint32_t fwde0[7424];  // 0xE000-0xFCFF, lead bytes 0xE0-0xFC

// Unicode -> Shift-JIS (< 0x100 one byte, else lead << 8 | trail), by range of code point.
extern const uint16_t rev0000[1280];   // U+0000-U+04FF
extern const uint16_t rev1e00[33280];  // U+1E00-U+9FFF
extern const uint16_t revf900[1792];   // U+F900-U+FFFF

// Says on the console when U+2661 did not come out as 0x83BB (tables out of step).
void check2661(uint32_t code);

}  // namespace sjistab
