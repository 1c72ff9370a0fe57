// cp932tables.h - the generated code page 932 tables (text/cp932tables.cpp).
//
// Made by tools/gencp932.py; only text/cp932.cpp and its tests look inside.
#pragma once
#include <cstdint>

namespace cp932tab {

struct Pair {
  uint16_t cp;
  uint16_t code;
};

extern const uint16_t single[256];    // single bytes -> code point
extern const uint16_t lead81[0x1F00];  // 0x8100-0x9FFF -> code point
extern const uint16_t leade0[0x1D00];  // 0xE000-0xFCFF -> code point
extern const Pair encode[];            // code point -> code, sorted by code point
extern const int encodeCount;

}  // namespace cp932tab
